#pragma once
// The program's users (TV_USERS) and the backup history (Tview_history_resback),
// both on the standard list frame.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

#include <memory>

namespace orvak::ui::startup {

using namespace orvak::startup;

class TV_USERS : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TV_USERS(Session& session, QWidget* parent = nullptr);

private:
    TV_USERS(Session& session, std::shared_ptr<QHash<int, QString>> names, QWidget* parent);
};

class Tview_history_resback : public framework::ListScreen {
    Q_OBJECT
public:
    explicit Tview_history_resback(Session& session, QWidget* parent = nullptr);

private:
    Tview_history_resback(Session& session, std::shared_ptr<QHash<int, QString>> names, QWidget* parent);
};

} // namespace orvak::ui::startup
