#include "ui/basedata/TORVAK_DE_Projects.h"

#include "ui/basedata/Pickers.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orvak::ui::basedata {

namespace {

std::optional<qint64> known(qint64 code) { return code > 0 ? std::optional<qint64>(code) : std::nullopt; }

} // namespace

TORVAK_DE_Projects::TORVAK_DE_Projects(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("پروژه ها"), QStringLiteral("شماره پروژه"), [&session] { return orvak::basedata::Projects(session).proposedCode(); },
                 parent)
    , session_(session)
{
    plan = planField(session, this);
    agreementCode = textField(this, 10);
    // NAMEP holds a hundred characters; eighty are typed.
    name = textField(this, 80);
    kind = new QComboBox(this);
    kind->addItems(orvak::basedata::Projects::kinds().texts());
    hasSubProjects = new QCheckBox(QStringLiteral("داراي زير پروژه"), this);
    mainProject = projectField(session, this);
    startYear = textField(this, 4);
    centre = centreField(session, this);
    agreementYear = textField(this, 4);
    goal = new QPlainTextEdit(this);
    goal->setMaximumHeight(80);
    form()->addRow(orvak::basedata::Plans(session).words(QStringLiteral("طرح")), plan);
    form()->addRow(QStringLiteral("كد موافقتنامه اي پروژه"), agreementCode);
    form()->addRow(QStringLiteral("نام پروژه"), name);
    form()->addRow(QStringLiteral("نحوه  اجراي پروژه"), kind);
    form()->addRow(QString(), hasSubProjects);
    form()->addRow(QStringLiteral("پروژه اصلي"), mainProject);
    form()->addRow(QStringLiteral("سال شروع پروژه"), startYear);
    form()->addRow(QStringLiteral("محل اجرا"), centre);
    form()->addRow(QStringLiteral("سال موافقتنامه"), agreementYear);
    form()->addRow(QStringLiteral("هدف كيفي:"), goal);
}

void TORVAK_DE_Projects::clearRow()
{
    for (QLineEdit* f : {agreementCode, name, startYear, agreementYear})
        f->clear();
    for (framework::CodeEdit* f : {plan, mainProject, centre})
        f->setCode(std::nullopt);
    kind->setCurrentIndex(0);
    hasSubProjects->setChecked(false);
    goal->clear();
}

bool TORVAK_DE_Projects::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::Project> p = orvak::basedata::Projects(session_).read(key.toLongLong());
    if (!p)
        return false;
    showCode(p->number);
    plan->setCode(known(p->plan));
    agreementCode->setText(p->agreementCode);
    name->setText(p->name);
    kind->setCurrentIndex(p->kind);
    hasSubProjects->setChecked(p->hasSubProjects);
    mainProject->setCode(known(p->mainProject));
    startYear->setText(numberText(p->startYear));
    centre->setCode(known(p->centre));
    agreementYear->setText(numberText(p->agreementYear));
    goal->setPlainText(p->goal);
    return true;
}

bool TORVAK_DE_Projects::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    if (!numberIn(startYear) || !numberIn(agreementYear)) {
        *message = QStringLiteral("سال بايد عدد باشد");
        return false;
    }
    for (framework::CodeEdit* f : {plan, mainProject, centre}) {
        if (!f->editor()->text().trimmed().isEmpty() && !f->code()) {
            *message = QStringLiteral("کد بايد عددي بزرگتر از صفر باشد");
            return false;
        }
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_Projects::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::Project p;
        p.number = c;
        p.plan = plan->code().value_or(0);
        p.agreementCode = agreementCode->text();
        p.name = name->text();
        p.kind = kind->currentIndex();
        p.hasSubProjects = hasSubProjects->isChecked();
        p.mainProject = mainProject->code().value_or(0);
        p.startYear = int(numberIn(startYear).value_or(0));
        p.centre = centre->code().value_or(0);
        p.agreementYear = int(numberIn(agreementYear).value_or(0));
        p.goal = goal->toPlainText();
        return orvak::basedata::Projects(session_).save(p, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
