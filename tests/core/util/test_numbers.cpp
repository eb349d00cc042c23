#include "support/TestSupport.h"
#include "core/util/Numbers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvak::util;

TEST(Numbers, SafeStrToInt)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"1,234,567", 1234567}, {"12-3", -123},    {"1234567890123", 123456789}, {"", 0},
        {"abc", 0},             {"۱۲۳", 123},      {"٤٥٦", 456},                {"۱٬۲۳۴", 1234},
        {"12\u200C34", 1234},   {"-", 0},          {" 42 ", 42},                {"1،000", 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SafeStrToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Numbers, StrictReadingRefusesGarbageAndOverflow)
{
    EXPECT_EQ(parseWholeNumber(QStringLiteral("9223372036854775807")), std::optional<qint64>(9223372036854775807LL));
    EXPECT_EQ(parseWholeNumber(QStringLiteral("-9223372036854775808")), std::optional<qint64>(std::numeric_limits<qint64>::min()));
    EXPECT_FALSE(parseWholeNumber(QStringLiteral("9223372036854775808")).has_value());
    EXPECT_FALSE(parseWholeNumber(QStringLiteral("")).has_value());
    EXPECT_FALSE(parseWholeNumber(QStringLiteral("12a")).has_value());
    EXPECT_EQ(parseWholeNumber(QStringLiteral("۱,۲۵۰,۰۰۰")), std::optional<qint64>(1250000));
    EXPECT_EQ(parseAmount(QStringLiteral("1,500.5")), std::optional<qint64>(1501));
    EXPECT_EQ(parseAmount(QStringLiteral("-1,500.5")), std::optional<qint64>(-1501));
    EXPECT_EQ(parseAmount(QStringLiteral("1,500.49")), std::optional<qint64>(1500));
    EXPECT_FALSE(parseAmount(QStringLiteral("1.2.3")).has_value());
}

TEST(Numbers, TolerantReadingRefusesWhatItWouldCut)
{
    EXPECT_EQ(parseTolerantInt(QStringLiteral("12-3")), std::optional<int>(-123));
    EXPECT_EQ(parseTolerantInt(QStringLiteral("999,999,999")), std::optional<int>(999999999));
    EXPECT_EQ(parseTolerantInt(QString::fromUtf8("۱۲۳")), std::optional<int>(123));
    EXPECT_EQ(parseTolerantInt(QString()), std::optional<int>(0));
    EXPECT_FALSE(parseTolerantInt(QStringLiteral("1234567890")).has_value());
    EXPECT_FALSE(parseTolerantInt(QStringLiteral("-9223372036854775808")).has_value());
}

TEST(Numbers, AmountReading)
{
    struct Case { const char* text; std::optional<qint64> value; };
    const Case cases[] = {
        {"1250000", 1250000},
        {"۱٬۲۵۰٬۰۰۰", 1250000},
        {" 1 500 ", 1500},
        {"+42", 42},
        {"۱٫۵", 2},                                   // Arabic decimal separator
        {"-.5", -1},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"1e300", std::nullopt},
        {"1.5e3", std::nullopt},
        {"1E3", std::nullopt},
        {"0x10", std::nullopt},
        {".", std::nullopt},
        {"-.", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"12-3", std::nullopt},
        {"--5", std::nullopt},
        {"ريال 2500", std::nullopt},
        {"9223372036854775808", std::nullopt},
        {"9223372036854775807.5", std::nullopt},
        {"-9223372036854775808.5", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseAmount(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Numbers, FormatAmount)
{
    struct Case { const char* text; const char* shown; };
    const Case cases[] = {
        {"1234567", "1,234,567"}, {"1,234,567", "1,234,567"}, {"0", ""},   {"", ""},
        {"ريال 2500", "2,500"},   {"۲۵۰۰۰", "25,000"},       {"999.5", "1,000"}, {"-1500", "-1,500"},
        {"123456789012345678901234", "123,456,789,012,345,678,901,234"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatAmount(QString::fromUtf8(c.text)), QString::fromUtf8(c.shown)) << c.text;
    EXPECT_EQ(FormatAmount(qint64(-1234)), QStringLiteral("-1,234"));
    EXPECT_EQ(FormatAmount(qint64(0)), QString());
}

TEST(Numbers, FormatSignedAmount)
{
    struct Case { double value; const char* shown; };
    const Case cases[] = {
        {-1500.5, "(1,500.5)"}, {0, "0"}, {0.5, "0.5"}, {1234567.125, "1,234,567.125"}, {-0.25, "(0.25)"}, {1000, "1,000"},
        {-0.0001, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSignedAmount(c.value), QString::fromUtf8(c.shown)) << c.value;
}

TEST(Numbers, NationalCode)
{
    struct Case { const char* code; bool valid; };
    const Case cases[] = {
        {"0084575948", true},  {"0499370899", true}, {"1111111111", false}, {"0000000000", false},
        {"0084575947", false}, {"084575948", false}, {"00845759481", false}, {"", false},
        {"۰۰۸۴۵۷۵۹۴۸", true},  {"1234567891", true}, {"123456789X", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidNationalCode(QString::fromUtf8(c.code)), c.valid) << c.code;
}
