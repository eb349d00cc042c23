#pragma once
// The lists of the release requests, fund requests, refunds and floats, as their
// screens, orvakctl and the printed reports share them: queries with their
// parameters (-1 or an empty date: any), columns, code texts and totals.
#include "core/io/ListDefinition.h"

namespace orvak::deposits {

// "درخواست  سپرده  صاحبان سپرده ": :Owner, :Contract, :Answered (-1 all, 1, 0).
io::ListDefinition ownerRequestsList();

// "درخواست  وجه سپرده  از خزانه  ": :From, :To (REQDATE), :State (-1 all); in the
// order "تاريخ درخواست", "کد درخواست", "شماره درخواست", "مبلغ درخواست".
enum class FundRequestOrder { Date, Code, Number, Amount };
QStringList fundRequestOrderTexts();
io::ListDefinition fundRequestsList(FundRequestOrder order = FundRequestOrder::Date);

// One request's header (:Req), as the list shows it.
io::ListDefinition fundRequestList();

// "ريز درخواست سپرده از خزانه": the rows of one request (:Req) or of all, with
// :Owner, :Contract, :ReqNo, the request's date range :From/:To and :State:
// -1 "همه", 0 "ارسال نشده به خزانه" (draft), 1 "ارسال شده به خزانه" (1, 2),
// 2 "واريز شده" (3, 4), 3 "استرداد شده" (a refund row names the row).
QStringList rowStateTexts();
io::ListDefinition fundRequestRowsList(bool oneRequest = true);

// "سپرده هاي استردادي": :Owner, :Contract.
io::ListDefinition refundsList();
// One refund's header (:Rad), as the list shows it.
io::ListDefinition refundList();
// A refund's deposit rows and cheques (:Rad), the form's two grids.
io::ListDefinition refundRowsList();
io::ListDefinition refundChequeRowsList();

// The control lists: refunded but never requested (:Since, :Owner, :Contract), and
// requested but not refunded (:Owner, :Contract, :Req).
io::ListDefinition refundedNotRequestedList();
io::ListDefinition requestedNotRefundedList();

// The reports: refunded deposits by refund date (:From, :To, :Owner, :FromFloat -1
// any, 1 only those paid from a float), refund cheques (:From, :To, :Owner,
// :ChkFrom, :ChkTo).
io::ListDefinition refundedDepositsList();
io::ListDefinition refundChequesList();

// "مديريت مبالغ تنخواه", and a float's cheques (:Float, :From, :To).
io::ListDefinition floatsList();
io::ListDefinition floatChequesList();
// The floats received by remittance date (:From, :To) with their totals.
io::ListDefinition floatsReportList();

// A fund-request row's key in the lists that show rows (REQ_IDX and REQ_ROW in one).
qint64 requestRowKey(int reqIdx, int reqRow);

QList<io::ListDefinition> requestRefundLists();

} // namespace orvak::deposits
