#include "core/util/Arithmetic.h"

#include <gtest/gtest.h>

using namespace orvak::util;

TEST(Arithmetic, FourOperationsWithPersianDigitsAndSeparators)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1+2*3", 7},
        {"(1+2)*3", 9},
        {"۱۲ × ۳", 36},
        {"٤٥ ÷ ٩", 5},
        {"10 - 4 - 3", 3},             // left to right
        {"100 / 8 / 5", 2.5},
        {"1,250,000 * 3", 3750000},
        {"۲٫۵ + 0.25", 2.75},
        {"-3 * -(2 + 1)", 9},
        {"7 − 2", 5},                  // the minus sign
    };
    for (const auto& c : cases) {
        QString why;
        const std::optional<double> v = evaluateArithmetic(QString::fromUtf8(c.text), &why);
        ASSERT_TRUE(v.has_value()) << c.text << ": " << why.toStdString();
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
}

TEST(Arithmetic, MalformedExpressionsAreRefusedWithAReason)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "عبارتي وارد نشده است"},
        {"5 / (2 - 2)", "تقسيم بر صفر ممکن نيست"},
        {"(1 + 2", "پرانتز بسته نشده است"},
        {"2 +", "عبارت نادرست است"},
        {"2 3", "عبارت نادرست است"},
        {"abc", "عبارت نادرست است"},
        {"1.2.3", "عبارت نادرست است"},
    };
    for (const auto& c : cases) {
        QString why;
        EXPECT_FALSE(evaluateArithmetic(QString::fromUtf8(c.text), &why).has_value()) << c.text;
        EXPECT_EQ(why, QString::fromUtf8(c.reason)) << c.text;
    }
}

TEST(Arithmetic, ResultsReadAsTheCalculatorShowsThem)
{
    EXPECT_EQ(formatArithmeticResult(3750000), QStringLiteral("3,750,000"));
    EXPECT_EQ(formatArithmeticResult(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(formatArithmeticResult(-1234.125), QStringLiteral("-1,234.125"));
    EXPECT_EQ(formatArithmeticResult(1.0 / 3), QStringLiteral("0.3333333333"));
    EXPECT_EQ(formatArithmeticResult(0), QStringLiteral("0"));
}
