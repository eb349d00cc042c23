// Every text layout of the treasury files against a file written out by hand from the
// layout's table: widths, padding on the left, a longer value written whole, the empty
// date, title records and header blocks, CR LF, no byte-order mark, the code page.
#include "core/deposits/TreasuryLayouts.h"
#include "core/util/CodePage1256.h"

#include <gtest/gtest.h>

using namespace orvak::deposits;

namespace {

// Persian text in code page 1256, written out byte by byte so that the codec is not
// checked against itself: "علی" with the Persian Yeh, and "سپرده".
const QByteArray Ali1256 = QByteArray::fromHex("dae1ed");
const QByteArray Sepordeh1256 = QByteArray::fromHex("d381d1cfe5");
const QString Ali = QStringLiteral("عل\u06CC");
const QString Sepordeh = QStringLiteral("سپرده");

TreasuryRecord requestHead()
{
    return {{"AGENCY", "127661"},   {"YEAR", "1404"},        {"MONTH", "05"},   {"DAY", "20"},
            {"TODAY", "1404/06/01"}, {"REQDATE", "1404/05/20"}, {"REQNO", "R-7"}, {"REFUNDACC", "4001114004023456"},
            {"SUM", "15918000"},    {"COUNT", "2"}};
}

QList<TreasuryRecord> requestRows()
{
    return {{{"REQ_ROW", "1"},
             {"FISHNO", "13"},
             {"FISHDATE", "1404/03/31"},
             {"AMOUNT", "15917000"},
             {"ERSAL_ROW", "13"},
             {"BESTANKARINO", "4001"},
             {"BESTANKARIDATE", "1404/05/10"},
             {"CREDITNO_FILLED", "4001"},
             {"BESLETTERNO", "701"},
             {"BESLETTERDATE", "1404/05/12"},
             {"BESAMOUNT", "27223332000"},
             {"OWNER", Ali},
             {"NID", "10102217239"},
             {"KIND", Sepordeh},
             {"CONTRACTNO", "P-12"},
             {"AGENCY", "127661"}},
            // No letter date, an eleven-digit receipt number, a date that is no date,
            // Persian digits in the row number.
            {{"REQ_ROW", "2"},
             {"FISHNO", "12345678901"},
             {"FISHDATE", ""},
             {"AMOUNT", "1000"},
             {"ERSAL_ROW", QStringLiteral("۷")},
             {"BESTANKARINO", "4002"},
             {"BESTANKARIDATE", "1404/13/01"},
             {"CREDITNO_FILLED", "11111111"},
             {"BESLETTERNO", ""},
             {"BESLETTERDATE", ""},
             {"BESAMOUNT", "1000"},
             {"OWNER", "B"},
             {"NID", ""},
             {"KIND", ""},
             {"CONTRACTNO", "0"},
             {"AGENCY", "127661"}}};
}

TreasuryRecord listHead()
{
    return {{"AGENCY", "127661"},      {"YEAR", "1404"},        {"MONTH", "05"},         {"YEARMONTH", "140405"},
            {"PAIDDATE", "1404/06/02"}, {"FILEDATE", "1404/06/01"}, {"LETTERNO", "12\t3/ذ"}, {"LETTERDATE", "1404/06/01"},
            {"TREASURYACC", "2171231231002"}, {"SUM", "2500"}, {"COUNT", "2"}};
}

QList<TreasuryRecord> listRows()
{
    auto row = [](const char* seprow, const char* sepno, const char* sepdate, const char* amount, const char* chkno, const char* chkdate,
                  const QString& owner) {
        return TreasuryRecord{{"SEPROW", seprow},  {"SEPNO", sepno},     {"SEPDATE", sepdate},   {"AMOUNT", amount},
                              {"CHKNO", chkno},    {"CHKDATE", chkdate}, {"OWNER", owner},        {"OWNER_OR_UNKNOWN", owner.isEmpty() ? QStringLiteral("پيمانکار نامشخص") : owner},
                              {"NID", "123"},      {"KIND", "K"},        {"CONTRACTNO", "0"},     {"CREDITNO_FILLED", "11111111"},
                              {"CITY", "C"},       {"OFFICENAME", "OF"}, {"AGENCYROW", "AR"},     {"AGENCY", "127661"}};
    };
    return {row("4", "55", "1404/05/01", "1500", "0", "1404/05/02", QStringLiteral("A")), row("5", "56", "", "1000", "987", "bad", QString())};
}

QByteArray bytesOf(const TreasuryLayout* layout, const TreasuryRecord& head, const QList<TreasuryRecord>& rows)
{
    EXPECT_NE(layout, nullptr);
    const TextFile f = writeTextFile(layout->text, head, rows);
    EXPECT_TRUE(f.ok()) << f.unencodable.toStdString();
    return f.bytes;
}

} // namespace

