#include "support/TestSupport.h"
#include "core/util/AmountWords.h"

#include <gtest/gtest.h>

using orvak::util::AmountToWords;

namespace {
// Writes ZWNJ as '|' so that expected texts stay readable.
QString W(const char* s) { return QString::fromUtf8(s).replace(QLatin1Char('|'), QChar(0x200C)); }
} // namespace

TEST(AmountToWords, WordsJoinersAndSpaces)
{
    struct Case { quint64 n; const char* words; };
    const Case cases[] = {
        {0, "صفر|"},
        {1, "يك|"},
        {9, "نه|"},
        {10, "ده |"},
        {15, "پانزده|"},
        {19, "نوزده"},
        {20, "بيست "},
        {21, "بيست ||و|يك|"},
        {30, "سي||"},
        {35, "سي||||و|پنج|"},
        {60, " شصت"},
        {99, "نود||و|نه|"},
        {100, "يكصد"},
        {105, "يكصد|و|پنج|"},
        {110, "يكصد|و|ده |"},
        {200, "دويست|"},
        {219, "دويست||و|نوزده"},
        {999, "نهصد|و|نود||و|نه|"},
        {1000, "يك| هزار |"},
        {1001, "يك|هزارو| يك|"},
        {2500, "دو|هزارو| پانصد"},
        {1000000, "يك| ميليون|| "},
        {1000001, "يك| ميليون و| يك|"},
        {1001000, "يك| ميليون و| يك| هزار |"},
        {1000000000, "يك|ميليارد ||"},
        {1000000001, "يك|ميلياردو|| يك|"},
        {2000000000000ULL, "دو| هزار |ميليارد ||"},
        {12345678, "دوازده| ميليون و| سيصد|و|چهل ||و|پنج|هزارو| ششصد|و|هفتاد||و|هشت|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AmountToWords(c.n), W(c.words)) << c.n;
}

TEST(AmountToWords, LargestSixtyFourBitValue)
{
    // 18446744073709551615: the billions group (18446744073) goes through the same routine.
    const QString words = AmountToWords(18446744073709551615ULL);
    EXPECT_TRUE(words.startsWith(W("هيجده|ميلياردو|| ")));
    EXPECT_TRUE(words.endsWith(W("ششصد|و|پانزده|")));
}
