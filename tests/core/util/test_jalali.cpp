#include "support/TestSupport.h"
#include "core/util/Jalali.h"

#include <gtest/gtest.h>

using namespace orvak::util;

namespace {

// Years with a 30th of Esfand in the official calendar, 1300..1500 (the vernal
// equinox before Tehran noon), checked against an astronomical computation.
const QList<int> kLeapYears = {1300, 1304, 1309, 1313, 1317, 1321, 1325, 1329, 1333, 1337, 1342, 1346, 1350,
                               1354, 1358, 1362, 1366, 1370, 1375, 1379, 1383, 1387, 1391, 1395, 1399, 1403,
                               1408, 1412, 1416, 1420, 1424, 1428, 1432, 1436, 1441, 1445, 1449, 1453, 1457,
                               1461, 1465, 1469, 1474, 1478, 1482, 1486, 1490, 1494, 1498};

} // namespace

TEST(Jalali, KnownDates)
{
    struct Case { int gy, gm, gd; const char* jalali; };
    const Case cases[] = {
        {2024, 1, 1, "1402/10/11"},  {2025, 1, 1, "1403/10/12"},  {2024, 3, 20, "1403/01/01"},
        {2029, 3, 20, "1408/01/01"}, {2030, 3, 21, "1409/01/01"}, {2029, 3, 19, "1407/12/29"},
        {2025, 3, 20, "1403/12/30"}, {1991, 3, 21, "1370/01/01"}, {2041, 3, 20, "1420/01/01"},
        // Nowruz where a plain 33-year cycle is a day off from 1436 on, and the
        // ends of the range.
        {1921, 3, 21, "1300/01/01"}, {2025, 3, 21, "1404/01/01"}, {2057, 3, 20, "1436/01/01"},
        {2058, 3, 20, "1436/12/30"}, {2058, 3, 21, "1437/01/01"}, {2090, 3, 20, "1469/01/01"},
        {2091, 3, 20, "1469/12/30"}, {2091, 3, 21, "1470/01/01"}, {2120, 3, 21, "1499/01/01"},
        {2122, 3, 20, "1500/12/29"}, {2024, 9, 22, "1403/07/01"}, {2057, 3, 19, "1435/12/29"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GregorianToJalali(c.gy, c.gm, c.gd).toText(), QString::fromLatin1(c.jalali)) << c.gy << '-' << c.gm << '-' << c.gd;
        const auto j = parseJalali(QString::fromLatin1(c.jalali));
        ASSERT_TRUE(j.has_value());
        EXPECT_EQ(toGregorian(*j), QDate(c.gy, c.gm, c.gd));
    }
}

// Every day from Nowruz 1300 to the end of 1500 against the official leap years:
// each Gregorian day maps to the next Jalali day, both ways.
TEST(Jalali, EveryDayOfTheOfficialCalendar)
{
    QDate g(1921, 3, 21);
    for (int y = 1300; y <= 1500; ++y) {
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

// Beyond the official range the cycles carry on: every year still has 365 or 366
// days and its Nowruz in March, so each day keeps one date.
TEST(Jalali, YearsOutsideTheOfficialRange)
{
    for (int y = 1; y <= 9999; ++y) {
        const QDate nowruz = JalaliToGregorian(y, 1, 1);
        ASSERT_TRUE(nowruz.isValid()) << y;
        ASSERT_EQ(nowruz.month(), 3) << y;
        ASSERT_EQ(toJalali(nowruz), (JalaliDate{y, 1, 1})) << y;
        ASSERT_EQ(toJalali(nowruz.addDays(-1)), (JalaliDate{y - 1, 12, isJalaliLeapYear(y - 1) ? 30 : 29})) << y;
        ASSERT_EQ(toJalali(JalaliToGregorian(y, 12, 29).addDays(isJalaliLeapYear(y) ? 2 : 1)), (JalaliDate{y + 1, 1, 1})) << y;
    }
    EXPECT_FALSE(JalaliToGregorian(10000, 1, 1).isValid());
    EXPECT_FALSE(JalaliToGregorian(0, 1, 1).isValid());
    EXPECT_EQ(toJalali(QDate(1, 1, 1)).month, 10);
}

TEST(Jalali, WeekdayOfAConvertedDate)
{
    struct Case { int jy, jm, jd; const char16_t* weekday; };
    for (const Case& c : {Case{1436, 1, 1, u"سه شنبه"}, Case{1436, 12, 30, u"چهارشنبه"}, Case{1403, 7, 1, u"يکشنبه"}})
        EXPECT_EQ(persianWeekdayName(JalaliToGregorian(c.jy, c.jm, c.jd)), QString::fromUtf16(c.weekday)) << c.jy << '/' << c.jm;
}

TEST(Jalali, ParsingRefusesWhatIsNotADate)
{
    for (const char* bad : {"", "1403/13/01", "1403/00/10", "1402/12/30", "1403/07/31", "abcd/ef/gh", "1403/1/1/1", "14031",
                            "1437/12/30", "1470/12/30", "1403/01/00", "1403/01/32"})
        EXPECT_FALSE(parseJalali(QString::fromUtf8(bad)).has_value()) << bad;
    for (const char* good : {"1436/12/30", "1469/12/30", "1403/06/31"})
        EXPECT_TRUE(parseJalali(QString::fromUtf8(good)).has_value()) << good;
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
