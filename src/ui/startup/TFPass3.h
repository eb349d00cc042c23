#pragma once
// A manager sets another user's password.
#include "core/startup/Session.h"

#include <QDialog>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFPass3 : public QDialog {
    Q_OBJECT
public:
    TFPass3(Session& session, int userCode, QWidget* parent = nullptr);
    QLineEdit* fresh = nullptr;
    QLineEdit* repeated = nullptr;
    bool change();

private:
    Session& session_;
    int user_;
};

} // namespace orvak::ui::startup
