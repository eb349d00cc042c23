#pragma once
// The matcher of a month: a pure component over the month's statement lines (in date
// order) and its open deposits. Each credit line takes the first open deposit of the
// same amount (and, as asked, the same cheque/slip date and number) that no earlier
// line took; a line nobody paid a deposit for is to be added as a deposit; a line an
// earlier run matched already is left alone; debits are not matched.
#include <QHash>
#include <QList>
#include <QString>

namespace orvak::statements {

struct MatchCriteria {
    bool sameDate = false;     // "و يکسان بودن تاريخ چک/فيش سپرده و تاريخ  صورتحساب"
    bool sameNumber = false;   // "و يکسان بودن شماره چک/فيش سپرده و شماره صورتحساب"
};

struct MonthLine {
    int row = 0;           // SURATHESAB.ROW
    QString date;          // YYYY/MM/DD
    QString time;
    bool credit = true;
    qint64 amount = 0;
    qint64 document = 0;
    QString transaction;
    QString description;
    qint64 balance = 0;
    bool hasBalance = false;
};

struct OpenDeposit {
    int idx = 0;
    qint64 amount = 0;
    QString chkDate;       // YYYY/MM/DD
    qint64 chkNo = 0;
    QString mark;          // TIKSUDMO as it was
};

enum class LineOutcome {
    Matched,          // an open deposit takes it: marked P
    NotFound,         // no deposit: one is added from the line, marked R
    AlreadyMatched,   // an earlier run took this line
    Debit,            // withdrawals are not matched
};

struct LineMatch {
    int row = 0;
    LineOutcome outcome = LineOutcome::Debit;
    int deposit = 0;      // IDX of the matched deposit
    QString previousMark; // its TIKSUDMO before
    bool operator==(const LineMatch&) const = default;
};

struct MonthMatch {
    QList<LineMatch> lines;   // in the lines' order
    int matched = 0, notFound = 0, alreadyMatched = 0, debits = 0;
    qint64 matchedSum = 0, notFoundSum = 0;
    qint64 runningBalance = 0;   // the bank's balance after the month's last line
};

// consumed: how many lines of each key (lineKey) earlier runs took; the first lines of
// that key in order count as taken.
MonthMatch matchMonth(const QList<MonthLine>& lines, const QList<OpenDeposit>& deposits, const MatchCriteria& criteria,
                      QHash<quint64, int> consumed);

} // namespace orvak::statements
