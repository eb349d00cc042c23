#include "ui/framework/ScreenRegistry.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/MainScreenSettings.h"
#include "core/startup/Users.h"
#include "ui/startup/AnalogClock.h"
#include "ui/startup/TABOUTAPP.h"
#include "ui/startup/TDE_Arm.h"
#include "ui/startup/TFCalculator.h"
#include "ui/startup/TFHelp.h"
#include "ui/startup/TFHoshdarBkUp.h"
#include "ui/startup/TFInit.h"
#include "ui/startup/TFSETORVAKTIME.h"
#include "ui/startup/TGT_PASS.h"
#include "ui/startup/TMainForm.h"
#include "support/AutoAnswer.h"
#include "support/ScriptedUser.h"
#include "support/TempInstallation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::ui::startup;
using orvak::test::AutoAnswer;
using orvak::test::closeModal;
using orvak::test::modal;
using orvak::test::Script;
using orvak::test::waitUntil;
using orvak::test::TempInstallation;

namespace {

TMainForm* mainWindow() { return qobject_cast<TMainForm*>(ui::framework::screenSlot(QStringLiteral("MainForm")).data()); }

// Shows a main window and lets its one-shot start (the section's opening) finish.
void showStarted(TMainForm& main)
{
    main.show();
    EXPECT_TRUE(waitUntil([&] { return main.isStarted() && !QApplication::activeModalWidget(); }));
}

bool mainShown() { return mainWindow() && mainWindow()->isVisible() && mainWindow()->isStarted() && !QApplication::activeModalWidget(); }

// A fresh installation whose login form runs as the program runs it.
struct Program {
    TempInstallation t;
    std::unique_ptr<Session> session;
    std::unique_ptr<TFInit> form;

    Program()
    {
        t.create();
        session = std::make_unique<Session>(t.path(), t.site);
        form = std::make_unique<TFInit>(*session);
    }
    ~Program() { ui::framework::closeAllScreens(); }
    Script::Step logIn()
    {
        return {[this] { return form->isVisible() && modal<TFInit>() == form.get(); },
                [this] {
                    form->userCode()->setEditText(QStringLiteral("3"));
                    form->password()->setText(t.setup.initialPassword);
                    QTest::keyClick(form.get(), Qt::Key_F10);
                }};
    }
    std::function<void()> giveUp()
    {
        return [this] {
            if (QWidget* m = QApplication::activeModalWidget(); m && m != form.get())
                m->close();
            if (TMainForm* main = mainWindow())
                main->close();
            form->endProgram();
        };
    }
};

} // namespace

TEST(MainWindow, ClosingItReturnsToTheLoginFormAndLeavingTheFormShowsTheReminder)
{
    Program p;
    AutoAnswer answers;   // the exit question, the section's first opening
    bool loggedInOnMain = false;
    bool backOnTheForm = false;
    int reminders = 0;
    Script script({p.logIn(),
                   {[] { return mainShown(); },
                    [&] {
                        loggedInOnMain = p.session->LoggedIn() && !p.form->isVisible();
                        QTest::keyClick(mainWindow(), Qt::Key_Escape);   // asks, and AutoAnswer says yes
                    }},
                   {[&] { return !mainShown() && p.form->isVisible() && modal<TFInit>() == p.form.get(); },
                    [&] {
                        backOnTheForm = !p.session->LoggedIn() && p.form->password()->text().isEmpty();
                        QTest::keyClick(p.form.get(), Qt::Key_Escape);
                    }},
                   {[] { return modal<TFHoshdarBkUp>() != nullptr; },
                    [&] {
                        ++reminders;
                        for (QPushButton* b : modal<TFHoshdarBkUp>()->findChildren<QPushButton*>())
                            if (b->text() == QStringLiteral("بازگشت"))
                                b->click();
                    }},
                   {[&] { return modal<TFInit>() == p.form.get(); }, [&] { QTest::keyClick(p.form.get(), Qt::Key_Escape); }},
                   {[] { return modal<TFHoshdarBkUp>() != nullptr; },
                    [&] {
                        ++reminders;
                        QTest::keyClick(modal<TFHoshdarBkUp>(), Qt::Key_F10);
                    }}},
                  p.giveUp());
    p.form->run();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(loggedInOnMain);
    EXPECT_TRUE(backOnTheForm);
    EXPECT_EQ(reminders, 2);   // "بازگشت" kept the form
    EXPECT_TRUE(p.form->ended());
    EXPECT_FALSE(p.form->isVisible());
    EXPECT_TRUE(answers.texts.contains(QStringLiteral(" خروج از نرم افزار «") + SystemTitle() + QStringLiteral("» ") + QStringLiteral(" نسخه ") + EditionTitle()))
        << answers.texts.join(QLatin1Char('\n')).toStdString();
}

