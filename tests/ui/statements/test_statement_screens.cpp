#include "ui/statements/TFSURATHESAB.h"
#include "ui/statements/TSudMo.h"
#include "core/db/Db.h"
#include "support/DemoOffice.h"

#include <QAction>
#include <QComboBox>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::statements;

TEST(StatementScreens, TheListFiltersAndTheMatchingRunsItsPlanOnTheDemo)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);

    TFSURATHESAB list(s);
    orvak::statements::StatementFilter f;
    f.account = 1;
    f.from = QStringLiteral("1405/09/01");
    f.to = QStringLiteral("1405/09/30");
    f.kind = orvak::statements::AmountKind::Corrections;
    list.setFilter(f);
    ASSERT_EQ(list.model().rowCount(), 1) << list.lastError().toStdString();
    EXPECT_TRUE(list.totalsLine().contains(QStringLiteral("جمع شاپرک")));
    f.kind = orvak::statements::AmountKind::All;
    f.place = orvak::statements::DepositPlace::Pos;
    list.setFilter(f);
    EXPECT_GT(list.model().rowCount(), 0);
    EXPECT_GT(list.settlement()->model().rowCount(), 0);
    ASSERT_NE(list.action(QStringLiteral("در نظر گرفتن بعنوان اصلاحات")), nullptr);
    list.setReadOnly(true);
    EXPECT_FALSE(list.action(QStringLiteral("در نظر گرفتن بعنوان اصلاحات"))->isEnabled());

    TSudMo matching(s);
    matching.setMonth(1405, 9);
    const QString plan = matching.preview();
    EXPECT_TRUE(plan.contains(QStringLiteral("سپرده هاي تطبيق داده شده"))) << plan.toStdString();
    startup::ScriptedPrompt yes({}, true);
    const auto done = matching.match(yes);
    ASSERT_TRUE(done) << yes.text().toStdString();
    EXPECT_GT(done.matched, 0);
    EXPECT_GT(done.added, 0);
    EXPECT_EQ(db::scalar(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 9 AND TIKSUDMO = 'R' AND TAFSILI = -1"))
                  .value_or(0)
                  .toInt(),
              done.added);
    startup::ScriptedPrompt back({}, true);
    EXPECT_TRUE(matching.undo(back)) << back.text().toStdString();
}
