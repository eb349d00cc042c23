#pragma once
// What the change history holds, read the way the program keeps it: each database
// its own rows' entries.
#include "core/db/Db.h"
#include "core/startup/Session.h"

#include <gtest/gtest.h>

namespace orvak::test {

// The history entries the session's open databases hold (each keeps its own rows'),
// those matching the condition given.
inline qint64 historyCount(startup::Session& s, const QString& where = {})
{
    qint64 total = 0;
    for (const QSqlDatabase& db : s.openDatabases()) {
        const auto n = db::scalar(db, QStringLiteral("SELECT COUNT(*) FROM AUDITTRAIL") + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
        EXPECT_TRUE(n.has_value()) << n.error().toStdString();
        total += n.value_or(QVariant(0)).toLongLong();
    }
    return total;
}

} // namespace orvak::test
