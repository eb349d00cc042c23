#include "ui/startup/TV_USERS.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/startup/TDE_USERS.h"
#include "ui/startup/TFPass3.h"
#include "ui/startup/TUsr_Access.h"
#include "core/startup/Rights.h"
#include "core/startup/StartupLists.h"
#include "core/startup/Users.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace orvak::ui::startup {

namespace {

framework::ListUi commands(Session& session)
{
    auto edit = [&session](framework::ListScreen& list, bool insert) {
        TDE_USERS form(session, &list);
        list.runEntryForm(form, insert);
    };
    framework::ListUi ui;
    ui.commands = {
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](framework::ListScreen& l) { edit(l, true); }, false, true, AccessInsert},
        {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), [edit](framework::ListScreen& l) { edit(l, false); }, true, true, AccessEditOwn},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [&session](framework::ListScreen& l) {
             if (!framework::Confirm(QStringLiteral("حذف کاربر %1.").arg(l.currentKey().toInt()), &l))
                 return;
             framework::MessagePrompt prompt(&l);
             if (deleteProgramUser(session, l.currentKey().toInt(), prompt))
                 l.reopen();
         },
         true, true, AccessDelete},
        {QStringLiteral("سطوح دسترسي"), QKeySequence(), [&session](framework::ListScreen& l) { TUsr_Access(session, l.currentKey().toInt(), &l).exec(); }, true,
         true, AccessEditOwn},
        {QStringLiteral("تغيير کلمه رمز"), QKeySequence(), [&session](framework::ListScreen& l) { TFPass3(session, l.currentKey().toInt(), &l).exec(); },
         true, true, AccessEditOwn},
    };
    return ui;
}

} // namespace

TV_USERS::TV_USERS(Session& session, QWidget* parent)
    : framework::ListScreen(session, programUsersList(), commands(session), parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("وضعيت کاربران"), this));
    stateFilter = new QComboBox(this);
    for (const auto& [code, text] : userStateChoices().entries)
        stateFilter->addItem(text, code);
    row->addWidget(stateFilter);
    row->addStretch();
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->insertLayout(0, row);
    connect(stateFilter, &QComboBox::currentIndexChanged, this, [this] {
        setParameter(QStringLiteral(":IsEnable"), stateFilter->currentData());
        reopen();
    });
}

} // namespace orvak::ui::startup
