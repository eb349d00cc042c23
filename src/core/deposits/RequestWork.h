#pragma once
// What the requests, refunds and floats keep equal inside their units of work: a
// deposit's request marks follow every request that names it, its refunded amount,
// balance and refund marks follow its refund rows, a request's amount and count its
// rows, a refund's amount its deposit rows and a float's balance the refunds paid
// from it. Each is one statement over the rows a condition names, so that a request
// of thousands of rows costs what one row does.
#include "core/accounting/VoucherWriter.h"
#include "core/db/UnitOfWork.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace orvak::deposits::requestwork {

inline constexpr db::Store Store = db::Store::Deposits;

// TIK_DARKHASTVJH / TIK_DARKHASTVJHOK of the deposits (SEP_DAR rows) the condition
// names: 1 while a request that names the deposit stands sent (state 1 or later) /
// confirmed (3 or later), else 0.
bool rewriteMarks(db::UnitOfWork& w, const QString& where, const QVariantMap& binds = {});
// The same for the deposits the request's rows name.
bool rewriteMarksOfRequest(db::UnitOfWork& w, int reqIdx);
// SEP_REQH.REQ_AMOUNT and TEDAD of the requests the condition names (over SEP_REQH).
bool syncRequestTotals(db::UnitOfWork& w, const QString& where, const QVariantMap& binds = {}, int* changed = nullptr);

// AMOUNT_RAD (the sum of the deposit's refund rows), AMOUNT_MANDEH (AMOUNT less it),
// TIK_ESTERDAD (1 while a refund row names it) and TANKHAHSTATUS (1 while one of them
// was paid from a float) of the deposits the condition names.
bool syncDeposits(db::UnitOfWork& w, const QString& where, const QVariantMap& binds = {});
// SEP_RADH.AMOUNT of the refunds the condition names (over SEP_RADH).
bool syncRefundTotals(db::UnitOfWork& w, const QString& where, const QVariantMap& binds = {});
// TANKHAH_TBL.AMOUNT_MANDEH: what was remitted less the refunds paid from the float.
bool syncFloats(db::UnitOfWork& w, const QString& where, const QVariantMap& binds = {});

// "IDX IN (:p0, :p1, ...)" over the column, the values bound (chunks are the caller's).
QString inList(const QString& column, const QList<int>& values, QVariantMap& binds, const QString& prefix);

// A float's balance after the work so far; nullopt (work failed) when unread.
std::optional<qint64> floatBalance(db::UnitOfWork& w, int floatIdx);

// Reads every row of a query inside the work (the query is finished before the
// caller writes again); false with the work failed when the read failed.
bool eachRow(db::UnitOfWork& w, const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlRecord&)>& row);

// The program's fixed account codes, as the session set them when the section opened.
enum class Ledger { Deposits = 0, ReceivingBank = 1, RefundBank = 2, Treasury = 4, GuaranteeIn = 5, GuaranteeOut = 6 };
QString ledgerCode(const startup::Session& session, Ledger ledger);
// A voucher row on a fixed code: the ledger is its first three characters, the
// subsidiary the next five, the whole code the row's account of the newer chart.
accounting::VoucherLine lineOn(const QString& code);

} // namespace orvak::deposits::requestwork
