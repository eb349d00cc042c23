#include "ui/startup/Tview_history_resback.h"

#include "core/startup/StartupLists.h"

namespace orvak::ui::startup {

namespace {
framework::ListUi shortMenu()
{
    framework::ListUi ui;
    ui.menuVariant = 2;
    return ui;
}
} // namespace

Tview_history_resback::Tview_history_resback(Session& session, QWidget* parent)
    : framework::ListScreen(session, backupHistoryList(), shortMenu(), parent)
{
}

} // namespace orvak::ui::startup
