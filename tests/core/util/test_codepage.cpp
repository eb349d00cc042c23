#include "support/TestSupport.h"
#include "core/util/CodePage1256.h"
#include "core/util/Scramble.h"
#include "core/util/TextKey.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvak::util;

TEST(CodePage1256, RoundTripOfEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const Encoded1256 again = encode1256(decode1256(all));
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(again.bytes, all);
}

TEST(CodePage1256, ModernKeyboardTextAndUnencodableCharacters)
{
    // Persian Yeh -> Arabic Yeh 0xED; Persian Kaf has its own code 0x98; digits -> ASCII.
    const Encoded1256 e = encode1256(QStringLiteral("کیف ۱۲٣"));
    EXPECT_TRUE(e.ok());
    EXPECT_EQ(e.bytes, QByteArray("\x98\xED\xDD 123"));
    const Encoded1256 bad = encode1256(QStringLiteral("a€b漢c✓"));
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.unencodable, QStringLiteral("漢✓"));
    EXPECT_EQ(bad.bytes, QByteArray("a\x80" "b?c?"));
}

TEST(TextKey, YehKafDigitsAndJoinerAreOne)
{
    EXPECT_EQ(searchKey(QStringLiteral("علی‌اکبر ۱۲")), searchKey(QStringLiteral("عليﺍكبر 12")).replace(QChar(0xFE8D), QChar(0x0627)));
    EXPECT_TRUE(searchMatches(QStringLiteral("شرکت پیمانکاری کیان"), QStringLiteral("كيان")));
    EXPECT_TRUE(searchMatches(QStringLiteral("قرارداد ۱۴۰۳"), QStringLiteral("1403")));
    EXPECT_FALSE(searchMatches(QStringLiteral("بانک ملی"), QStringLiteral("ملت")));
}

TEST(ScrambleText, ReversibleAndKeyed)
{
    const qint64 a = 275, b = 100000 - 275;
    for (const QString& text : {QStringLiteral("secret"), QStringLiteral("رمز123"), QString(), QStringLiteral("x")}) {
        const auto once = ScrambleText(text, a, b);
        ASSERT_TRUE(once.has_value());
        EXPECT_EQ(*ScrambleText(*once, a, b), text);
        EXPECT_EQ(once->size(), text.size());
    }
    EXPECT_EQ(*ScrambleText(QString(), a, b), QString());
    // Reversed, every byte XOR (a mod b) XOR low byte of b XOR length.
    const auto s = ScrambleBytes("abc", 300, 7);
    const char key = char((300 % 7) ^ 7 ^ 3);
    const char expected[] = {char('c' ^ key), char('b' ^ key), char('a' ^ key)};
    EXPECT_EQ(*s, QByteArray(expected, 3));
    EXPECT_FALSE(ScrambleText(QStringLiteral("x"), 5, 0).has_value());
    // Keys at the ends of 64 bits scramble like any other: no trap, still reversible.
    constexpr qint64 lo = std::numeric_limits<qint64>::min(), hi = std::numeric_limits<qint64>::max();
    const std::pair<qint64, qint64> extremes[] = {{lo, -1}, {lo, 1}, {hi, -1}, {lo, lo}, {hi, lo}, {-1, lo}};
    for (const auto& [ka, kb] : extremes) {
        const auto once = ScrambleText(QStringLiteral("abc"), ka, kb);
        ASSERT_TRUE(once.has_value()) << ka << ' ' << kb;
        EXPECT_EQ(*ScrambleText(*once, ka, kb), QStringLiteral("abc"));
    }
    // Different keys give different stored forms.
    EXPECT_NE(*ScrambleText(QStringLiteral("1234"), 30000 + 275 + 100, 275), *ScrambleText(QStringLiteral("1234"), 30000 + 275 + 200, 275));
}
