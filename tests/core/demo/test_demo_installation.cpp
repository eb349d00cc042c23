#include "core/demo/DemoInstallation.h"
#include "core/db/Db.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"
#include "core/startup/Versions.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::db;

namespace {

struct Demo {
    QTemporaryDir dir;
    std::unique_ptr<Session> session;
    demo::DemoSummary summary;

    explicit Demo(quint64 seed = 7)
    {
        demo::DemoOptions o;
        o.folder = dir.path();
        o.seed = seed;
        o.today = QStringLiteral("1405/09/18");
        ScriptedPrompt prompt;
        summary = demo::buildDemoInstallation(o, prompt);
        EXPECT_TRUE(summary.ok) << summary.message.toStdString();
        session = std::make_unique<Session>(dir.path(), SiteConfig{demo::DemoInstallationNumber, QStringLiteral("x")});
        ScriptedPrompt quiet;
        EXPECT_EQ(session->ReadConnectionFile(), ConnectionFileState::Ready);
        EXPECT_TRUE(session->ConnectServer(quiet));
        EXPECT_TRUE(session->OpenSection(1405, QStringLiteral("0"), quiet));
    }
    qint64 count(const QString& sql) { return scalar(session->deposits(), sql).value_or(QVariant(-1)).toLongLong(); }
};

} // namespace

