#pragma once
// The embedded database's own handle behind a Qt connection, for the few places
// that read or write many rows at once; nullptr for any other driver.
#include <QSqlDatabase>
#include <QSqlDriver>
#include <sqlite3.h>

namespace orvak::db {

inline sqlite3* sqliteHandleOf(const QSqlDriver* driver)
{
    const QVariant h = driver ? driver->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

inline sqlite3* sqliteHandleOf(const QSqlDatabase& db) { return sqliteHandleOf(db.driver()); }

} // namespace orvak::db
