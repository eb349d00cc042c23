#include "support/TestSupport.h"
#include "core/util/Jalali.h"

#include <gtest/gtest.h>

using namespace orvak::util;

namespace {

// Years with a 30th of Esfand in the official calendar, 1370..1420.
const QList<int> kLeapYears = {1370, 1375, 1379, 1383, 1387, 1391, 1395, 1399, 1403, 1408, 1412, 1416, 1420};

} // namespace

TEST(Jalali, KnownDates)
{
    struct Case { int gy, gm, gd; const char* jalali; };
    const Case cases[] = {
        {2024, 1, 1, "1402/10/11"},  {2025, 1, 1, "1403/10/12"},  {2024, 3, 20, "1403/01/01"},
        {2029, 3, 20, "1408/01/01"}, {2030, 3, 21, "1409/01/01"}, {2029, 3, 19, "1407/12/29"},
        {2025, 3, 20, "1403/12/30"}, {1991, 3, 21, "1370/01/01"}, {2041, 3, 20, "1420/01/01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GregorianToJalali(c.gy, c.gm, c.gd).toText(), QString::fromLatin1(c.jalali)) << c.gy << '-' << c.gm << '-' << c.gd;
        const auto j = parseJalali(QString::fromLatin1(c.jalali));
        ASSERT_TRUE(j.has_value());
        EXPECT_EQ(toGregorian(*j), QDate(c.gy, c.gm, c.gd));
    }
}

// Every day from Nowruz 1370 to the end of 1420 against the official leap years:
// each Gregorian day maps to the next Jalali day, both ways.
TEST(Jalali, EveryDayOfTheOfficialCalendar)
{
    QDate g(1991, 3, 21);
    for (int y = 1370; y <= 1420; ++y) {
        EXPECT_EQ(isJalaliLeapYear(y), kLeapYears.contains(y)) << y;
        for (int m = 1; m <= 12; ++m) {
            const int length = m <= 6 ? 31 : m <= 11 ? 30 : (kLeapYears.contains(y) ? 30 : 29);
            ASSERT_EQ(jalaliMonthLength(y, m), length) << y << '/' << m;
            for (int d = 1; d <= length; ++d) {
                const JalaliDate j = toJalali(g);
                ASSERT_EQ(j, (JalaliDate{y, m, d})) << g.toString(Qt::ISODate).toStdString();
                ASSERT_EQ(JalaliToGregorian(y, m, d), g);
                g = g.addDays(1);
            }
        }
    }
}

TEST(Jalali, ParsingRefusesWhatIsNotADate)
{
    for (const char* bad : {"", "1403/13/01", "1403/00/10", "1402/12/30", "1403/07/31", "abcd/ef/gh", "1403/1/1/1", "14031"})
        EXPECT_FALSE(parseJalali(QString::fromUtf8(bad)).has_value()) << bad;
    EXPECT_EQ(parseJalali(QStringLiteral("۱۴۰۳/۱۲/۳۰"))->toText(), QStringLiteral("1403/12/30"));
    EXPECT_EQ(parseJalali(QStringLiteral("14030105"))->toText(), QStringLiteral("1403/01/05"));
    EXPECT_FALSE(parseGregorian(QStringLiteral("2023-02-29")).has_value());
    EXPECT_EQ(*parseGregorian(QStringLiteral("2024-02-29")), QDate(2024, 2, 29));
}

TEST(Jalali, MonthBounds)
{
    EXPECT_EQ(MonthLastDay(1403, 12), QStringLiteral("1403/12/30"));
    EXPECT_EQ(MonthLastDay(1403, 6), QStringLiteral("1403/06/31"));
    EXPECT_EQ(MonthLastDay(1402, 7), QStringLiteral("1402/07/30"));
    EXPECT_EQ(MonthFirstDay(1402, 13), QStringLiteral("1403/01/01"));
    EXPECT_EQ(MonthLastDay(1402, 14), QStringLiteral("1403/02/31"));
}

TEST(Jalali, TodayFollowsTheServerClock)
{
    const Clock server([] { return std::optional<QDateTime>(QDateTime(QDate(2025, 3, 20), QTime(10, 0))); });
    EXPECT_EQ(server.todayJalali(), QStringLiteral("1403/12/30"));
    EXPECT_EQ(server.todayJalaliCompact(), QStringLiteral("14031230"));
    EXPECT_EQ(server.year(), 1403);
    EXPECT_EQ(server.month(), 12);
    EXPECT_EQ(server.day(), 30);
    EXPECT_EQ(server.todayJalaliLong(), QStringLiteral("پنجشنبه 30/اسفند/1403 "));
    // A clock that cannot answer falls back to the local one.
    const Clock silent([] { return std::optional<QDateTime>(); });
    EXPECT_EQ(silent.todayJalali(), toJalali(QDate::currentDate()).toText());
    EXPECT_EQ(TodayJalali(), toJalali(QDate::currentDate()).toText());
}
