#pragma once
// The maintenance screen behind Ctrl+Alt+Shift+F12: the server, its databases and
// the connection strings in force.
#include "core/startup/Session.h"

#include <QDialog>

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFManager : public QDialog {
    Q_OBJECT
public:
    explicit TFManager(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