TEST(TreasuryLayouts, RequestLayout3IsFixedWidthRightAlignedWithEmptyDatesAndOverflow)
{
    const QByteArray expected = "EO4001114004023456    2        15918000\r\n"
                                "    1       7011404/05/12        13      40011404/05/10   13        15917000\r\n"
                                "    2              /  /  12345678901      4002    /  /      7            1000\r\n";
    EXPECT_EQ(bytesOf(requestLayout(3), requestHead(), requestRows()), expected);
    // The title record is 39 characters and a row 76 when nothing overflows.
    EXPECT_EQ(expected.indexOf("\r\n"), 39);
    EXPECT_EQ(expected.indexOf("\r\n", 41) - 41, 76);
}

TEST(TreasuryLayouts, RequestLayout2HasItsHeaderBlockAndCommaRows)
{
    const QByteArray expected = "2.2\r\n127661\r\n1404\r\n05\r\n1404/06/01\r\n\r\n\r\n\r\n15918000\r\n2\r\n\r\n*****     ORVAK     *****\r\n"
                                "1,13,1404/03/31,15917000,15917000," + Ali1256 + "," + Sepordeh1256 + "\r\n"
                                "2,12345678901,,1000,1000,B,\r\n";
    EXPECT_EQ(bytesOf(requestLayout(2), requestHead(), requestRows()), expected);
}

TEST(TreasuryLayouts, Layout4IsUtf8WithTheFixedCodesAndNoByteOrderMark)
{
    const QByteArray expected = "022,2,15918000,1404/05/20\r\n"
                                "1,4001,13,1404/03/31,15917000,0,14,P-12,022,1," + Ali.toUtf8() + "\r\n"
                                "2,11111111,12345678901,,1000,0,14,0,022,1,B\r\n";
    EXPECT_EQ(bytesOf(requestLayout(4), requestHead(), requestRows()), expected);
    const QByteArray list = "022,2,2500,1404/06/01\r\n"
                            "1,11111111,55,1404/05/01,1500,0,14,0,022,1,A\r\n"
                            "2,11111111,56,,1000,0,14,0,022,1,\r\n";
    EXPECT_EQ(bytesOf(listLayout(4), listHead(), listRows()), list);
}

