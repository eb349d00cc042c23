#pragma once
// The guarantee list ("اطلاعات تضمينات") as the screen, orvakctl and the reports
// share it: the query of a filter (every condition a bound parameter), its columns
// with the code texts and looked-up names, the count and total of the amounts, and
// the printed guarantee cards.
#include "core/db/Db.h"
#include "core/io/ListData.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

#include <optional>
#include <vector>

namespace orvak::startup {
class Session;
}

namespace orvak::guarantees {

enum class GuaranteeOrder { Idx, Number, IssueDate, DueDate, Type, Amount, ArchiveRow };
// "كد شناسائي", "شماره تضمين", ... in the order above.
QStringList orderTexts();

// The free condition of the list: a column of ZEMANAT, an operator and a value.
struct FreeCondition {
    QString field;
    QString op;      // "=", "<", ">", "<>", "<=", ">="
    QString value;
};
QStringList conditionOperators();
// The columns the free condition offers, with their captions.
QList<std::pair<QString, QString>> conditionFields();

struct GuaranteeFilter {
    int party = -1;      // TAFSILNO, -1: all
    int contract = -1;   // PAYMENT
    int status = -1;     // ZSTATUSE
    int kind = -1;       // ZKIND
    int type = -1;       // ZTYPE
    bool showCancelled = false;   // "نمايش ابطالي ها"
    bool showSeized = false;      // "نمايش ضبط شده ها"
    QString issuedFrom, issuedTo;     // SUDDATE, YYYY/MM/DD or empty
    QString dueFrom, dueTo;           // SARRESID
    QString voucherFrom, voucherTo;   // SNDSUDDATE
    std::optional<FreeCondition> condition;
    GuaranteeOrder order = GuaranteeOrder::Idx;
};

// The list of a filter; nullopt with the reason when the free condition or a date is
// not one the list takes. Without a filter (the catalogue's copy): every live row.
std::optional<io::ListDefinition> guaranteeList(const GuaranteeFilter& filter, QString* why = nullptr);
io::ListDefinition guaranteeList();

// The letters in a guarantee's history (ZHIST without its scratch rows), by row.
io::ListDefinition guaranteeHistoryList(int idx = -1);   // "guarantee-history"

QList<io::ListDefinition> guaranteeLists();

struct GuaranteeTotals {
    int count = 0;       // "فقره تضمين"
    qint64 amount = 0;   // "مبلغ کل ضمانتنامه ها:"
};
QString countLabel();    // "فقره تضمين"
QString amountLabel();   // "مبلغ کل ضمانتنامه ها:"
db::Fetched<GuaranteeTotals> guaranteeTotals(startup::Session& session, const GuaranteeFilter& filter);
// A totals row read (the sum of the amounts, then the count).
db::Fetched<GuaranteeTotals> totalsOf(const db::Fetched<QSqlRecord>& row);
// Over fetched rows of the list, by their row numbers (the rows a grid shows).
GuaranteeTotals guaranteeTotals(const io::RowSet& rows, const std::vector<int>& shown);

// The IDX of the rows, in the grid's order.
QList<int> idxOf(const io::RowSet& rows, const std::vector<int>& shown);

// "چاپ مشخصات تضمين": one card per guarantee (every field as caption and value),
// in the order given, with the guarantee reports' footer.
db::Fetched<io::ReportModel> guaranteeCards(startup::Session& session, const QList<int>& idx);

} // namespace orvak::guarantees
