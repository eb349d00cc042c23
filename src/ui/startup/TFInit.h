#pragma once
// The login form: the program's first window; every session of work runs inside it.
#include "core/startup/Session.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFInit : public QDialog {
    Q_OBJECT
public:
    explicit TFInit(Session& session, QWidget* parent = nullptr);

    // The login button's work; true when the main window was shown (and closed).
    bool doLogin();
    // Leaving the form: the backup reminder decides.
    bool leave();
    // The program's run: the form, modal, until the user leaves it (or the program
    // ends from the main window). Each login's main window runs inside it.
    void run();
    // Ends the run without the reminder (the lock left without a login).
    void endProgram();
    bool ended() const { return leaving_; }

    QComboBox* userCode() const { return user_; }
    QLineEdit* password() const { return password_; }
    QCheckBox* savePassword() const { return save_; }
    QPushButton* loginButton() const { return login_; }

    // What the password field shows for this workstation's saved login: the login
    // then compares the saved scrambled form; the clear password is never known.
    static QString savedPasswordMarker();
    // The login button is off while the typed code waits after repeated wrong
    // passwords (the waits are core's: session.loginThrottle()); a timer calls this
    // when the wait ends.
    void refreshLoginButton();

    // Tests replace the main window's modal run.
    std::function<void()> runMainWindow;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    bool ensureConnection();
    void fillUserCodes(const QList<int>& codes);

    Session& session_;
    QComboBox* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* save_ = nullptr;
    QPushButton* login_ = nullptr;
    QLabel* search_ = nullptr;
    bool leaving_ = false;
    bool shownBefore_ = false;
    bool savedPasswordShown_ = false;   // the field holds the marker of the saved login
    bool setupPending_ = false;         // the server set-up was left unconfirmed
    QTimer waitOver_;
};

} // namespace orvak::ui::startup
