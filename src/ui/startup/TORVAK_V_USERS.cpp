#include "ui/startup/TORVAK_V_USERS.h"

#include "ui/framework/Doing.h"
#include "ui/startup/TORVAK_DE_USERS.h"
#include "core/startup/Rights.h"
#include "core/startup/StartupLists.h"
#include "core/startup/Users.h"

namespace orvak::ui::startup {

namespace {

framework::ListUi commands(Session& session)
{
    auto edit = [&session](framework::ListScreen& list, bool insert) {
        TORVAK_DE_USERS form(session, &list);
        list.runEntryForm(form, insert);
    };
    framework::ListUi ui;
    ui.commands = {{QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](framework::ListScreen& l) { edit(l, true); }, false, true, AccessInsert},
                   {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), [edit](framework::ListScreen& l) { edit(l, false); }, true, true, AccessEditOwn},
                   {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
                    [&session](framework::ListScreen& l) {
                        framework::MessagePrompt prompt(&l);
                        if (deleteFamilyUser(session, l.currentKey().toInt(), prompt))
                            l.reopen();
                    },
                    true, true, AccessDelete}};
    return ui;
}

} // namespace

TORVAK_V_USERS::TORVAK_V_USERS(Session& session, QWidget* parent)
    : framework::ListScreen(session, familyUsersList(), commands(session), parent)
{
}

} // namespace orvak::ui::startup
