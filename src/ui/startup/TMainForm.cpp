#include "ui/startup/TMainForm.h"

#include "ui/AppScreens.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFupdateProgress.h"
#include "ui/startup/TFPass2.h"
#include "ui/startup/TGT_PASS.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "ui/startup/TV_USERS.h"
#include "core/startup/MainScreenSettings.h"
#include "ui/startup/TFManager.h"
#include "ui/startup/AnalogClock.h"
#include "ui/startup/TFHelp.h"
#include "core/util/Jalali.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProcess>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

namespace {
const QString kScrollText = QStringLiteral("اورواک : سپرده ها و تضمينات ذيحسابي طرحهاي عمراني");
} // namespace

QString scrolledTitle(const QString& text, int k)
{
    if (k < 11)
        return text.left(5);
    return text.mid(k - 10, k + 1);
}

int nextScrollStep(const QString& text, int k) { return k + 1 > text.size() - 1 ? 1 : k + 1; }

TMainForm::TMainForm(Session& session, QWidget* parent)
    : TMainForm(session, appScreens(), parent)
{
}

TMainForm::TMainForm(Session& session, const framework::ScreenRegistry& screens, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , screens_(screens)
    , time_([&session] { return session.clock().now(); })
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("اورواک : نرم افزار جامع سپرده ها و تضمينات"));
    setWindowFlags(Qt::Window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);
    auto* top = new QHBoxLayout;
    section_ = new QLabel(this);
    section_->setToolTip(QStringLiteral("براي تغيير بخش مالي اين جا را كليك كنيد"));
    section_->setCursor(Qt::PointingHandCursor);
    QFont big = section_->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    section_->setFont(big);
    section_->installEventFilter(this);
    customer_ = new QLabel(session.site().organisationName, this);
    customer_->setFont(big);
    top->addWidget(section_);
    top->addStretch();
    top->addWidget(customer_);
    top->addStretch();
    auto* quit = new QPushButton(QStringLiteral("خروج از برنامه"), this);
    quit->setAutoDefault(false);
    connect(quit, &QPushButton::clicked, this, [this] {
        if (framework::Ask(QStringLiteral("خروج از برنامه سپرده ها و تضمينات ؟"), this) == framework::AskYes) {
            exiting_ = true;
            reject();
        }
    });
    auto* back = new QPushButton(QStringLiteral("خـروج"), this);
    back->setAutoDefault(false);
    back->setToolTip(QStringLiteral("بازگشت به صفحه ورود"));
    connect(back, &QPushButton::clicked, this, &TMainForm::reject);
    top->addWidget(back);
    top->addWidget(quit);
    layout->addLayout(top);
    background_ = new QLabel(this);
    background_->setObjectName(QStringLiteral("background"));
    background_->setAlignment(Qt::AlignCenter);
    background_->setMinimumSize(400, 300);
    background_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(background_, 1);
    // The clock face sits in the background's corner.
    analogClock_ = new AnalogClock(background_);
    analogClock_->move(12, 12);
    auto* status = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        status->addWidget(panels_[i], i == 3 ? 0 : 1);
    }
    layout->addLayout(status);
    buildMenu();

    connect(&clock_, &QTimer::timeout, this, &TMainForm::tick);
    connect(&scroller_, &QTimer::timeout, this, [this] {
        QApplication::setApplicationDisplayName(scrolledTitle(kScrollText, scrollStep_));
        scrollStep_ = nextScrollStep(kScrollText, scrollStep_);
    });
    connect(&slides_, &QTimer::timeout, this, [this] {
        const QString file = slidePictureFile(look_.slideFolder, slide_);
        if (QFileInfo::exists(file)) {
            showPicture(file);
            ++slide_;
        } else {
            slide_ = 1;
        }
    });
    clock_.start(1000);
    scroller_.start(1000);
    resize(1100, 720);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == section_ && event->type() == QEvent::MouseButtonRelease) {
        QStringList titles;
        for (const Section& s : allSections())
            titles << s.title;
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, QStringLiteral("بخش مالي"), QStringLiteral("بخش مالي"), titles,
                                                     session_.SectionCode().toInt(), false, &ok);
        if (ok)
            chooseSection(int(titles.indexOf(chosen)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TMainForm::openRegistered(const framework::ScreenEntry& entry)
{
    QWidget* screen = framework::openScreenOrTell(entry, session_, this);
    if (!screen)
        return;
    auto* dialog = qobject_cast<QDialog*>(screen);
    if (entry.kind == framework::ScreenKind::Window || !dialog) {
        if (entry.kind == framework::ScreenKind::Dialog)
            screen->setAttribute(Qt::WA_DeleteOnClose);
        framework::showScreen(screen);
        return;
    }
    dialog->exec();
    if (entry.kind == framework::ScreenKind::Dialog)
        delete dialog;
    refreshStatus();
    applyMainScreenSettings();
}

void TMainForm::buildMenu()
{
    // The window's own commands on the registry's position scale; a separator has no
    // caption.
    struct Command {
        QStringList menuPath;
        QString caption;
        int position;
        std::function<void()> run;
    };
    namespace menu = framework::menu;
    const QString system = QStringLiteral("سامانه اورواک");
    const QList<Command> commands{
        {{system}, QStringLiteral("قفل  سامانه  - تغيير كاربر"), menu::System, [this] { lockOrChangeUser(); }},
        {{system}, QStringLiteral("تعيين سال مالي پيشفرض حسابداري"), menu::System + 100,
         [this] {
             QStringList years;
             for (int y : session_.selectableYears())
                 years << QString::number(y);
             bool ok = false;
             const QString chosen = QInputDialog::getItem(this, QStringLiteral("تعيين سال مالي پيشفرض حسابداري"), QStringLiteral("سال مالي"), years,
                                                          int(years.indexOf(QString::number(session_.CurrentYear()))), false, &ok);
             if (ok)
                 chooseYear(chosen.toInt());
         }},
        {{system}, QString(), menu::System + 900, {}},
        {{system}, QStringLiteral("بيشينه"), menu::System + 910, [this] { showMaximized(); }},
        {{system}, QStringLiteral("كمينه"), menu::System + 920, [this] { showNormal(); }},
        {{system}, QStringLiteral("خروج موقت"), menu::System + 930, [this] { showMinimized(); }},
        {{system}, QStringLiteral("خروج و خاموش كردن رايانه"), menu::System + 940,
         [this] {
             if (framework::Ask(QStringLiteral("خروج كامل از برنامه و خاموش نمودن كامپيوتر"), this) != framework::AskYes)
                 return;
#ifdef Q_OS_WIN
             QProcess::startDetached(QStringLiteral("shutdown"), {QStringLiteral("/s"), QStringLiteral("/t"), QStringLiteral("0")});
#else
             QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
#endif
             exiting_ = true;
             reject();
         }},
        {{system}, QStringLiteral("خروج"), menu::System + 950,
         [this] {
             if (askExit()) {
                 exiting_ = true;
                 reject();
             }
         }},
    };
    QList<Command> all = commands;
    // The help topics after the about boxes.
    int topicAt = menu::Help + 100;
    for (const HelpTopic& topic : helpTopics())
        all << Command{{QStringLiteral("راهنما")}, topic.caption, topicAt++, [this, anchor = topic.anchor] { showHelp(anchor); }};

    // Both lists merged by position; at equal positions the window's commands first.
    struct Item {
        const Command* command;
        const framework::ScreenEntry* screen;
        int position;
    };
    const QList<framework::ScreenEntry> entries = screens_.entries();
    QList<Item> items;
    for (const Command& c : all)
        items << Item{&c, nullptr, c.position};
    for (const framework::ScreenEntry& e : entries)
        items << Item{nullptr, &e, e.position};
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.position < b.position; });

    QHash<QString, QMenu*> menus;   // by the path joined
    auto menuAt = [&](const QStringList& path) {
        QMenu* parent = nullptr;
        for (int depth = 1; depth <= path.size(); ++depth) {
            const QString key = path.mid(0, depth).join(QChar(0x1F));
            QMenu*& m = menus[key];
            if (!m)
                m = parent ? parent->addMenu(path[depth - 1]) : menu_->addMenu(path[depth - 1]);
            parent = m;
        }
        return parent;
    };
    for (const Item& item : items) {
        const QStringList& path = item.command ? item.command->menuPath : item.screen->menuPath;
        QMenu* m = menuAt(path);
        if (!m)
            continue;
        if (item.command && item.command->caption.isEmpty()) {
            m->addSeparator();
        } else if (item.command) {
            m->addAction(item.command->caption, this, item.command->run);
        } else {
            // The entry is copied: the registry's list may be rebuilt while the window lives.
            m->addAction(item.screen->caption, this, [this, entry = *item.screen] { openRegistered(entry); });
        }
    }
}

