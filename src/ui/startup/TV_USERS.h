#pragma once
// The program's users on the standard list frame: new, edit, delete, rights and
// password, chosen by state (all, allowed, blocked).
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

class QComboBox;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TV_USERS : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TV_USERS(Session& session, QWidget* parent = nullptr);
    QComboBox* stateFilter = nullptr;
};

} // namespace orvak::ui::startup
