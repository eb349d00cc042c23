#include "ui/basedata/TDE_MTE.h"

#include "core/basedata/ContractCreditSources.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_MTE::TDE_MTE(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("منابع تامين اعتبار"), QStringLiteral("کد"),
                 [&session] { return orvak::basedata::ContractCreditSources(session).proposedCode(); }, parent)
    , session_(session)
{
    description = textField(this, 60);
    creditKind = textField(this, 4);
    creditGroup = textField(this, 9);
    hasBudgetRow = new QCheckBox(QStringLiteral("رديف بودجه دارد"), this);
    budgetRow = textField(this, 9);
    form()->addRow(QStringLiteral("شرح"), description);
    form()->addRow(QStringLiteral("نوع اعتبار"), creditKind);
    form()->addRow(QStringLiteral("گروه"), creditGroup);
    form()->addRow(QString(), hasBudgetRow);
    form()->addRow(QStringLiteral("رديف بودجه"), budgetRow);
}

void TDE_MTE::clearRow()
{
    for (QLineEdit* f : {description, creditKind, creditGroup, budgetRow})
        f->clear();
    hasBudgetRow->setChecked(false);
}

bool TDE_MTE::loadRecord(const QVariant& key)
{
    const auto s = orvak::basedata::ContractCreditSources(session_).read(key.toLongLong());
    if (!s)
        return false;
    showCode(s->kind);
    description->setText(s->description);
    creditKind->setText(numberText(s->creditKind));
    creditGroup->setText(numberText(s->creditGroup));
    hasBudgetRow->setChecked(s->hasBudgetRow);
    budgetRow->setText(numberText(s->budgetRow));
    return true;
}

bool TDE_MTE::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    if (!numberIn(creditKind) || !numberIn(creditGroup) || !numberIn(budgetRow)) {
        *message = QStringLiteral("مقدار وارد شده بايد عدد باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_MTE::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::CreditSource s;
        s.kind = c;
        s.description = description->text();
        s.creditKind = int(numberIn(creditKind).value_or(0));
        s.creditGroup = int(numberIn(creditGroup).value_or(0));
        s.hasBudgetRow = hasBudgetRow->isChecked();
        s.budgetRow = int(numberIn(budgetRow).value_or(0));
        return orvak::basedata::ContractCreditSources(session_).save(s, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
