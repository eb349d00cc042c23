#pragma once
// The received-deposits list ("سپرده هاي دريافتي") as the screen, orvakctl and the
// reports share it: the query of a filter, its columns with the looked-up names, the
// five totals with their counts, and the person's-deposits report.
#include "core/db/Db.h"
#include "core/deposits/DepositFilter.h"
#include "core/io/ListData.h"
#include "core/io/ListDefinition.h"

#include <vector>

namespace orvak::startup {
class Session;
}

namespace orvak::deposits {

// The list of a filter; its parameters carry the filter's values as defaults.
// Without a filter (the catalogue's copy) it is one month, :MY and :MM.
io::ListDefinition receivedDepositsList(const DepositFilter& filter);
io::ListDefinition receivedDepositsList();
// "گزارش سپرده اشخاص": every deposit of one owner, oldest first.
io::ListDefinition personDepositsList(int owner = -1);

QList<io::ListDefinition> depositLists();

struct TotalLine {
    qint64 sum = 0;
    int count = 0;
};
struct DepositTotals {
    TotalLine amount;          // "جمع کل مبالغ سپرده ها:" every listed row
    TotalLine confirmed;       // confirmed for sending to the treasury (TIKSUDMO = P, the list's "سپرده هاي ارسالي به خزانه")
    TotalLine bankConfirmed;   // confirmed against the bank statement on the entry form (CONTROLBANKOK = 1)
    TotalLine refunded;        // "جمع  استرداد شده :" rows with AMOUNT_RAD not 0
    TotalLine balance;         // "مانده ي سپرده ها:" rows with AMOUNT_MANDEH not 0
    TotalLine sent;            // sent to the treasury (TIK_ERSAL = 1)
    // The lines in the order of totalLabels().
    QList<TotalLine> lines() const { return {amount, confirmed, bankConfirmed, refunded, balance, sent}; }
};
// The labels of the totals, in the order above.
QStringList totalLabels();
// Over the filter's rows; a row whose amount is no amount (text, infinity, beyond
// any sum) fails it with the row named, rather than giving a wrong total.
db::Fetched<DepositTotals> depositTotals(startup::Session& session, const DepositFilter& filter);
// The same over fetched rows of the list (the rows a grid shows), by their row numbers.
db::Fetched<DepositTotals> depositTotals(const io::RowSet& rows, const std::vector<int>& shown);
// The message naming the damaged row.
QString damagedAmountText(qint64 idx);

// The IDX of the listed rows, in list order (the group operations' rows).
db::Fetched<QList<int>> listedIdx(startup::Session& session, const DepositFilter& filter);

} // namespace orvak::deposits
