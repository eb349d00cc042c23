#pragma once
#include "core/db/Cursor.h"

namespace orvak::db {

// The embedded database's own statement behind a cursor; nullptr (and *error left
// empty) when db is not an embedded database, nullptr with *error when the
// statement cannot be prepared.
std::unique_ptr<Cursor> openSqliteCursor(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error);

} // namespace orvak::db
