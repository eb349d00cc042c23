#include "ui/basedata/TDE_SepACC.h"

#include "core/basedata/DepositAccounts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_SepACC::TDE_SepACC(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("حساب بانكي سپرده ها - تضمينات"), QStringLiteral("کد"),
                 [&session] { return orvak::basedata::DepositAccounts(session).proposedCode(); }, parent)
    , session_(session)
{
    name = textField(this, 60);
    kind = new QComboBox(this);
    kind->addItems(orvak::basedata::DepositAccounts::kinds().texts());
    kol = textField(this, 9);
    moin = textField(this, 9);
    branch = textField(this, 5);
    form()->addRow(QStringLiteral("شرح حساب"), name);
    form()->addRow(QStringLiteral("نوع حساب"), kind);
    form()->addRow(QStringLiteral("کل"), kol);
    form()->addRow(QStringLiteral("معين"), moin);
    form()->addRow(QStringLiteral("شعبه"), branch);
}

void TDE_SepACC::clearRow()
{
    for (QLineEdit* f : {name, kol, moin, branch})
        f->clear();
    kind->setCurrentIndex(0);
}

bool TDE_SepACC::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::DepositAccount> a = orvak::basedata::DepositAccounts(session_).read(key.toLongLong());
    if (!a)
        return false;
    showCode(a->code);
    name->setText(a->name);
    kind->setCurrentIndex(a->kind);
    kol->setText(numberText(a->kol));
    moin->setText(numberText(a->moin));
    branch->setText(numberText(a->branch));
    return true;
}

bool TDE_SepACC::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    if (!numberIn(kol) || !numberIn(moin) || !numberIn(branch)) {
        *message = QStringLiteral("کل، معين و شعبه بايد عدد باشند");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_SepACC::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::DepositAccount a;
        a.code = c;
        a.name = name->text();
        a.kind = kind->currentIndex();
        a.kol = numberIn(kol).value_or(0);
        a.moin = numberIn(moin).value_or(0);
        a.branch = numberIn(branch).value_or(0);
        return orvak::basedata::DepositAccounts(session_).save(a, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
