#include "core/basedata/CodeNameTable.h"

#include <climits>

namespace orvak::basedata {

using db::Store;

QString CodeNameTable::scopeCondition() const
{
    QStringList terms;
    for (auto it = scope.begin(); it != scope.end(); ++it)
        terms << QStringLiteral("%1=:%1").arg(it.key());
    return terms.isEmpty() ? QStringLiteral("1=1") : terms.join(QStringLiteral(" and "));
}

QVariantMap CodeNameTable::binds(qint64 code) const
{
    QVariantMap b{{QStringLiteral(":PCode"), code}};
    for (auto it = scope.begin(); it != scope.end(); ++it)
        b.insert(QLatin1Char(':') + it.key(), it.value());
    return b;
}

db::Fetched<qint64> proposeCode(startup::Session& session, const CodeNameTable& t)
{
    std::optional<qint64> next;
    QString why;
    session.inWork(
        [&](db::UnitOfWork& w) {
            next = w.nextKey(Store::Common, t.table, t.codeColumn, t.scopeCondition(), t.binds(0));
            return next.has_value();
        },
        &why);
    return next ? db::Fetched<qint64>::found(*next) : db::Fetched<qint64>::failure(why);
}

db::Fetched<QString> codedName(startup::Session& session, const CodeNameTable& t, qint64 code)
{
    const auto v = db::scalar(session.common(),
                              QStringLiteral("Select %1 From %2 Where %3=:PCode and %4").arg(t.nameColumn, t.table, t.codeColumn, t.scopeCondition()),
                              t.binds(code));
    if (!v)
        return v.failed() ? db::Fetched<QString>::failure(v.error()) : db::Fetched<QString>::none();
    return db::Fetched<QString>::found(v->toString().trimmed());
}

bool saveCoded(startup::Session& session, const CodeNameTable& t, const CodedRow& row, bool insert, startup::Prompt& prompt)
{
    const QString name = row.name.trimmed();
    if (row.code <= 0 || name.isEmpty()) {
        prompt.info(t.incompleteText);
        return false;
    }
    if (row.code > INT_MAX) {
        prompt.info(QStringLiteral("کد بزرگتر از حد مجاز است."));
        return false;
    }
    if (name.size() > t.nameLength) {
        prompt.info(QStringLiteral("متن وارد شده بيش از %1 حرف است : ").arg(t.nameLength) + name.left(40));
        return false;
    }
    QString why;
    const bool ok = session.inWork(
        [&](db::UnitOfWork& w) {
            const QVariantMap binds = t.binds(row.code);
            const QString where = QStringLiteral("%1=:PCode and %2").arg(t.codeColumn, t.scopeCondition());
            QVariantMap values = row.more;
            values.insert(t.nameColumn, name);
            if (insert) {
                const auto existing = w.firstRow(QStringLiteral("Select %1 From %2 Where %3").arg(t.nameColumn, w.table(Store::Common, t.table), where), binds);
                if (existing.failed())
                    return false;
                if (existing)
                    return w.fail(QStringLiteral("کد قبلا تعريف شده است : ") + existing->value(0).toString().trimmed());
                values.insert(t.codeColumn, row.code);
                for (auto it = t.scope.begin(); it != t.scope.end(); ++it)
                    values.insert(it.key(), it.value());
                return w.insert(Store::Common, t.table, values);
            }
            int changed = 0;
            return w.update(Store::Common, t.table, values, where, binds, &changed)
                && (changed == 1 || w.fail(QStringLiteral("رديفي با اين کد يافت نشــد: ") + QString::number(row.code)));
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool removeCoded(startup::Session& session, const CodeNameTable& t, qint64 code, startup::Prompt& prompt, const Refusal& refusal,
                 const std::function<bool(db::UnitOfWork&)>& satellites)
{
    QString why;
    std::optional<QString> refused;
    if (refusal) {
        const bool checked = session.inWork(
            [&](db::UnitOfWork& w) {
                refused = refusal(w);
                return w.ok();
            },
            &why);
        if (!checked || refused) {
            prompt.info(checked ? *refused : why);
            return false;
        }
    }
    if (!prompt.ask(QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟")))
        return false;
    const bool ok = session.inWork(
        [&](db::UnitOfWork& w) {
            if (refusal) {
                if (const auto r = refusal(w))
                    return w.fail(*r);
            }
            int gone = 0;
            return w.ok()
                && w.remove(Store::Common, t.table, QStringLiteral("%1=:PCode and %2").arg(t.codeColumn, t.scopeCondition()), t.binds(code), &gone)
                && (gone == 1 || w.fail(QStringLiteral("رديفي با اين کد يافت نشــد: ") + QString::number(code)))
                && (!satellites || satellites(w));
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

db::Fetched<QList<std::pair<qint64, QString>>> codedRows(startup::Session& session, const CodeNameTable& t)
{
    using Rows = QList<std::pair<qint64, QString>>;
    QSqlQuery q(session.common());
    QString why;
    if (!db::prepareBound(q, QStringLiteral("Select %1, %2 From %3 Where %4 Order By %1").arg(t.codeColumn, t.nameColumn, t.table, t.scopeCondition()),
                          t.binds(0), &why)
        || !q.exec())
        return db::Fetched<Rows>::failure(why.isEmpty() ? q.lastError().text() : why);
    Rows rows;
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return db::Fetched<Rows>::found(rows);
}

} // namespace orvak::basedata
