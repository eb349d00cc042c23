#include "core/db/UnitOfWork.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "core/startup/Users.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::db;
using namespace orvak::test;

namespace {

// An installation with its deposits database open, one party and three deposits.
struct Office {
    TempInstallation t;
    std::unique_ptr<startup::Session> s;

    Office()
    {
        t.create();
        s = t.reconnect();
        startup::ScriptedPrompt yes({true});
        EXPECT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
        s->setCurrentUserCode(3);
        EXPECT_TRUE(execSql(s->common(), QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, CI) VALUES (500, 'شرکت الف', 0)")));
        for (int i = 1; i <= 3; ++i)
            EXPECT_TRUE(execSql(s->deposits(), QStringLiteral("INSERT INTO SEP_DAR (IDX, TAFSILI, AMOUNT) VALUES (:i, 500, :a)"),
                                {{QStringLiteral(":i"), i}, {QStringLiteral(":a"), 1000.0 * i}}));
    }
    int count(QSqlDatabase db, const QString& sql) { return scalar(db, sql)->toInt(); }
    QList<AuditEntry> trail(const QString& table = {}, const QString& key = {})
    {
        AuditFilter f;
        f.programId = startup::ProgID;
        f.table = table;
        f.key = key;
        const auto read = readAudit(s->openDatabases(), f);
        EXPECT_TRUE(read.has_value()) << read.error().toStdString();
        return read.value_or({});
    }
};

QJsonObject changesOf(const AuditEntry& e) { return QJsonDocument::fromJson(e.changes.toUtf8()).object(); }

} // namespace

TEST(UnitOfWork, ACodeChangeAcrossDatabasesIsWholeOrNothing)
{
    Office o;
    auto rePoint = [&](UnitOfWork& w) {
        return w.update(Store::Common, QStringLiteral("TAFSILI"), {{QStringLiteral("CODE"), 600}}, QStringLiteral("CODE = :old"),
                        {{QStringLiteral(":old"), 500}})
            && w.update(Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("TAFSILI = :new"), QStringLiteral("TAFSILI = :old"),
                        {{QStringLiteral(":new"), 600}, {QStringLiteral(":old"), 500}});
    };

    // A later step that fails undoes the earlier ones in the other database too.
    QString why;
    EXPECT_FALSE(o.s->inWork([&](UnitOfWork& w) { return rePoint(w) && w.exec(QStringLiteral("UPDATE {deposits}.NO_SUCH SET X = 1")); }, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(o.count(o.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE CODE = 500")), 1);
    EXPECT_EQ(o.count(o.s->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TAFSILI = 500")), 3);
    EXPECT_TRUE(o.trail().isEmpty());

    ASSERT_TRUE(o.s->inWork(rePoint, &why)) << why.toStdString();
    EXPECT_EQ(o.count(o.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE CODE = 600")), 1);
    EXPECT_EQ(o.count(o.s->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TAFSILI = 600")), 3);

    // One entry a row, under the key the row had, with the column's old and new value.
    const QList<AuditEntry> party = o.trail(QStringLiteral("TAFSILI"), QStringLiteral("CI=0;CODE=500"));
    ASSERT_EQ(party.size(), 1);
    EXPECT_EQ(party[0].operation, QLatin1Char('U'));
    EXPECT_EQ(party[0].database, o.s->commonDbName());
    EXPECT_EQ(party[0].userCode, 3);
    EXPECT_EQ(changesOf(party[0]).value(QStringLiteral("CODE")).toArray(), (QJsonArray{500, 600}));
    const QList<AuditEntry> deposits = o.trail(QStringLiteral("SEP_DAR"));
    ASSERT_EQ(deposits.size(), 3);
    for (const AuditEntry& e : deposits) {
        EXPECT_EQ(e.database, o.s->depositDbName());
        EXPECT_EQ(changesOf(e).keys(), QStringList{QStringLiteral("TAFSILI")});
    }
}

TEST(UnitOfWork, EveryRowWrittenLeavesItsEntry)
{
    Office o;
    QString why;
    ASSERT_TRUE(o.s->inWork(
        [&](UnitOfWork& w) {
            return w.insert(Store::Deposits, QStringLiteral("SEP_DAR"),
                            {{QStringLiteral("IDX"), 4}, {QStringLiteral("TAFSILI"), 500}, {QStringLiteral("AMOUNT"), 4000.0}})
                // An expression in the SET clause; the row it leaves unchanged gets no entry.
                && w.update(Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("AMOUNT = AMOUNT + :more"),
                            QStringLiteral("IDX IN (1, 2)"), {{QStringLiteral(":more"), 5.0}})
                && w.update(Store::Deposits, QStringLiteral("SEP_DAR"), {{QStringLiteral("AMOUNT"), 3000.0}}, QStringLiteral("IDX = 3"), {})
                && w.remove(Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX = :i"), {{QStringLiteral(":i"), 2}});
        },
        &why))
        << why.toStdString();

    const QList<AuditEntry> all = o.trail(QStringLiteral("SEP_DAR"));
    QStringList seen;
    for (const AuditEntry& e : all)
        seen << QString(e.operation) + e.key;
    // Newest first.
    EXPECT_EQ(seen, (QStringList{QStringLiteral("D2"), QStringLiteral("U2"), QStringLiteral("U1"), QStringLiteral("I4")}));
    EXPECT_EQ(changesOf(all[0]).value(QStringLiteral("AMOUNT")).toArray(), (QJsonArray{2005, QJsonValue()}));
    EXPECT_EQ(changesOf(all[2]).value(QStringLiteral("AMOUNT")).toArray(), (QJsonArray{1000, 1005}));
    EXPECT_EQ(changesOf(all[3]).value(QStringLiteral("TAFSILI")).toArray(), (QJsonArray{QJsonValue(), 500}));
    EXPECT_FALSE(all[0].workstation.isEmpty());
    EXPECT_EQ(all[0].date.size(), 10);
}

TEST(UnitOfWork, RefusesWhatItCannotReachAndWritesNothing)
{
    Office o;
    QString why;
    // The accounting database of 1403 does not exist in this installation.
    EXPECT_FALSE(o.s->inWork(
        [&](UnitOfWork& w) {
            return w.update(Store::Deposits, QStringLiteral("SEP_DAR"), {{QStringLiteral("AMOUNT"), 1.0}}, QStringLiteral("IDX = 1"), {})
                && w.exec(QStringLiteral("DELETE FROM {accounting}.SNDROW"));
        },
        &why));
    EXPECT_EQ(why, QStringLiteral("بانک اطلاعاتي حسابداري سال مالي باز نيست"));
    EXPECT_EQ(o.count(o.s->deposits(), QStringLiteral("SELECT AMOUNT FROM SEP_DAR WHERE IDX = 1")), 1000);
    EXPECT_TRUE(o.trail().isEmpty());

    // Without history (the demo builder, the structure update) nothing is recorded.
    WorkPlace quiet = o.s->workPlace();
    quiet.audited = false;
    ASSERT_TRUE(inWork(quiet, [&](UnitOfWork& w) {
        return w.remove(Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX = 1"), {});
    }));
    EXPECT_TRUE(o.trail().isEmpty());
}

TEST(UnitOfWork, PasswordsStayOutOfTheHistory)
{
    Office o;
    startup::ScriptedPrompt prompt;
    startup::ProgramUser clerk;
    clerk.code = 9;
    clerk.password = QStringLiteral("secret1");
    ASSERT_TRUE(startup::saveProgramUser(*o.s, clerk, true, prompt)) << prompt.infos.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(startup::setUserPassword(*o.s, 9, QStringLiteral("secret2"), QStringLiteral("secret2"), prompt));

    const QList<AuditEntry> entries = o.trail(QStringLiteral("PROGUSERS"), QStringLiteral("PROGID=3;UCODE=9"));
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(changesOf(entries[0]).value(QStringLiteral("PASSWORD")).toArray(), (QJsonArray{QStringLiteral("****"), QStringLiteral("****")}));
    EXPECT_EQ(changesOf(entries[1]).value(QStringLiteral("PassWord")).toArray(), (QJsonArray{QJsonValue(), QStringLiteral("****")}));
    for (const AuditEntry& e : entries)
        EXPECT_FALSE(e.changes.contains(startup::scrambledPassword(QStringLiteral("secret1"), 9, o.s->installationNumber())));
}

// A list read half-way (a grid that has not been scrolled to its end) neither keeps a
// change from committing nor loses or alters a row it has still to give.
TEST(UnitOfWork, AHalfReadListNeitherBlocksAChangeNorChangesWhatItGives)
{
    Office o;
    for (int i = 4; i <= 600; ++i)
        ASSERT_TRUE(execSql(o.s->common(), QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, CI) VALUES (:c, :n, 0)"),
                            {{QStringLiteral(":c"), 1000 + i}, {QStringLiteral(":n"), QStringLiteral("طرف %1").arg(i)}}));
    QString why;
    std::unique_ptr<Cursor> list = openCursor(o.s->common(), QStringLiteral("SELECT CODE, NAME, 0.5 * CODE AS HALF FROM TAFSILI ORDER BY CODE"), {}, &why);
    ASSERT_TRUE(list) << why.toStdString();
    ASSERT_TRUE(list->next());
    EXPECT_EQ(list->integer(0), 500);

    ASSERT_TRUE(o.s->inWork(
        [&](UnitOfWork& w) {
            return w.update(Store::Common, QStringLiteral("TAFSILI"), {{QStringLiteral("NAME"), QStringLiteral("تغيير")}},
                            QStringLiteral("CODE >= 1004"), {});
        },
        &why))
        << why.toStdString();

    // The rest as they were when the reading began, in their own types.
    EXPECT_EQ(list->integer(0), 500);
    int rows = 1;
    while (list->next()) {
        ++rows;
        const qint64 code = list->integer(0);
        ASSERT_EQ(list->type(0), CellType::Integer);
        ASSERT_EQ(list->type(2), CellType::Real);
        EXPECT_DOUBLE_EQ(list->real(2), code * 0.5);
        EXPECT_EQ(list->value(1).toString(), QStringLiteral("طرف %1").arg(code - 1000));
    }
    EXPECT_TRUE(list->failure().isEmpty());
    EXPECT_EQ(rows, 598);
    EXPECT_EQ(scalar(o.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE NAME = 'تغيير'"))->toInt(), 597);
}
