// The desktop program and a second program on the same data folder, side by side:
// each sees what the other wrote, a list left open keeps no one from writing, and a
// change in progress makes the other wait for it rather than write past it.
#include "core/db/Db.h"
#include "core/db/UnitOfWork.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"
#include "ui/deposits/TViewSepDar.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;

namespace {

struct Ran {
    int code;
    QString out, err;
};

Ran orvakctl(const QString& folder, const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(ORVAKCTL), args);
    // The list's reading goes on in this program's event loop while the other runs.
    while (!p.waitForFinished(20))
        QCoreApplication::processEvents();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

qint64 monthRows(startup::Session& s, int month)
{
    const auto n = db::scalar(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = :m"), {{QStringLiteral(":m"), month}});
    EXPECT_TRUE(n.has_value()) << n.error().toStdString();
    return n.value_or(QVariant(-1)).toLongLong();
}

} // namespace

TEST(TwoPrograms, TheDesktopAndTheCommandLineSeeEachOthersWritesAndWaitForEachOthersChanges)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    const QString folder = d.dir.path();

    // A month's list on the screen, more rows than the grid reads at first.
    ui::deposits::TViewSepDar list(s);
    list.setReadOnly(false);
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 8;
    list.setFilter(month);
    ASSERT_GT(list.totals().amount.count, list.model().rowCount()) << "the month should not fit the first reading";

    // The other program writes the deposits database while the list is open.
    const qint64 before = monthRows(s, 9);
    const Ran read = orvakctl(folder, {QStringLiteral("deposits"), QStringLiteral("read-vouchers"), QStringLiteral("--year"), QStringLiteral("1405"),
                                       QStringLiteral("--month"), QStringLiteral("9"), QStringLiteral("--kol"), QStringLiteral("11005"), QStringLiteral("--yes")});
    ASSERT_EQ(read.code, 0) << read.err.toStdString();
    EXPECT_FALSE(list.model().canFetchMore({}));
    EXPECT_EQ(list.model().rowCount(), list.totals().amount.count);
    const qint64 after = monthRows(s, 9);
    EXPECT_GT(after, before) << "this program does not see the other's deposits";

    // The space bar here; the other program reads the mark and its history entry.
    list.grid()->setCurrentIndex(list.model().index(0, 0));
    const int idx = list.currentIdx();
    const QString mark = deposits::ReceivedDeposits(s).read(idx)->tikSudmo;
    QTest::keyClick(list.grid(), Qt::Key_Space);
    ASSERT_NE(deposits::ReceivedDeposits(s).read(idx)->tikSudmo, mark);
    const Ran audit = orvakctl(folder, {QStringLiteral("audit"), QStringLiteral("--table"), QStringLiteral("SEP_DAR"), QStringLiteral("--key"),
                                        QString::number(idx), QStringLiteral("--user"), QStringLiteral("3")});
    ASSERT_EQ(audit.code, 0) << audit.err.toStdString();
    EXPECT_TRUE(audit.out.contains(QStringLiteral("TIKSUDMO"))) << audit.out.toStdString();

    // While a change of this program is in progress, the other's write waits for it and
    // then goes through: neither is lost.
    QProcess other;
    QString why;
    const bool done = s.inWork(
        [&](db::UnitOfWork& w) {
            if (!w.update(db::Store::Common, QStringLiteral("TAFSILI"), {{QStringLiteral("NAME"), QStringLiteral("نام تازه")}}, QStringLiteral("CODE = 1002"), {}))
                return false;
            other.setWorkingDirectory(folder);
            other.start(QStringLiteral(ORVAKCTL), {QStringLiteral("year"), QStringLiteral("1404")});
            EXPECT_FALSE(other.waitForFinished(1500)) << "the other program wrote through a change in progress";
            return true;
        },
        &why);
    ASSERT_TRUE(done) << why.toStdString();
    ASSERT_TRUE(other.waitForFinished(20000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    EXPECT_EQ(db::scalar(s.common(), QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = 1002"))->toString(), QStringLiteral("نام تازه"));
    const Ran year = orvakctl(folder, {QStringLiteral("audit"), QStringLiteral("--table"), QStringLiteral("CurMaliYear")});
    EXPECT_TRUE(year.out.contains(QStringLiteral("1404"))) << year.out.toStdString();
    const Ran party = orvakctl(folder, {QStringLiteral("parties"), QStringLiteral("--search"), QStringLiteral("تازه")});
    EXPECT_TRUE(party.out.contains(QStringLiteral("نام تازه"))) << party.out.toStdString();
}
