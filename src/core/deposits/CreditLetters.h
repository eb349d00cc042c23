#pragma once
// The credit notices of the treasury and the office's letters of sending the month's
// list to it (BESTANKARI, "TVIEWBESTANKARI"): one record holds both. Deposits point
// to a notice by ELAMBESIDX, fund-request rows by BESIDX.
//
// Guarantees: a save writes the notice's own columns and nothing else (the counts
// and requested sums belong to the operations that fill them); a delete is refused
// while fund-request rows carry the notice, and otherwise takes the notice and the
// deposits' references to it (ELAMBESIDX, TIKBESTANKARI) in one unit of work, so no
// deposit is left naming a notice that is gone. The reports' totals are the sums of
// their rows.
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/VoucherReading.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

#include <QList>
#include <QPair>

namespace orvak::deposits {

struct CreditLetter {
    int idx = 0;              // IDXNO
    QString creditNo;         // BESNO
    QString creditDate;       // BESDATE
    QString letterNo;         // ERSALLETTERNO: the letter that sent the list to the treasury
    QString letterDate;       // ERSALLETTERDATE
    CreditRef ref() const { return {idx, letterNo, letterDate}; }
};

db::Fetched<CreditLetter> creditLetter(startup::Session& session, int idx);

// Every letter as the list's credit-notice box offers it: identifier and "number - date".
db::Fetched<QList<QPair<int, QString>>> creditLetterChoices(startup::Session& session);

// The whole record as the form edits it.
struct CreditNotice {
    int idx = 0;                   // IDXNO; 0 in insert mode: the next number
    QString creditNo;              // BESNO
    QString creditDate;            // BESDATE
    QString creditLetterNo;        // BESLETTERNO
    QString creditLetterDate;      // BESLETTERDATE
    qint64 amount = 0;             // BESAMOUNT, "پيكره واريزي"
    int bank = 0;                  // BANK, the treasury's pooling account (BankHa kind 3)
    QString letterNo;              // ERSALLETTERNO
    QString letterDate;            // ERSALLETTERDATE
    // Filled by the operations, shown only.
    qint64 requested = 0;          // PARAMOUNT
    int status = 0, sentCount = 0, requestedCount = 0, year = 0, month = 0;
};

// "تعداد سپرده هاي دريافتي" / "تعداد سپرده هاي درخواست شده" of a notice, each with "جمع مبلغ:".
struct NoticeCounts {
    qint64 deposits = 0, depositsAmount = 0;
    qint64 requests = 0, requestsAmount = 0;
};

// The list's orders: "رديف" (Y, M, IdxNo), "تاريخ بستانکاري", "تاريخ نامه ارسالي".
enum class NoticeOrder { Row, CreditDate, LetterDate };
QStringList noticeOrderTexts();

class CreditNotices {
public:
    // A user's writes apply the deposits register's write level and the user's
    // insert / edit / delete bit on its entry; the administrator's (orvakctl without
    // --user) do not.
    explicit CreditNotices(startup::Session& session, Writer writer = Writer::User);

    db::Fetched<qint64> proposedIdx() const;   // largest IDXNO + 1
    db::Fetched<CreditNotice> read(int idx) const;
    // Dates must be real dates where given and the amount not below zero; the saved
    // IDXNO, or nullopt after telling why.
    std::optional<int> save(const CreditNotice& notice, bool insert, startup::Prompt& prompt);
    // Asks "حذف اطلاعات .مطمئن هستيد ؟" first.
    bool remove(int idx, startup::Prompt& prompt);
    db::Fetched<NoticeCounts> counts(int idx) const;
    // The pooling accounts the form offers: code and name of BankHa rows of kind 3.
    db::Fetched<QList<QPair<int, QString>>> poolingAccounts() const;

    // "مانده و پرداختي هر بستانکاري": every notice in the list's row order.
    db::Fetched<io::ReportModel> balanceReport(std::vector<io::ReportSignature> signatures) const;
    // "سوابق بستانکاري": the deposits the notice names.
    db::Fetched<io::ReportModel> historyReport(int idx, std::vector<io::ReportSignature> signatures) const;

private:
    startup::Session& session_;
    Writer writer_;
};

// The footer kinds of the two reports (deposit reports' group).
inline const char* const NoticeBalanceKind = "BESTANKARI";
inline const char* const NoticeHistoryKind = "BESTANKARI-SAVABEGH";

// "TVIEWBESTANKARI" (orvakctl's "credit-letters"): :No a LIKE pattern of the notice
// number, :Date a notice date, each '' for all.
io::ListDefinition creditLettersList(NoticeOrder order = NoticeOrder::Row);
// The pattern that finds the typed text anywhere in the number, its wildcards as themselves.
QString noticeNumberPattern(const QString& typed);

} // namespace orvak::deposits