TEST(MainWindow, TheLockIsModalOverEverythingAndLeavingItEndsTheProgram)
{
    Program p;
    AutoAnswer answers;
    QPointer<QWidget> calculator;
    bool lockedAlone = false;
    Script script({p.logIn(),
                   {[] { return mainShown(); },
                    [&] {
                        ASSERT_TRUE(mainWindow()->trigger(QStringLiteral("ماشين حساب")));
                        calculator = ui::framework::screenSlot(QStringLiteral("FCalculator")).data();
                    }},
                   {[&] { return calculator && calculator->isVisible(); },
                    [&] { mainWindow()->trigger(QStringLiteral("قفل  سامانه  - تغيير كاربر")); }},
                   {[] { return modal<TGT_PASS>() != nullptr; },
                    [&] {
                        TGT_PASS* lock = modal<TGT_PASS>();
                        // Nothing else of the program is there to take input.
                        lockedAlone = lock->windowModality() == Qt::ApplicationModal && !mainWindow()->isVisible() && !calculator->isVisible();
                        for (QWidget* w : QApplication::topLevelWidgets())
                            if (w != lock && w->isVisible())
                                ADD_FAILURE() << "visible beside the lock: " << w->metaObject()->className();
                        lock->close();   // without a login
                    }}},
                  p.giveUp());
    p.form->run();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(lockedAlone);
    EXPECT_TRUE(p.form->ended());
    EXPECT_FALSE(p.session->LoggedIn());
    EXPECT_FALSE(script.seen.contains(QStringLiteral("orvak::ui::startup::TFHoshdarBkUp")));
}

TEST(MainWindow, AChangeOfUserOnTheLockKeepsTheWindowAndClosesTheOtherUsersScreens)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    ASSERT_TRUE(logInAs(session, QStringLiteral("3"), t.setup.initialPassword, quiet));
    ProgramUser clerk;
    clerk.code = 8;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    AutoAnswer answers;
    TMainForm main(session);
    showStarted(main);
    ASSERT_TRUE(main.trigger(QStringLiteral("ماشين حساب")));
    QPointer<QWidget> calculator = ui::framework::screenSlot(QStringLiteral("FCalculator")).data();
    ASSERT_TRUE(calculator && calculator->isVisible());
    Script script({{[] { return modal<TGT_PASS>() != nullptr; },
                    [] {
                        TGT_PASS* lock = modal<TGT_PASS>();
                        lock->code->setText(QStringLiteral("8"));
                        lock->password->setText(QStringLiteral("p"));
                        QTest::keyClick(lock, Qt::Key_F10);
                    }}},
                  closeModal);
    EXPECT_TRUE(main.lockOrChangeUser());
    EXPECT_EQ(session.currentUserCode(), 8);
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(main.endsProgram());
    EXPECT_FALSE(calculator->isVisible());
    ui::framework::closeAllScreens();
}

