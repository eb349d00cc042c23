#pragma once
// The login form: the program's first window; every session of work runs inside it.
#include "core/startup/Session.h"

#include <QDialog>

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

    QComboBox* userCode() const { return user_; }
    QLineEdit* password() const { return password_; }
    QCheckBox* savePassword() const { return save_; }
    QPushButton* loginButton() const { return login_; }

    // Tests replace the main window's modal run.
    std::function<void()> runMainWindow;

protected:
    void keyPressEvent(QKeyEvent* event) override;
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
};

} // namespace orvak::ui::startup
