#pragma once
// "قفل / ورودمجدد / تغييرکاربر": the lock and change-user dialog.
#include "core/startup/Session.h"

#include <QDialog>
#include <QTimer>

class QLineEdit;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TGT_PASS : public QDialog {
    Q_OBJECT
public:
    explicit TGT_PASS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QLineEdit* password = nullptr;
    bool enter();
    bool fullExitChosen() const { return fullExit_; }
    QPushButton* enterButton() const { return in_; }
    // The enter button is off while the typed code waits after repeated wrong
    // passwords (core's session.loginThrottle(), shared with the login form).
    void refreshEnterButton();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Session& session_;
    QPushButton* in_ = nullptr;
    QTimer waitOver_;
    bool fullExit_ = false;
};

} // namespace orvak::ui::startup
