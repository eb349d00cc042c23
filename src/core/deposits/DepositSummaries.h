#pragma once
// How much of each deposit is still held: the summary reports opened from the
// received-deposits list (summed in SQL over the list's conditions, then named),
// the owner's ledger of receipts and refund cheques with its running balance, the
// owners' balances (today's or as of a date), the balance browser's list and the
// figures of the main window's overview.
#include "core/db/Db.h"
#include "core/deposits/DepositFilter.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

namespace orvak::startup {
class Session;
}

namespace orvak::deposits {

enum class Summary {
    Detailed,          // "صورت ريز سپرده هاي دريافتي", in the list print's models
    ByOwnerContract,   // "ريز سپرده ها"
    ByOwner,
    ByYear,
    ByProject,
    ByContract,
    AllOwners,
    Requested,         // requested and refunded by owner and contract
    NeverRequested,
    PartlyRequested,
    DepositRequests,
    SentToTreasury,
    Yearly,            // "گزارش ساليانه", read from REP_SEP02
};

struct SummaryInfo {
    Summary id;
    QString name;      // orvakctl report NAME
    QString title;     // the report's first title line
    QString kindrep;   // its footer's kind (group 2, the deposit reports)
};
const QList<SummaryInfo>& summaries();
std::optional<SummaryInfo> summaryNamed(const QString& name);
SummaryInfo summaryInfo(Summary id);
// The footer group of every deposit report.
inline constexpr int DepositReportGroup = 2;

struct SummaryRequest {
    // The conditions of the list that opens the report (its period and marks).
    DepositFilter filter;
    int owner = -1;     // by project, by contract: one owner or all (-1)
    int deposit = 0;    // a deposit's requests
    int model = 0;      // the detailed list: a ListPrint model
};

// The report with its footer's signatures; an empty period gives an empty body.
db::Fetched<io::ReportModel> summaryReport(startup::Session& session, Summary id, const SummaryRequest& request);
// The same with the signatures given (no footer read).
db::Fetched<io::ReportModel> summaryReport(startup::Session& session, Summary id, const SummaryRequest& request,
                                           std::vector<io::ReportSignature> signatures);

// The yearly report's rows: the current user's rows of REP_SEP02 replaced, in one
// unit of work, by the sums of the filter's deposits per year, owner, contract and
// kind. The number of rows written.
db::Fetched<int> fillYearlyReport(startup::Session& session, const DepositFilter& filter);

// "دفتر سپرده هاي دريافتي و پرداختي به تفکيک صاحبان سپرده"
struct LedgerLine {
    bool refund = false;     // "استرداد"; otherwise "دريافت"
    QString date;            // SEPDATE of a receipt; empty for a refund
    qint64 document = 0;     // SEPNO; 0 for a refund
    qint64 received = 0;
    qint64 paid = 0;
    qint64 chequeNo = 0;
    QString chequeDate;
    QString description;
    qint64 balance = 0;      // running: received − paid so far
    int idx = 0;             // the deposit (IDX) or the refund (RAD_IDX)
    int project = -1;
};
// The owner's receipts (of the contract, -1 any) and the cheques of the refunds that
// have a row of his (of that contract), ordered by cheque or slip date, receipts
// before refunds on one date.
db::Fetched<QList<LedgerLine>> ownerLedger(startup::Session& session, int owner, int contract = -1);
QString ledgerKindText(const LedgerLine& line);
// The printed ledger (also for the debt register: debtRegister true).
io::ReportModel ledgerReport(const QList<LedgerLine>& lines, const QString& ownerName, bool debtRegister,
                             std::vector<io::ReportSignature> signatures);
// The ledger's searches: the first line at or after from that matches.
enum class LedgerSearch { Receipt, Amount, Project };
int findLedgerLine(const QList<LedgerLine>& lines, LedgerSearch by, qint64 value, int from = 0);
QString ledgerReceiptPromptText();   // "شماره قبض/فيش را وارد كنيد"

struct OwnerBalance {
    int owner = 0;
    QString name;
    qint64 amount = 0;     // received
    qint64 refunded = 0;
    qint64 balance = 0;
    int deposits = 0;
};
// Per owner with deposits (one owner, or all: -1), ordered by code. Without a date
// the stored AMOUNT_RAD and AMOUNT_MANDEH; as of a date (YYYY/MM/DD) the deposits
// paid in by then (CHKDATE) less their refund rows of refunds dated by then.
db::Fetched<QList<OwnerBalance>> ownerBalances(startup::Session& session, int owner = -1, const QString& asOf = {});

// The balance browser "مرور و گزارش سپرده هاي دريافتي": the received-deposits
// list's conditions and order with the balance kind, its kind text for kinds 1..3
// only.
enum class BalanceKind { All, Zero, NonZero };
QStringList balanceKindTexts();   // "همه سپرده ها", "سپرده  بدون مانده", "سپرده هاي داراي مانده"
QString balanceKindSql(BalanceKind kind);
io::ListDefinition balanceBrowserList(const DepositFilter& filter, BalanceKind kind);
io::ListDefinition balanceBrowserList();
QString browserKindText(int kind);

// The main window's overview for users with deposit rights.
struct DepositOverview {
    qint64 openBalance = 0;       // sum of AMOUNT_MANDEH
    int openDeposits = 0;
    int awaitingReceipt = 0;      // no receipt number yet
    int awaitingTreasury = 0;     // requested from the treasury, not yet paid in
    int creditMissing = 0;        // requested rows without a credit notice
};
db::Fetched<DepositOverview> depositOverview(startup::Session& session);

// By month of the year: received (AMOUNT by MM) and refunded (refund rows by the
// refund's month); by kind: balance; the largest owners by balance.
struct ChartPoint {
    QString label;
    qint64 value = 0;
    qint64 second = 0;
};
db::Fetched<QList<ChartPoint>> receivedRefundedByMonth(startup::Session& session, int year);
db::Fetched<QList<ChartPoint>> balanceByKind(startup::Session& session);
db::Fetched<QList<ChartPoint>> largestOwners(startup::Session& session, int count = 10);

} // namespace orvak::deposits
