#include "ui/guarantees/TFZEMANATINF.h"
#include "ui/guarantees/TFZEMSARRASID.h"
#include "ui/guarantees/TSRCH_ZEM.h"
#include "ui/framework/Editors.h"
#include "ui/startup/TMainForm.h"
#include "core/guarantees/GuaranteeOperations.h"
#include "core/guarantees/Guarantees.h"
#include "core/startup/Login.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::guarantees;
namespace g = orvak::guarantees;

namespace {
int statusOf(startup::Session& s, int idx) { return g::Guarantees(s).read(idx)->status; }
} // namespace

// As the guarantees officer would: the monitor lists what falls due, a run issues a
// letter and skips one, the history screen takes the bank's answer and withdraws a
// letter, and the search finds the cancelled and seized.
TEST(GuaranteeMonitor, TheRunIssuesAnAnswerExtendsAWithdrawalRestoresAndTheSearchFinds)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("6"), QStringLiteral("3333"), quiet));
    test::AutoAnswer answers;

    TFZEMSARRASID monitor(s);
    const int listed = monitor.listedCount();
    ASSERT_GT(listed, 1);
    EXPECT_EQ(monitor.model().rowCount(), listed);
    EXPECT_TRUE(monitor.countLabel->text().contains(QStringLiteral("فقره")));
    // The window list recomputes the end from the start.
    monitor.from->setDate(QStringLiteral("1403/12/20"));
    monitor.chooseWindow(1);
    EXPECT_EQ(monitor.to->text(), QStringLiteral("1404/01/05"));
    monitor.from->setDate(s.clock().todayJalali());
    monitor.chooseWindow(g::DefaultDueWindow);
    ASSERT_EQ(monitor.listedCount(), listed);

    g::ExtensionRun::Choice choice;
    choice.months = 3;
    g::ExtensionRun run(s, monitor.filter(), choice);
    ASSERT_TRUE(run.start(quiet));
    TFSelNextLetterQ navigator(s, run);
    EXPECT_TRUE(navigator.position->text().startsWith(QStringLiteral("شماره 1 از")));
    const int issuedIdx = run.current().idx;
    ASSERT_TRUE(navigator.issueOne());
    const int skippedIdx = run.current().idx;
    navigator.next();
    navigator.reject();   // cancelled: the issued letter stays
    EXPECT_EQ(statusOf(s, issuedIdx), 10);
    EXPECT_NE(statusOf(s, skippedIdx), 10);
    EXPECT_FALSE(navigator.printed().empty());
    monitor.refresh();
    EXPECT_EQ(monitor.listedCount(), listed - 1);

    // The answer extends the guarantee by the letter's date.
    TFZEMANATINF history(s, issuedIdx);
    ASSERT_GE(history.model().rowCount(), 1);
    const auto pending = g::GuaranteeOperations(s).history(issuedIdx)->last();
    EXPECT_EQ(history.currentRow(), pending.row);
    EXPECT_EQ(history.letterText(), pending.content);
    TFzemchang answer(s, issuedIdx, TFzemchang::Mode::Answer, pending);
    answer.receivedNo->setText(QStringLiteral("ب/55"));
    ASSERT_TRUE(answer.save());
    EXPECT_EQ(statusOf(s, issuedIdx), 1);
    EXPECT_EQ(g::Guarantees(s).read(issuedIdx)->sarresid, pending.sarresid);

    // The withdrawal of the answered letter puts the guarantee back.
    history.reopen(pending.row);
    history.withdrawLetter();
    EXPECT_EQ(statusOf(s, issuedIdx), pending.oldStatus.value_or(-1));
    EXPECT_EQ(g::Guarantees(s).read(issuedIdx)->sarresid, pending.oldSarresid);
    EXPECT_TRUE(answers.texts.contains(g::withdrawQuestion()));

    // The search: cancelled and seized only, then every status again.
    TSRCH_ZEM search(s);
    const int all = search.model().rowCount();
    for (QCheckBox* t : search.ticks) {
        if (t->text() == QStringLiteral("ابطال") || t->text() == QStringLiteral("ضبط"))
            t->click();
    }
    EXPECT_FALSE(search.ticks.first()->isChecked());
    ASSERT_TRUE(search.showResults());
    g::SearchFilter f;
    f.statuses = {3, 4};
    EXPECT_EQ(search.model().rowCount(), g::searchTotals(s, f)->count);
    EXPECT_LT(search.model().rowCount(), all);
    EXPECT_TRUE(search.countText().contains(g::searchCountSuffix()));
    search.ticks.first()->click();
    ASSERT_TRUE(search.showResults());
    EXPECT_EQ(search.model().rowCount(), all);
}

// After login the main window opens the monitor when guarantees fall due.
TEST(GuaranteeMonitor, TheMainWindowOpensTheMonitorAtItsStart)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    ASSERT_GT(g::dueSoonCount(s).value_or(0), 0);
    test::AutoAnswer answers;
    ui::startup::TMainForm main(s);
    main.show();
    auto monitorShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TFZEMSARRASID*>(w) && w->isVisible())
                return true;
        }
        return false;
    };
    for (int i = 0; i < 200 && !(main.isStarted() && monitorShown()); ++i)
        QTest::qWait(10);
    EXPECT_TRUE(main.isStarted());
    EXPECT_TRUE(monitorShown());
    ui::framework::closeAllScreens();
}