TEST(TreasuryLayouts, RequestLayout5IsSemicolonSeparatedUnderItsTitle)
{
    const QByteArray bytes = bytesOf(requestLayout(5), requestHead(), requestRows());
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(orvak::util::decode1256(lines[0]),
              QStringLiteral("رديف;رديف دستگاه;شماره بستانکاري;تاريخ بستانکاري;پيکره واريزي;کد ملي/کد شرکت;شماره فيش;تاريخ فيش;مبلغ\r"));
    EXPECT_EQ(lines[1], "13;127661;4001;1404/05/10;27223332000;10102217239;13;1404/03/31;15917000\r");
    EXPECT_EQ(lines[2], "7;127661;4002;1404/13/01;1000;;12345678901;;1000\r");
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(TreasuryLayouts, RequestLayouts7And8FollowTheirOutline)
{
    const QByteArray seven = bytesOf(requestLayout(7), requestHead(), requestRows());
    const QList<QByteArray> l7 = seven.split('\n');
    EXPECT_EQ(l7[1], "E;O;4001114004023456;1404/05/20;15918000;2\r");
    EXPECT_EQ(l7[2], "1;13;127661;1404/05/10;15917000;1\r");
    const QByteArray eight = bytesOf(requestLayout(8), requestHead(), requestRows());
    EXPECT_TRUE(eight.startsWith("1;13;1404/03/31;15917000;" + Ali1256 + ";10102217239;4001;"));
}

TEST(TreasuryLayouts, ListLayout3HasTheLetterTheMonthAndTheCity)
{
    const QByteArray expected = "DO   2171231231002     123/\xd0" "1404/06/01140405    2            2500\r\n"
                                "    1        551404/05/01            1500          1404/05/02" +
                                QByteArray(49, ' ') + "A" + QByteArray(49, ' ') + "K" + QByteArray(45, ' ') + "C\r\n" +
                                "    2        56    /  /              1000       987    /  /  " + QByteArray(50, ' ') + QByteArray(49, ' ') + "K" +
                                QByteArray(45, ' ') + "C\r\n";
    const QByteArray bytes = bytesOf(listLayout(3), listHead(), listRows());
    EXPECT_EQ(bytes, expected);
    // The title record is 65 characters; the owner starts at 62 and the city after 206.
    EXPECT_EQ(bytes.indexOf("\r\n"), 65);
    const QByteArray row = bytes.mid(67, bytes.indexOf("\r\n", 67) - 67);
    EXPECT_EQ(row.mid(110, 1), "A");
    EXPECT_EQ(row.mid(206), "C");
}

TEST(TreasuryLayouts, ListLayouts2578)
{
    QByteArray two = "1\r\n127661\r\n1404\r\n05\r\n1404/06/02\r\n\r\n\r\n\r\n2500\r\n2\r\n";
    for (int i = 0; i < 9; ++i)
        two += "\r\n";
    two += "*****     ORVAK     *****\r\n1,55,1404/05/01,1500,A\r\n2,56,,1000,\r\n";
    EXPECT_EQ(bytesOf(listLayout(2), listHead(), listRows()), two);

    const QList<QByteArray> five = bytesOf(listLayout(5), listHead(), listRows()).split('\n');
    EXPECT_EQ(five[1], "4;OF;AR;A;123;1500;55;1404/05/01\r");

    const QList<QByteArray> seven = bytesOf(listLayout(7), listHead(), listRows()).split('\n');
    EXPECT_EQ(seven[1], "D;O;2171231231002;1404/06/01;2500;2\r");
    EXPECT_EQ(seven[3], "2;56;127661;;1000;1\r");

    // A deposit without owner is named as unknown; every record carries the kind and the budget heading.
    const QList<QByteArray> eight = bytesOf(listLayout(8), listHead(), listRows()).split('\n');
    EXPECT_EQ(orvak::util::decode1256(eight[1]),
              QStringLiteral("2;56;;1000;پيمانکار نامشخص;123;سپرده حسن انجام كار 10 درصد;تملک دارائيهاي سرمايه اي 002\r"));
}

TEST(TreasuryLayouts, ACharacterWithoutACodeIsFoundAndNamedWithItsLine)
{
    QList<TreasuryRecord> rows = requestRows();
    rows[1].insert(QStringLiteral("OWNER"), QStringLiteral("شرکت \u4E2D"));
    const TextFile f = writeTextFile(requestLayout(2)->text, requestHead(), rows);
    EXPECT_FALSE(f.ok());
    EXPECT_EQ(f.unencodable, QStringLiteral("\u4E2D"));
    EXPECT_EQ(f.unencodableLine, 12 + 2);
    // UTF-8 takes every character.
    EXPECT_TRUE(writeTextFile(requestLayout(4)->text, requestHead(), rows).ok());
}

TEST(TreasuryLayouts, DbaseDatePartsComeFromTheFourDigitDate)
{
    EXPECT_EQ(dbaseDateParts(QStringLiteral("1403/05/07")), QStringLiteral("03 5 7"));
    EXPECT_EQ(dbaseDateParts(QStringLiteral("1404/11/23")), QStringLiteral("041123"));
    EXPECT_EQ(dbaseDateParts(QString()), QStringLiteral("      "));
    EXPECT_EQ(dbaseDateParts(QStringLiteral("1404/13/01")), QStringLiteral("      "));
}

TEST(TreasuryLayouts, EveryLayoutHasItsCaptionAndKind)
{
    ASSERT_EQ(requestLayouts().size(), 8);
    ASSERT_EQ(listLayouts().size(), 8);
    EXPECT_EQ(requestLayout(1)->kind, TreasuryFileKind::Dbase);
    EXPECT_EQ(requestLayout(6)->kind, TreasuryFileKind::Workbook);
    EXPECT_EQ(listLayout(1)->kind, TreasuryFileKind::Dbase);
    EXPECT_EQ(listLayout(6)->kind, TreasuryFileKind::Workbook);
    EXPECT_EQ(requestLayout(2)->caption, QStringLiteral("قالب 2 : سازمان امور اقتصادي و دارائي استان  تهران و  اصفهان"));
    EXPECT_EQ(listLayout(4)->caption, QStringLiteral("قالب4:  استان خراسان جنوبي"));
    EXPECT_EQ(requestLayout(0), nullptr);
    EXPECT_EQ(listLayout(9), nullptr);
}
