#include "ui/basedata/TDE_BankBranch.h"

#include "ui/basedata/Pickers.h"
#include "core/basedata/BankBranches.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_BankBranch::TDE_BankBranch(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("شعبه بانک"), QStringLiteral("کد"), [&session] { return orvak::basedata::BankBranches(session).proposedCode(); }, parent)
    , session_(session)
{
    bank = bankField(session, this);
    branchCode = textField(this, 12);
    name = textField(this, 30);
    address = textField(this, 100);
    tel = textField(this, 30);
    postCode = textField(this, 15);
    form()->addRow(QStringLiteral("بانک"), bank);
    form()->addRow(QStringLiteral("کد شعبه"), branchCode);
    form()->addRow(QStringLiteral("نام شعبه"), name);
    form()->addRow(QStringLiteral("نشاني"), address);
    form()->addRow(QStringLiteral("تلفن"), tel);
    form()->addRow(QStringLiteral("کد پستي"), postCode);
    // As the branch register says it.
    setIncompleteText(QStringLiteral("اطلاعات كامل نيست"));
}

void TDE_BankBranch::clearRow()
{
    bank->setCode(std::nullopt);
    for (QLineEdit* f : {branchCode, name, address, tel, postCode})
        f->clear();
}

bool TDE_BankBranch::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::BankBranch> b = orvak::basedata::BankBranches(session_).read(key.toLongLong());
    if (!b)
        return false;
    showCode(b->code);
    bank->setCode(b->bank > 0 ? std::optional<qint64>(b->bank) : std::nullopt);
    branchCode->setText(b->branchCode);
    name->setText(b->name);
    address->setText(b->address);
    tel->setText(b->tel);
    postCode->setText(b->postCode);
    return true;
}

std::optional<QVariant> TDE_BankBranch::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::BankBranch b;
        b.code = c;
        b.bank = bank->code().value_or(0);
        b.branchCode = branchCode->text();
        b.name = name->text();
        b.address = address->text();
        b.tel = tel->text();
        b.postCode = postCode->text();
        return orvak::basedata::BankBranches(session_).save(b, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
