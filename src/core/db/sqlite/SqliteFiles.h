#pragma once
// What the local server needs to know of its database files, read only through the
// engine itself: a file of the data folder opened and closed by anything else would
// drop the engine's locks on it (they belong to the process, not to one handle).
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <sqlite3.h>

namespace orvak::db::sqlite {

QString damagedMessage(const QString& path);
QString damagedMessage(const QStringList& paths);
QString lockedMessage(const QString& path);

// The extended result code names a damaged file (malformed, not a database, cut).
bool isDamageCode(int code);
// Another program holds the file (busy, locked); it is not damaged.
bool isLockCode(int code);

// The checks of a database file as a connection opens it (schema "main", or an
// attached name): its header says a database of a sound shape, the file is as long
// as the header says, the schema reads. A rollback journal left by a program that
// ended in the middle of a write is rolled back here by the engine; when that
// happened (journalBefore and no journal after), the whole file is checked once.
// Reads the header and the schema only: the cost is the same whatever the size.
// Empty when sound, otherwise the message to show.
QString checkOpenedFile(sqlite3* handle, const char* schema, const QString& path, bool journalBefore);

// The journal that makes a unit of work over several files all-or-nothing (a
// rollback journal with the super-journal that binds the files), with every commit
// on the disk before it counts. Empty when set, otherwise the message.
QString useAtomicJournal(sqlite3* handle, const char* schema, const QString& path);

// The full check of one database of a connection (every page, every index);
// progress is called now and then with the seconds spent so far. Empty when the
// database is sound, otherwise the engine's first findings.
QString integrityProblems(sqlite3* handle, const char* schema, const std::function<void(int seconds)>& progress = {});

// The message of the connection's last failure (what errorText says of it).
QString engineError(sqlite3* handle);

// A read or write failed because a file is damaged: which of the connection's
// files it is (each checked in turn), as the message to show.
QString damagedFilesText(sqlite3* handle);

} // namespace orvak::db::sqlite
