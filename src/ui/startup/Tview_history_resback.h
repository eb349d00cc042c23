#pragma once
// The backup and restore history on the standard list frame (its short menu).
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

namespace orvak::ui::startup {

using namespace orvak::startup;

class Tview_history_resback : public framework::ListScreen {
    Q_OBJECT
public:
    explicit Tview_history_resback(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
