#include "ui/basedata/TORVAK_VIEWGROUPSTAFSILI.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/TORVAK_DE_GRPTAFSILI.h"
#include "core/basedata/DetailGroups.h"
#include "core/basedata/PartyLists.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(startup::Session& session)
{
    framework::ListUi ui;
    ui.commands = entryCommands([&session](framework::ListScreen& l) { return std::make_unique<TORVAK_DE_GRPTAFSILI>(session, &l); },
                                [&session](framework::ListScreen& l, startup::Prompt& p) {
                                    return orvak::basedata::DetailGroups(session).remove(l.currentKey().toLongLong(), p);
                                });
    return ui;
}

} // namespace

TORVAK_VIEWGROUPSTAFSILI::TORVAK_VIEWGROUPSTAFSILI(startup::Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::basedata::detailGroupsList(), commands(session), parent)
    , session_(session)
{
    followSection(*this, session);
}

void TORVAK_VIEWGROUPSTAFSILI::showEvent(QShowEvent* event)
{
    if (followSection(*this, session_))
        reopen();
    framework::ListScreen::showEvent(event);
}

} // namespace orvak::ui::basedata
