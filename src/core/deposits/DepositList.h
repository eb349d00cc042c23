#pragma once
// The received-deposits list ("سپرده هاي دريافتي") as the screen, orvakctl and the
// reports share it: the query of a filter, its columns with the looked-up names, the
// five totals with their counts, and the person's-deposits report.
#include "core/db/Db.h"
#include "core/deposits/DepositFilter.h"
#include "core/io/ListDefinition.h"

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
    TotalLine amount;      // "جمع کل مبالغ سپرده ها:" every listed row
    TotalLine sent;        // listed and sent to the treasury (TIK_ERSAL = 1)
    TotalLine confirmed;   // confirmed against the bank statement (TIKSUDMO = P)
    TotalLine refunded;    // "جمع  استرداد شده :" rows with AMOUNT_RAD not 0
    TotalLine balance;     // "مانده ي سپرده ها:" rows with AMOUNT_MANDEH not 0
};
// The labels of the five totals, in the order above.
QStringList totalLabels();
db::Fetched<DepositTotals> depositTotals(startup::Session& session, const DepositFilter& filter);

// The IDX of the listed rows, in list order (the group operations' rows).
db::Fetched<QList<int>> listedIdx(startup::Session& session, const DepositFilter& filter);

} // namespace orvak::deposits
