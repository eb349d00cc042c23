#include "core/db/Db.h"
#include "core/db/sqlite/LocalServer.h"
#include "core/startup/StructureUpdate.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace orvak::startup;
using namespace orvak::db;

namespace {

struct LocalDb {
    QTemporaryDir dir;
    LocalServer server{dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), QString()};
    ScriptedPrompt prompt;
    LocalDb()
    {
        EXPECT_TRUE(server.testAdministrator(QStringLiteral("orvak"), QString(), nullptr));
        EXPECT_TRUE(server.createDatabase(QStringLiteral("ORVAKSEPC0"), QString(), nullptr));
    }
    QSqlDatabase db() { return server.database(QStringLiteral("ORVAKSEPC0")); }
    UpdateReport update(const QString& tables, const QString& views = {}, const QString& fixups = {})
    {
        StructureUpdate u(server, prompt);
        SchemaScripts s;
        s.tables = tables;
        s.views = views;
        s.fixups = fixups;
        return u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), s);
    }
    QVariant value(const QString& sql) { return scalar(db(), sql).value_or(QVariant()); }
};

const char* kVersion1 =
    "CurMaliYear(\n"
    "  IDX TinyInt default(1),\n"
    "  CurMaliY INT Null default(1389),\n"
    "  PRIMARY KEY (IDX)\n"
    ")\n"
    "NOTES(\n"
    "  CODE Int NOT NULL,\n"
    "  TITLE varchar(20) COLLATE SQL_Latin1_General_CP1256_CI_AS NULL,\n"
    "  BODY text NULL,\n"
    "  PRIMARY KEY (CODE)\n"
    ")\n";

} // namespace

TEST(StructureUpdate, ParsesBlocksAndObjects)
{
    const QList<TableBlock> blocks = parseTableScript(QStringLiteral("// comment\nA(\n x int,\n PRIMARY KEY (x)\n)\nB( //DROP\n y int\n)\nC(\n z int\n"));
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0].name, QStringLiteral("A"));
    EXPECT_EQ(blocks[0].lines.size(), 2);
    EXPECT_EQ(blocks[0].lines[1].line, 4);
    EXPECT_TRUE(blocks[1].drop);
    EXPECT_FALSE(blocks[2].closed);

    const QList<ObjectBlock> objects = parseObjectScript(QStringLiteral(
        "// views\nView1 AS\nSELECT 1 AS X\n///EXEC.\nFN_A(@p int)\nRETURNS int AS BEGIN RETURN @p END\n///EXEC.\n///END.\nIgnored\n///EXEC.\n"));
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[0].name, QStringLiteral("View1"));
    EXPECT_EQ(objects[0].body.trimmed(), QStringLiteral("SELECT 1 AS X"));
    EXPECT_EQ(objects[1].name, QStringLiteral("FN_A"));
    EXPECT_EQ(objects[1].line, 5);

    const auto c = parseColumnLine(QStringLiteral("  CurMaliY INT Null default(1389),"));
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->name, QStringLiteral("CurMaliY"));
    EXPECT_EQ(c->type, QStringLiteral("INT"));
    EXPECT_EQ(c->defaultValue, std::optional<QString>(QStringLiteral("1389")));
    EXPECT_EQ(withoutDefault(QStringLiteral("A varchar(10) NULL default('x,(y)'),")), QStringLiteral("A varchar(10) NULL"));
}

TEST(StructureUpdate, CreatesThenChangesNothingTheSecondTime)
{
    LocalDb t;
    const UpdateReport first = t.update(QString::fromLatin1(kVersion1));
    EXPECT_TRUE(first.errors.isEmpty()) << first.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(first.tablesCreated, 2);
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO NOTES (CODE, TITLE) VALUES (1, 'نامه')")));
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO CurMaliYear (IDX) VALUES (1)")));
    EXPECT_EQ(t.value(QStringLiteral("SELECT CurMaliY FROM CurMaliYear")).toInt(), 1389);   // the default applies on insert

    const UpdateReport second = t.update(QString::fromLatin1(kVersion1));
    EXPECT_TRUE(second.errors.isEmpty());
    EXPECT_FALSE(second.changedData()) << second.summary().toStdString();
}

