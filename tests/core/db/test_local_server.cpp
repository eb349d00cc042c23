#include "core/db/Db.h"
#include "core/db/sqlite/LocalServer.h"
#include "core/startup/StructureUpdate.h"
#include "support/ScriptedPrompt.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::db;
using orvak::startup::ScriptedPrompt;

namespace {

const QString kPassword = QStringLiteral("pw");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A data folder with its login and one database holding a few pages of rows.
struct DataFolder {
    QTemporaryDir dir;
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    DataFolder()
    {
        LocalServer s(dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), kPassword);
        EXPECT_TRUE(s.testAdministrator(QStringLiteral("orvak"), kPassword, nullptr));
        EXPECT_TRUE(s.createLogin(QStringLiteral("orvak"), kPassword, nullptr));
        EXPECT_TRUE(s.createDatabase(QStringLiteral("ORVAKSEPC0"), QString(), nullptr));
        {
            QSqlDatabase db = s.database(QStringLiteral("ORVAKSEPC0"));
            EXPECT_TRUE(execSql(db, QStringLiteral("CREATE TABLE T (A INTEGER PRIMARY KEY, B TEXT)")));
            EXPECT_TRUE(execSql(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                                                   "INSERT INTO T (A, B) SELECT i, printf('%0100d', i) FROM n")));
        }
        s.closeAll();
    }
    std::unique_ptr<LocalServer> connect()
    {
        auto s = std::make_unique<LocalServer>(dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), kPassword);
        EXPECT_TRUE(s->testConnection(QStringLiteral("orvak"), kPassword, nullptr));
        return s;
    }
};

} // namespace

TEST(LocalServer, DamagedDatabaseFilesAreRefusedAndLeftAsTheyAre)
{
    // Opening reads the header and the schema only: a damaged page of a table is
    // found when the table is read, and named then.
    const struct {
        const char* what;
        std::function<void(QFile&)> damage;
        bool atOpen;
    } cases[] = {
        {"empty", [](QFile& f) { f.resize(0); }, true},
        {"truncated", [](QFile& f) { f.resize(f.size() / 2); }, true},
        {"not a database", [](QFile& f) {
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write("this is a letter, not a database\n");
         }, true},
        {"another file's bytes", [](QFile& f) {
             f.open(QIODevice::ReadWrite);
             f.write(QByteArray(100, 'x'));
         }, true},
        {"damaged page", [](QFile& f) {
             f.open(QIODevice::ReadWrite);
             f.seek(f.size() / 2);
             f.write(QByteArray(4096, '\xff'));
         }, false},
        {"zeroed middle", [](QFile& f) {
             f.open(QIODevice::ReadWrite);
             f.seek(f.size() / 3);
             f.write(QByteArray(8192, '\0'));
         }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DataFolder folder;
        const QString path = folder.file(QStringLiteral("ORVAKSEPC0.db"));
        {
            QFile f(path);
            c.damage(f);
        }
        const QByteArray before = readAll(path);
        auto server = folder.connect();
        QString why;
        if (!c.atOpen) {
            const auto count = scalar(server->database(QStringLiteral("ORVAKSEPC0"), &why), QStringLiteral("SELECT SUM(LENGTH(B)) FROM T"));
            ASSERT_TRUE(count.failed());
            EXPECT_TRUE(count.error().contains(QDir::toNativeSeparators(path))) << count.error().toStdString();
            EXPECT_TRUE(count.error().contains(QStringLiteral("خراب"))) << count.error().toStdString();
            // The full check finds it as well.
            EXPECT_FALSE(server->checkDatabase(QStringLiteral("ORVAKSEPC0"), &why));
            EXPECT_TRUE(why.contains(QDir::toNativeSeparators(path))) << why.toStdString();
            server->closeAll();
            EXPECT_EQ(readAll(path), before);
            continue;
        }
        EXPECT_FALSE(server->database(QStringLiteral("ORVAKSEPC0"), &why).isValid());
        EXPECT_TRUE(why.contains(QDir::toNativeSeparators(path))) << why.toStdString();
        EXPECT_TRUE(why.contains(QStringLiteral("خراب"))) << why.toStdString();
        EXPECT_FALSE(server->checkDatabase(QStringLiteral("ORVAKSEPC0"), &why));

        // The structure update does not make an empty database of it.
        ScriptedPrompt prompt;
        orvak::startup::StructureUpdate update(*server, prompt);
        orvak::startup::SchemaScripts scripts;
        scripts.tables = QStringLiteral("NEWT(\n X int\n)\n");
        const orvak::startup::UpdateReport report = update.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), scripts);
        EXPECT_FALSE(report.connected);
        ASSERT_FALSE(report.errors.isEmpty());
        EXPECT_TRUE(report.errors[0].contains(QDir::toNativeSeparators(path)));
        EXPECT_EQ(report.tablesCreated, 0);
        EXPECT_FALSE(server->createDatabase(QStringLiteral("ORVAKSEPC0"), QString(), nullptr));
        server->closeAll();
        EXPECT_EQ(readAll(path), before);
    }

    // A sound file opens, and an empty MASTER.db is refused by name as well.
    DataFolder sound;
    auto server = sound.connect();
    EXPECT_EQ(scalar(server->database(QStringLiteral("ORVAKSEPC0")), QStringLiteral("SELECT COUNT(*) FROM T"))->toInt(), 3000);
    server->closeAll();
    QFile(sound.file(QStringLiteral("MASTER.db"))).resize(0);
    LocalServer again(sound.dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), kPassword);
    QString why;
    EXPECT_FALSE(again.testConnection(QStringLiteral("orvak"), kPassword, &why));
    EXPECT_TRUE(why.contains(QDir::toNativeSeparators(sound.file(QStringLiteral("MASTER.db"))))) << why.toStdString();
}

