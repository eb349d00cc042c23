#include "core/deposits/RequestWork.h"

#include "core/deposits/Deposit.h"
#include "core/startup/Session.h"

namespace orvak::deposits::requestwork {

namespace {

// Whether a request in the given state or later names the deposit.
QString requestedAt(int state)
{
    return QStringLiteral("(CASE WHEN EXISTS (SELECT 1 FROM {deposits}.SEP_REQR q JOIN {deposits}.SEP_REQH h ON h.REQ_IDX = q.REQ_IDX "
                          "WHERE q.SEPIDX = SEP_DAR.IDX AND COALESCE(h.REQSTATUSE, 0) >= %1) THEN 1 ELSE 0 END)")
        .arg(state);
}

const QString RefundedSum = QStringLiteral("(SELECT COALESCE(SUM(r.AMOUNT), 0) FROM {deposits}.SEP_RADR1 r WHERE r.SEPIDX = SEP_DAR.IDX)");
const QString HasRefund =
    QStringLiteral("(CASE WHEN EXISTS (SELECT 1 FROM {deposits}.SEP_RADR1 r WHERE r.SEPIDX = SEP_DAR.IDX) THEN 1 ELSE 0 END)");
const QString FromFloat = QStringLiteral("(CASE WHEN EXISTS (SELECT 1 FROM {deposits}.SEP_RADR1 r JOIN {deposits}.SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
                                         "WHERE r.SEPIDX = SEP_DAR.IDX AND COALESCE(h.TIK_AZTANKHAH, 0) = 1) THEN 1 ELSE 0 END)");

// Only the rows whose columns change are written (and so only they are in the history).
bool updateChanged(db::UnitOfWork& w, const QString& table, const QList<std::pair<QString, QString>>& columns, const QString& where,
                   const QVariantMap& binds, int* changed = nullptr)
{
    QStringList set, differs;
    for (const auto& [column, value] : columns) {
        set << column + QStringLiteral(" = ") + value;
        differs << QStringLiteral("COALESCE(%1, -1) <> %2").arg(column, value);
    }
    const QString condition = QLatin1Char('(') + where + QStringLiteral(") AND (") + differs.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    return w.update(Store, table, w.resolve(set.join(QStringLiteral(", "))), condition, binds, changed);
}

} // namespace

bool rewriteMarks(db::UnitOfWork& w, const QString& where, const QVariantMap& binds)
{
    return updateChanged(w, QStringLiteral("SEP_DAR"),
                         {{QStringLiteral("TIK_DARKHASTVJH"), requestedAt(1)}, {QStringLiteral("TIK_DARKHASTVJHOK"), requestedAt(3)}}, where, binds);
}

bool rewriteMarksOfRequest(db::UnitOfWork& w, int reqIdx)
{
    return rewriteMarks(w, QStringLiteral("IDX IN (SELECT SEPIDX FROM {deposits}.SEP_REQR WHERE REQ_IDX = :MarksReq)"),
                        {{QStringLiteral(":MarksReq"), reqIdx}});
}

bool syncRequestTotals(db::UnitOfWork& w, const QString& where, const QVariantMap& binds, int* changed)
{
    return updateChanged(
        w, QStringLiteral("SEP_REQH"),
        {{QStringLiteral("REQ_AMOUNT"), QStringLiteral("(SELECT COALESCE(SUM(r.AMOUNT), 0) FROM {deposits}.SEP_REQR r WHERE r.REQ_IDX = SEP_REQH.REQ_IDX)")},
         {QStringLiteral("TEDAD"), QStringLiteral("(SELECT COUNT(*) FROM {deposits}.SEP_REQR r WHERE r.REQ_IDX = SEP_REQH.REQ_IDX)")}},
        where, binds, changed);
}

bool syncDeposits(db::UnitOfWork& w, const QString& where, const QVariantMap& binds)
{
    return updateChanged(w, QStringLiteral("SEP_DAR"),
                         {{QStringLiteral("AMOUNT_RAD"), RefundedSum},
                          {QStringLiteral("AMOUNT_MANDEH"), QStringLiteral("(COALESCE(AMOUNT, 0) - ") + RefundedSum + QLatin1Char(')')},
                          {QStringLiteral("TIK_ESTERDAD"), HasRefund},
                          {QStringLiteral("TANKHAHSTATUS"), FromFloat}},
                         where, binds);
}

bool syncRefundTotals(db::UnitOfWork& w, const QString& where, const QVariantMap& binds)
{
    return updateChanged(
        w, QStringLiteral("SEP_RADH"),
        {{QStringLiteral("AMOUNT"), QStringLiteral("(SELECT COALESCE(SUM(r.AMOUNT), 0) FROM {deposits}.SEP_RADR1 r WHERE r.RAD_IDX = SEP_RADH.RAD_IDX)")}},
        where, binds);
}

bool syncFloats(db::UnitOfWork& w, const QString& where, const QVariantMap& binds)
{
    return updateChanged(w, QStringLiteral("TANKHAH_TBL"),
                         {{QStringLiteral("AMOUNT_MANDEH"),
                           QStringLiteral("(COALESCE(HAVALEHAMOUNT, 0) - (SELECT COALESCE(SUM(h.AMOUNT), 0) FROM {deposits}.SEP_RADH h "
                                          "WHERE COALESCE(h.TIK_AZTANKHAH, 0) = 1 AND h.TANKHAH_IDX = TANKHAH_TBL.IDX))")}},
                         where, binds);
}

QString inList(const QString& column, const QList<int>& values, QVariantMap& binds, const QString& prefix)
{
    QStringList marks;
    for (int i = 0; i < values.size(); ++i) {
        const QString mark = prefix + QString::number(i);
        marks << mark;
        binds.insert(mark, values[i]);
    }
    return column + QStringLiteral(" IN (") + (marks.isEmpty() ? QStringLiteral("NULL") : marks.join(QStringLiteral(", "))) + QLatin1Char(')');
}

std::optional<qint64> floatBalance(db::UnitOfWork& w, int floatIdx)
{
    const auto v = w.scalar(QStringLiteral("SELECT COALESCE(HAVALEHAMOUNT, 0) - (SELECT COALESCE(SUM(h.AMOUNT), 0) FROM {deposits}.SEP_RADH h "
                                           "WHERE COALESCE(h.TIK_AZTANKHAH, 0) = 1 AND h.TANKHAH_IDX = :F) FROM {deposits}.TANKHAH_TBL WHERE IDX = :F"),
                            {{QStringLiteral(":F"), floatIdx}});
    if (!v) {
        w.fail(v.failed() ? v.error() : QStringLiteral("تنخواه مورد نظر يافت نشد"));
        return std::nullopt;
    }
    return rialsOf(*v);
}

bool eachRow(db::UnitOfWork& w, const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlRecord&)>& row)
{
    const QString text = w.resolve(sql);
    if (!w.ok())
        return false;
    QSqlQuery q(w.connection());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, text, binds, &why) || !q.exec())
        return w.fail(why.isEmpty() ? q.lastError().text() : why);
    while (q.next())
        row(q.record());
    if (q.lastError().isValid())
        return w.fail(q.lastError().text());
    return true;
}

QString ledgerCode(const startup::Session& session, Ledger ledger)
{
    static const char* const fallback[] = {"21007", "11005001", "11006002", "", "11512", "81001", "82001"};
    const int i = int(ledger);
    const QString code = session.defaultLedgerCodes().value(i);
    return code.isEmpty() ? QString::fromLatin1(fallback[i]) : code;
}

accounting::VoucherLine lineOn(const QString& code)
{
    accounting::VoucherLine l;
    l.kol = code.left(3).toInt();
    l.moin = code.mid(3, 5).toInt();
    l.account = code;
    return l;
}

} // namespace orvak::deposits::requestwork
