#pragma once
// The guarantee register (ZEMANAT): a new guarantee's proposed values, the save with
// its checks and questions in order, the duplicate questions, deleting, the booking
// voucher, the due date from a duration and the advance-payment value, and the
// per-party summary. Every change is one unit of work with its history; writing
// needs the user's write level (SEL2) 0 or 2 and the bit of the access entry
// "اطلاعات تضمينات" (insert, edit, delete), both read as they stand when the
// operation runs. A read that fails refuses.
//
// What the guarantee operations build on: read() and readIn() for a guarantee,
// writeRefusal() for the write level inside their own work, and Outcome.
#include "core/accounting/VoucherWriter.h"
#include "core/guarantees/Guarantee.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::guarantees {

// The access entries "اطلاعات تضمينات" and "گزارشات تضمينات".
inline constexpr int GuaranteesMenuId = 10;
inline constexpr int GuaranteeReportsMenuId = 11;

struct Outcome {
    bool done = false;
    int changed = 0;
    QString message;   // the refusal or failure as told (empty when the user said no)
    int voucher = 0;   // the voucher posted, where one was
    explicit operator bool() const { return done; }
};

// The messages of the register.
QString dueBeforeIssueText();     // "تاريخ سررسيد از تاريخ صدور كمتر است"
QString noAmountText();           // "مبلغ وارد نشده است"
QString noBankText();             // "بانك وارد نشده است"
QString issueRequestQuestion();   // "شماره تضمين وارد نشده است.درخواست صدور مي شود ؟"
QString duplicateSaveQuestion();  // "شماره تضمين تكراري است!ادامه ميدهيد؟"
QString duplicateLeaveQuestion(); // "شماره تضمين تكراري است. ادامه ميدهيد ؟"
QString archiveRepeatText();      // "توجه: شماره بايگاني تکراري است"
QString writeRefusalText();       // "امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"
QString notFoundText();           // the guarantee is no longer there

// The booking voucher's number (0: the last + 1) and date.
struct BookingChoice {
    int number = 0;
    QString date;
};

// The sums of one party's guarantees (the detail accounts' summary): the live rows
// (status not cancelled) with their current and initial amounts, and the cancelled.
struct PartySummary {
    qint64 liveAmount = 0;
    qint64 liveInitialAmount = 0;
    qint64 cancelledAmount = 0;
};

class Guarantees {
public:
    explicit Guarantees(startup::Session& session);

    // Why the user may not write now; nullopt when he may. Inside a unit of work the
    // level is read through it.
    std::optional<QString> writeRefusal() const;
    static std::optional<QString> writeRefusal(db::UnitOfWork& w, const startup::Session& session);
    bool mayWrite(startup::Prompt& prompt) const;
    // The write level and the access bit (startup::AccessInsert, AccessEditOwn,
    // AccessDelete) of "اطلاعات تضمينات"; false tells the refusal.
    bool mayChange(int accessBit, startup::Prompt& prompt) const;

    db::Fetched<Guarantee> read(int idx) const;
    static std::optional<Guarantee> readIn(db::UnitOfWork& w, int idx);

    // A new guarantee: the next identification code and archive row, issued today,
    // valid, a bank guarantee for the performance of obligations, in rials.
    db::Fetched<Guarantee> newGuarantee() const;

    // Another guarantee (another IDX) of the same party with the same number; an
    // empty number is nobody's duplicate.
    db::Fetched<bool> duplicateNumber(const Guarantee& g) const;
    // Another guarantee with the same archive row.
    db::Fetched<bool> duplicateArchiveRow(const Guarantee& g) const;
    // Leaving the number field: the question when it is a duplicate; false when the
    // user answered no (or the check could not be read, told).
    bool confirmNumber(const Guarantee& g, startup::Prompt& prompt) const;
    // Leaving the archive-row field: the warning when it is repeated.
    void warnArchiveRow(const Guarantee& g, startup::Prompt& prompt) const;

    // "ذخيره و جديد(F9)" / "ذخيره و خروج (F10)": the checks in order with their
    // messages and questions; the saved IDX, nullopt when nothing was written.
    std::optional<int> save(const Guarantee& g, bool insert, startup::Prompt& prompt);

    // "حذف(DEL)": refused while the guarantee has letters in its history or a booking
    // voucher; asks, then deletes the row (with its scratch history rows).
    Outcome remove(int idx, startup::Prompt& prompt);

    // The booking voucher: the type's ledger debited and the nature's credited with
    // the amount, the party and contract as detail accounts, posted in the same unit
    // of work that writes SNDNO, SNDROW, SNDYER, SNDC and SNDSUDDATE.
    Outcome book(int idx, const BookingChoice& choice, startup::Prompt& prompt);
    // The rejection of a booking voucher clears the guarantees' references to it.
    static bool clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted);

    // The due date from the issue date and a duration; tells "تاريخ صدور وارد نشده است"
    // without an issue date.
    std::optional<QString> dueFromDuration(const QString& issueDate, int months, startup::Prompt& prompt) const;
    // The advance-payment value of the contract at a rate (thousandths); nullopt, told,
    // when the nature is not advance payment or the contract cannot be read.
    std::optional<qint64> advanceFromContract(const Guarantee& g, int perThousand, startup::Prompt& prompt) const;

    db::Fetched<PartySummary> partySummary(int party) const;
    // A bank branch's name as the entry screen shows it beside its code ("ملي - مرکزي").
    db::Fetched<QString> branchName(int code) const;

private:
    // The first of the save's own checks that fails (dates that are no dates, codes
    // nobody holds, texts too long, codes outside their lists).
    std::optional<QString> badField(Guarantee& g) const;

    startup::Session& session_;
};

} // namespace orvak::guarantees
