#pragma once
// "جستجو در اطلاعات تضمينات": guarantees by nature, type, party, contract, project,
// bank branch or bank, the ticked statuses and three date ranges, in a chosen order,
// with their count and total, and the two printed lists. It only reads.
#include "core/db/Db.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

#include <optional>

namespace orvak::startup {
class Session;
}

namespace orvak::guarantees {

enum class SearchOrder { Idx, Number, Type, Nature, DueDate, Party, Branch, Project, Contract, ArchiveRow, IssueDate };
// "شماره شناسائي", "شماره تضمين", ... in the order above.
QStringList searchOrderTexts();
// "همه", then the four natures of the search; "همه", then the first fourteen types.
QStringList searchNatureTexts();
QStringList searchTypeTexts();
// The status tick boxes: "همه" first, then the codes each adds.
struct StatusTick {
    QString label;
    int code = -1;   // -1: "همه"
};
const QList<StatusTick>& statusTicks();
QString searchTitle();         // "جستجو در اطلاعات تضمينات"
QString searchCountSuffix();   // " فقره تضمين"

struct SearchFilter {
    QString number;      // ZNO containing this text; empty: any
    int nature = -1;     // ZKIND
    int type = -1;       // ZTYPE
    int party = -1;      // TAFSILNO
    int contract = -1;   // PAYMENT
    int project = -1;    // PROJNO
    int branch = -1;     // SUDBANKCODE
    int bank = -1;       // every branch of the bank (BANKNAME.CODE)
    QString dueFrom, dueTo;         // SARRESID; an empty end has no bound
    QString issueFrom, issueTo;     // SUDDATE
    QString cancelFrom, cancelTo;   // EBTALDATE
    QList<int> statuses;            // ticked; empty: every status
    SearchOrder order = SearchOrder::Idx;
};

// The list ("guarantees-search") for a filter: the bank's branches are read first
// (a bank without one finds nothing). nullopt with the reason for a date that is no
// date, a range that ends before it starts, a status outside the list, or a failed read.
std::optional<io::ListDefinition> searchList(startup::Session& session, const SearchFilter& filter, QString* why = nullptr);
io::ListDefinition searchList();   // the catalogue's: every guarantee
db::Fetched<GuaranteeTotals> searchTotals(startup::Session& session, const SearchFilter& filter);

// "فهرست ضمانتنامه ها" (form number 2) and "فهرست تضمينات به تفکيک شعب" (grouped by
// branch, with the branch's sub-total) over guarantees in the order given.
db::Fetched<io::ReportModel> searchReport(startup::Session& session, const QList<int>& idx);
db::Fetched<io::ReportModel> searchReportByBranch(startup::Session& session, const QList<int>& idx);

} // namespace orvak::guarantees
