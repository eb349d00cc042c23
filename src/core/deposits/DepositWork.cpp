#include "core/deposits/DepositWork.h"

#include "core/startup/Program.h"

#include <QSqlQuery>

namespace orvak::deposits::work {

std::optional<QString> writeRefusal(const db::Fetched<QVariant>& level)
{
    if (level.failed())
        return level.error();
    if (level.empty())
        return writeRefusalText();
    if (level->isNull())
        return std::nullopt;
    bool number = false;
    const int n = level->toInt(&number);
    if (!number || (n != 0 && n != 2))
        return writeRefusalText();
    return std::nullopt;
}

QString levelSql() { return QStringLiteral("SELECT SEL2 FROM {common}.PROGUSERS WHERE PROGID = :Prog AND UCODE = :User"); }

QVariantMap levelBinds(const startup::Session& session)
{
    return {{QStringLiteral(":Prog"), startup::ProgID}, {QStringLiteral(":User"), session.currentUserCode()}};
}

Outcome refused(startup::Prompt& prompt, const QString& text)
{
    prompt.info(text);
    Outcome o;
    o.message = text;
    return o;
}

Outcome cancelled() { return {}; }

Outcome writeRefused()
{
    Outcome o;
    o.message = writeRefusalText();
    return o;
}

std::optional<Outcome> missing(const db::Fetched<Deposit>& row, startup::Prompt& prompt)
{
    if (row)
        return std::nullopt;
    return refused(prompt, row.failed() ? row.error() : NothingEnteredText);
}

Outcome run(startup::Session& session, startup::Prompt& prompt, const std::function<bool(db::UnitOfWork&, Outcome&)>& body)
{
    Outcome out;
    QString error;
    const bool ok = session.inWork(
        [&](db::UnitOfWork& w) {
            out = {};
            if (const std::optional<QString> refusal = writeRefusal(w.scalar(levelSql(), levelBinds(session))))
                return w.fail(*refusal);
            return body(w, out);
        },
        &error);
    if (!ok)
        return refused(prompt, error.isEmpty() ? QStringLiteral("عمليات انجام نشد") : error);
    out.done = true;
    return out;
}

namespace {

std::optional<QList<Deposit>> readAll(db::UnitOfWork& w, const QString& sql, const QVariantMap& binds)
{
    QSqlQuery q(w.connection());
    q.setForwardOnly(true);
    QString why;
    const QString text = w.resolve(sql);
    if (!w.ok())
        return std::nullopt;
    if (!db::prepareBound(q, text, binds, &why) || !q.exec()) {
        w.fail(why.isEmpty() ? q.lastError().text() : why);
        return std::nullopt;
    }
    QList<Deposit> rows;
    while (q.next())
        rows << depositFrom(q.record());
    if (q.lastError().isValid()) {
        w.fail(q.lastError().text());
        return std::nullopt;
    }
    return rows;
}

} // namespace

std::optional<QList<Deposit>> listed(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra)
{
    const FilterSql listed = listedSql(filter, QStringLiteral("SELECT * FROM {deposits}.SEP_DAR"), extra);
    return readAll(w, listed.where, listed.binds);
}

std::optional<Deposit> row(db::UnitOfWork& w, int idx)
{
    const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.SEP_DAR WHERE IDX = :Idx"), {{QStringLiteral(":Idx"), idx}});
    if (r.failed()) {
        w.fail(r.error());
        return std::nullopt;
    }
    if (r.empty()) {
        w.fail(QStringLiteral("سپرده مورد نظر يافت نشد"));
        return std::nullopt;
    }
    return depositFrom(*r);
}

bool setRow(db::UnitOfWork& w, int idx, const QString& set, QVariantMap binds, Outcome& out)
{
    binds.insert(QStringLiteral(":Idx"), idx);
    int changed = 0;
    if (!w.update(Store, Table, set, QStringLiteral("IDX = :Idx"), binds, &changed))
        return false;
    if (changed == 0)
        return w.fail(QStringLiteral("سپرده مورد نظر يافت نشد"));
    out.changed += changed;
    return true;
}

QString idxIn(const QList<int>& idx, QVariantMap& binds, const QString& prefix)
{
    QStringList marks;
    for (int i = 0; i < idx.size(); ++i) {
        const QString mark = prefix + QString::number(i);
        marks << mark;
        binds.insert(mark, idx[i]);
    }
    return QStringLiteral("IDX IN (") + (marks.isEmpty() ? QStringLiteral("NULL") : marks.join(QStringLiteral(", "))) + QLatin1Char(')');
}

} // namespace orvak::deposits::work
