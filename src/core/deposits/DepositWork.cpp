#include "core/deposits/DepositWork.h"

#include "core/startup/Program.h"

#include <QHash>
#include <QSet>
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

QString listChangedText(int idx)
{
    return QStringLiteral("سپرده شناسه %1 ديگر در فهرست نيست؛ فهرست تغيير کرده است. فهرست را دوباره باز کنيد").arg(idx);
}

namespace {

std::optional<QList<int>> idxOf(db::UnitOfWork& w, const QString& sql, const QVariantMap& binds)
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
    QList<int> idx;
    while (q.next())
        idx << q.value(0).toInt();
    if (q.lastError().isValid()) {
        w.fail(q.lastError().text());
        return std::nullopt;
    }
    return idx;
}

// The grid's rows checked against the conditions' rows (all of them must still be
// there), then narrowed by extra; in the grid's order.
std::optional<QList<int>> shownRows(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra)
{
    const FilterSql all = listedSql(filter, QStringLiteral("SELECT IDX FROM {deposits}.SEP_DAR"));
    const std::optional<QList<int>> listedNow = idxOf(w, all.where, all.binds);
    if (!listedNow)
        return std::nullopt;
    const QSet<int> present(listedNow->cbegin(), listedNow->cend());
    for (int idx : *filter.shown) {
        if (!present.contains(idx)) {
            w.fail(listChangedText(idx));
            return std::nullopt;
        }
    }
    if (extra.isEmpty())
        return *filter.shown;
    const FilterSql narrowed = listedSql(filter, QStringLiteral("SELECT IDX FROM {deposits}.SEP_DAR"), extra);
    const std::optional<QList<int>> kept = idxOf(w, narrowed.where, narrowed.binds);
    if (!kept)
        return std::nullopt;
    const QSet<int> keep(kept->cbegin(), kept->cend());
    QList<int> out;
    for (int idx : *filter.shown) {
        if (keep.contains(idx))
            out << idx;
    }
    return out;
}

} // namespace

std::optional<QList<int>> listedIdx(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra)
{
    if (filter.shown)
        return shownRows(w, filter, extra);
    const FilterSql listed = listedSql(filter, QStringLiteral("SELECT IDX FROM {deposits}.SEP_DAR"), extra);
    return idxOf(w, listed.where, listed.binds);
}

std::optional<QList<Deposit>> listed(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra)
{
    const FilterSql listed = listedSql(filter, QStringLiteral("SELECT * FROM {deposits}.SEP_DAR"), extra);
    std::optional<QList<Deposit>> rows = readAll(w, listed.where, listed.binds);
    if (!rows || !filter.shown)
        return rows;
    const std::optional<QList<int>> shown = shownRows(w, filter, extra);
    if (!shown)
        return std::nullopt;
    QHash<int, qsizetype> at;
    for (qsizetype i = 0; i < rows->size(); ++i)
        at.insert((*rows)[i].idx, i);
    QList<Deposit> ordered;
    ordered.reserve(shown->size());
    for (int idx : *shown)
        ordered << (*rows)[at.value(idx)];
    return ordered;
}

bool updateRows(db::UnitOfWork& w, const QList<int>& idx, const QString& set, const QVariantMap& binds, const QString& where, int* changed)
{
    int total = 0;
    for (qsizetype from = 0; from < idx.size(); from += Chunk) {
        QVariantMap all = binds;
        QString condition = idxIn(idx.mid(from, Chunk), all, QStringLiteral(":r"));
        if (!where.isEmpty())
            condition += QStringLiteral(" AND (") + where + QLatin1Char(')');
        int n = 0;
        if (!w.update(Store, Table, set, condition, all, &n))
            return false;
        total += n;
    }
    if (changed)
        *changed = total;
    return true;
}

bool updateListed(db::UnitOfWork& w, const DepositFilter& filter, const QString& set, const QVariantMap& binds, const QString& extra,
                  int* changed)
{
    const FilterSql f = filterSql(filter, extra);
    QVariantMap all = f.binds;
    all.insert(binds);
    if (!filter.shown)
        return w.update(Store, Table, set, f.where, all, changed);
    const std::optional<QList<int>> rows = shownRows(w, filter, extra);
    return rows && updateRows(w, *rows, set, binds, {}, changed);
}

bool removeListed(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra, int* removed)
{
    const FilterSql f = filterSql(filter, extra);
    if (!filter.shown)
        return w.remove(Store, Table, f.where, f.binds, removed);
    const std::optional<QList<int>> rows = shownRows(w, filter, {});
    if (!rows)
        return false;
    int total = 0;
    for (qsizetype from = 0; from < rows->size(); from += Chunk) {
        QVariantMap binds;
        QString condition = idxIn(rows->mid(from, Chunk), binds, QStringLiteral(":r"));
        if (!extra.isEmpty())
            condition += QStringLiteral(" AND ") + extra;
        int n = 0;
        if (!w.remove(Store, Table, condition, binds, &n))
            return false;
        total += n;
    }
    if (removed)
        *removed = total;
    return true;
}

std::optional<int> listedCount(db::UnitOfWork& w, const DepositFilter& filter)
{
    if (filter.shown) {
        const std::optional<QList<int>> rows = shownRows(w, filter, {});
        return rows ? std::optional<int>(int(rows->size())) : std::nullopt;
    }
    const FilterSql f = filterSql(filter);
    const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_DAR WHERE ") + f.where, f.binds);
    if (!n) {
        w.fail(n.failed() ? n.error() : QStringLiteral("سپرده ها شمرده نشد"));
        return std::nullopt;
    }
    return n->toInt();
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
