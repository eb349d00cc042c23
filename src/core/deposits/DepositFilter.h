#pragma once
// What the received-deposits list shows: its period, the conditions joined by AND,
// and its order. The query built from it binds every value; only whitelisted text
// (column names of the chosen order) enters the statement itself.
#include <QList>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace orvak::deposits {

enum class PeriodMode {
    OneMonth,     // the chosen year and month only
    Range,        // "محدوده": from year/month to year/month
    Cumulative,   // "همه سپرده ها": every month up to and including the chosen one
    UpToDate,     // "سپرده ها لغايت": every deposit paid in up to a date
};

// "نوع تائيد"
enum class Confirmation { All, Open, HalfConfirmed, Confirmed, HalfOrConfirmed, SentToTreasury };
QStringList confirmationTexts();

// The credit-notice condition.
enum class CreditMode { All, Only, AllBut, Without };
QStringList creditModeTexts();

// "ترتيب:"
enum class DepositOrder { Owner, Balance, ReceiptNo, ReceiptDate, Amount, ChequeNo, ChequeDate, Serial, Row, Identifier };
QStringList orderTexts();

// The eight status boxes: ticked keeps only the rows whose mark is set.
struct StatusMarks {
    bool statement = false;       // "صورتحساب"        TIKSUDMO
    bool sent = false;            // "ارسال به خزانه"   TIK_ERSAL
    bool credit = false;          // "اعلام بستانکاري"  TIKBESTANKARI
    bool request = false;         // "درخواست سپرده"    TIK_DARKHAST
    bool fundRequest = false;     // "درخواست وجه"      TIK_DARKHASTVJH
    bool fundConfirmed = false;   // "تائيد واريزي"     TIK_DARKHASTVJHOK
    bool refunded = false;        // "استرداد"          TIK_ESTERDAD
    bool pettyCash = false;       // "از تنخواه"        TANKHAHSTATUS
};

struct DepositFilter {
    PeriodMode mode = PeriodMode::OneMonth;
    int year = 0;
    int month = 1;         // 1..18
    int toYear = 0;        // Range only
    int toMonth = 1;
    QString upToDate;      // UpToDate only: CHKDATE on or before it

    Confirmation confirmation = Confirmation::All;
    StatusMarks marks;
    int owner = -1;        // -1: any
    int contract = -1;     // -1: any
    CreditMode creditMode = CreditMode::All;
    int creditNotice = 0;  // BESTANKARI.IDXNO for Only and AllBut
    QString receiptFrom, receiptTo;   // SEPDATE range; an empty bound is open
    QString chequeFrom, chequeTo;     // CHKDATE range
    bool hideZeroBalance = false;
    QString descriptionWord;          // "كلمه در شرح"; empty: any

    DepositOrder order = DepositOrder::ChequeDate;
    bool descending = false;

    // The rows the grid shows, in the grid's order, while the list frame's own filter
    // or a sort of its titles rearranges the query's rows: the group operations, the
    // totals and the prints then take exactly these (each must still be one of the
    // conditions' rows). Not given: the conditions' rows in their order. The query
    // itself never carries them.
    std::optional<QList<int>> shown;

    // Whether the list shows one month only: the scope the group operations need.
    bool oneMonth() const { return mode == PeriodMode::OneMonth; }
    // "پاک کردن شرايط": every condition cleared, the period and order kept.
    void clearConditions();
    // The caption's period after "سپرده هاي ماه:".
    QString periodText() const;
    // "«month year»" as the group questions name the month.
    QString monthQuoted() const;
};

// The WHERE conditions (without the word WHERE) and their bound values; every
// condition a term of its own, joined by AND.
struct FilterSql {
    QString where;
    QVariantMap binds;
};
FilterSql filterSql(const DepositFilter& filter);
// The same narrowed by further conditions (empty: none).
FilterSql filterSql(const DepositFilter& filter, const QString& extra);
// The ORDER BY clause of the filter's order (without the words ORDER BY).
QString orderSql(const DepositFilter& filter);
// The listed rows in list order: select ("SELECT IDX FROM SEP_DAR") with the filter's
// conditions and the extra ones (empty: none); the whole statement in where.
FilterSql listedSql(const DepositFilter& filter, const QString& select, const QString& extra = {});

} // namespace orvak::deposits
