#include "ui/basedata/TDE_PaymanKosurat.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractFields.h"
#include "ui/framework/Editors.h"
#include "core/basedata/Contracts.h"
#include "core/basedata/Parameters.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_PaymanKosurat::TDE_PaymanKosurat(orvak::startup::Session& session, qint64 contract, QWidget* parent)
    : framework::EntryForm(QStringLiteral("کسورات قرارداد"), parent)
    , session_(session)
    , contract_(contract)
{
    kind = parameterCombo(session, int(orvak::basedata::ParameterKind::Deduction), this);
    employerPercent = new QLineEdit(this);
    contractorPercent = new QLineEdit(this);
    receiver = parameterCombo(session, int(orvak::basedata::ParameterKind::Receiver), this);
    account = new QLineEdit(this);
    account->setMaxLength(100);
    amount = new framework::AmountEdit(this);
    form()->addRow(QStringLiteral("کسورات قانوني"), kind);
    form()->addRow(QStringLiteral("درصد کارفرما"), employerPercent);
    form()->addRow(QStringLiteral("درصد پيمانکار"), contractorPercent);
    form()->addRow(QStringLiteral("دستگاه گيرنده"), receiver);
    form()->addRow(QStringLiteral("حساب"), account);
    form()->addRow(QStringLiteral("مبلغ"), amount);
}

void TDE_PaymanKosurat::clearFields()
{
    kind->setCurrentIndex(0);
    receiver->setCurrentIndex(0);
    for (QLineEdit* f : {employerPercent, contractorPercent, account, amount})
        f->clear();
}

bool TDE_PaymanKosurat::loadRecord(const QVariant& key)
{
    const auto d = orvak::basedata::Contracts(session_).deduction(key.toLongLong());
    if (!d)
        return false;
    selectCode(kind, d->kind);
    selectCode(receiver, d->receiver);
    employerPercent->setText(d->employerPercent);
    contractorPercent->setText(d->contractorPercent);
    account->setText(d->account);
    amount->setText(d->amount);
    return true;
}

bool TDE_PaymanKosurat::validate(QString* message)
{
    if (kind->currentData().toInt() <= 0) {
        *message = orvak::basedata::incompleteText();
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_PaymanKosurat::saveRecord(QString* error)
{
    orvak::basedata::ContractDeduction d;
    d.code = mode() == Mode::Edit ? key().toLongLong() : 0;
    d.contract = contract_;
    d.kind = kind->currentData().toInt();
    d.employerPercent = employerPercent->text();
    d.contractorPercent = contractorPercent->text();
    d.receiver = receiver->currentData().toInt();
    d.account = account->text();
    d.amount = amount->text();
    const bool insert = mode() == Mode::Insert;
    return savedThrough(this, [&](startup::Prompt& prompt) { return orvak::basedata::Contracts(session_).saveDeduction(d, insert, prompt); }, error);
}

} // namespace orvak::ui::basedata
