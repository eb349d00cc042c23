#include "core/statements/Matcher.h"

#include "core/statements/StatementStore.h"

namespace orvak::statements {

namespace {

// The look-up key of a deposit or a line under the criteria: the amount, with the
// date and number where they must agree too.
QString keyOf(qint64 amount, const QString& date, qint64 number, const MatchCriteria& c)
{
    QString key = QString::number(amount);
    if (c.sameDate)
        key += QLatin1Char('|') + date;
    if (c.sameNumber)
        key += QLatin1Char('|') + QString::number(number);
    return key;
}

struct Bucket {
    QList<int> deposits;   // positions in the deposits' list, in their order
    int next = 0;          // the first not taken
};

} // namespace

MonthMatch matchMonth(const QList<MonthLine>& lines, const QList<OpenDeposit>& deposits, const MatchCriteria& criteria,
                      QHash<quint64, int> consumed)
{
    // One hash look-up per line: never a scan of the month's deposits.
    QHash<QString, Bucket> buckets;
    buckets.reserve(deposits.size());
    for (int i = 0; i < deposits.size(); ++i) {
        const OpenDeposit& d = deposits[i];
        buckets[keyOf(d.amount, d.chkDate, d.chkNo, criteria)].deposits << i;
    }
    MonthMatch m;
    m.lines.reserve(lines.size());
    bool first = true;
    for (const MonthLine& l : lines) {
        if (first) {
            m.runningBalance = l.hasBalance ? l.balance - (l.credit ? l.amount : -l.amount) : 0;
            first = false;
        }
        m.runningBalance += l.credit ? l.amount : -l.amount;
        if (l.hasBalance)
            m.runningBalance = l.balance;
        LineMatch out;
        out.row = l.row;
        if (!l.credit || l.amount <= 0) {
            out.outcome = LineOutcome::Debit;
            ++m.debits;
            m.lines << out;
            continue;
        }
        auto taken = consumed.find(lineKey(l.date, l.time, true, l.amount, l.document));
        if (taken != consumed.end() && *taken > 0) {
            --*taken;
            out.outcome = LineOutcome::AlreadyMatched;
            ++m.alreadyMatched;
            m.lines << out;
            continue;
        }
        auto b = buckets.find(keyOf(l.amount, l.date, l.document, criteria));
        if (b != buckets.end() && b->next < b->deposits.size()) {
            out.outcome = LineOutcome::Matched;
            const OpenDeposit& d = deposits[b->deposits[b->next++]];
            out.deposit = d.idx;
            out.previousMark = d.mark;
            ++m.matched;
            m.matchedSum += l.amount;
        } else {
            out.outcome = LineOutcome::NotFound;
            ++m.notFound;
            m.notFoundSum += l.amount;
        }
        m.lines << out;
    }
    return m;
}

} // namespace orvak::statements
