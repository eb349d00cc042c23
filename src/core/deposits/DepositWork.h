#pragma once
// What the register's operations share: the write level read inside the work, the
// work itself with its outcome, and the listed rows of a filter read inside it.
#include "core/deposits/DepositFilter.h"
#include "core/deposits/ReceivedDeposits.h"

#include <QSqlRecord>

namespace orvak::deposits::work {

inline const QString Table = QStringLiteral("SEP_DAR");
inline constexpr db::Store Store = db::Store::Deposits;

inline const QString NothingEnteredText = QStringLiteral("هيچ اطلاعاتي وارد نشده است");
inline const QString SureText = QStringLiteral(" مطمئن هستيـــد ؟ ");
// Rows bound per statement: fewer than SQL Server's 2,100 bound values.
inline constexpr int Chunk = 500;

// A column of a read record: its trimmed text, and its number (otherwise when NULL).
inline QString textOf(const QSqlRecord& r, const char* column) { return r.value(QString::fromLatin1(column)).toString().trimmed(); }
inline int intOf(const QSqlRecord& r, const char* column, int otherwise = 0)
{
    const QVariant v = r.value(QString::fromLatin1(column));
    return v.isNull() ? otherwise : v.toInt();
}
// Rows that other registers lean on: a refund, a request or a credit notice.
inline const QString ReferencedSql = QStringLiteral(
    "(COALESCE(ELAMBESIDX, 0) <> 0 OR COALESCE(TIKBESTANKARI, '') = '1'"
    " OR EXISTS (SELECT 1 FROM {deposits}.SEP_RADR1 r WHERE r.SEPIDX = SEP_DAR.IDX)"
    " OR EXISTS (SELECT 1 FROM {deposits}.SEP_REQR q WHERE q.SEPIDX = SEP_DAR.IDX))");
// Rows a delete refuses: matched, half matched or final.
inline const QString FinalSql = QStringLiteral("(COALESCE(TIKSUDMO, '') IN ('P', 'R') OR COALESCE(ALTP, 0) = 1)");
inline QString referencedText() { return QStringLiteral("اين سپرده در استرداد، درخواست يا اعلاميه بستانکاري آمده است و نمي تواند حذف شود"); }

// A typed date: empty (no digit typed, "    /  /  ") or a real Jalali date as
// YYYY/MM/DD; nullopt when it is no date.
std::optional<QString> dateOf(const QString& text);

// Why the user may not write now (SEL2 of his PROGUSERS row, 0 / NULL or 2 allowed);
// nullopt when he may. A read that fails or finds no row refuses.
std::optional<QString> writeRefusal(const db::Fetched<QVariant>& level);
QString levelSql();
QVariantMap levelBinds(const startup::Session& session);

// A refusal told to the user.
Outcome refused(startup::Prompt& prompt, const QString& text);
// The user said no: nothing done, nothing to tell.
Outcome cancelled();
// The write level refused (already told).
Outcome writeRefused();
// The refusal when the row an operation starts from could not be read; nullopt
// when it was.
std::optional<Outcome> missing(const db::Fetched<Deposit>& row, startup::Prompt& prompt);

// Runs body as one unit of work after the write level; on failure nothing is kept,
// the reason is told and returned.
Outcome run(startup::Session& session, startup::Prompt& prompt, const std::function<bool(db::UnitOfWork&, Outcome&)>& body);

// The listed rows (whole records) in list order, read inside the work; extra narrows
// the filter further. With the grid's shown rows, those rows in the grid's order: one
// that is no longer among the conditions' rows fails the work (the list changed).
std::optional<QList<Deposit>> listed(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra = {});
// Their IDX alone, the same way.
std::optional<QList<int>> listedIdx(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra = {});
// The listed rows changed by one update (set, with the filter's conditions and extra),
// or, with the grid's shown rows, by updates over those rows in chunks.
bool updateListed(db::UnitOfWork& w, const DepositFilter& filter, const QString& set, const QVariantMap& binds, const QString& extra,
                  int* changed);
// The same for deleting them.
bool removeListed(db::UnitOfWork& w, const DepositFilter& filter, const QString& extra, int* removed);
// How many rows are listed (before extra narrows anything).
std::optional<int> listedCount(db::UnitOfWork& w, const DepositFilter& filter);
// Rows by IDX, a chunk at a time so that no statement binds too many values.
bool updateRows(db::UnitOfWork& w, const QList<int>& idx, const QString& set, const QVariantMap& binds, const QString& where, int* changed);

// The message when a row the grid shows is no longer one of the list's.
QString listChangedText(int idx);

// A row read inside the work; failing the work when it is not there.
std::optional<Deposit> row(db::UnitOfWork& w, int idx);
// One row's columns set by IDX.
bool setRow(db::UnitOfWork& w, int idx, const QString& set, QVariantMap binds, Outcome& out);

// "IDX IN (:i0, :i1, ...)" with the values bound.
QString idxIn(const QList<int>& idx, QVariantMap& binds, const QString& prefix = QStringLiteral(":i"));

} // namespace orvak::deposits::work
