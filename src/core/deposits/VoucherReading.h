#pragma once
// Reading deposits out of the accounting vouchers of a year: the criteria, the
// voucher range they give, the reading into the work table TEMPREADSND, the ticks,
// and the transfer of the ticked rows into the received-deposits register SEP_DAR.
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

// One row of the work table, with the party's name.
struct ReadRow {
    int row = 0;                  // ROW
    int voucher = 0;              // SNDNO
    int voucherRow = 0;           // SNDROW
    std::optional<int> party;     // TAFSIL
    QString partyName;
    std::optional<int> contract;  // TAFSIL2
    std::optional<int> fundingKind;
    std::optional<qint64> chequeNo;
    QString chequeDate;
    QString description;
    qint64 debit = 0;
    qint64 credit = 0;
    bool ticked = false;
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
};

class VoucherReading {
public:
    explicit VoucherReading(startup::Session& session);

    // The reason the criteria cannot be read, empty when they can.
    static QString check(const ReadingCriteria& criteria);

    // Opens the accounting database of the criteria's year and section (the session
    // keeps it open; AccountingYearScope puts the caller's back).
    bool selectYear(const ReadingCriteria& criteria, startup::Prompt& prompt);
    // On the open accounting database.
    db::Fetched<VoucherRange> voucherRange(const ReadingCriteria& criteria);
    // Empties the work table and fills it from the vouchers, as one unit of work;
    // nullopt with the reason (the work table then stays as it was).
    std::optional<ReadingSummary> read(const ReadingCriteria& criteria, startup::Prompt& prompt, QString* error = nullptr);

    db::Fetched<QList<ReadRow>> rows();
    // How many rows of the work table are in the register already (same voucher,
    // row and year).
    db::Fetched<int> alreadyTransferred(int voucherYear);

    bool toggle(int row, QString* error = nullptr);
    bool clearTicks(QString* error = nullptr);             // "انتخاب همه"
    bool tickOnly(int row, QString* error = nullptr);      // "انتقال - فقط همين"

    // Every ticked row into the register of the list's year and month, in ROW order,
    // as one unit of work: all of them or none.
    std::optional<TransferResult> transfer(int listYear, int listMonth, int voucherYear, QString* error = nullptr);

private:
    bool setTicks(const QString& set, const QString& where, const QVariantMap& binds, QString* error);

    startup::Session& session_;
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
