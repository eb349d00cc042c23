#include "ui/basedata/TFRasteh.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/TDE_RASTEH.h"
#include "core/basedata/PartyLists.h"
#include "core/basedata/Trades.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(startup::Session& session)
{
    framework::ListUi ui;
    ui.commands = entryCommands([&session](framework::ListScreen& l) { return std::make_unique<TDE_RASTEH>(session, &l); },
                                [&session](framework::ListScreen& l, startup::Prompt& p) {
                                    return orvak::basedata::Trades(session).remove(l.currentKey().toLongLong(), p);
                                });
    return ui;
}

} // namespace

TFRasteh::TFRasteh(startup::Session& session, QWidget* parent)
    : framework::ListScreen(session, orvak::basedata::tradesList(), commands(session), parent)
{
}

} // namespace orvak::ui::basedata
