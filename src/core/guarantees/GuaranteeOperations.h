#pragma once
// A guarantee's correspondence with its bank (ZHIST): the history as the history
// screen shows it, the bank's answer to a pending letter, a letter recorded together
// with its answer, the letters' references, and the withdrawal of the last letter.
//
// What the service guarantees:
// - every operation is one unit of work over ZHIST and ZEMANAT (with its history);
//   a refusal is a message and leaves both tables as they were;
// - an answer moves the guarantee from the request status to the kind's result
//   status and writes what the kind changes: the due date (extension), the amount
//   (reduction), both, the cancellation date (cancellation), the operation's flag,
//   and the new number of a replacement;
// - withdrawing the last letter restores what that letter changed: the status for a
//   letter not answered; the status, amount, due date, number, cancellation date,
//   flag and replacement number for an answered one;
// - scratch rows (ANS 100) never show and every withdrawal removes them.
// The request letters themselves are registered by letters::GuaranteeLetters (they
// take the letter number in the same unit of work).
#include "core/db/Db.h"
#include "core/guarantees/Guarantees.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::guarantees {

inline constexpr int AnsAnswered = 1;
inline constexpr int AnsPending = 2;
inline constexpr int AnsScratch = 100;

// History kinds (ZHIST.KIND).
inline constexpr int OpExtension = 1;
inline constexpr int OpReduction = 2;
inline constexpr int OpCancellation = 3;
inline constexpr int OpSeizure = 4;
inline constexpr int OpReductionExtension = 5;
inline constexpr int OpConfirmation = 8;
inline constexpr int OpTemporaryCancellation = 15;

struct HistoryRow {
    int zidx = 0;
    int row = 0;
    int kind = 0;
    QString letterDate, letterNo;
    qint64 amount = 0;
    QString sarresid;
    int ans = 0;
    QString ansLetterNo, ansLetterDate;
    QString date;   // DATE, the operation date
    int ltrCode = 0;
    QString content;   // LTRCONTENT, the letter as produced
    QString sabtDate;
    QString oldSarresid;
    qint64 oldAmount = 0;
    std::optional<int> oldStatus;
    QString oldZno;
    qint64 amountOk = 0;
    QString sarresidOk;

    bool answered() const { return ans == AnsAnswered; }
};

// The kind's label (the status list, for kinds below 25); empty beyond.
QString historyKindLabel(int kind);
// "بلي" / "خير" / empty.
QString answeredText(int ans);
// The status while a letter of the kind waits, and after its answer; nullopt for a
// kind that has none.
std::optional<int> requestStatusOfKind(int kind);
std::optional<int> resultStatusOfKind(int kind);
bool kindExtends(int kind);
bool kindReduces(int kind);
// The letter kind (LTRKIND) the letter dialog opens with for a history kind, and the
// letter's subject line.
int letterKindOfHistory(int kind);
QString subjectOfHistory(int kind);
// The operation screen's kind list ("0) معتبر" ... "9)ابطال موقت") and the history
// kind each entry records.
const QStringList& operationKindTexts();
int historyKindOfOperation(int entry);

// The messages of the operations.
QString nothingSelectedText();   // "هيچ اطلاعاتي وارد نشده است"
QString onlyLastText();          // "عمل حذف، فقط از آخرين نامه ايجاد شده امکان پذير مي باشد."
QString withdrawQuestion();      // "حذف نامه و بازگشت به وضعيت قبلي ضمانتنامه، مطمئن هستيد؟"
QString noPreviousStateText();   // "سوابق قبلي اين ضمانتنامه موجود نيست ..."
QString noLetterText();          // the guarantee has no letter to withdraw
QString alreadyAnsweredText();   // the letter was answered already
QString dueNotLaterText();       // the new due date is not after the current one
QString reductionTooLargeText(); // the amount after reduction is above the current one
QString letterNotFoundText();

// The bank's answer (or, for a letter recorded with its answer, both letters).
struct Answer {
    QString letterNo;        // ANSLETTERNO, the bank's letter
    QString letterDate;      // ANSLETTERDATE
    QString due;             // confirmed due date (extensions); empty: the letter's
    std::optional<qint64> amount;   // confirmed amount (reductions); empty: the letter's
    QString operationDate;   // DATE; empty: the answer's date
    QString newNumber;       // a replacement's new guarantee number; empty: none
};

// A letter and its answer recorded at once ("ادامه (F10)" of the operation screen).
struct RecordedOperation {
    int kind = OpExtension;   // history kind
    QString sentNo, sentDate; // the office's letter
    Answer answer;
};

struct LetterReferences {
    QString letterNo, letterDate, ansLetterNo, ansLetterDate;
};

class GuaranteeOperations {
public:
    explicit GuaranteeOperations(startup::Session& session);

    // The guarantee's letters without the scratch rows, by ROW.
    db::Fetched<QList<HistoryRow>> history(int idx) const;
    db::Fetched<HistoryRow> letter(int idx, int row) const;

    // "ثبت پاسخ نامه(F10)": the answer to the pending letter (idx, row).
    Outcome answer(int idx, int row, const Answer& a, startup::Prompt& prompt);
    // A letter recorded with its answer; the new ROW in Outcome::changed.
    Outcome record(int idx, const RecordedOperation& op, startup::Prompt& prompt);
    // "ويرايش": the letter and answer numbers and dates of one row; nothing else.
    Outcome editReferences(int idx, int row, const LetterReferences& refs, startup::Prompt& prompt);
    // "حذف نامه و بازگشت به وضعيت قبلي" for the selected row (0: none selected).
    Outcome withdraw(int idx, int row, startup::Prompt& prompt);
    // The same for the guarantee's last letter.
    Outcome withdrawLast(int idx, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::guarantees