TEST(MainWindow, SavedMainScreenSettingsApplyAtOnceAndAtTheNextShowing)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    ASSERT_TRUE(logInAs(session, QStringLiteral("3"), t.setup.initialPassword, quiet));
    QImage(60, 30, QImage::Format_RGB32).save(t.path(QStringLiteral("back.png")));
    AutoAnswer answers;
    TMainForm main(session);
    showStarted(main);
    EXPECT_TRUE(main.analogClock()->isVisible());
    EXPECT_FALSE(main.slideShowRunning());

    MainScreenSettings s;
    s.picture = t.path(QStringLiteral("back.png"));
    s.slideFolder = t.path(QStringLiteral("slides"));
    s.interval = 4;
    s.rotation = 90;
    s.handsColour = QStringLiteral("#aa0000");
    s.faceColour = QStringLiteral("#ffffcc");
    s.showSeconds = false;
    Script script({{[] { return modal<TFSETORVAKTIME>() != nullptr; },
                    [&] {
                        modal<TFSETORVAKTIME>()->showSettings(s);
                        QTest::keyClick(modal<TFSETORVAKTIME>(), Qt::Key_F10);
                    }}},
                  closeModal);
    ASSERT_TRUE(main.trigger(QStringLiteral("تنظيمات صفحه اصلي")));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(main.mainScreenSettings(), s);
    EXPECT_EQ(main.analogClock()->handsColour(), QColor(QStringLiteral("#aa0000")));
    EXPECT_EQ(main.analogClock()->faceColour(), QColor(QStringLiteral("#ffffcc")));
    EXPECT_FALSE(main.analogClock()->secondsHand());
    EXPECT_TRUE(main.slideShowRunning());
    EXPECT_FALSE(main.background()->pixmap().isNull());
    EXPECT_FALSE(main.statusText(3).contains(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d"))));

    // The clock off, seen by the next window at its showing.
    s.clockOff = true;
    s.slideFolder.clear();
    ASSERT_TRUE(saveMainScreenSettings(mainScreenSettingsFile(session.startDir()), s));
    TMainForm next(session);
    showStarted(next);
    EXPECT_FALSE(next.analogClock()->isVisible());
    EXPECT_FALSE(next.slideShowRunning());
    EXPECT_EQ(next.background()->pixmap().size(), next.background()->size());
}

TEST(MainWindow, TheClockDoesNotAskTheServerEverySecond)
{
    TempInstallation t;
    t.create();
    AutoAnswer answers;
    TMainForm main(*t.session);
    int reads = 0;
    main.setTimeSource([&reads] {
        ++reads;
        return QDateTime(QDate(2024, 3, 20), QTime(9, 15, 0));
    });
    showStarted(main);
    QTest::qWait(2300);   // two ticks of the one-second timer
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(main.statusText(3).startsWith(QStringLiteral("09:15:0"))) << main.statusText(3).toStdString();
}

TEST(MainWindow, OrganisationPictureAttachesAndDeletes)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt quiet({}, true);
    ASSERT_TRUE(logInAs(session, QStringLiteral("3"), t.setup.initialPassword, quiet));
    QImage emblem(32, 24, QImage::Format_RGB32);
    emblem.fill(Qt::darkGreen);
    ASSERT_TRUE(emblem.save(t.path(QStringLiteral("emblem.png"))));
    QFile fake(t.path(QStringLiteral("fake.png")));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a picture at all");
    fake.close();

    TDE_Arm screen(session);
    EXPECT_FALSE(screen.hasPicture());
    ASSERT_TRUE(screen.attach(t.path(QStringLiteral("emblem.png"))));
    EXPECT_TRUE(screen.hasPicture());
    auto stored = db::firstRow(session.common(), QStringLiteral("SELECT PIC, PICTYPE FROM ARM WHERE CODE = 1"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->value(1).toString(), QStringLiteral("PNG"));
    EXPECT_EQ(QImage::fromData(stored->value(0).toByteArray()).size(), emblem.size());
    // The history says a picture came, not its bytes.
    const QString changes = db::scalar(session.common(), QStringLiteral("SELECT CHANGES FROM AUDITTRAIL WHERE TABLENAME = 'ARM' AND OP = 'I'"))->toString();
    EXPECT_TRUE(changes.contains(QStringLiteral("bytes)"))) << changes.toStdString();

    {
        AutoAnswer answers;
        EXPECT_FALSE(screen.attach(t.path(QStringLiteral("fake.png"))));
        EXPECT_FALSE(screen.attach(t.path(QStringLiteral("missing.png"))));
        ASSERT_EQ(answers.texts.size(), 2);
        EXPECT_EQ(answers.texts[0], QStringLiteral("فايل انتخاب شده تصوير نيست"));
    }
    EXPECT_TRUE(screen.hasPicture());   // the stored one stays
    EXPECT_EQ(db::scalar(session.common(), QStringLiteral("SELECT COUNT(*) FROM ARM"))->toInt(), 1);

    ASSERT_TRUE(screen.removePicture());
    EXPECT_FALSE(screen.hasPicture());
    EXPECT_EQ(db::scalar(session.common(), QStringLiteral("SELECT COUNT(*) FROM ARM"))->toInt(), 0);
    EXPECT_FALSE(TDE_Arm(session).hasPicture());
}

TEST(MainWindow, HelpTopicsOpenTheGuideAtTheirSection)
{
    TempInstallation t;
    t.create();
    AutoAnswer answers;
    TMainForm main(*t.session);
    showStarted(main);
    int previous = -1;
    for (const HelpTopic& topic : helpTopics()) {
        ASSERT_TRUE(main.trigger(topic.caption)) << topic.caption.toStdString();
        auto* help = qobject_cast<TFHelp*>(ui::framework::screenSlot(QStringLiteral("FHelp")).data());
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_TRUE(help->browser()->document()->toHtml().contains(QStringLiteral("name=\"%1\"").arg(topic.anchor))) << topic.anchor.toStdString();
        // The sections follow the menu's order down the guide.
        const int at = help->browser()->verticalScrollBar()->value();
        EXPECT_GT(at, previous) << topic.anchor.toStdString();
        previous = at;
    }
    ui::framework::closeAllScreens();
}

TEST(MainWindow, AboutBoxCalculatorAndTheMenuKey)
{
    TempInstallation t;
    t.create();
    TABOUTAPP about(*t.session);
    const QString said = about.texts().join(QLatin1Char('\n'));
    for (const QString& text : {VersionDate(), EditionTitle(), t.site.organisationName, QStringLiteral("8/12")})
        EXPECT_TRUE(said.contains(text)) << text.toStdString();

    TFCalculator calculator(*t.session);
    calculator.show();
    calculator.expression()->setText(QStringLiteral("۱۲۵۰ × ۴ ÷ ۲"));
    QTest::keyClick(calculator.expression(), Qt::Key_Return);
    EXPECT_EQ(calculator.result()->text(), QStringLiteral("2,500"));
    calculator.copyResult();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2,500"));
    calculator.expression()->setText(QStringLiteral("1 / 0"));
    EXPECT_FALSE(calculator.calculate());
    EXPECT_EQ(calculator.result()->text(), QStringLiteral("تقسيم بر صفر ممکن نيست"));

    AutoAnswer answers;
    TMainForm main(*t.session);
    showStarted(main);
    QTest::keyClick(&main, Qt::Key_F10);
    EXPECT_EQ(main.menu()->activeAction(), main.menu()->actions().value(0));
    QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : &main, Qt::Key_Escape);
    ui::framework::closeAllScreens();
}
