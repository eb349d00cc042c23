// A unit of work is all-or-nothing across its databases whenever the process ends:
// a child runs a register's real operation and is ended at its first, second, ...
// last write or sync, as by kill -9 and as by a power cut; afterwards every database
// holds either all of the work or none of it, and every file is sound.
#include "core/demo/DemoInstallation.h"
#include "support/ScriptedPrompt.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace orvak;

namespace {

const char* const kChild = ORVAK_CRASH_CHILD;

// A small demo office, built once for every case.
QString pristine()
{
    static QTemporaryDir built;
    static const bool ok = [] {
        demo::DemoOptions o;
        o.folder = built.path();
        o.seed = 11;
        o.today = QStringLiteral("1405/09/18");
        // A small office: every step of the work is tried, so the work is kept short.
        // ORVAK_CRASH_DEPOSITS=0 tries the demo's full office (about half an hour).
        o.deposits = qEnvironmentVariableIsSet("ORVAK_CRASH_DEPOSITS") ? qEnvironmentVariableIntValue("ORVAK_CRASH_DEPOSITS") : 400;
        startup::ScriptedPrompt prompt;
        return demo::buildDemoInstallation(o, prompt).ok;
    }();
    EXPECT_TRUE(ok);
    return built.path();
}

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

struct ChildRun {
    int exitCode = -1;
    QString output;
};

ChildRun runChild(const QString& folder, const char* operation, int crashAt, const char* ending)
{
    QProcess p;
    p.start(QString::fromLatin1(kChild), {folder, QString::fromLatin1(operation), QString::number(crashAt), QString::fromLatin1(ending)});
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed()};
}

// What a database holds, table by table, row by row; the history's times of day
// and dates are left out (they are the clock's, not the work's). Opening it here
// rolls back whatever journal the ended child left, as the next program would.
struct Image {
    QByteArray digest;
    QString problems;   // of the integrity check; empty when sound
};

Image imageOf(const QString& path, const QSet<QByteArray>& only = {})
{
    Image image;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        image.problems = QStringLiteral("cannot open");
        sqlite3_close(db);
        return image;
    }
    auto each = [&](const QByteArray& sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            image.problems += QString::fromUtf8(sqlite3_errmsg(db));
            return;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            row(st);
        if (rc != SQLITE_DONE)
            image.problems += QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    };
    each("PRAGMA integrity_check", [&](sqlite3_stmt* st) {
        const QByteArray line(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (line != "ok")
            image.problems += QString::fromUtf8(line);
    });
    QList<QByteArray> tables;
    each("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
         [&](sqlite3_stmt* st) { tables << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); });
    // Rows in any order: each row's own hash, sorted.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray& t : tables) {
        if (!only.isEmpty() && !only.contains(t))
            continue;
        hash.addData(t);
        QList<QByteArray> rows;
        each("SELECT * FROM \"" + t + "\"", [&](sqlite3_stmt* st) {
            QCryptographicHash row(QCryptographicHash::Sha1);
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const QByteArray column(sqlite3_column_name(st, c));
                if (t == "AUDITTRAIL" && (column == "ADATE" || column == "ATIME"))
                    continue;
                row.addData(QByteArray::number(sqlite3_column_type(st, c)));
                row.addData(QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_blob(st, c)), sqlite3_column_bytes(st, c)));
                row.addData("\x1f");
            }
            rows << row.result();
        });
        std::sort(rows.begin(), rows.end());
        for (const QByteArray& r : rows)
            hash.addData(r);
    }
    sqlite3_close(db);
    image.digest = hash.result();
    return image;
}

QString databaseFile(const QString& folder, const QString& name) { return QDir(folder).filePath(QStringLiteral("DATA/") + name); }

QStringList databasesOf(const QString& folder)
{
    return QDir(QDir(folder).filePath(QStringLiteral("DATA"))).entryList({QStringLiteral("*.db")}, QDir::Files);
}

QList<QByteArray> tablesOf(const QString& path)
{
    QList<QByteArray> tables;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            tables << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return tables;
}

// What the work changes: per database, the tables whose rows differ.
QMap<QString, QSet<QByteArray>> changedTables(const QString& before, const QString& after)
{
    QMap<QString, QSet<QByteArray>> changed;
    for (const QString& name : databasesOf(after)) {
        for (const QByteArray& t : tablesOf(databaseFile(after, name))) {
            if (imageOf(databaseFile(before, name), {t}).digest != imageOf(databaseFile(after, name), {t}).digest)
                changed[name].insert(t);
        }
    }
    return changed;
}

struct Case {
    const char* operation;
    const char* ending;   // "kill" or "power"
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.operation << ", " << c.ending; }

class CrashAtomicity : public ::testing::TestWithParam<Case> {};