TEST(StructureUpdate, OlderTableKeepsItsRowsWhenColumnsAreAddedAndRetyped)
{
    LocalDb t;
    ASSERT_TRUE(t.update(QString::fromLatin1(kVersion1)).errors.isEmpty());
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO NOTES (CODE, TITLE, BODY) VALUES (1, 'الف', 'متن'), (2, 'ب', NULL)")));
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO CurMaliYear (IDX, CurMaliY) VALUES (1, NULL)")));

    const QString version2 = QString::fromLatin1(kVersion1)
                                 .replace(QStringLiteral("TITLE varchar(20)"), QStringLiteral("TITLE varchar(60)"))
                                 .replace(QStringLiteral("  BODY text NULL,\n"), QStringLiteral("  BODY text NULL,\n  KIND SmallInt NULL default(3),\n"));
    const UpdateReport r = t.update(version2);
    EXPECT_TRUE(r.errors.isEmpty()) << r.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(r.columnsAdded, 1);
    EXPECT_EQ(r.columnsRetyped, 1);
    // The new KIND gets its default in both rows (SQL Server fills it through the
    // UPDATE after adding it, SQLite while adding it). The year row's empty CurMaliY
    // lies in a column that was there already: it is not searched for.
    EXPECT_EQ(r.cellsFilled, 0);
    EXPECT_EQ(t.value(QStringLiteral("SELECT COUNT(*) FROM NOTES")).toInt(), 2);
    EXPECT_EQ(t.value(QStringLiteral("SELECT TITLE FROM NOTES WHERE CODE = 1")).toString(), QStringLiteral("الف"));
    EXPECT_EQ(t.value(QStringLiteral("SELECT BODY FROM NOTES WHERE CODE = 1")).toString(), QStringLiteral("متن"));
    EXPECT_EQ(t.value(QStringLiteral("SELECT SUM(KIND) FROM NOTES")).toInt(), 6);
    EXPECT_TRUE(t.value(QStringLiteral("SELECT CurMaliY FROM CurMaliYear")).isNull());
    EXPECT_FALSE(t.update(version2).changedData());
}

TEST(StructureUpdate, ErrorsAreCollectedWithTheirLineAndTheRestGoesOn)
{
    LocalDb t;
    const QString script = QStringLiteral(
        "BROKEN(\n"
        "  A int,\n"
        "  B int default(,\n"   // line 3
        ")\n"
        "GOOD(\n"
        "  X int\n"
        ")\n"
        "OPEN(\n"
        "  Y int\n");
    const UpdateReport r = t.update(script);
    ASSERT_EQ(r.errors.size(), 2);
    EXPECT_TRUE(r.errors[0].startsWith(QStringLiteral("Line 1:"))) << r.errors[0].toStdString();
    EXPECT_TRUE(r.errors[1].startsWith(QStringLiteral("Line 8:")));
    EXPECT_TRUE(t.server.dialect().tableExists(t.db(), QStringLiteral("GOOD")));
    EXPECT_FALSE(t.server.dialect().tableExists(t.db(), QStringLiteral("BROKEN")));   // nothing half made
}

TEST(StructureUpdate, DropViewsFixupsAndStop)
{
    LocalDb t;
    ASSERT_TRUE(t.update(QStringLiteral("T(\n A int\n)\n")).errors.isEmpty());
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO T (A) VALUES (5)")));
    const UpdateReport dropped = t.update(QStringLiteral("T( //DROP\n A int\n)\n"),
                                          QStringLiteral("V_T AS\nSELECT A FROM T\n///EXEC.\n"),
                                          QStringLiteral("// fill\nINSERT INTO T (A) SELECT 7 WHERE NOT EXISTS (SELECT 1 FROM T WHERE A = 7)\n"));
    EXPECT_TRUE(dropped.errors.isEmpty()) << dropped.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dropped.tablesDropped, 1);
    EXPECT_EQ(dropped.objectsMade, 1);
    EXPECT_EQ(dropped.fixupRows, 1);
    EXPECT_EQ(t.value(QStringLiteral("SELECT SUM(A) FROM V_T")).toInt(), 7);

    struct Stopper : ScriptedPrompt {
        bool stopRequested() override { return true; }
    } stopper;
    StructureUpdate u(t.server, stopper);
    SchemaScripts s;
    s.tables = QStringLiteral("NEVER(\n A int\n)\n");
    EXPECT_TRUE(u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), s).stopped);
    EXPECT_FALSE(t.server.dialect().tableExists(t.db(), QStringLiteral("NEVER")));
}

