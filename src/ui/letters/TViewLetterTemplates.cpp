#include "ui/letters/TViewLetterTemplates.h"

#include "ui/framework/Doing.h"
#include "ui/letters/TDE_LETTERTEMPLATES.h"
#include "core/letters/LetterTemplates.h"
#include "core/startup/Rights.h"

#include <QShortcut>
#include <QTableView>

namespace orvak::ui::letters {

namespace {

framework::ListUi buttons()
{
    using framework::ListCommand;
    auto on = [](void (TViewLetterTemplates::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TViewLetterTemplates&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد (Ins)"), {}, on(&TViewLetterTemplates::newTemplate), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش (Enter)"), {}, on(&TViewLetterTemplates::editTemplate), true, false, 0},
        ListCommand{QStringLiteral("حذف (Del)"), {}, on(&TViewLetterTemplates::removeTemplate), true, true, startup::AccessDelete},
    };
    return ui;
}

} // namespace

TViewLetterTemplates::TViewLetterTemplates(orvak::startup::Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::letters::letterTemplatesList(), buttons(), parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("قالب نامه ها"));
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(1); });
    auto* ins = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    ins->setContext(Qt::WidgetWithChildrenShortcut);
    connect(ins, &QShortcut::activated, this, [this] { runCommand(0); });
    reopen();
}

void TViewLetterTemplates::newTemplate()
{
    TDE_LETTERTEMPLATES form(session_, this);
    runEntryForm(form, true);
}

void TViewLetterTemplates::editTemplate()
{
    TDE_LETTERTEMPLATES form(session_, this);
    runEntryForm(form, false);
}

void TViewLetterTemplates::removeTemplate()
{
    framework::MessagePrompt prompt(this);
    if (orvak::letters::LetterTemplates(session_).remove(currentKey().toInt(), prompt))
        reopen();
}

} // namespace orvak::ui::letters
