#pragma once
// The refunds of deposits to their owners (SEP_RADH, with the deposits refunded in
// SEP_RADR1 and the cheques issued in SEP_RADR2), the collective refund of a fund
// request and the refund voucher. What it guarantees after every unit of work:
// - a deposit's AMOUNT_RAD is the sum of its refund rows, AMOUNT_MANDEH its amount
//   less that, TIK_ESTERDAD is 1 exactly while a refund row names it and
//   TANKHAHSTATUS while one of those refunds was paid from a float;
// - a refund row never takes more than what is left of its deposit (read inside the
//   work, so two workstations refunding one deposit at once cannot both take it), so
//   a balance never goes below zero, and a fund-request row is refunded once;
// - a refund's AMOUNT is the sum of its deposit rows, a float's AMOUNT_MANDEH what
//   was remitted less the refunds paid from it, never below zero;
// - a refund is written with its first row, so that its rows never stand without it;
//   one that still has rows or cheques is not deleted.
#include "core/deposits/ReceivedDeposits.h"

namespace orvak::deposits {

// "علت استرداد": RADKIND 0..6.
QStringList refundKindTexts();
// CHKKIND 0..9; a value of 10 or more shows no text.
QStringList chequeKindTexts();
QString chequeKindText(int kind);

struct Refund {
    int radIdx = 0;             // RAD_IDX; 0 while not written
    QString radDate;            // RADDATE
    int reqIdx = 0;             // REQ_IDX: the owner's release request answered, 0 none
    int tafsili = -1;           // TAFSILI
    int payman = -1;            // PAYMAN
    int radKind = 0;            // RADKIND
    QString descr;              // DESCR
    qint64 amount = 0;          // AMOUNT: the rows' sum
    int sndCi = 0;              // SNDCI
    int sndNo = 0;              // SNDNO
    QString sndDate;            // SNDDATE
    int sndRow = 0;             // SNDROW
    int sndYer = 0;             // SNDYER
    int tikAzTankhah = 0;       // TIK_AZTANKHAH
    int tankhahIdx = 0;         // TANKHAH_IDX
};

struct RefundRow {
    int radIdx = 0;             // RAD_IDX
    int radRow = 0;             // RAD_ROW
    int tafsili = -1;           // TAFSILI
    int payman = -1;            // PAYMAN
    int sepIdx = 0;             // SEPIDX
    qint64 amount = 0;          // AMOUNT
    QString descr;              // DESCR
    qint64 fishNo = 0;          // FISHNO
    QString fishDate;           // FISHDATE
    int reqIdx = 0;             // REQIDX
    int reqRow = 0;             // REQROW
};

struct IssuedCheque {
    int radIdx = 0;             // RAD_IDX
    int radRow = 0;             // RAD_ROW
    int tafsili = -1;           // TAFSILI
    int payman = -1;            // PAYMAN
    int chkKind = 0;            // CHKKIND
    qint64 amount = 0;          // AMOUNT
    QString descr;              // DESCR
    QString chkDate;            // CHKDATE
    int sndNo = 0;              // SNDNO
    int my = 0;                 // MY
    int tarhNo = -1;            // TARHNO
    int projNo = -1;            // PROJNO
    qint64 chkNo = 0;           // CHKNO
};

// The form's totals: "جمع کل قبض ها:", "تعداد کل قبض ها:", " جمع کل چک ها:", "مانده:".
struct RefundTotals {
    qint64 rows = 0;
    int count = 0;
    qint64 cheques = 0;
    qint64 remaining() const { return rows - cheques; }
};

// The form's read-only figures.
struct RefundFigures {
    std::optional<qint64> bankBalance;    // "موجودي بانک رد وجوه:" in the year's books; none without them
    std::optional<qint64> floatBalance;   // "مانده تنخواه:" of the chosen float
    qint64 requestedUnpaid = 0;           // "درخواست شده پرداخت نشده ": the owner's request rows no refund took
};

QString alreadyRefundedText();       // "اين سپرده قبلا استرداد شده است"
QString refundHasRecordsText();      // "اين سپرده داراي سوابق مي باشد و نميتواند  حذف گردد"

class Refunds {
public:
    explicit Refunds(startup::Session& session);

    db::Fetched<Refund> read(int radIdx) const;
    // A new refund as the form shows it (not written: RAD_IDX 0), dated today.
    Refund newRefund() const;
    // The number a new refund is shown with; it takes a fresh one as it is written.
    db::Fetched<qint64> proposedKey() const;

    // "ثبت استرداد و جديد(F9)" / "ثبت استرداد و خروج (F10)": written when new, else
    // updated; its deposits' float mark and the floats follow. The RAD_IDX.
    std::optional<int> save(const Refund& refund, startup::Prompt& prompt);
    // "حذف(DEL)" of the list: refused while the refund has rows.
    Outcome remove(int radIdx, startup::Prompt& prompt);

    db::Fetched<QList<RefundRow>> rows(int radIdx) const;
    db::Fetched<QList<IssuedCheque>> cheques(int radIdx) const;
    db::Fetched<RefundTotals> totals(int radIdx) const;
    // The bank's balance reads the year's books (withBank false leaves it out).
    db::Fetched<RefundFigures> figures(int owner, int floatIdx, bool withBank = true) const;

    // A deposit row: "از فهرست درخواستي" (with the request row), "از فهرست سپرده ها",
    // "انتخاب از سپرده ها". The refund is written first when it was not (as the form
    // holds it); the RAD_IDX.
    struct NewRow {
        int sepIdx = 0;
        qint64 amount = 0;
        QString descr = {};
        int reqIdx = 0;
        int reqRow = 0;
    };
    std::optional<int> addRow(const Refund& refund, const NewRow& row, startup::Prompt& prompt);
    Outcome removeRow(int radIdx, int radRow, startup::Prompt& prompt);
    // "خروج بدون ثبت" on a refund new in this form: its rows, cheques and header go,
    // and its deposits are as they were before it.
    Outcome discard(int radIdx, startup::Prompt& prompt);

    // The cheque form's save; the refund is written first when it was not. The RAD_IDX.
    std::optional<int> saveCheque(const Refund& refund, const IssuedCheque& cheque, bool insert, startup::Prompt& prompt);
    Outcome removeCheque(int radIdx, int radRow, startup::Prompt& prompt);

    // "استرداد جمعي سپرده ها به صورت مجزا ": every row of the fund request a refund of its
    // own on the date; rows beyond their deposit's balance, or refunded already, are
    // skipped with their message.
    Outcome refundRequest(int reqIdx, const QString& date, startup::Prompt& prompt);

    // "صدور سند حسابداري": the refund voucher; its number, date, row and year go onto the
    // refund in the same unit of work.
    Outcome issueVoucher(int radIdx, const VoucherChoice& voucher, startup::Prompt& prompt);
    // The rejection of a refund voucher takes the refunds' references to it back.
    static bool clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted);

private:
    // The header's own checks; the message when one fails.
    std::optional<QString> badHeader(Refund& refund) const;
    // Writes the header inside the work when it was not written; false fails the work.
    bool ensureHeader(db::UnitOfWork& w, Refund& refund);

    startup::Session& session_;
};

} // namespace orvak::deposits
