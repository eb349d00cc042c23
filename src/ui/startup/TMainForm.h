#pragma once
#include <functional>
// The main window: the command menu, the status bar with user, year, section and
// clock, the section label, and the timers. The menu is the screen registry's
// entries with the window's own commands (lock, fiscal year, exits) among them.
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/MainScreenSettings.h"
#include "core/startup/ResyncingClock.h"
#include "core/startup/Session.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QMenu;
class QMenuBar;

namespace orvak::ui::startup {

using namespace orvak::startup;

class AnalogClock;

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
    // What the start does after the section opened (a register's screen that opens
    // itself when it has something to show), in the order added.
    using StartStep = std::function<void(TMainForm&, Session&)>;
    static void addStartStep(StartStep step);
    bool isStarted() const { return started_; }
    // What the start does to the session, for callers without the window.
    static bool openStartSection(Session& session, Prompt& prompt);
    // A registered screen through access, the write level, EnsureForm and showing.
    void openRegistered(const framework::ScreenEntry& entry);
    void chooseSection(int index);
    bool chooseYear(int year);
    bool lockOrChangeUser();
    void refreshStatus();
    // The main-screen settings of the start folder, as saved: background, slide
    // show, clock. Runs at every showing and when a dialog of the menu closes.
    void applyMainScreenSettings();
    const MainScreenSettings& mainScreenSettings() const { return look_; }
    AnalogClock* analogClock() const { return analogClock_; }
    QLabel* background() const { return background_; }
    bool slideShowRunning() const { return slides_.isActive(); }
    // The user guide at a help topic's section.
    void showHelp(const QString& anchor);
    // Set when the window closed because the program is to end (the lock left
    // without a login): the login form then ends the program too.
    bool endsProgram() const { return endsProgram_; }
    // The clock's time source (tests count its calls); the server's by default.
    void setTimeSource(ResyncingClock::Source source);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildMenu();
    bool askExit();
    void tick();
    void showPicture(const QString& file);

    Session& session_;
    const framework::ScreenRegistry& screens_;
    QMenuBar* menu_ = nullptr;
    QLabel* panels_[4] = {};
    QLabel* section_ = nullptr;
    QLabel* customer_ = nullptr;
    QLabel* background_ = nullptr;
    AnalogClock* analogClock_ = nullptr;
    ResyncingClock time_;
    MainScreenSettings look_;
    QString picture_;   // the file the background shows
    QTimer clock_;
    QTimer scroller_;
    QTimer slides_;
    int scrollStep_ = 0;
    int slide_ = 1;
    bool exiting_ = false;
    bool endsProgram_ = false;
    bool started_ = false;
};

} // namespace orvak::ui::startup