TEST(StructureUpdate, AViewIsMadeAnewOnlyWhenItsTextChanged)
{
    LocalDb t;
    const QString table = QStringLiteral("T(\n A int\n)\n");
    ASSERT_TRUE(t.update(table).errors.isEmpty());
    ASSERT_TRUE(execSql(t.db(), QStringLiteral("INSERT INTO T (A) VALUES (5)")));
    const struct {
        const char* views;
        int made;
    } runs[] = {
        {"V_T AS\nSELECT A FROM T\n///EXEC.\n", 1},                       // missing
        {"V_T AS\nSELECT A FROM T\n///EXEC.\n", 0},                       // the same text
        {"// the same, spaced out\nV_T   AS\n   SELECT A\n\tFROM T;\n///EXEC.\n", 0},
        {"V_T AS\nSELECT A, A * 2 AS B FROM T\n///EXEC.\n", 1},           // changed
    };
    for (const auto& run : runs) {
        const UpdateReport r = t.update(table, QString::fromUtf8(run.views));
        EXPECT_TRUE(r.errors.isEmpty()) << r.errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(r.objectsMade, run.made) << run.views;
    }
    EXPECT_EQ(t.value(QStringLiteral("SELECT B FROM V_T")).toInt(), 10);
}

TEST(StructureUpdate, ProgramScriptsAreIdempotent)
{
    for (DatabaseKind kind : {DatabaseKind::Common, DatabaseKind::Deposits, DatabaseKind::Accounting}) {
        LocalDb t;
        StructureUpdate u(t.server, t.prompt);
        const UpdateReport first = u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), schemaFor(kind));
        EXPECT_TRUE(first.errors.isEmpty()) << first.errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_GT(first.tablesCreated, 0);
        const UpdateReport second = u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), schemaFor(kind));
        EXPECT_TRUE(second.errors.isEmpty());
        EXPECT_FALSE(second.changedData()) << second.summary().toStdString();
        EXPECT_EQ(second.objectsMade, 0) << second.summary().toStdString();
    }
}

TEST(StructureUpdate, TwoWorkstationsUpdatingAtOnceBothSucceed)
{
    LocalDb t;
    ASSERT_TRUE(t.update(QStringLiteral("T(\n A int\n)\n")).errors.isEmpty());
    const QString script = QStringLiteral("T(\n A int,\n B int default(4),\n C varchar(10) NULL\n)\nU(\n X int\n)\n");

    // The other workstation starts its update while this one is about to add column
    // B: it waits for this one's update, then finds everything made.
    struct Racing : ScriptedPrompt {
        std::function<void()> race;
        void progress(const QString& title, int step, int total) override
        {
            ScriptedPrompt::progress(title, step, total);
            if (race && title.endsWith(QStringLiteral("T.B")))
                std::exchange(race, nullptr)();
        }
    } racing;
    UpdateReport second;
    std::thread other;
    racing.race = [&] {
        other = std::thread([&] {
            {
                LocalServer server(t.dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), QString());
                ASSERT_TRUE(server.testAdministrator(QStringLiteral("orvak"), QString(), nullptr));
                ScriptedPrompt quiet;
                StructureUpdate u(server, quiet);
                SchemaScripts s;
                s.tables = script;
                second = u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), s);
            }
        });
        QThread::msleep(50);   // the other is waiting for this one by now
    };
    StructureUpdate u(t.server, racing);
    SchemaScripts s;
    s.tables = script;
    const UpdateReport first = u.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), s);
    ASSERT_TRUE(other.joinable());
    other.join();
    EXPECT_TRUE(first.errors.isEmpty()) << first.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(second.errors.isEmpty()) << second.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(first.columnsAdded, 2);
    EXPECT_FALSE(second.changedData());
    EXPECT_EQ(t.server.dialect().columns(t.db(), QStringLiteral("T")).size(), 3);
    EXPECT_TRUE(t.server.dialect().tableExists(t.db(), QStringLiteral("U")));
    EXPECT_FALSE(t.update(script).changedData());
}