bool TMainForm::trigger(const QString& caption)
{
    std::function<QAction*(QMenu*)> find = [&](QMenu* m) -> QAction* {
        for (QAction* a : m->actions()) {
            if (a->menu()) {
                if (QAction* inner = find(a->menu()))
                    return inner;
            } else if (a->text() == caption) {
                return a;
            }
        }
        return nullptr;
    };
    for (QAction* top : menu_->actions()) {
        if (QAction* a = top->menu() ? find(top->menu()) : nullptr) {
            a->trigger();
            return true;
        }
    }
    return false;
}

QString TMainForm::statusText(int panel) const { return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString(); }

void TMainForm::refreshStatus()
{
    panels_[0]->setText(QStringLiteral("كاربر") + QLatin1Char(' ') + session_.user().displayName());
    panels_[1]->setText(session_.AccountingDbOpen() ? session_.statusYearText() : QStringLiteral("سال مالي ") + QString::number(session_.CurrentYear()));
    section_->setText(session_.SectionTitle());
    panels_[2]->setText(session_.statusSectionText());
    // The slide show, when it runs, owns the background.
    if (!slides_.isActive())
        showPicture(backgroundPictureFile(look_, session_.user().background));
}

void TMainForm::showPicture(const QString& file)
{
    picture_ = file;
    const QImage image = file.isEmpty() ? QImage() : QImage(file);
    if (image.isNull()) {
        background_->clear();
        return;
    }
    background_->setPixmap(QPixmap::fromImage(arrangeBackground(image, background_->size(), look_)));
}

