#pragma once
// The family's users on the standard list frame: new, edit and delete.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

namespace orvak::ui::startup {

using namespace orvak::startup;

class TORVAK_V_USERS : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TORVAK_V_USERS(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
