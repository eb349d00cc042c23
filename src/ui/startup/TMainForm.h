#pragma once
// The main window: the command menu, the status bar with user, year, section and
// clock, the section label, and the timers.
#include "core/startup/Session.h"

#include <QDialog>
#include <QMap>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSpinBox;

namespace orvak::ui::startup {

using namespace orvak::startup;

// The task-bar title at step k of the scroller.
QString scrolledTitle(const QString& text, int k);
int nextScrollStep(const QString& text, int k);

class TMainForm : public QDialog {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);

    QMenuBar* menu() const { return menu_; }
    QString statusText(int panel) const;
    // Runs a menu command by its caption (tests, keyboard users).
    bool trigger(const QString& caption);

    void start();                 // the one-shot start: the section opens
    void chooseSection(int index);
    bool chooseYear(int year);
    bool lockOrChangeUser();
    void refreshStatus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildMenu();
    QMenu* addMenu(const QString& title);
    bool askExit();
    void openGuarded(int menuId, const std::function<void()>& open);

    Session& session_;
    QMenuBar* menu_ = nullptr;
    QLabel* panels_[4] = {};
    QLabel* section_ = nullptr;
    QLabel* customer_ = nullptr;
    QLabel* background_ = nullptr;
    QTimer clock_;
    QTimer scroller_;
    QTimer slides_;
    int scrollStep_ = 0;
    int slide_ = 1;
    bool exiting_ = false;
};

// "اطلاعات کلي مربوط به سازمان"
class TFGeneral_info : public QDialog {
    Q_OBJECT
public:
    explicit TFGeneral_info(Session& session, QWidget* parent = nullptr);
    bool save();
    QMap<QString, QLineEdit*> fields;

private:
    Session& session_;
};

// "تنظيمات صفحه اصلي ": the background picture, the slide show and the clock.
class TFSETORVAKTIME : public QDialog {
    Q_OBJECT
public:
    explicit TFSETORVAKTIME(Session& session, QWidget* parent = nullptr);
    static QString settingsFile(const Session& session);

private:
    bool save(const QString& file);
    bool load(const QString& file);

    Session& session_;
    QLineEdit* picture_ = nullptr;
    QLineEdit* slideFolder_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QComboBox* fit_ = nullptr;
    QCheckBox* seconds_ = nullptr;
    QCheckBox* clockOff_ = nullptr;
};

// The maintenance screen behind Ctrl+Alt+Shift+F12.
class TFManager : public QDialog {
    Q_OBJECT
public:
    explicit TFManager(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
