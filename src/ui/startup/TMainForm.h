#pragma once
// The main window: the command menu, the status bar with user, year, section and
// clock, the section label, and the timers. The menu is the screen registry's
// entries with the window's own commands (lock, fiscal year, exits) among them.
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Session.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QMenu;
class QMenuBar;

namespace orvak::ui::startup {

using namespace orvak::startup;

// The task-bar title at step k of the scroller.
QString scrolledTitle(const QString& text, int k);
int nextScrollStep(const QString& text, int k);

class TMainForm : public QDialog {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);   // the program's screens
    TMainForm(Session& session, const framework::ScreenRegistry& screens, QWidget* parent = nullptr);

    QMenuBar* menu() const { return menu_; }
    QString statusText(int panel) const;
    // Runs a menu command by its caption (tests, keyboard users).
    bool trigger(const QString& caption);

    void start();                 // the one-shot start: the section opens
    // What the start does to the session, for callers without the window.
    static bool openStartSection(Session& session, Prompt& prompt);
    // A registered screen through access, the write level, EnsureForm and showing.
    void openRegistered(const framework::ScreenEntry& entry);
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
    bool askExit();

    Session& session_;
    const framework::ScreenRegistry& screens_;
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

} // namespace orvak::ui::startup
