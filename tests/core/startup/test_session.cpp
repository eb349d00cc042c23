#include "core/basedata/Lookups.h"
#include "core/db/Db.h"
#include "core/db/sqlite/LocalServer.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "core/startup/Session.h"
#include "core/startup/Versions.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "core/util/Jalali.h"
#include "support/ScriptedPrompt.h"

#include "core/db/mssql/SqlServerStatements.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvak::startup;
using namespace orvak::db;
using namespace orvak::basedata;
using orvak::test::TempInstallation;

TEST(Session, SetUpThenConnectThroughTheConnectionFile)
{
    TempInstallation t;
    t.create();
    EXPECT_EQ(t.setup.userCode, 3);
    EXPECT_EQ(t.setup.initialPassword.size(), 6);

    auto s = t.reconnect();
    EXPECT_EQ(s->commonDbName(), QStringLiteral("ORVAK"));
    EXPECT_EQ(s->connection().serverName, QStringLiteral("LOCAL:DATA"));
    EXPECT_EQ(s->sqlVersionIndex(), 2);
    // The first user can log in: this program's row holds the scrambled initial password.
    const auto stored = scalar(s->common(), QStringLiteral("SELECT PASSWORD FROM PROGUSERS WHERE PROGID = 3 AND UCODE = 3"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->toString(), scrambledPassword(t.setup.initialPassword, 3, 275));
    // The family's row holds it scrambled too, never as typed.
    EXPECT_EQ(scalar(s->common(), QStringLiteral("SELECT PassWord FROM USERS WHERE UCode = 3"))->toString(), scrambledPassword(t.setup.initialPassword, 3, 275));

    // A wrong password does not connect, and is called by its name.
    Session wrong(t.path(), t.site);
    ScriptedPrompt prompt;
    ASSERT_EQ(wrong.ReadConnectionFile(), ConnectionFileState::Ready);
    wrong.connection().sqlPassword = QStringLiteral("nope");
    EXPECT_FALSE(wrong.ConnectServer(prompt));
    EXPECT_EQ(prompt.infos, QStringList{QStringLiteral("ورود به سرور با نام کاربري orvak و رمز داده شده ممکن نيست")});

    // A second initial set-up finds the common database and makes no second user.
    ScriptedPrompt again({}, true);
    InitialSetupRequest request;
    request.serverName = t.serverName();
    request.adminUser = QStringLiteral("orvak");
    request.adminPassword = QString::fromLatin1(orvak::test::kOrvakPassword);
    const InitialSetupResult second = initialSetup(*s, request, again);
    EXPECT_TRUE(second.ok);
    EXPECT_FALSE(second.createdCommonDatabase);
}

TEST(Session, CommonDatabaseWithInstallationNumberWins)
{
    TempInstallation t;
    t.create();
    t.session->server()->createDatabase(QStringLiteral("ORVAK275"), QString(), nullptr);
    auto s = t.reconnect();
    EXPECT_EQ(s->commonDbName(), QStringLiteral("ORVAK275"));
}

TEST(Session, DepositDatabaseNamesBySection)
{
    struct Case { const char* section; QStringList existing; const char* name; };
    const Case cases[] = {
        {"0", {}, "ORVAKSEPC0"},
        {"0", {QStringLiteral("orvaksep275c0")}, "ORVAKSEP275C0"},
        {"1", {}, "ORVAKSEP"},
        {"1", {QStringLiteral("ORVAKSEP275")}, "ORVAKSEP275"},
        {"2", {QStringLiteral("ORVAKSEP275")}, "ORVAKSEPJ"},
        {"3", {QStringLiteral("ORVAKSEP275C4")}, "ORVAKSEP275C4"},
        {"", {}, "ORVAKSEPC0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Session::depositDbNameFor(275, QString::fromLatin1(c.section), c.existing), QString::fromLatin1(c.name)) << c.section;
    EXPECT_EQ(Session::accountingDbNameFor(275, QStringLiteral("0"), 1403), QStringLiteral("ORVAKC275C0Y1403"));
}

TEST(Session, OpenSectionCreatesOnYesAndKeepsThePreviousOnNo)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    ScriptedPrompt no({false});
    EXPECT_FALSE(s->OpenSection(1403, QStringLiteral("0"), no));
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("بانک اطلاعاتي سپرده ها و تضمينات يافت نشد.ايجاد گردد؟")});
    EXPECT_FALSE(s->hasDeposits());
    EXPECT_FALSE(s->server()->databaseExists(QStringLiteral("ORVAKSEPC0")));

    ScriptedPrompt yes({true});
    ASSERT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
    EXPECT_EQ(s->depositDbName(), QStringLiteral("ORVAKSEPC0"));
    EXPECT_EQ(s->SectionTitle(), QStringLiteral("بخض عمومي"));
    EXPECT_TRUE(s->dialect().tableExists(s->deposits(), QStringLiteral("GENERAL_INFO")));
    EXPECT_FALSE(s->AccountingDbOpen());
    ASSERT_EQ(yes.infos.size(), 1);
    EXPECT_TRUE(yes.infos[0].startsWith(QStringLiteral("بانک اطلاعاتي حسابداري يافت نشد: سال ماليORVAKC275C0Y1403") + QString(22, QLatin1Char(' '))));

    // Section 1 (no suffix) refused: section 0 stays in force.
    ScriptedPrompt refuse({false});
    EXPECT_FALSE(s->OpenSection(1403, QStringLiteral("1"), refuse));
    EXPECT_EQ(s->SectionCode(), QStringLiteral("0"));
    EXPECT_EQ(s->depositDbName(), QStringLiteral("ORVAKSEPC0"));
}