TEST(LocalServer, EachConnectionFailureSaysWhatFailed)
{
    DataFolder folder;
    auto failure = [&](const QString& dir, const QString& password, int busyMs = 10000) {
        LocalServer s(dir, QStringLiteral("LOCAL:."), QStringLiteral("orvak"), password);
        s.setBusyTimeout(busyMs);
        QString why;
        EXPECT_FALSE(s.testConnection(QStringLiteral("orvak"), password, &why));
        return why;
    };
    const QString missing = folder.file(QStringLiteral("nowhere"));
    EXPECT_TRUE(failure(missing, kPassword).startsWith(QStringLiteral("پوشه داده ها يافت نشد")));
    EXPECT_FALSE(QFileInfo::exists(missing));

    QTemporaryDir empty;
    EXPECT_TRUE(failure(empty.path(), kPassword).contains(QStringLiteral("پوشه داده هاي اورواک نيست")));
    EXPECT_TRUE(QDir(empty.path()).isEmpty());   // no MASTER.db made on the way

    EXPECT_EQ(failure(folder.dir.path(), QStringLiteral("wrong")),
              QStringLiteral("ورود به سرور با نام کاربري orvak و رمز داده شده ممکن نيست"));

    // Another program holds the logins file locked.
    const QString lockName = QStringLiteral("test-lock-master");
    {
        QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lockName);
        locker.setDatabaseName(folder.file(QStringLiteral("MASTER.db")));
        ASSERT_TRUE(locker.open());
        QSqlQuery q(locker);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")));
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE HELD (A int)")));
        const QString why = failure(folder.dir.path(), kPassword, 50);
        EXPECT_TRUE(why.contains(QStringLiteral("قفل"))) << why.toStdString();
        EXPECT_TRUE(why.contains(QStringLiteral("MASTER.db"))) << why.toStdString();
        q.exec(QStringLiteral("ROLLBACK"));
        locker.close();
    }
    QSqlDatabase::removeDatabase(lockName);
    LocalServer ok(folder.dir.path(), QStringLiteral("LOCAL:."), QStringLiteral("orvak"), kPassword);
    EXPECT_TRUE(ok.testConnection(QStringLiteral("orvak"), kPassword, nullptr));
}
