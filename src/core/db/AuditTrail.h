#pragma once
// The change history that every unit of work keeps: one entry per row inserted,
// changed or deleted, in a table of this program's own (AUDITTRAIL) in the database
// of the row, so that a change of one database commits in that database alone and
// the family's other programs are not affected. Entries written before each
// database kept its own are in the common database.
#include "core/db/Db.h"

#include <QList>
#include <QString>
#include <optional>

namespace orvak::db {

// One entry of the change history.
struct AuditEntry {
    QString date, time;   // YYYY/MM/DD (Jalali), HH:mm:ss
    int userCode = 0;
    QString workstation, database, table, key;
    QChar operation;      // I, U, D
    QString changes;      // {"COLUMN":[old,new],...}
};

// The history, newest first; empty filters select everything.
struct AuditFilter {
    QString table, key;
    std::optional<int> userCode;   // 0 is the server machine's administrator
    QString database;              // the entries of one database's rows
    QString since;   // YYYY/MM/DD
    int programId = 0;
};
QString auditListSql(const AuditFilter& filter, QVariantMap* binds);
// The history kept in the databases given (one without a history table is passed
// over), newest first.
Fetched<QList<AuditEntry>> readAudit(const QList<QSqlDatabase>& databases, const AuditFilter& filter);
Fetched<QList<AuditEntry>> readAudit(QSqlDatabase db, const AuditFilter& filter);


// How a row's key is written in the history: the value alone for a one-column key,
// "COLUMN=value;..." in the key's order otherwise.
QString auditKey(const QStringList& keyColumns, const QVariantList& keyValues);

// The list's column titles, the operation's text and the changes as a line
// ("AMOUNT: 1000 -> 1005; STATUS: 0 -> 1"; a value's line breaks stay in it, so a
// line-based output escapes them as every other cell).
QStringList auditColumnTitles();
QString auditOperationText(QChar operation);
QString auditChangesText(const QString& changes);

} // namespace orvak::db