TEST(Session, StoredYearOpensItsAccountingDatabaseAndOfficeDataIsRead)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(s->server()->createDatabase(QStringLiteral("ORVAKC275C0Y1402"), QString(), nullptr));
    ASSERT_TRUE(s->server()->createDatabase(QStringLiteral("ORVAKC275C1Y1400"), QString(), nullptr));
    ASSERT_TRUE(execSql(s->deposits(), QStringLiteral("INSERT INTO CurMaliYear (IDX, CurMaliY) VALUES (1, 1402)")));
    ASSERT_TRUE(execSql(s->deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME, officeName, HESABNO_TamarkozeVojuh) "
                                                      "VALUES (1, 'فارس', 'اداره کل راه', '4001012345678')")));
    ScriptedPrompt quiet;
    ASSERT_TRUE(s->OpenSection(1403, QStringLiteral("0"), quiet));
    EXPECT_EQ(s->CurrentYear(), 1402);
    EXPECT_TRUE(s->AccountingDbOpen());
    EXPECT_EQ(s->accountingDbName(), QStringLiteral("ORVAKC275C0Y1402"));
    EXPECT_EQ(s->statusYearText(), QStringLiteral("سال مالي 1402"));
    EXPECT_EQ(s->defaultLedgerCodes().value(0), QStringLiteral("21007"));
    EXPECT_EQ(s->office().province, QStringLiteral("فارس"));
    EXPECT_EQ(s->office().treasuryAccount, QStringLiteral("4001012345678"));
    EXPECT_TRUE(quiet.infos.isEmpty());
    EXPECT_EQ(s->ListAccountingYears(), (QList<int>{1400, 1402}));

    // The fiscal-year choice: a missing year changes nothing, an existing one is stored.
    ScriptedPrompt choose;
    EXPECT_FALSE(s->chooseFiscalYear(1399, choose));
    EXPECT_EQ(s->CurrentYear(), 1402);
    ASSERT_TRUE(s->server()->createDatabase(QStringLiteral("ORVAKC275C0Y1401"), QString(), nullptr));
    ASSERT_TRUE(s->chooseFiscalYear(1401, choose));
    EXPECT_EQ(s->CurrentYear(), 1401);
    EXPECT_EQ(s->accountingDbName(), QStringLiteral("ORVAKC275C0Y1401"));
    EXPECT_EQ(scalar(s->deposits(), QStringLiteral("SELECT CurMaliY FROM CurMaliYear"))->toInt(), 1401);
    EXPECT_EQ(readChosenYear(t.path()), std::optional<int>(1401));
}

TEST(Session, LookupsStayInTheirSection)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    ASSERT_TRUE(execSql(s->common(), QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, CI) VALUES (10, 'شرکت الف', 1), (11, 'شرکت ب', 0)")));
    const auto otherSection = lookup(*s, Lookup::DetailByCode, 10);
    EXPECT_TRUE(otherSection.empty());
    EXPECT_FALSE(otherSection.failed());
    ASSERT_TRUE(lookup(*s, Lookup::DetailByCode, 11).has_value());
    EXPECT_EQ(lookup(*s, Lookup::DetailByName, QStringLiteral("شرکت ب"))->value(QStringLiteral("Code")).toInt(), 11);

    // A read that cannot run is a failure, not "no such party".
    ASSERT_TRUE(execSql(s->common(), QStringLiteral("ALTER TABLE TAFSILI RENAME TO TAFSILI_X")));
    const auto broken = lookup(*s, Lookup::DetailByCode, 11);
    EXPECT_FALSE(broken);
    EXPECT_TRUE(broken.failed());
    EXPECT_FALSE(broken.error().isEmpty());
}

