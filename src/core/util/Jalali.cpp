#include "core/util/Jalali.h"

#include "core/util/Numbers.h"

#include <QRegularExpression>
#include <array>
#include <iterator>

namespace orvak::util {

namespace {

QString pad2(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

int floorDiv(int a, int b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }
int floorMod(int a, int b) { return a - floorDiv(a, b) * b; }

// Years at which the 33-year cycles of the calendar break (Borkowski's table, the
// one the common jalaali libraries use). Through 1500 it gives the Nowruz of the
// official calendar, the day whose Tehran noon follows the vernal equinox, where
// a plain 33-year rule already goes wrong in 1436 and 1469.
constexpr int kBreaks[] = {-61, 9, 38, 199, 426, 686, 756, 818, 1111, 1181,
                           1210, 1635, 2060, 2097, 2192, 2262, 2324, 2394, 2456, 3178};
constexpr int kFirstYear = kBreaks[0];
constexpr int kLastYear = kBreaks[std::size(kBreaks) - 1] - 1;
constexpr int kCycleYears = 33;
constexpr qint64 kCycleDays = 33 * 365 + 8;

// Julian day of 1 Farvardin of a year of the table.
qint64 nowruzFromBreaks(int jy)
{
    int leapsBefore = -14;
    int segmentStart = kBreaks[0];
    int jump = 0;
    for (size_t i = 1; i < std::size(kBreaks); ++i) {
        jump = kBreaks[i] - segmentStart;
        if (jy < kBreaks[i])
            break;
        leapsBefore += floorDiv(jump, 33) * 8 + floorDiv(floorMod(jump, 33), 4);
        segmentStart = kBreaks[i];
    }
    const int n = jy - segmentStart;
    leapsBefore += floorDiv(n, 33) * 8 + floorDiv(floorMod(n, 33) + 3, 4);
    if (floorMod(jump, 33) == 4 && jump - n == 4)
        ++leapsBefore;
    const int gy = jy + 621;
    const int gregorianLeaps = floorDiv(gy, 4) - floorDiv((floorDiv(gy, 100) + 1) * 3, 4) - 150;
    const int marchDay = 20 + leapsBefore - gregorianLeaps;
    return QDate(gy, 3, 1).toJulianDay() + marchDay - 1;
}

// Outside the table whole 33-year cycles of eight leap years carry it on, so that
// every day still has exactly one date.
qint64 nowruz(int jy)
{
    if (jy < kFirstYear) {
        const int cycles = floorDiv(kFirstYear - jy + kCycleYears - 1, kCycleYears);
        return nowruzFromBreaks(jy + cycles * kCycleYears) - cycles * kCycleDays;
    }
    if (jy > kLastYear) {
        const int cycles = floorDiv(jy - kLastYear + kCycleYears - 1, kCycleYears);
        return nowruzFromBreaks(jy - cycles * kCycleYears) + cycles * kCycleDays;
    }
    return nowruzFromBreaks(jy);
}

int daysInYear(int jy) { return int(nowruz(jy + 1) - nowruz(jy)); }

} // namespace

bool JalaliDate::isValid() const
{
    return year >= 1 && year <= 9999 && day >= 1 && day <= jalaliMonthLength(year, month);
}

QString JalaliDate::toText() const
{
    return QStringLiteral("%1/%2/%3").arg(year, 4, 10, QLatin1Char('0')).arg(pad2(month), pad2(day));
}

QString JalaliDate::toCompactText() const
{
    return QStringLiteral("%1%2%3").arg(year, 4, 10, QLatin1Char('0')).arg(pad2(month), pad2(day));
}

JalaliDate GregorianToJalali(int gy, int gm, int gd)
{
    return toJalali(QDate(gy, gm, gd));
}

JalaliDate toJalali(const QDate& date)
{
    if (!date.isValid())
        return {};
    const qint64 day = date.toJulianDay();
    // QDate has no year 0: 1 BC is its year -1.
    int jy = (date.year() < 0 ? date.year() + 1 : date.year()) - 621;
    qint64 start = nowruz(jy);
    while (day < start)
        start = nowruz(--jy);
    for (qint64 next = nowruz(jy + 1); day >= next; next = nowruz(++jy + 1))
        start = next;
    const int dayOfYear = int(day - start);
    if (dayOfYear < 6 * 31)
        return {jy, dayOfYear / 31 + 1, dayOfYear % 31 + 1};
    return {jy, (dayOfYear - 6 * 31) / 30 + 7, (dayOfYear - 6 * 31) % 30 + 1};
}

QDate JalaliToGregorian(int jy, int jm, int jd)
{
    if (!JalaliDate{jy, jm, jd}.isValid())
        return {};
    const int daysBefore = jm <= 7 ? (jm - 1) * 31 : 6 * 31 + (jm - 7) * 30;
    return QDate::fromJulianDay(nowruz(jy) + daysBefore + jd - 1);
}

QDate toGregorian(const JalaliDate& date) { return JalaliToGregorian(date.year, date.month, date.day); }

namespace {

// Splits "Y?M?D" on '/', '-' or '.', or takes YYYYMMDD; digits may be Persian.
std::optional<std::array<int, 3>> splitDate(const QString& text)
{
    const QString t = normalizeDigits(text).trimmed();
    static const QRegularExpression separated(QStringLiteral("^(\\d{1,4})[/.-](\\d{1,2})[/.-](\\d{1,2})$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    QRegularExpressionMatch m = separated.match(t);
    if (!m.hasMatch())
        m = compact.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    return std::array<int, 3>{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
}

} // namespace

std::optional<JalaliDate> parseJalali(const QString& text)
{
    const auto parts = splitDate(text);
    if (!parts)
        return std::nullopt;
    const JalaliDate d{(*parts)[0], (*parts)[1], (*parts)[2]};
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<QDate> parseGregorian(const QString& text)
{
    const auto parts = splitDate(text);
    if (!parts)
        return std::nullopt;
    const QDate d((*parts)[0], (*parts)[1], (*parts)[2]);
    if (!d.isValid() || d.year() < 1)
        return std::nullopt;
    return d;
}

int jalaliMonthLength(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    if (month <= 6)
        return 31;
    return month <= 11 ? 30 : daysInYear(year) - 336;
}

bool isJalaliLeapYear(int year) { return daysInYear(year) == 366; }

QDateTime Clock::now() const
{
    if (server_) {
        if (const std::optional<QDateTime> now = server_(); now && now->isValid())
            return *now;
    }
    return QDateTime::currentDateTime();
}

QString Clock::todayJalali() const { return toJalali(now().date()).toText(); }
QString Clock::todayJalaliCompact() const { return toJalali(now().date()).toCompactText(); }

QString Clock::todayJalaliLong() const
{
    const QDate today = now().date();
    const JalaliDate j = toJalali(today);
    return persianWeekdayName(today) + QLatin1Char(' ') + QString::number(j.day) + QLatin1Char('/')
        + jalaliMonthName(j.month) + QLatin1Char('/') + QString::number(j.year) + QLatin1Char(' ');
}

int Clock::year() const { return toJalali(now().date()).year; }
int Clock::month() const { return toJalali(now().date()).month; }
int Clock::day() const { return toJalali(now().date()).day; }

QString TodayJalali() { return Clock().todayJalali(); }
int CurrentJalaliYear() { return Clock().year(); }

QString MonthFirstDay(int year, int month)
{
    if (month >= 13) {
        year += 1;
        month -= 12;
    }
    return QStringLiteral("%1/%2/01").arg(year).arg(pad2(month));
}

QString MonthLastDay(int year, int month)
{
    if (month >= 13) {
        year += 1;
        month -= 12;
    }
    // The registers close every month of the second half, the twelfth included, on
    // day 30: a range "up to /30" must take in the 30th of Esfand of a leap year.
    return QStringLiteral("%1/%2/%3").arg(year).arg(pad2(month), month <= 6 ? QStringLiteral("31") : QStringLiteral("30"));
}

QString jalaliMonthName(int month)
{
    static const char16_t* const names[] = {u"فروردين", u"ارديبهشت", u"خرداد", u"تير",  u"مرداد", u"شهريور",
                                            u"مهر",     u"آبان",     u"آذر",   u"دي",   u"بهمن",  u"اسفند"};
    if (month < 1 || month > 12)
        return {};
    return QString::fromUtf16(names[month - 1]);
}

QString persianWeekdayName(const QDate& date)
{
    // Qt numbers Monday 1 .. Sunday 7.
    static const char16_t* const names[] = {u"دوشنبه", u"سه شنبه", u"چهارشنبه", u"پنجشنبه", u"جمعه", u"شنبه", u"يکشنبه"};
    if (!date.isValid())
        return {};
    return QString::fromUtf16(names[date.dayOfWeek() - 1]);
}

} // namespace orvak::util