void TMainForm::hideEvent(QHideEvent* event)
{
    // Nobody watches the show behind the login form or the lock.
    slides_.stop();
    QDialog::hideEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!picture_.isEmpty())
        showPicture(picture_);
}

void TMainForm::applyMainScreenSettings()
{
    const MainScreenSettings was = look_;
    look_ = loadMainScreenSettings(mainScreenSettingsFile(session_.startDir())).value_or(MainScreenSettings{});
    analogClock_->setColours(QColor(look_.handsColour), QColor(look_.faceColour));
    analogClock_->setSecondsHand(look_.showSeconds);
    analogClock_->setVisible(!look_.clockOff);
    tick();
    // A running show goes on unless its folder or pace changed; a new one starts
    // from its first picture, over the background until that comes.
    if (slides_.isActive() && look_.slideFolder == was.slideFolder && look_.interval == was.interval) {
        showPicture(picture_);   // turned and fitted anew
        return;
    }
    slide_ = 1;
    if (!look_.slideFolder.isEmpty())
        slides_.start(std::max(1, look_.interval) * 1000);
    else
        slides_.stop();
    showPicture(backgroundPictureFile(look_, session_.user().background));
}

void TMainForm::setTimeSource(ResyncingClock::Source source)
{
    time_ = ResyncingClock(std::move(source));
    tick();
}