TEST(Session, NewKeysAreTakenInsideTheTransactionAndRetriedOnce)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    QSqlDatabase db = s->common();
    auto other = t.reconnect();   // another workstation
    int attempts = 0;
    qint64 key = 0;
    const bool ok = insertWithNextKey(db, s->dialect(), QStringLiteral("HISTORY_RESBACK"), QStringLiteral("id"),
                                      [&](qint64 id) {
                                          QSqlQuery q(db);
                                          if (++attempts == 1) {
                                              // A row with the same number turns up first, as another
                                              // workstation's would on a shared server.
                                              q.exec(QStringLiteral("INSERT INTO HISTORY_RESBACK (id) VALUES (%1)").arg(id));
                                          }
                                          q.prepare(QStringLiteral("INSERT INTO HISTORY_RESBACK (id, Dbname) VALUES (:id, 'mine')"));
                                          q.bindValue(QStringLiteral(":id"), id);
                                          return q.exec() ? QSqlError() : q.lastError();
                                      },
                                      &key);
    EXPECT_TRUE(ok);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(key, 1);   // the clash was rolled back with the attempt
    EXPECT_EQ(scalar(other->common(), QStringLiteral("SELECT COUNT(*) FROM HISTORY_RESBACK"))->toInt(), 1);
}

TEST(Session, AccessMask)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    QSqlDatabase db = s->common();
    // The set-up wrote the guarded entries 1..19.
    ASSERT_TRUE(execSql(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND4, ACCESSKIND6) "
                                           "VALUES (3, 3, 8, 1, 1, 1, 1)")));
    EXPECT_EQ(GetAccess(*s, 8), AccessAll);   // nobody logged in
    s->setCurrentUserCode(3);
    EXPECT_EQ(GetAccess(*s, 21), AccessAll);   // not a guarded entry
    EXPECT_EQ(GetAccess(*s, 9), AccessView);   // listed, no row
    EXPECT_EQ(GetAccess(*s, 8), AccessNone | AccessView | AccessInsert | AccessSpecial);
}

TEST(Session, AccessRefusesWhenTheRightsCannotBeRead)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    s->setCurrentUserCode(3);
    ASSERT_FALSE(checkAccess(*s, 8).refused());

    // A session whose common database is not open, a list that cannot be read and
    // an emptied list all refuse, with a message that says why.
    Session unconnected(t.path(), t.site);
    unconnected.setCurrentUserCode(3);
    auto renamed = [&](const char* from, const char* to) {
        return execSql(s->common(), QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(QLatin1String(from), QLatin1String(to)));
    };
    const struct {
        const char* what;
        std::function<bool()> breakIt, mendIt;
        Session* session;
    } cases[] = {
        {"no common database", [] { return true; }, [] { return true; }, &unconnected},
        {"access list unreadable", [&] { return renamed("ACCESSLIST", "ACCESSLIST_X"); },
         [&] { return renamed("ACCESSLIST_X", "ACCESSLIST"); }, s.get()},
        {"rights unreadable", [&] { return renamed("ACCESSCONTROL", "ACCESSCONTROL_X"); },
         [&] { return renamed("ACCESSCONTROL_X", "ACCESSCONTROL"); }, s.get()},
        {"access list emptied", [&] { return execSql(s->common(), QStringLiteral("DELETE FROM ACCESSLIST")); },
         [] { return true; }, s.get()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.breakIt());
        const Access a = checkAccess(*c.session, 8);
        EXPECT_TRUE(a.refused());
        EXPECT_TRUE(a.error.startsWith(rightsUnreadableText()));
        if (c.session == &unconnected || QByteArray(c.what).startsWith("access list")) {
            EXPECT_EQ(GetAccess(*c.session, 21), AccessNone);   // even an entry that is not listed
        }
        ASSERT_TRUE(c.mendIt());
    }
    ScriptedPrompt prompt;
    EXPECT_TRUE(refusedMenu(unconnected, 8, prompt));
    EXPECT_TRUE(prompt.infos.value(0).startsWith(rightsUnreadableText()));
}

