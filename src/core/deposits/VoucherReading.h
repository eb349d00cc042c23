#pragma once
// Reading deposits out of the accounting vouchers of a year: the criteria, the
// voucher range they give, the reading (kept by the reading itself, with a copy in
// the work table TEMPREADSND), the ticks, and the transfer of the ticked rows into
// the received-deposits register SEP_DAR. The work table is shared by every
// workstation, so what a reading transfers is its own copy, never the table.
#include "core/db/Db.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QList>
#include <array>
#include <optional>

namespace orvak::deposits {

// How the voucher range is given ("همه اسناد", "محدوده شماره سند", ...), in the order
// the screen offers them.
enum class RangeKind { AllVouchers = 0, NumberRange = 1, DateRange = 2, MonthRange = 3, Supplement = 4, WholeYear = 5 };
QStringList rangeKindTexts();
// Which rows are ticked as they are read: "بدهکار", "بستانکار", "بد/بس".
enum class ReadSide { Debit = 0, Credit = 1, Both = 2 };
QStringList readSideTexts();
// The months of the screen's list: twelve, then the supplement months of the next year.
QStringList readingMonthTexts();
inline constexpr int ReadingMonths = 18;

struct ReadingCriteria {
    int year = 0;
    int monthIndex = 0;                       // 0 .. 17
    QString section = QStringLiteral("0");    // "حسابداري تعهدي"
    int kol = 0;                              // required
    int moin = -1;                            // -1: any
    std::array<QString, 4> words;             // (1 or 2) and (3 or 4); empty matches everything
    qint64 chequeNo = -1;                     // -1: any
    RangeKind rangeKind = RangeKind::MonthRange;
    QString from, to;                         // as typed: voucher numbers or dates
    ReadSide side = ReadSide::Credit;
};

// The Jalali month a month index stands for: month index + 1, above 12 in the next year.
struct ReadingMonth {
    int year = 0;
    int month = 0;
    QString firstDay() const;   // YYYY/MM/01
    QString lastDay() const;    // YYYY/MM/31, as the vouchers' dates compare
};
ReadingMonth readingMonth(int year, int monthIndex);

// Voucher numbers from .. to; empty when no voucher falls in it.
struct VoucherRange {
    int from = 0;
    int to = 0;
    bool empty() const { return to < from; }
};

// The longest description word a reading takes (a voucher row's description is no longer).
inline constexpr int LongestReadingWord = 160;

// One row read, with the party's name.
struct ReadRow {
    int row = 0;                  // ROW
    int voucher = 0;              // SNDNO
    int voucherRow = 0;           // SNDROW
    std::optional<int> party;     // TAFSIL
    QString partyName;
    std::optional<int> contract;  // TAFSIL2
    std::optional<int> fundingKind;
    std::array<QString, 7> accDetail;   // ACCDETAIL1..7
    std::optional<qint64> chequeNo;
    QString chequeDate;
    QString description;
    qint64 debit = 0;
    qint64 credit = 0;
    bool ticked = false;
    // The voucher row is in the register already (same voucher year, number and row).
    bool inRegister = false;
    // Why the register cannot take the row as the voucher holds it (a cheque number
    // of letters, a date that is no date, an amount beyond any sum, a party nobody
    // is); empty when it can.
    QString problem;
    bool damagedAmount = false;   // a side that is no amount
};

struct ReadingSummary {
    int rows = 0;
    int ticked = 0;
    qint64 debit = 0;    // "جمع بدهکار"
    qint64 credit = 0;   // "جمع بستانکار"
    int alreadyTransferred = 0;   // rows whose voucher row is in the register already
    VoucherRange range;
};

struct TransferResult {
    int rows = 0;
    int firstIndex = 0;   // IDX of the first inserted row
    int skipped = 0;      // ticked rows left out because the register holds them already
};

// What the transfer does with a ticked row that is in the register already: the
// command line always leaves it out; the screen enters it again only when the user
// said so for the rows he was shown as transferred.
enum class Repeats { Skip, EnterShown };

// Who writes: a logged-in user, whose write level (SEL2) must allow it, or the
// server machine's administrator at the command line (no user), recorded as user 0.
enum class Writer { User, Administrator };

class VoucherReading {
public:
    explicit VoucherReading(startup::Session& session, Writer writer = Writer::User);

    // The reason the criteria cannot be read, empty when they can.
    static QString check(const ReadingCriteria& criteria);
    // The word as a search compares it (Yeh, Kaf, digits, ZWNJ and spaces as every
    // search reads them); empty when nothing but blanks was typed.
    static QString searchWord(const QString& typed);

    // Opens the accounting database of the criteria's year and section (the session
    // keeps it open; AccountingYearScope puts the caller's back).
    bool selectYear(const ReadingCriteria& criteria, startup::Prompt& prompt);
    // On the open accounting database.
    db::Fetched<VoucherRange> voucherRange(const ReadingCriteria& criteria);
    // Reads the vouchers' rows (the work table emptied and filled with the copy) as
    // one unit of work; nullopt with the reason (the last reading then stays). Rows
    // the register holds already are read unticked.
    std::optional<ReadingSummary> read(const ReadingCriteria& criteria, startup::Prompt& prompt, QString* error = nullptr);
    // The command line's reading and transfer of the ticked rows as one unit of work
    // (the rows the register holds already left out): both or neither.
    std::optional<std::pair<ReadingSummary, TransferResult>> readAndTransfer(const ReadingCriteria& criteria, int listYear, int listMonth,
                                                                             startup::Prompt& prompt, QString* error = nullptr);

    // The last reading's rows, in ROW order; none before a reading.
    db::Fetched<QList<ReadRow>> rows() const;
    // The ticked rows the register holds already.
    int tickedInRegister() const;

    bool toggle(int row, QString* error = nullptr);
    bool clearTicks(QString* error = nullptr);             // "انتخاب همه"
    bool tickOnly(int row, QString* error = nullptr);      // "انتقال - فقط همين"

    // Every ticked row into the register of the list's year and month, in ROW order,
    // as one unit of work: all of them or none. The voucher year is the reading's.
    std::optional<TransferResult> transfer(int listYear, int listMonth, Repeats repeats = Repeats::Skip, QString* error = nullptr);

private:
    bool readIn(db::UnitOfWork& w, const ReadingCriteria& criteria, bool open, ReadingSummary& summary, startup::Prompt& prompt);
    bool transferIn(db::UnitOfWork& w, int voucherYear, int listYear, int listMonth, Repeats repeats, TransferResult& result);
    std::optional<ReadingSummary> prepare(const ReadingCriteria& criteria, startup::Prompt& prompt, bool* open, QString* error);

    startup::Session& session_;
    Writer writer_;
    QList<ReadRow> rows_;
    int year_ = 0;                       // of the vouchers read
    QString section_ = QStringLiteral("0");
};

// Puts the session's year and accounting database back as they were when it was made.
class AccountingYearScope {
public:
    explicit AccountingYearScope(startup::Session& session);
    ~AccountingYearScope();
    AccountingYearScope(const AccountingYearScope&) = delete;
    AccountingYearScope& operator=(const AccountingYearScope&) = delete;

private:
    startup::Session& session_;
    int year_;
    int accountingYear_;
    QString section_;
};

} // namespace orvak::deposits