TEST(DemoInstallation, EveryRegisterAgreesWithItself)
{
    Demo d;
    ASSERT_TRUE(d.summary.ok);
    EXPECT_EQ(d.summary.deposits, 10000);
    EXPECT_TRUE(d.session->AccountingDbOpen());
    EXPECT_EQ(d.session->office().province, QStringLiteral("کهگيلويه و بويراحمد"));

    // Balances, refunds, requests, credit notices and floats add up.
    const char* const broken[] = {
        "SELECT COUNT(*) FROM SEP_DAR WHERE ABS(AMOUNT - AMOUNT_RAD - AMOUNT_MANDEH) > 0.001 OR AMOUNT <= 0",
        "SELECT COUNT(*) FROM SEP_DAR d WHERE ABS(AMOUNT_RAD - COALESCE((SELECT SUM(AMOUNT) FROM SEP_RADR1 r WHERE r.SEPIDX = d.IDX), 0)) > 0.001",
        "SELECT COUNT(*) FROM SEP_REQH h WHERE ABS(REQ_AMOUNT - (SELECT SUM(AMOUNT) FROM SEP_REQR r WHERE r.REQ_IDX = h.REQ_IDX)) > 0.001 "
        "OR TEDAD <> (SELECT COUNT(*) FROM SEP_REQR r WHERE r.REQ_IDX = h.REQ_IDX)",
        "SELECT COUNT(*) FROM SEP_RADH h WHERE ABS(AMOUNT - (SELECT SUM(AMOUNT) FROM SEP_RADR1 r WHERE r.RAD_IDX = h.RAD_IDX)) > 0.001 "
        "OR ABS(AMOUNT - (SELECT SUM(AMOUNT) FROM SEP_RADR2 r WHERE r.RAD_IDX = h.RAD_IDX)) > 0.001",
        "SELECT COUNT(*) FROM BESTANKARI b WHERE ABS(BESAMOUNT - (SELECT SUM(AMOUNT) FROM SEP_DAR d WHERE d.ELAMBESIDX = b.IDXNO)) > 0.001",
        "SELECT COUNT(*) FROM TANKHAH_TBL t WHERE ABS(AMOUNT_MANDEH - HAVALEHAMOUNT + COALESCE((SELECT SUM(AMOUNT) FROM SEP_RADH h WHERE h.TANKHAH_IDX = t.IDX AND h.TIK_AZTANKHAH = 1), 0)) > 0.001 OR AMOUNT_MANDEH < 0",
        // Marks follow the life of each deposit.
        "SELECT COUNT(*) FROM SEP_DAR WHERE (TIK_ESTERDAD = 1) <> (AMOUNT_RAD > 0)",
        "SELECT COUNT(*) FROM SEP_DAR d WHERE TIK_DARKHASTVJHOK = 1 AND NOT EXISTS (SELECT 1 FROM SEP_REQR r JOIN SEP_REQH h ON h.REQ_IDX = r.REQ_IDX WHERE r.SEPIDX = d.IDX AND h.REQSTATUSE >= 3)",
        "SELECT COUNT(*) FROM SEP_DAR WHERE TIKBESTANKARI = '1' AND TIK_ERSAL <> 1",
        "SELECT COUNT(*) FROM SEP_REQR r WHERE r.AMOUNT > (SELECT AMOUNT FROM SEP_DAR d WHERE d.IDX = r.SEPIDX)",
        "SELECT COUNT(*) FROM ZEMANAT WHERE SARRESID < SUDDATE",
    };
    for (const char* sql : broken)
        EXPECT_EQ(d.count(QString::fromLatin1(sql)), 0) << sql;

    // Every stage and every state is there to be seen.
    for (int state = 0; state <= 4; ++state)
        EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM SEP_REQH WHERE REQSTATUSE = %1").arg(state)), 0) << state;
    for (int status = 0; status <= 24; ++status)
        EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZSTATUSE = %1").arg(status)), 0) << status;
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(DISTINCT ZTYPE) FROM ZEMANAT")), 22);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZSTATUSE = 0 AND SARRESID BETWEEN '1405/09/18' AND '1405/10/18'")), 0);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE AMOUNT_RAD > 0 AND AMOUNT_MANDEH > 0")), 0);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TANKHAHSTATUS = 1")), 0);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TIKSUDMO IS NULL")), 0);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TIKSUDMO = 'R'")), 0);
    EXPECT_GE(d.count(QStringLiteral("SELECT COUNT(DISTINCT MY * 100 + MM) FROM SEP_DAR")), 18);
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM ZHIST WHERE ANS = 2")), 0);

    // The vouchers the deposits point at carry their retention rows.
    QSqlDatabase acc = d.session->accounting();
    EXPECT_GT(scalar(acc, QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE KOL = 21007 AND ACCOUNT = '21006' AND TAFSIL > 0 AND TAFSIL2 > 0"))->toInt(), 0);
    EXPECT_EQ(scalar(acc, QStringLiteral("SELECT SUM(BED) - SUM(BES) FROM SNDROW"))->toLongLong(), 0);

    // Letters of every kind, footers, and the manager's known password.
    QSqlDatabase common = d.session->common();
    EXPECT_EQ(scalar(common, QStringLiteral("SELECT COUNT(DISTINCT LTRKIND) FROM LETTER_TEMPLATE WHERE PROGID = 3"))->toInt(), 9);
    EXPECT_GT(scalar(common, QStringLiteral("SELECT COUNT(*) FROM PREFOOTER WHERE PROGID = 3"))->toInt(), 0);
    EXPECT_EQ(scalar(common, QStringLiteral("SELECT PASSWORD FROM PROGUSERS WHERE PROGID = 3 AND UCODE = 3"))->toString(),
              scrambledPassword(QString::fromLatin1(demo::DemoManagerPassword), 3, demo::DemoInstallationNumber));
    // User 7 is blocked (مسدود), with the password 1234 stored scrambled.
    EXPECT_EQ(scalar(common, QStringLiteral("SELECT ISENABLE FROM PROGUSERS WHERE PROGID = 3 AND UCODE = 7"))->toInt(), 0);
    EXPECT_EQ(scalar(common, QStringLiteral("SELECT PASSWORD FROM PROGUSERS WHERE PROGID = 3 AND UCODE = 7"))->toString(),
              scrambledPassword(QStringLiteral("1234"), 7, demo::DemoInstallationNumber));
    EXPECT_EQ(scalar(common, QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE TAFSILKIND = 2 AND LENGTH(TRIM(NID)) <> 10"))->toInt(), 0);
}

TEST(DemoInstallation, SameSeedSameDataAndUpdateChangesNothing)
{
    Demo a(11);
    Demo b(11);
    const QString fingerprint = QStringLiteral(
        "SELECT COUNT(*) || ':' || SUM(AMOUNT) || ':' || SUM(AMOUNT_RAD) || ':' || SUM(TAFSILI) || ':' || SUM(SEPNO) FROM SEP_DAR");
    EXPECT_EQ(scalar(a.session->deposits(), fingerprint)->toString(), scalar(b.session->deposits(), fingerprint)->toString());

    ScriptedPrompt quiet;
    for (int run = 0; run < 2; ++run) {
        const UpdateReport common = updateCommonDatabase(*a.session->server(), a.session->commonDbName(), quiet);
        StructureUpdate update(*a.session->server(), quiet);
        const UpdateReport deposits = update.UpdateDatabase(a.session->depositDbName(), schemaFor(DatabaseKind::Deposits));
        EXPECT_TRUE(common.errors.isEmpty() && deposits.errors.isEmpty());
        EXPECT_FALSE(common.changedData()) << common.summary().toStdString();
        EXPECT_FALSE(deposits.changedData()) << deposits.summary().toStdString();
    }
}

TEST(DemoInstallation, RefusesAFolderThatHoldsAnInstallation)
{
    Demo d;
    demo::DemoOptions o;
    o.folder = d.dir.path();
    ScriptedPrompt prompt;
    const demo::DemoSummary again = demo::buildDemoInstallation(o, prompt);
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.message.isEmpty());
    o.folder = d.dir.filePath(QStringLiteral("other"));
    o.today = QStringLiteral("1405/13/40");
    EXPECT_FALSE(demo::buildDemoInstallation(o, prompt).ok);
}
