#pragma once
// The accounting database as other screens reach it: the ledger pickers, the voucher
// viewer, the voucher search, the month picker and the voucher-issue dialog. Each
// reads the accounting database of the session's current section and year; with
// none open they show empty lists (the session says why once).
#include "core/accounting/VoucherWriter.h"
#include "ui/framework/Picker.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace orvak::ui::accounting {

using orvak::startup::Session;
using Pick = std::optional<framework::PickResult>;

// "فهرست حسابهاي كل": CODE, NAME.
Pick pickGeneralLedger(QWidget* parent, Session& session);
// "فهرست معين" under a general ledger (-1: "همه معينها" from the start): KOL, CODE, NAME, KOLNAME.
Pick pickSubsidiaryLedger(QWidget* parent, Session& session, int kol = -1);

// "نمايش اسناد حسابداري ": number 0 asks "شماره سند را وارد كنيد" first. Only reads.
void showVoucher(QWidget* parent, Session& session, int number = 0);

// What a caller puts into the voucher search before it runs (0 / empty: not given).
struct VoucherSearchPreset {
    enum class Side { Debit, Credit, Either };
    qint64 amount = 0;
    Side side = Side::Either;
    qint64 chequeNo = 0;
    int kol = 0;
    int moin = 0;
    int tafsil = 0;
    bool runAtOnce = false;   // search before the screen is shown
};
// "جستجو در اسناد": F10 hands the found row back with its voucher's date (SNDDATE);
// nullopt when the user leaves.
struct FoundVoucherRow {
    orvak::accounting::VoucherRow row;
    QString voucherDate;
};
std::optional<FoundVoucherRow> searchVouchers(QWidget* parent, Session& session, const VoucherSearchPreset& preset = {});
// The search as a screen of its own (from the menu): nothing is handed back.
QWidget* makeVoucherSearchScreen(Session& session, QWidget* parent);

// "انتخاب ماه": the year (previous, current or next) and the month 1..12.
struct MonthChoice {
    int year = 0;
    int month = 0;
};
std::optional<MonthChoice> pickMonth(QWidget* parent, Session& session);

// "صدور سند حسابداري": what the user settled before posting.
struct VoucherIssue {
    int number = 0;
    QString date;                  // YYYY/MM/DD
    int year = 0;                  // of the accounting database written to
    bool clearEarlier = false;     // "حذف محتواي قبلي سند حسابداري فوق"
    QString expenseNumber;         // the expense voucher's number and date, as typed
    QString expenseDate;
    QString description;           // as typed, where the request offers the field
    // What the posting added (its rows, whether it made the head), once posted.
    std::optional<orvak::accounting::PostedVoucher> posted;
};
struct VoucherIssueRequest {
    int number = 0;                // handed over by the caller; 0: the last voucher + 1
    QString title;                 // the dialog's caption, e.g. "صدور سند حسابداري مبلغ اوليه قرارداد"
    // The voucher's description, shown to be changed before posting; none: no field.
    std::optional<QString> description;
    // "عدم تائيد سند" clears, in the same unit of work, the references the caller's
    // posting wrote on its register's rows; none when it wrote none.
    orvak::accounting::ClearReferences clearReferences;
};
// Posts through the caller's service (one unit of work there, so the register's
// reference is written with the voucher); returns an empty text, or the reason.
using PostVoucher = std::function<QString(const VoucherIssue&)>;
// What a post returns when the user stopped it at a question of its own: the dialog
// stays as it was and shows no error.
QString stoppedByUser();
// The dialog: "توليد سند( F10 )" calls post (the line "سند شماره … رديف …" follows each
// row it writes), then offers "تائيد سند" and "عدم تائيد سند" on the posted voucher,
// the latter taking back exactly what the posting added; "نمايش و چاپ سند (F9)"
// opens the viewer. Returns the issue when a voucher was posted and not rejected
// afterwards.
std::optional<VoucherIssue> issueVoucher(QWidget* parent, Session& session, const VoucherIssueRequest& request,
                                         const PostVoucher& post);

} // namespace orvak::ui::accounting