TEST(Session, AccessListIsRebuiltOnlyWhenItDiffers)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    QSqlDatabase db = s->common();
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ACCESSLIST WHERE PROGID = 3"))->toInt(), 19);
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT ACCESSNAME FROM ACCESSLIST WHERE PROGID = 3 AND MENUID = 8"))->toString(),
              QStringLiteral(" اطلاعات سپرده ها"));
    bool changed = true;
    ASSERT_TRUE(RebuildAccessList(db, s->dialect(), &changed));
    EXPECT_FALSE(changed);
    ASSERT_TRUE(execSql(db, QStringLiteral("UPDATE ACCESSLIST SET ACCESSNAME = 'x' WHERE PROGID = 3 AND MENUID = 2")));
    ASSERT_TRUE(execSql(db, QStringLiteral("INSERT INTO ACCESSLIST (PROGID, MENUID, MENUORDER, ACCESSNAME) VALUES (3, 40, 40, 'old'), (5, 1, 1, 'other program')")));
    ASSERT_TRUE(RebuildAccessList(db, s->dialect(), &changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ACCESSLIST WHERE PROGID = 3"))->toInt(), 19);
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT ACCESSNAME FROM ACCESSLIST WHERE PROGID = 3 AND MENUID = 2"))->toString(),
              QStringLiteral("پارامترها و الزامات "));
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ACCESSLIST WHERE PROGID = 5"))->toInt(), 1);
}

TEST(Session, VersionRegistry)
{
    TempInstallation t;
    t.create();
    auto s = t.reconnect();
    ScriptedPrompt never;
    EXPECT_EQ(CheckVersion(*s, never), VersionCheck::Allowed);   // registered at set-up
    EXPECT_TRUE(never.questions.isEmpty());

    // A newer program asks to be registered; registered, it shuts out the older one.
    ScriptedPrompt no({false});
    EXPECT_EQ(CheckVersion(*s, no, 813), VersionCheck::Allowed);
    EXPECT_EQ(no.questions.size(), 1);
    ScriptedPrompt yes({true});
    EXPECT_EQ(CheckVersion(*s, yes, 813), VersionCheck::RegistrationRequested);
    ASSERT_TRUE(registerVersion(*s, yes, 813));
    EXPECT_EQ(CheckVersion(*s, never, 813), VersionCheck::Allowed);
    ScriptedPrompt old;
    EXPECT_EQ(CheckVersion(*s, old, VersionNumber), VersionCheck::Refused);
    ASSERT_EQ(old.infos.size(), 1);
    EXPECT_EQ(old.infos[0], QStringLiteral(" نسخه 813 نرم افزار بر روي شبکه نصب شده است. نسخه هاي قديمي قابل استفاده نمي باشند"));
    EXPECT_FALSE(registerVersion(*s, old, 811));
}

