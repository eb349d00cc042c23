#include "core/db/AuditTrail.h"

#include "core/db/Cursor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace orvak::db {

QString auditListSql(const AuditFilter& filter, QVariantMap* binds)
{
    QStringList where{QStringLiteral("PROGID = :progid")};
    binds->insert(QStringLiteral(":progid"), filter.programId);
    if (!filter.table.isEmpty()) {
        where << QStringLiteral("TABLENAME = :table");
        binds->insert(QStringLiteral(":table"), filter.table);
    }
    if (!filter.key.isEmpty()) {
        where << QStringLiteral("ROWKEY = :rowkey");
        binds->insert(QStringLiteral(":rowkey"), filter.key);
    }
    if (filter.userCode) {
        where << QStringLiteral("UCODE = :ucode");
        binds->insert(QStringLiteral(":ucode"), *filter.userCode);
    }
    if (!filter.database.isEmpty()) {
        where << QStringLiteral("DBNAME = :dbname");
        binds->insert(QStringLiteral(":dbname"), filter.database);
    }
    if (!filter.since.isEmpty()) {
        where << QStringLiteral("ADATE >= :since");
        binds->insert(QStringLiteral(":since"), filter.since);
    }
    return QStringLiteral("SELECT IDX, ADATE, ATIME, UCODE, WORKSTATION, DBNAME, TABLENAME, ROWKEY, OP, CHANGES FROM AUDITTRAIL WHERE ")
        + where.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY IDX DESC");
}

Fetched<QList<AuditEntry>> readAudit(QSqlDatabase db, const AuditFilter& filter)
{
    QVariantMap binds;
    const QString sql = auditListSql(filter, &binds);
    QString why;
    std::unique_ptr<Cursor> c = openCursor(db, sql, binds, &why);
    if (!c)
        return Fetched<QList<AuditEntry>>::failure(why);
    QList<AuditEntry> out;
    while (c->next()) {
        AuditEntry e;
        e.date = c->value(1).toString();
        e.time = c->value(2).toString();
        e.userCode = c->value(3).toInt();
        e.workstation = c->value(4).toString();
        e.database = c->value(5).toString();
        e.table = c->value(6).toString();
        e.key = c->value(7).toString();
        { const QString op = c->value(8).toString(); e.operation = op.isEmpty() ? QChar() : op.at(0); }
        e.changes = c->value(9).toString();
        out << e;
    }
    if (!c->failure().isEmpty())
        return Fetched<QList<AuditEntry>>::failure(c->failure());
    return Fetched<QList<AuditEntry>>::found(out);
}

Fetched<QList<AuditEntry>> readAudit(const QList<QSqlDatabase>& databases, const AuditFilter& filter)
{
    QList<AuditEntry> all;
    for (const QSqlDatabase& db : databases) {
        if (!db.isOpen() || !execSql(db, QStringLiteral("SELECT 1 FROM AUDITTRAIL WHERE 1 = 0")))
            continue;
        const Fetched<QList<AuditEntry>> some = readAudit(db, filter);
        if (some.failed())
            return some;
        all << some.value_or({});
    }
    // Each database's entries are newest first already; the stable sort keeps that
    // order within one second.
    std::stable_sort(all.begin(), all.end(), [](const AuditEntry& a, const AuditEntry& b) {
        return a.date != b.date ? a.date > b.date : a.time > b.time;
    });
    return Fetched<QList<AuditEntry>>::found(all);
}

QString auditKey(const QStringList& keyColumns, const QVariantList& keyValues)
{
    QStringList parts;
    for (int i = 0; i < keyColumns.size(); ++i) {
        const QString v = keyValues.value(i).toString().trimmed();
        parts << (keyColumns.size() == 1 ? v : keyColumns[i] + QLatin1Char('=') + v);
    }
    return parts.join(QLatin1Char(';'));
}

QStringList auditColumnTitles()
{
    return {QStringLiteral("تاريخ"),  QStringLiteral("ساعت"), QStringLiteral("کاربر"), QStringLiteral("ايستگاه کاري"),
            QStringLiteral("بانک اطلاعاتي"), QStringLiteral("جدول"), QStringLiteral("کليد"), QStringLiteral("عمل"),
            QStringLiteral("تغييرات")};
}

QString auditOperationText(QChar operation)
{
    switch (operation.unicode()) {
    case 'I':
        return QStringLiteral("درج");
    case 'U':
        return QStringLiteral("ويرايش");
    case 'D':
        return QStringLiteral("حذف");
    default:
        return QString(operation);
    }
}

QString auditChangesText(const QString& changes)
{
    const QJsonObject o = QJsonDocument::fromJson(changes.toUtf8()).object();
    auto text = [](const QJsonValue& v) {
        if (v.isNull() || v.isUndefined())
            return QStringLiteral("-");
        if (v.isDouble())
            return QString::number(v.toDouble(), 'f', v.toDouble() == double(qint64(v.toDouble())) ? 0 : 2);
        return v.toVariant().toString().trimmed();
    };
    QStringList parts;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QJsonArray pair = it.value().toArray();
        parts << QStringLiteral("%1: %2 -> %3").arg(it.key(), text(pair.at(0)), text(pair.at(1)));
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace orvak::db
