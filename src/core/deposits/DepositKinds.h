#pragma once
// The kinds of deposit with the ledger code of their account, the eighteen months of
// a year's lists (twelve, then six supplementary ones), and the fixed description
// phrases the entry form offers beside SEPDESCR's.
#include "core/io/ListDefinition.h"

#include <QString>
#include <QStringList>

namespace orvak::deposits {

inline constexpr int KindCount = 26;
inline constexpr int MonthCount = 18;

struct DepositKind {
    int code = 0;      // SEPKIND
    QString ledger;    // the deposit account's code, e.g. "127000001"
    QString text;
};
const QList<DepositKind>& depositKinds();   // in the order the form offers them
// The ledger code of a kind; empty outside 1..26.
QString kindLedger(int kind);
// The form's entry: "01)127000001:سپرده حسن انجام كار 10 درصد".
QString kindFormText(int kind);
QStringList kindFormTexts();
// As lists and reports show it: "1)سپرده حسن انجام كار 10 درصد"; empty outside 1..26.
QString kindListText(int kind);
io::CodeTexts kindCodeTexts();

// "01)فروردين" … "18)شهريورماه متمم"; monthText(m) for 1..18, empty otherwise.
QString monthText(int month);
QStringList monthTexts();
// The bare name: "فروردين", "فروردين متمم".
QString monthName(int month);

QStringList fixedDescriptions();

} // namespace orvak::deposits
