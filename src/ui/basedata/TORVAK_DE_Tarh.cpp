#include "ui/basedata/TORVAK_DE_Tarh.h"

#include "core/basedata/Plans.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TORVAK_DE_Tarh::TORVAK_DE_Tarh(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(orvak::basedata::Plans(session).words(QStringLiteral("طرح ها ")).trimmed(),
                 orvak::basedata::Plans(session).words(QStringLiteral(" کد طرح ")).trimmed(),
                 [&session] { return orvak::basedata::Plans(session).proposedCode(); }, parent)
    , session_(session)
{
    const orvak::basedata::Plans plans(session);
    accountCode = textField(this, 10);
    // NAMET holds sixty characters.
    name = textField(this, 60);
    kind = new QComboBox(this);
    kind->addItems(orvak::basedata::Plans::kinds().texts());
    years = textField(this, 4);
    agreementYear = textField(this, 4);
    form()->addRow(QStringLiteral("كد حساب"), accountCode);
    form()->addRow(plans.words(QStringLiteral(" نام طرح ")).trimmed(), name);
    form()->addRow(plans.words(QStringLiteral(" نوع طرح ")).trimmed(), kind);
    form()->addRow(plans.words(QStringLiteral("سنوات طرح")), years);
    form()->addRow(QStringLiteral("سال موافقتنامه"), agreementYear);
}

void TORVAK_DE_Tarh::clearRow()
{
    for (QLineEdit* f : {accountCode, name, years, agreementYear})
        f->clear();
    kind->setCurrentIndex(0);
}

bool TORVAK_DE_Tarh::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::Plan> p = orvak::basedata::Plans(session_).read(key.toLongLong());
    if (!p)
        return false;
    showCode(p->code);
    accountCode->setText(p->accountCode);
    name->setText(p->name);
    kind->setCurrentIndex(p->kind);
    years->setText(numberText(p->years));
    agreementYear->setText(numberText(p->agreementYear));
    return true;
}

bool TORVAK_DE_Tarh::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    if (!numberIn(years) || !numberIn(agreementYear)) {
        *message = QStringLiteral("سال بايد عدد باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_Tarh::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::Plan p;
        p.code = c;
        p.accountCode = accountCode->text();
        p.name = name->text();
        p.kind = kind->currentIndex();
        p.years = int(numberIn(years).value_or(0));
        p.agreementYear = int(numberIn(agreementYear).value_or(0));
        return orvak::basedata::Plans(session_).save(p, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
