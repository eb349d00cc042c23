#pragma once
// Jalali (Persian calendar) dates as the registers keep them: ten-character text
// "YYYY/MM/DD", zero-padded, compared as text.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace orvak::util {

struct JalaliDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const JalaliDate&) const = default;
    bool isValid() const;
    QString toText() const;          // "YYYY/MM/DD"
    QString toCompactText() const;   // "YYYYMMDD"
};

// The empty date as a masked date field shows it.
inline constexpr const char16_t* EmptyDateText = u"    /  /  ";

// Both directions follow the official calendar for every day of 1300..1500 (and
// carry its cycles on, algorithmically, beyond).
JalaliDate GregorianToJalali(int gy, int gm, int gd);
JalaliDate toJalali(const QDate& date);
QDate JalaliToGregorian(int jy, int jm, int jd);   // invalid QDate for an invalid date
QDate toGregorian(const JalaliDate& date);

// Reads "YYYY/MM/DD" (also "YYYY-MM-DD", Persian or Arabic-Indic digits, and the
// compact YYYYMMDD); nullopt when it is not a real Jalali date.
std::optional<JalaliDate> parseJalali(const QString& text);
// Same for a Gregorian "YYYY-MM-DD" (or "/" separators).
std::optional<QDate> parseGregorian(const QString& text);

int jalaliMonthLength(int year, int month);
bool isJalaliLeapYear(int year);

// Where "now" is read from: the server's clock once a session is connected (each
// session holds its own), otherwise, or when the server cannot answer, this
// computer's.
class Clock {
public:
    using Source = std::function<std::optional<QDateTime>()>;
    Clock() = default;
    explicit Clock(Source server) : server_(std::move(server)) {}

    QDateTime now() const;
    QString todayJalali() const;
    QString todayJalaliCompact() const;   // YYYYMMDD
    QString todayJalaliLong() const;      // weekday, day/month name/year
    int year() const;
    int month() const;
    int day() const;

private:
    Source server_;
};

// This computer's clock, for what no session stands behind.
QString TodayJalali();
int CurrentJalaliYear();

QString MonthFirstDay(int year, int month);
QString MonthLastDay(int year, int month);

QString jalaliMonthName(int month);       // 1..12
QString persianWeekdayName(const QDate& date);

} // namespace orvak::util