TEST_P(CrashAtomicity, EveryDatabaseHoldsAllOfTheWorkOrNoneOfItWheneverTheProcessEnds)
{
    const char* operation = GetParam().operation;
    const char* ending = GetParam().ending;
    const QString source = pristine();
    // The state the work starts from (after what it reads first), and the state it ends in.
    QTemporaryDir beforeDir, afterDir;
    copyFolder(source, beforeDir.path());
    copyFolder(source, afterDir.path());
    const ChildRun prepared = runChild(beforeDir.path(), operation, -1, ending);
    ASSERT_EQ(prepared.exitCode, 0) << prepared.output.toStdString();
    const ChildRun whole = runChild(afterDir.path(), operation, 0, ending);
    ASSERT_EQ(whole.exitCode, 0) << whole.output.toStdString();
    const int steps = whole.output.section(QLatin1Char('\n'), -1).toInt();
    ASSERT_GT(steps, 0) << whole.output.toStdString();
    RecordProperty("steps", steps);
    const QMap<QString, QSet<QByteArray>> changed = changedTables(beforeDir.path(), afterDir.path());
    ASSERT_FALSE(changed.isEmpty()) << "the work changed nothing";
    QMap<QString, QByteArray> before, after;
    for (auto it = changed.begin(); it != changed.end(); ++it) {
        before[it.key()] = imageOf(databaseFile(beforeDir.path(), it.key()), *it).digest;
        after[it.key()] = imageOf(databaseFile(afterDir.path(), it.key()), *it).digest;
    }

    // Two children at a time, each ended at its step; then what each left is read.
    struct Running {
        int step;
        std::unique_ptr<QTemporaryDir> dir;
        std::unique_ptr<QProcess> process;
    };
    std::vector<Running> running;
    auto check = [&](Running& r) {
        r.process->waitForFinished(120000);
        SCOPED_TRACE(testing::Message() << operation << ", " << ending << " at step " << r.step << " of " << steps);
        ASSERT_EQ(r.process->exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(r.process->exitCode(), 86) << QString::fromUtf8(r.process->readAllStandardError()).toStdString();
        QStringList held, none;
        for (auto it = changed.begin(); it != changed.end(); ++it) {
            const Image image = imageOf(databaseFile(r.dir->path(), it.key()), *it);
            ASSERT_TRUE(image.problems.isEmpty()) << it.key().toStdString() << ": " << image.problems.toStdString();
            if (image.digest == after[it.key()])
                held << it.key();
            else if (image.digest == before[it.key()])
                none << it.key();
            else
                FAIL() << it.key().toStdString() << " holds part of the work";
        }
        EXPECT_TRUE(held.isEmpty() || none.isEmpty()) << "all of the work in " << held.join(QLatin1Char(' ')).toStdString()
                                                       << ", none of it in " << none.join(QLatin1Char(' ')).toStdString();
    };
    for (int n = 1; n <= steps; ++n) {
        Running r{n, std::make_unique<QTemporaryDir>(), std::make_unique<QProcess>()};
        copyFolder(beforeDir.path(), r.dir->path());
        r.process->start(QString::fromLatin1(kChild), {r.dir->path(), QString::fromLatin1(operation), QString::number(n), QString::fromLatin1(ending)});
        running.push_back(std::move(r));
        if (running.size() == 2 || n == steps) {
            for (Running& done : running)
                check(done);
            running.clear();
            if (HasFatalFailure())
                return;
        }
    }
}

// A small unit of work over the three databases, and the registers' own: the
// reading of a month's vouchers into the register, a group operation with its
// history, the receipt voucher (deposits, accounting and history at once).
INSTANTIATE_TEST_SUITE_P(Registers, CrashAtomicity,
                         ::testing::Values(Case{"three-databases", "kill"}, Case{"three-databases", "power"},
                                           Case{"voucher-transfer", "kill"}, Case{"voucher-transfer", "power"},
                                           Case{"group-operation", "kill"}, Case{"group-operation", "power"},
                                           Case{"receipt-voucher", "kill"}, Case{"receipt-voucher", "power"},
                                           Case{"collective-refund", "kill"}, Case{"collective-refund", "power"},
                                           Case{"guarantee-booking", "kill"}, Case{"guarantee-booking", "power"},
                                           Case{"statement-matching", "kill"}, Case{"statement-matching", "power"},
                                           Case{"deposit-import", "kill"}, Case{"deposit-import", "power"},
                                           Case{"credit-notice-delete", "kill"}, Case{"credit-notice-delete", "power"},
                                           Case{"guarantee-extension-letter", "kill"}, Case{"guarantee-extension-letter", "power"}),
                         [](const auto& info) {
                             std::string name = std::string(info.param.operation) + "_" + info.param.ending;
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
