#include "ui/basedata/TDE_HesabBanki.h"

#include "ui/basedata/Pickers.h"
#include "core/basedata/HesabBanki.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_HesabBanki::TDE_HesabBanki(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("حساب بانكي"), QStringLiteral("كد "), [&session] { return orvak::basedata::HesabBanki(session).proposedCode(); }, parent)
    , session_(session)
{
    accountNo = textField(this, 15);
    bank = bankField(session, this);
    branchName = textField(this, 30);
    branchCode = textField(this, 15);
    tel = textField(this, 30);
    form()->addRow(QStringLiteral("حساب بانكي"), accountNo);
    form()->addRow(QStringLiteral("بانک"), bank);
    form()->addRow(QStringLiteral("نام شعبه"), branchName);
    form()->addRow(QStringLiteral("كد شعبه"), branchCode);
    form()->addRow(QStringLiteral("شماره تلفن:"), tel);
}

void TDE_HesabBanki::clearRow()
{
    for (QLineEdit* f : {accountNo, branchName, branchCode, tel})
        f->clear();
    bank->setCode(std::nullopt);
}

bool TDE_HesabBanki::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::ShortBankAccount> a = orvak::basedata::HesabBanki(session_).read(key.toLongLong());
    if (!a)
        return false;
    showCode(a->code);
    accountNo->setText(a->accountNo);
    bank->setCode(a->bank > 0 ? std::optional<qint64>(a->bank) : std::nullopt);
    branchName->setText(a->branchName);
    branchCode->setText(a->branchCode);
    tel->setText(a->tel);
    return true;
}

std::optional<QVariant> TDE_HesabBanki::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::ShortBankAccount a;
        a.code = c;
        a.accountNo = accountNo->text();
        a.bank = bank->code().value_or(0);
        a.branchName = branchName->text();
        a.branchCode = branchCode->text();
        a.tel = tel->text();
        return orvak::basedata::HesabBanki(session_).save(a, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
