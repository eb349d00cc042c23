#pragma once
// The change history that every unit of work keeps: one entry per row inserted,
// changed or deleted, in a table of this program's own in the common database
// (AUDITTRAIL), so that the family's other programs are not affected.
#include "core/db/Db.h"

#include <QList>
#include <QString>

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
    int userCode = 0;
    QString since;   // YYYY/MM/DD
    int programId = 0;
};
QString auditListSql(const AuditFilter& filter, QVariantMap* binds);
Fetched<QList<AuditEntry>> readAudit(QSqlDatabase common, const AuditFilter& filter);


// How a row's key is written in the history: the value alone for a one-column key,
// "COLUMN=value;..." in the key's order otherwise.
QString auditKey(const QStringList& keyColumns, const QVariantList& keyValues);

// The list's column titles, the operation's text and the changes as a line
// ("AMOUNT: 1000 -> 1005; STATUS: 0 -> 1").
QStringList auditColumnTitles();
QString auditOperationText(QChar operation);
QString auditChangesText(const QString& changes);

} // namespace orvak::db
