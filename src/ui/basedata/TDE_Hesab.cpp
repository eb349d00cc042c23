#include "ui/basedata/TDE_Hesab.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "core/accounting/Vouchers.h"
#include "core/basedata/OfficeAccounts.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_Hesab::TDE_Hesab(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("تعريف حساب ها"), QStringLiteral("كد "), [&session] { return orvak::basedata::OfficeAccounts(session).proposedCode(); },
                 parent)
    , session_(session)
{
    accountNo = textField(this, 30);
    bank = bankField(session, this);
    startDate = new framework::JalaliDateEdit(this);
    // The ledgers are the year's accounting database's, named beside their codes.
    kol = new framework::CodeEdit(
        [&session](qint64 c) -> std::optional<QString> {
            const auto l = orvak::accounting::Vouchers(session).general(int(c));
            return l ? std::optional<QString>(l->name) : std::nullopt;
        },
        [&session](QWidget* p) -> std::optional<qint64> {
            const auto r = ui::accounting::pickGeneralLedger(p, session);
            return r ? std::optional<qint64>(r->current.value(QStringLiteral("CODE")).toLongLong()) : std::nullopt;
        },
        this);
    moin = new framework::CodeEdit(
        [this, &session](qint64 c) -> std::optional<QString> {
            const auto l = orvak::accounting::Vouchers(session).subsidiary(int(kol->code().value_or(0)), int(c));
            return l ? std::optional<QString>(l->name) : std::nullopt;
        },
        [this, &session](QWidget* p) -> std::optional<qint64> {
            const auto r = ui::accounting::pickSubsidiaryLedger(p, session, kol->code() ? int(*kol->code()) : -1);
            if (!r)
                return std::nullopt;
            kol->setCode(r->current.value(QStringLiteral("KOL")).toLongLong());
            return r->current.value(QStringLiteral("CODE")).toLongLong();
        },
        this);
    detail = partyCodeEdit(session, this);
    branchCode = textField(this, 15);
    branchName = textField(this, 30);
    address = textField(this, 100);
    tel = textField(this, 30);
    subject = textField(this, 100);
    section = textField(this, 1);
    form()->addRow(QStringLiteral("حساب بانكي"), accountNo);
    form()->addRow(QStringLiteral("بانک"), bank);
    form()->addRow(QStringLiteral("تاريخ افتتاح"), startDate);
    form()->addRow(QStringLiteral("کل"), kol);
    form()->addRow(QStringLiteral("معين"), moin);
    form()->addRow(QStringLiteral("تفصيلي"), detail);
    form()->addRow(QStringLiteral("كد شعبه"), branchCode);
    form()->addRow(QStringLiteral("نام شعبه"), branchName);
    form()->addRow(QStringLiteral("نشاني شعبه"), address);
    form()->addRow(QStringLiteral("شماره تلفن:"), tel);
    form()->addRow(QStringLiteral("موضوع حساب"), subject);
    form()->addRow(QStringLiteral("بخش مالي (0: همه بخش ها)"), section);
}

void TDE_Hesab::clearRow()
{
    for (QLineEdit* f : {accountNo, branchCode, branchName, address, tel, subject})
        f->clear();
    kol->setCode(std::nullopt);
    moin->setCode(std::nullopt);
    // As the column's default: every section.
    section->setText(QStringLiteral("0"));
    bank->setCode(std::nullopt);
    detail->setCode(std::nullopt);
    startDate->setDate(QString());
}

bool TDE_Hesab::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::OfficeAccount> a = orvak::basedata::OfficeAccounts(session_).read(key.toLongLong());
    if (!a)
        return false;
    showCode(a->code);
    accountNo->setText(a->accountNo);
    bank->setCode(a->bank > 0 ? std::optional<qint64>(a->bank) : std::nullopt);
    startDate->setDate(a->startDate);
    kol->setCode(a->kol > 0 ? std::optional<qint64>(a->kol) : std::nullopt);
    moin->setCode(a->moin > 0 ? std::optional<qint64>(a->moin) : std::nullopt);
    detail->setCode(a->detail > 0 ? std::optional<qint64>(a->detail) : std::nullopt);
    branchCode->setText(a->branchCode);
    branchName->setText(a->branchName);
    address->setText(a->address);
    tel->setText(a->tel);
    subject->setText(a->subject);
    section->setText(QString::number(a->section));
    return true;
}

bool TDE_Hesab::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    const std::optional<qint64> s = numberIn(section);
    if (!numberIn(kol->editor()) || !numberIn(moin->editor()) || !s || *s < 0 || *s > 3) {
        *message = QStringLiteral("کل، معين و بخش مالي بايد عدد باشند (بخش مالي از 0 تا 3)");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_Hesab::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::OfficeAccount a;
        a.code = c;
        a.accountNo = accountNo->text();
        a.bank = bank->code().value_or(0);
        a.startDate = startDate->isEmptyDate() ? QString() : startDate->text();
        a.kol = numberIn(kol->editor()).value_or(0);
        a.moin = numberIn(moin->editor()).value_or(0);
        a.detail = detail->code().value_or(0);
        a.branchCode = branchCode->text();
        a.branchName = branchName->text();
        a.address = address->text();
        a.tel = tel->text();
        a.subject = subject->text();
        a.section = int(numberIn(section).value_or(0));
        return orvak::basedata::OfficeAccounts(session_).save(a, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
