#pragma once
// The office's fund requests to the treasury (SEP_REQH, with one SEP_REQR row per
// deposit and amount asked): the header in its states, the rows copied from the
// deposits and their credit notices, the bulk add, the sums, and the voucher of the
// money the treasury paid in. What it guarantees after every unit of work:
// - a request's REQ_AMOUNT and TEDAD are the sum and count of its rows;
// - a deposit's TIK_DARKHASTVJH is 1 exactly while a request in state 1 or later names
//   it, TIK_DARKHASTVJHOK while one in state 3 or later does, so a request sent back
//   to draft never clears what another request of the deposit holds;
// - the amount paid in never exceeds the amount requested (compared as numbers);
// - a final request (state 4) is not changed, and a request refunds point to is not
//   deleted.
#include "core/deposits/ReceivedDeposits.h"

namespace orvak::deposits {

// SEP_REQH.REQSTATUSE
enum class FundState { Draft = 0, Sent = 1, SentWithFile = 2, Confirmed = 3, Final = 4 };
// The states' texts by value: "ثبت موقت بعنوان پيش نويس" ... "قطعي شده-غير قابل تغيير".
QStringList fundStateTexts();
QString fundStateText(int state);   // empty outside 0..4

struct FundRequest {
    int reqIdx = 0;             // REQ_IDX
    QString reqNo;              // REQNO
    QString reqDate;            // REQDATE
    QString letterNo;           // LETTERNO
    QString letterDate;         // LETTERDATE
    qint64 reqAmount = 0;       // REQ_AMOUNT: the rows' sum
    QString letterNo2;          // LETTERNO2
    QString letterDate2;        // LETTERDATE2
    qint64 ansAmount = 0;       // ANS_AMOUNT
    int state = 0;              // REQSTATUSE
    qint64 ansChkNo = 0;        // ANS_CHKNO
    int accNo = 0;              // ACCNO
    int tedad = 0;              // TEDAD: the rows' count
    QString descr;              // DESCR
    QString variziBesNo;        // VARIZI_BESNO
    QString variziBesDate;      // VARIZI_BESDATE
};

struct FundRequestRow {
    int reqIdx = 0;             // REQ_IDX
    int reqRow = 0;             // REQ_ROW
    int tafsilNo = -1;          // TAFSILNO
    int paymanNo = -1;          // PAYMANNO
    int sepIdx = 0;             // SEPIDX
    qint64 fishNo = 0;          // FISHNO
    int besIdx = 0;             // BESIDX
    QString fishDate;           // FISHDATE
    qint64 fishAmount = 0;      // FISHAMOUNT
    QString ersalLetter;        // ERSALLETTER
    QString ersalLetterDate;    // ERSALLETTERDATE
    int ersalRow = 0;           // ERSAL_ROW
    QString bestankariNo;       // BESTANKARINO
    QString bestankariDate;     // BESTANKARIDATE
    qint64 peikareh = 0;        // PEIKAREH
    qint64 amount = 0;          // AMOUNT: asked for this deposit
    QString descr;              // DESCR
    QString letterNo;           // LETTERNO: the owner's letter
    QString letterDate;         // LETTERDATE
    int reqStatuse = 0;         // REQSTATUSE
};

struct RowSums {
    qint64 sum = 0;
    int count = 0;
};

// A request as it is opened: its header, its rows in row order and their sums.
struct OpenedRequest {
    FundRequest header;
    QList<FundRequestRow> rows;
    RowSums sums;
};

// "محاسبه ...": the share of an amount, rounded to whole rials, halves to even
// (50 % of 1,001 is 500).
qint64 shareOf(qint64 amount, int percent);

// What the paid-in check says.
QString paidAboveRequestedText();   // "مبلغ واريزي از مبلغ درخواستي ب يشتر است"
QString noRequestDateText();        // "تاريخ درخواست مشخص نشده است"
QString finalRequestText();

class FundRequests {
public:
    explicit FundRequests(startup::Session& session);

    db::Fetched<FundRequest> read(int reqIdx) const;
    db::Fetched<OpenedRequest> open(int reqIdx) const;
    // "جديد (INS)": the number it is shown with and today's date.
    db::Fetched<FundRequest> newRequest() const;

    // "جديد (INS)" / "ويرايش (ENTER)": the header in state 0 (its deposits' marks follow).
    std::optional<int> save(const FundRequest& request, bool insert, startup::Prompt& prompt);
    // "ارسال درخواست وجه " (1), "ارسال درخواست وجه + فايل به خزانه" (2), "انصراف از ارسال
    // درخواست وجه" (0), "تائيد دريافت وجه از خزانه" (3): the header as edited, in the state.
    std::optional<int> changeState(const FundRequest& request, FundState state, startup::Prompt& prompt);
    // " مطمئن هستيـــد ؟ ", then the header with its rows (the deposits' marks follow).
    Outcome remove(int reqIdx, startup::Prompt& prompt);

    db::Fetched<QList<FundRequestRow>> rows(int reqIdx) const;
    db::Fetched<RowSums> rowSums(int reqIdx) const;   // "مبلغ صورت ريز درخواست"
    // " جمع كل صورت ريز سپرده هاي درخواستي" and " تعداد " as the menu entry tells them.
    QString rowSumsText(const RowSums& sums) const;

    // The deposit of a receipt number, within the owner and contract (-1: any); nullopt
    // after telling why none or several was found.
    std::optional<int> depositOfReceipt(qint64 receiptNo, int owner, int contract, startup::Prompt& prompt) const;
    // A new row of the request for the deposit: what it copies from the deposit and its
    // credit notice, the next row number, and the deposit's balance as the amount.
    db::Fetched<FundRequestRow> rowFor(int reqIdx, int depositIdx) const;
    db::Fetched<FundRequestRow> readRow(int reqIdx, int reqRow) const;
    // The numbers of the other requests that name the deposit.
    db::Fetched<QStringList> requestedIn(int depositIdx, int exceptReq) const;
    // The row form's save: the deposit's data copied again, the "already requested"
    // question for a new row; the saved REQ_ROW.
    std::optional<int> saveRow(const FundRequestRow& row, bool insert, startup::Prompt& prompt);
    Outcome removeRow(int reqIdx, int reqRow, startup::Prompt& prompt);
    // "ويرايش رديف": the row's number rewritten (refund rows that name it follow).
    Outcome renumberRow(int reqIdx, int reqRow, int newRow, startup::Prompt& prompt);

    // "اضافه نمودن تجميعي" and "اضافه نمودن درخواست نشده ها": the deposits in order, each
    // as a row with its amount (0: its balance), after the question; those other
    // requests name are told, not stopped.
    struct Wanted {
        int depositIdx = 0;
        qint64 amount = 0;
        QString descr = {};
    };
    Outcome addDeposits(int reqIdx, const QList<Wanted>& deposits, startup::Prompt& prompt);

    // "تعيين مبلغ همه": every request's amount and count from its rows.
    Outcome setAllAmounts(startup::Prompt& prompt);
    // The rows' credit-notice totals read again from BESTANKARI (reqIdx -1: every request).
    Outcome refreshCreditTotals(int reqIdx, startup::Prompt& prompt);

    // "صدور سند حسابداري واريز درخواست وجه سپرده از خزانه به حساب بانک رد وجوه سپرده".
    Outcome issuePaymentVoucher(int reqIdx, const VoucherChoice& voucher, startup::Prompt& prompt);

private:
    std::optional<int> writeHeader(const FundRequest& request, bool insert, FundState state, startup::Prompt& prompt);

    startup::Session& session_;
};

} // namespace orvak::deposits