TEST(Session, EachConnectionFailureHasItsOwnMessage)
{
    const struct {
        const char* what;
        int installation;
        std::function<void(TempInstallation&, Session&)> breakIt;
        QString message;             // what the user is told holds this
        const char* mustStayAway;    // what the failed connection must not create
    } cases[] = {
        {"folder missing", 275, [](TempInstallation& t, Session&) { QDir(t.path(QStringLiteral("DATA"))).removeRecursively(); },
         QStringLiteral("پوشه داده ها يافت نشد"), "DATA"},
        {"not a data folder", 275, [](TempInstallation& t, Session&) { QFile::remove(t.path(QStringLiteral("DATA/MASTER.db"))); },
         QStringLiteral("پوشه داده هاي اورواک نيست (فايل MASTER.db در آن يافت نشد)"), "DATA/MASTER.db"},
        {"wrong password", 275, [](TempInstallation&, Session& s) { s.connection().sqlPassword = QStringLiteral("nope"); },
         QStringLiteral("ورود به سرور با نام کاربري orvak و رمز داده شده ممکن نيست"), nullptr},
        {"another installation's data", 276,
         [](TempInstallation& t, Session&) {
             ASSERT_TRUE(t.reconnect()->server()->createDatabase(QStringLiteral("ORVAKC275C0Y1403"), QString(), nullptr));
         },
         QStringLiteral("بانک هاي اطلاعاتي اين سرور متعلق به نصب شماره 275 است و شماره نصب اين رايانه 276 است"), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempInstallation t;
        t.create();
        Session s(t.path(), {c.installation, t.site.organisationName});
        ASSERT_EQ(s.ReadConnectionFile(), ConnectionFileState::Ready);
        t.session->CloseConnections();
        c.breakIt(t, s);
        ScriptedPrompt prompt;
        EXPECT_FALSE(s.ConnectServer(prompt));
        ASSERT_EQ(prompt.infos.size(), 1);
        EXPECT_TRUE(prompt.infos[0].contains(c.message)) << prompt.infos[0].toStdString();
        EXPECT_NE(prompt.infos[0], QStringLiteral("اشکال در برقراري ارتباط  با SQL SERVER (قطع شبکه)"));
        if (c.mustStayAway) {
            EXPECT_FALSE(QFileInfo::exists(t.path(QString::fromLatin1(c.mustStayAway))));
        }
    }

    // A damaged common database is named by its file.
    TempInstallation t;
    t.create();
    t.session->CloseConnections();
    QFile(t.path(QStringLiteral("DATA/ORVAK.db"))).resize(0);
    Session s(t.path(), t.site);
    ASSERT_EQ(s.ReadConnectionFile(), ConnectionFileState::Ready);
    ScriptedPrompt prompt;
    s.ConnectServer(prompt);
    EXPECT_FALSE(s.common().isOpen());
    const QString told = prompt.infos.join(QLatin1Char('\n'));
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(t.path(QStringLiteral("DATA/ORVAK.db"))))) << told.toStdString();
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("DATA/ORVAK.db"))).size(), 0);
}

TEST(Session, SqlServerRefusalsAreToldApart)
{
    using orvak::db::mssql::connectFailureText;
    const struct { const char* driver; QString told; } cases[] = {
        {"[FreeTDS][SQL Server]Login failed for user 'orvak'. QODBC: Unable to connect 18456",
         QStringLiteral("ورود به SQL Server با نام کاربري orvak و رمز داده شده ممکن نيست؛ رمز را بررسي کنيد")},
        {"[unixODBC][FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not exist 08001",
         QStringLiteral("اشکال در برقراري ارتباط  با SQL SERVER (قطع شبکه)")},
        {"", QStringLiteral("اشکال در برقراري ارتباط  با SQL SERVER (قطع شبکه)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(connectFailureText(QString::fromUtf8(c.driver), QStringLiteral("orvak")), c.told) << c.driver;
    const QString noDriver = QStringLiteral("راه انداز ODBC براي ارتباط با SQL Server نصب نشده است");
    EXPECT_EQ(connectFailureText(noDriver, QStringLiteral("orvak")), noDriver);
}

TEST(Session, TwoWorkstationsOpeningANewSectionAtOnce)
{
    TempInstallation t;
    t.create();
    auto a = t.reconnect();
    auto b = t.reconnect();
    // The other workstation opens (and so creates) the section while this one is
    // still asking whether to create it.
    struct Racing : ScriptedPrompt {
        std::function<void()> race;
        bool ask(const QString& text) override
        {
            ScriptedPrompt::ask(text);
            if (race)
                std::exchange(race, nullptr)();
            return true;
        }
    } racing;
    ScriptedPrompt other({}, true);
    bool otherOpened = false;
    racing.race = [&] { otherOpened = b->OpenSection(1403, QStringLiteral("0"), other); };
    EXPECT_TRUE(a->OpenSection(1403, QStringLiteral("0"), racing)) << racing.infos.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(otherOpened) << other.infos.join(QLatin1Char('\n')).toStdString();
    for (const QString& told : racing.infos + other.infos)
        EXPECT_TRUE(told.startsWith(QStringLiteral("بانک اطلاعاتي حسابداري يافت نشد"))) << told.toStdString();
    EXPECT_TRUE(a->dialect().tableExists(a->deposits(), QStringLiteral("GENERAL_INFO")));

    // A deposits database whose creation was cut short is completed when opened.
    ASSERT_TRUE(a->server()->createDatabase(QStringLiteral("ORVAKSEPJ"), QString(), nullptr));
    ScriptedPrompt quiet;
    ASSERT_TRUE(b->OpenSection(1403, QStringLiteral("2"), quiet));
    EXPECT_TRUE(quiet.questions.isEmpty());
    EXPECT_TRUE(b->dialect().tableExists(b->deposits(), QStringLiteral("GENERAL_INFO")));
}