void TMainForm::tick()
{
    const QDateTime now = time_.now();
    // The date text of that moment, without asking the server again.
    const util::Clock at([now] { return std::optional<QDateTime>(now); });
    panels_[3]->setText(now.time().toString(look_.showSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm")) + QLatin1Char(' ')
                        + at.todayJalaliLong());
    if (!look_.clockOff)
        analogClock_->setTime(now.time());
}

void TMainForm::showHelp(const QString& anchor)
{
    auto* help = framework::EnsureForm<TFHelp>();
    framework::showScreen(help);
    help->showTopic(anchor);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    exiting_ = false;
    setWindowTitle(QStringLiteral(" اورواک : ") + SystemTitlePlural() + QStringLiteral(" ORVAK : ") + SystemTitleLatin());
    endsProgram_ = false;
    started_ = false;
    applyMainScreenSettings();
    customer_->setText(session_.site().organisationName);
    // The one-shot start: after the window is on the screen.
    QTimer::singleShot(1, this, &TMainForm::start);
}

bool TMainForm::openStartSection(Session& session, Prompt& prompt)
{
    session.setCurrentYear(session.clock().year());
    return session.OpenSection(session.CurrentYear(), session.SectionCode(), prompt);
}

namespace {
std::vector<TMainForm::StartStep>& startSteps()
{
    static std::vector<TMainForm::StartStep> steps;
    return steps;
}
} // namespace

void TMainForm::addStartStep(StartStep step) { startSteps().push_back(std::move(step)); }

void TMainForm::start()
{
    refreshStatus();
    framework::TFDoing doing(QStringLiteral("تنظيمات سال مالي"), this);
    const bool opened = openStartSection(session_, doing);
    doing.hide();
    refreshStatus();
    started_ = true;
    if (opened) {
        for (const StartStep& step : startSteps())
            step(*this, session_);
    }
}

void TMainForm::chooseSection(int index)
{
    if (index < 0 || index >= 4)
        return;
    framework::TFDoing doing(QStringLiteral("تنظيمات سال مالي"), this);
    session_.OpenSection(session_.CurrentYear(), QString::number(index), doing);
    doing.hide();
    refreshStatus();
}

bool TMainForm::chooseYear(int year)
{
    framework::MessagePrompt prompt(this);
    const bool ok = session_.chooseFiscalYear(year, prompt);
    refreshStatus();
    return ok;
}

bool TMainForm::lockOrChangeUser()
{
    const int before = session_.currentUserCode();
    // While the program is locked nothing of it shows or answers: the other windows
    // are put away and the lock is modal over the whole application.
    QList<QPointer<QWidget>> others;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            others << w;
            w->hide();
        }
    }
    hide();
    TGT_PASS dialog(session_, nullptr);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted) {
        // Leaving the lock without a login ends the program (the login form sees
        // endsProgram() when this window has closed).
        endsProgram_ = true;
        exiting_ = true;
        reject();
        return false;
    }
    // Another user does not find the screens of the one before him open.
    if (session_.currentUserCode() == before) {
        for (const QPointer<QWidget>& w : std::as_const(others)) {
            if (w)
                w->show();
        }
    }
    show();
    refreshStatus();
    return true;
}

bool TMainForm::askExit() { return framework::ConfirmExit(this); }

void TMainForm::reject()
{
    if (exiting_ || askExit())
        QDialog::reject();
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F12 && event->modifiers() == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) {
        framework::MessagePrompt prompt(this);
        const std::optional<QString> typed = prompt.askText(QStringLiteral("Plz Enter Orvak Password on SQL SERVER ?"), true);
        if (typed && *typed == session_.connection().sqlPassword)
            TFManager(session_, this).exec();
        return;
    }
    // F10 takes the keyboard to the menu bar, as on the office's other programs.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier) {
        if (QAction* first = menu_->actions().value(0)) {
            menu_->setFocus(Qt::ShortcutFocusReason);
            menu_->setActiveAction(first);
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvak::ui::startup
