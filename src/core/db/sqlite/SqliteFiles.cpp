#include "core/db/sqlite/SqliteFiles.h"

#include "core/db/DatabaseErrors.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

namespace orvak::db::sqlite {

namespace {

// One statement's first column, as text; rc is the engine's result.
QString firstValue(sqlite3* handle, const QByteArray& sql, int* rc)
{
    sqlite3_stmt* st = nullptr;
    *rc = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &st, nullptr);
    QString value;
    if (*rc == SQLITE_OK) {
        *rc = sqlite3_step(st);
        if (*rc == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (*rc == SQLITE_ROW || *rc == SQLITE_DONE)
            *rc = SQLITE_OK;
        else
            *rc = sqlite3_extended_errcode(handle);
    }
    sqlite3_finalize(st);
    return value;
}

int run(sqlite3* handle, const char* sql)
{
    const int rc = sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? rc : sqlite3_extended_errcode(handle);
}

QByteArray quoted(const char* schema) { return QByteArray("\"") + QByteArray(schema).replace('"', "\"\"") + '"'; }

quint32 bigEndian(const unsigned char* p) { return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]; }

// The fixed parts of a database header; the counters change with every commit and
// are read under the read transaction that keeps writers out.
bool soundHeader(const unsigned char* h, qint64 size, bool logBeside)
{
    if (std::memcmp(h, "SQLite format 3", 16) != 0)
        return false;
    const quint32 stored = quint32(h[16]) << 8 | h[17];
    const quint32 pageSize = stored == 1 ? 65536 : stored;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return false;
    if (h[18] < 1 || h[18] > 2 || h[19] < 1 || h[19] > 2 || h[21] != 64 || h[22] != 32 || h[23] != 32)
        return false;
    if (size < qint64(pageSize) || size % pageSize != 0)
        return false;
    // The page count is trusted only when the writer that last changed the file set
    // it, and a write-ahead log beside the file may hold pages the file does not.
    const quint32 pages = bigEndian(h + 28);
    if (pages > 0 && bigEndian(h + 24) == bigEndian(h + 92) && !logBeside && size < qint64(pages) * pageSize)
        return false;
    return true;
}

} // namespace

QString damagedMessage(const QString& path)
{
    return QStringLiteral("فايل بانک اطلاعاتي %1 خراب است يا بانک اطلاعاتي نيست؛ آن را از نسخه پشتيبان بازگردانيد")
        .arg(QDir::toNativeSeparators(path));
}

QString damagedMessage(const QStringList& paths)
{
    if (paths.size() == 1)
        return damagedMessage(paths.first());
    QStringList shown;
    for (const QString& p : paths)
        shown << QDir::toNativeSeparators(p);
    return QStringLiteral("يکي از فايلهاي بانک اطلاعاتي %1 خراب است؛ با orvakctl check فايل خراب را بيابيد و آن را از نسخه پشتيبان بازگردانيد")
        .arg(shown.join(QStringLiteral("، ")));
}

QString lockedMessage(const QString& path)
{
    return QStringLiteral("بانک اطلاعاتي %1 در اختيار برنامه ديگري است و قفل شده است؛ پس از پايان کار آن دوباره سعي کنيد")
        .arg(QDir::toNativeSeparators(path));
}

bool isDamageCode(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || code == SQLITE_IOERR_SHORT_READ;
}

bool isLockCode(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

QString checkOpenedFile(sqlite3* handle, const char* schema, const QString& path, bool journalBefore)
{
    auto failed = [&](int rc) {
        run(handle, "ROLLBACK");
        return isLockCode(rc) ? lockedMessage(path) : damagedMessage(path);
    };
    // Under a read transaction no writer changes the file while its header is read;
    // taking it also rolls back whatever a writer that was cut short left.
    int rc = run(handle, "BEGIN");
    if (rc != SQLITE_OK)
        return failed(rc);
    firstValue(handle, "SELECT count(*) FROM " + quoted(schema) + ".sqlite_master", &rc);
    if (rc != SQLITE_OK)
        return failed(rc);
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(handle, schema, SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return failed(SQLITE_CORRUPT);
    unsigned char header[100] = {};
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK || file->pMethods->xRead(file, header, int(sizeof header), 0) != SQLITE_OK
        || !soundHeader(header, size, QFileInfo::exists(path + QStringLiteral("-wal"))))
        return failed(SQLITE_CORRUPT);
    run(handle, "COMMIT");
    // A journal rolled back just now means a program ended in the middle of a write:
    // that is cause enough to read the whole file once.
    if (journalBefore && !QFileInfo::exists(path + QStringLiteral("-journal"))) {
        const QString problems = integrityProblems(handle, schema);
        if (!problems.isEmpty())
            return damagedMessage(path);
    }
    return {};
}

QString useAtomicJournal(sqlite3* handle, const char* schema, const QString& path)
{
    int rc = SQLITE_OK;
    const QString mode = firstValue(handle, "PRAGMA " + quoted(schema) + ".journal_mode=DELETE", &rc);
    if (rc != SQLITE_OK || mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0) {
        if (rc != SQLITE_OK && isDamageCode(rc))
            return damagedMessage(path);
        return QStringLiteral("بانک اطلاعاتي %1 در برنامه ديگري (نسخه قديمي اين برنامه) باز است؛ آن برنامه را ببنديد و دوباره سعي کنيد")
            .arg(QDir::toNativeSeparators(path));
    }
    if (run(handle, QByteArray("PRAGMA " + quoted(schema) + ".synchronous=FULL").constData()) != SQLITE_OK)
        return damagedMessage(path);
    return {};
}

QString integrityProblems(sqlite3* handle, const char* schema, const std::function<void(int seconds)>& progress)
{
    struct Tick {
        const std::function<void(int)>* progress;
        QElapsedTimer clock;
        int shown = 0;
    } tick{&progress, {}, 0};
    tick.clock.start();
    if (progress) {
        sqlite3_progress_handler(
            handle, 100000,
            [](void* p) {
                auto* t = static_cast<Tick*>(p);
                const int seconds = int(t->clock.elapsed() / 1000);
                if (seconds > t->shown) {
                    t->shown = seconds;
                    (*t->progress)(seconds);
                }
                return 0;
            },
            &tick);
    }
    const QByteArray sql = progress ? "PRAGMA " + quoted(schema) + ".integrity_check(20)" : "PRAGMA " + quoted(schema) + ".quick_check(20)";
    sqlite3_stmt* st = nullptr;
    QStringList found;
    int rc = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString line = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (line != QLatin1String("ok"))
            found << line;
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        found << QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_finalize(st);
    if (progress)
        sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    return found.join(QLatin1Char('\n'));
}

QString engineError(sqlite3* handle)
{
    const int code = sqlite3_extended_errcode(handle);
    if (isDamageCode(code))
        return damagedFilesText(handle);
    return errorText(code, QString::fromUtf8(sqlite3_errmsg(handle)), nullptr);
}

QString damagedFilesText(sqlite3* handle)
{
    QStringList all, damaged;
    QList<QByteArray> schemas;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA database_list", -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString file = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
            if (file.isEmpty())
                continue;   // the temporary schema
            schemas << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            all << file;
        }
    }
    sqlite3_finalize(st);
    for (int i = 0; i < schemas.size(); ++i) {
        if (!integrityProblems(handle, schemas[i].constData()).isEmpty())
            damaged << all[i];
    }
    return damagedMessage(damaged.isEmpty() ? all : damaged);
}

} // namespace orvak::db::sqlite
