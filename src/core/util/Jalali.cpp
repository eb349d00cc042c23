#include "core/util/Jalali.h"

#include "core/util/Numbers.h"

#include <QCalendar>
#include <array>
#include <QRegularExpression>

namespace orvak::util {

namespace {

const QCalendar& jalaliCalendar()
{
    static const QCalendar calendar(QCalendar::System::Jalali);
    return calendar;
}

QString pad2(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

bool JalaliDate::isValid() const
{
    return year >= 1 && year <= 9999 && jalaliCalendar().isDateValid(year, month, day);
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
    const QCalendar::YearMonthDay parts = jalaliCalendar().partsFromDate(date);
    return {parts.year, parts.month, parts.day};
}

QDate JalaliToGregorian(int jy, int jm, int jd)
{
    if (!JalaliDate{jy, jm, jd}.isValid())
        return {};
    return jalaliCalendar().dateFromParts(jy, jm, jd);
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

int jalaliMonthLength(int year, int month) { return jalaliCalendar().daysInMonth(month, year); }

bool isJalaliLeapYear(int year) { return jalaliCalendar().isLeapYear(year); }

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
