#include "core/io/GridExport.h"
#include "core/io/Workbook.h"
#include "core/io/XlsWriter.h"
#include "core/statements/StatementParser.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

using namespace orvak;
using namespace orvak::statements;

namespace {

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QList<StatementLine> readAll(const QString& path, int format, FileReading* reading = nullptr, QChar separator = QLatin1Char(';'))
{
    QList<StatementLine> lines;
    const FileReading r = readStatementFile(path, *statementLayout(format), separator, [&](const StatementLine& l) {
        lines << l;
        return true;
    });
    if (reading)
        *reading = r;
    return lines;
}

QString pad(const QString& text, int width) { return text.leftJustified(width, QLatin1Char(' '), true); }
QString padNumber(qint64 n, int width) { return QString::number(n).rightJustified(width, QLatin1Char('0')); }

// The fields every format's first line below carries, and how they must come out.
struct Expected {
    QString date, time, description;
    qint64 branch, document;
    QString identifier, transaction;
    qint64 debit, credit, balance;
};

void expectLine(const StatementLine& l, const Expected& e, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(l.date, e.date);
    EXPECT_EQ(l.time, e.time);
    EXPECT_EQ(l.description, e.description);
    EXPECT_EQ(l.branch, e.branch);
    EXPECT_EQ(l.document, e.document);
    EXPECT_EQ(l.identifier, e.identifier);
    EXPECT_EQ(l.transaction, e.transaction);
    EXPECT_EQ(l.debit, e.debit);
    EXPECT_EQ(l.credit, e.credit);
    EXPECT_EQ(l.balance, e.balance);
    EXPECT_TRUE(l.hasBalance);
}

} // namespace

TEST(StatementParser, CellReadersTakeTheBanksFormsAndRefuseTheRest)
{
    QString why;
    const std::pair<const char*, const char*> dates[] = {
        {"1403/05/14", "1403/05/14"}, {"03/05/14", "1403/05/14"}, {"14030514", "1403/05/14"}, {"030514", "1403/05/14"},
        {"99/12/29", "1399/12/29"}, {"1403-5-4", "1403/05/04"}, {"۱۴۰۳/۰۵/۱۴", "1403/05/14"}, {"1403/05/14 10:22", "1403/05/14"}, {"", "0000/00/00"}};
    for (const auto& [text, date] : dates) {
        const auto d = readDate(QString::fromUtf8(text), DateForm::YearFirst, &why);
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->date, QString::fromLatin1(date)) << text;
    }
    EXPECT_EQ(readDate(QStringLiteral("14/05/1403"), DateForm::DayFirst, &why)->date, QStringLiteral("1403/05/14"));
    for (const char* bad : {"1403/13/01", "1403/12/31 x y", "abc", "1403/5", "12345", "1403/02/32"})
        EXPECT_FALSE(readDate(QString::fromLatin1(bad), DateForm::YearFirst, &why)) << bad;

    const std::pair<const char*, qint64> amounts[] = {{"1,250,000", 1250000}, {"(500)", -500}, {"500-", -500}, {"-7", -7},
                                                      {"۱٬۲۰۰", 1200},       {" ", 0},           {"12.6", 13}};
    for (const auto& [text, value] : amounts)
        EXPECT_EQ(readAmount(QString::fromUtf8(text), &why), value) << text;
    for (const char* bad : {"12a", "1e5", "--5", "(5", "9999999999999999999"})
        EXPECT_FALSE(readAmount(QString::fromLatin1(bad), &why)) << bad;

    EXPECT_EQ(readTime(QStringLiteral("9:05"), &why), QStringLiteral("09:05"));
    EXPECT_EQ(readTime(QStringLiteral("102233"), &why), QStringLiteral("10:22"));
    EXPECT_FALSE(readTime(QStringLiteral("25:00"), &why));
    EXPECT_EQ(splitCells(QStringLiteral("a,\"b,c\",\"say \"\"x\"\"\",=\"0012\""), QLatin1Char(',')),
              (QStringList{"a", "b,c", "say \"x\"", "0012"}));
}

TEST(StatementParser, ReadsTheFormatsWhoseColumnsAreStatedAndOneOfEachFamily)
{
    QTemporaryDir dir;
    const Expected credit{"1403/05/14", "10:22", "واريز نقدي", 1234, 556677, {}, {}, 0, 1500000, 9500000};
    const QString c = QStringLiteral("واريز نقدي");
    struct Case {
        int format;
        QByteArray bytes;
        Expected expected;
    };
    QList<Case> cases;
    // 5: date, time, description, branch, slip, debit, credit, balance, additional information; five header lines.
    cases << Case{5, (QStringLiteral("h1\nh2\nh3\nh4\nh5\n1403/05/14,10:22,%1,1234,556677,0,\"1,500,000\",\"9,500,000\",8833221100\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c, 1234, 556677, "8833221100", {}, 0, 1500000, 9500000}};
    // 23 and 26: date, time, description, cheque number, debit, credit, balance.
    cases << Case{23, (QStringLiteral("head\n1403/05/14,10:22,%1,556677,,1500000,9500000\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c, 0, 556677, {}, {}, 0, 1500000, 9500000}};
    cases << Case{26, (QStringLiteral("head\n1403/05/14\t10:22\t%1\t556677\t0\t1500000\t9500000\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c, 0, 556677, {}, {}, 0, 1500000, 9500000}};
    // 24: row, description, date, time, credit, debit, balance, acting branch, document, sheet/cheque, note.
    cases << Case{24, (QStringLiteral("head\n1\t%1\t1403/05/14\t10:22\t1500000\t0\t9500000\t1234 - مرکزي\t88001\t556677\tبابت قرارداد\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c + QStringLiteral(" - بابت قرارداد"), 1234, 556677, {}, "88001", 0, 1500000, 9500000}};
    // 25: row, branch code, branch name, date, time, document, receipt, sheet/cheque, remarks, debit, credit, balance.
    cases << Case{25, (QStringLiteral("head\n1\t1234\tمرکزي\t1403/05/14\t10:22\t88001\t445566\t\t%1\t0\t1500000\t9500000\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c, 1234, 445566, {}, "88001", 0, 1500000, 9500000}};
    // Fixed width (1): date, time, document, branch, side, amount, balance, description.
    cases << Case{1, (QStringLiteral("14030514") + QStringLiteral("102200") + padNumber(556677, 10) + padNumber(1234, 5) + QStringLiteral("C")
                      + padNumber(1500000, 15) + padNumber(9500000, 15) + pad(c, 50) + QStringLiteral("\r\n"))
                         .toUtf8(),
                  credit};
    // Comma (16): date, time, document, branch, description, debit, credit, balance, identifier.
    cases << Case{16, (QStringLiteral("head\n1403/05/14,10:22,556677,1234,%1,0,1500000,9500000,77\n").arg(c)).toUtf8(),
                  {"1403/05/14", "10:22", c, 1234, 556677, "77", {}, 0, 1500000, 9500000}};
    // Tab (7): row, date, time, description, document, branch, debit, credit, balance; three header lines.
    cases << Case{7, (QStringLiteral("h1\nh2\nh3\n1\t1403/05/14\t10:22\t%1\t556677\t1234\t0\t1500000\t9500000\n").arg(c)).toUtf8(), credit};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.format);
        FileReading reading;
        const QList<StatementLine> lines = readAll(write(dir, QStringLiteral("f%1.txt").arg(k.format), k.bytes), k.format, &reading);
        ASSERT_FALSE(reading.failure) << reading.failure->reason.toStdString();
        ASSERT_EQ(lines.size(), 1);
        expectLine(lines[0], k.expected, statementLayout(k.format)->title.toUtf8().constData());
    }
}

TEST(StatementParser, WindowsCodePageAndUtf16FilesReadAsText)
{
    QTemporaryDir dir;
    const QString line = QStringLiteral("1\t1403/05/14\t10:22\tواريز نقدي\t556677\t1234\t0\t1500000\t9500000");
    const QString text = QStringLiteral("h1\nh2\nh3\n") + line + QStringLiteral("\n");
    QByteArray utf16("\xFF\xFE");
    for (QChar ch : text) {
        utf16 += char(ch.unicode() & 0xFF);
        utf16 += char(ch.unicode() >> 8);
    }
    const QByteArray cp1256 = QByteArray("h1\nh2\nh3\n1\t1403/05/14\t10:22\t") + QByteArray::fromHex("E6C7D1ED D220E4DEDCED").replace(' ', "")
        + QByteArray("\t556677\t1234\t0\t1500000\t9500000\n");
    for (const QByteArray& bytes : {utf16, cp1256, text.toUtf8()}) {
        FileReading r;
        const QList<StatementLine> lines = readAll(write(dir, QStringLiteral("s.txt"), bytes), 7, &r);
        ASSERT_FALSE(r.failure) << r.failure->reason.toStdString();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0].credit, 1500000);
        EXPECT_EQ(lines[0].branch, 1234);
    }
    // The code page's Yeh is the Arabic one; the words compare the same.
    EXPECT_TRUE(readAll(write(dir, QStringLiteral("s.txt"), cp1256), 7).value(0).description.startsWith(QStringLiteral("واريز")));
}

TEST(StatementParser, SpreadsheetLayoutsReadXlsXlsxAndTheConvertersText)
{
    QTemporaryDir dir;
    // 33: row, date, time, description, document, identifier, signed amount, balance, branch; one header row.
    const QList<QStringList> rows = {
        {"رديف", "تاريخ", "ساعت", "شرح", "شماره", "شناسه", "مبلغ", "مانده", "شعبه"},
        {"1", "1403/05/14", "10:22", "واريز", "556677", "77", "1500000", "9500000", "1234"},
        {"2", "1403/05/15", "11:00", "کارمزد", "0", "", "-2500", "9497500", "0"},
    };
    io::XlsWriter xls(QStringLiteral("Sheet"));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            bool number = false;
            const double v = rows[r][c].toDouble(&number);
            // A spreadsheet program leaves an empty cell out.
            if (number && c != 1 && c != 2)
                xls.number(r, c, v, 0);
            else if (!rows[r][c].isEmpty())
                xls.text(r, c, rows[r][c]);
        }
    }
    const QString xlsPath = write(dir, QStringLiteral("t.xls"), xls.workbook());
    io::ExportTable t;
    t.headers = rows[0];
    t.rowCount = int(rows.size()) - 1;
    for (int c = 0; c < t.headers.size(); ++c) {
        t.widths << 80;
        t.formats << io::CellFormat::Text;
        t.totals << false;
    }
    t.text = [&](int r, int c) { return rows[r + 1][c]; };
    t.number = [](int, int) { return std::optional<double>(); };
    const QString xlsxPath = dir.filePath(QStringLiteral("t.xlsx"));
    ASSERT_TRUE(io::exportTable(t, io::ExportFormat::Xlsx, xlsxPath));
    QByteArray tmp;
    for (const QStringList& r : rows)
        tmp += r.join(QLatin1Char('\t')).toUtf8() + "\r\n";
    const QString tmpPath = write(dir, QStringLiteral("t.TMP"), tmp);
    for (const QString& path : {xlsPath, xlsxPath, tmpPath}) {
        SCOPED_TRACE(path.toStdString());
        FileReading r;
        const QList<StatementLine> lines = readAll(path, 33, &r);
        ASSERT_FALSE(r.failure) << r.failure->reason.toStdString();
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0].date, QStringLiteral("1403/05/14"));
        EXPECT_EQ(lines[0].credit, 1500000);
        EXPECT_EQ(lines[0].identifier, QStringLiteral("77"));
        EXPECT_EQ(lines[0].branch, 1234);
        EXPECT_EQ(lines[0].sourceLine, 2);
        EXPECT_EQ(lines[1].debit, 2500);
        EXPECT_EQ(lines[1].balance, 9497500);
    }
    QString why;
    auto book = io::Workbook::open(xlsxPath, &why);
    ASSERT_TRUE(book) << why.toStdString();
    EXPECT_EQ(book->sheetNames().size(), 1);
}

TEST(StatementParser, BadInputIsRefusedWithItsLineAndNeverCrashes)
{
    QTemporaryDir dir;
    const QByteArray good = "head\n1403/05/14,10:22,556677,1234,x,0,1500000,9500000,77\n";
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;   // of the failure; 0: the file as a whole
        const char* name = "b.txt";
        int format = 16;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"headers only", "head\n", 0},
        {"binary", QByteArray("head\n\x01\x02\x00\xff", 9), 2},
        {"truncated", good + "1403/05/15,10:00,1\n", 3},
        {"letters in an amount", good + "1403/05/15,10:00,1,1,x,0,15OO,9,1\n", 3},
        {"no date", good + "1403/13/40,10:00,1,1,x,0,1,9,1\n", 3},
        {"long line", "head\n" + QByteArray(LongestLine + 10, 'a') + "\n", 2},
        {"wrong format", "head\n1;2;3;4\n", 2},
        {"a spreadsheet that is none", "not a workbook at all", 0, "s.xlsx", 33},
        {"a damaged workbook", QByteArray("PK\x03\x04", 4) + QByteArray(200, 'x'), 0, "s.xlsx", 33},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        FileReading r;
        const QString path = write(dir, QString::fromLatin1(k.name), k.bytes);
        const QList<StatementLine> lines = readAll(path, k.format, &r);
        ASSERT_TRUE(r.failure);
        EXPECT_EQ(r.failure->line, k.line) << r.failure->reason.toStdString();
        EXPECT_FALSE(r.failure->reason.isEmpty());
        // The lines before a failing one were handed on.
        EXPECT_EQ(lines.size(), k.line > 2 ? k.line - 2 : 0);
        EXPECT_TRUE(readFailureText(path, *r.failure).startsWith(QStringLiteral("اشکال در قرائت اطلاعات")));
    }
}

TEST(StatementParser, RandomMutationsOfValidFilesOfEachFamilyNeverCrash)
{
    QTemporaryDir dir;
    const QString c = QStringLiteral("واريز نقدي");
    QByteArray fixed;
    QByteArray comma = "head\n";
    QByteArray tab = "h1\nh2\nh3\n";
    for (int i = 0; i < 20; ++i) {
        fixed += (QStringLiteral("1403051%1").arg(i % 10) + QStringLiteral("102200") + padNumber(556677 + i, 10) + padNumber(1234, 5)
                  + QString::fromLatin1(i % 3 ? "C" : "D") + padNumber(1500000 + i, 15) + padNumber(9500000, 15) + pad(c, 50) + QStringLiteral("\r\n"))
                     .toUtf8();
        comma += QStringLiteral("1403/05/1%1,10:22,%2,1234,%3,0,\"1,500,000\",9500000,77\n").arg(i % 10).arg(556677 + i).arg(c).toUtf8();
        tab += QStringLiteral("%1\t1403/05/1%2\t10:22\t%3\t556677\t1234\t0\t1500000\t9500000\n").arg(i).arg(i % 10).arg(c).toUtf8();
    }
    io::XlsWriter xls(QStringLiteral("Sheet"));
    xls.text(0, 0, QStringLiteral("head"));
    for (int r = 1; r < 20; ++r) {
        xls.text(r, 1, QStringLiteral("1403/05/14"));
        xls.text(r, 3, c);
        xls.number(r, 6, 1000.0 * r, 0);
    }
    const QByteArray sheet = xls.workbook();
    const std::tuple<int, QByteArray, const char*> families[] = {{1, fixed, "f.txt"}, {16, comma, "c.csv"}, {7, tab, "t.txt"}, {33, sheet, "s.xls"}};
    std::mt19937 rng(2025);
    for (const auto& [format, valid, name] : families) {
        ASSERT_FALSE(readStatementFile(write(dir, QString::fromLatin1(name), valid), *statementLayout(format), ';', [](const StatementLine&) { return true; }).failure)
            << format;
        for (int round = 0; round < 150; ++round) {
            QByteArray b = valid;
            const int edits = 1 + int(rng() % 8);
            for (int e = 0; e < edits && !b.isEmpty(); ++e) {
                const int at = int(rng() % b.size());
                switch (rng() % 4) {
                case 0: b[at] = char(rng() % 256); break;
                case 1: b.insert(at, char(rng() % 256)); break;
                case 2: b.remove(at, 1 + int(rng() % 16)); break;
                case 3: b.truncate(at); break;
                }
            }
            const QString path = write(dir, QString::fromLatin1(name), b);
            int lines = 0;
            const FileReading r = readStatementFile(path, *statementLayout(format), ';', [&](const StatementLine& l) {
                ++lines;
                EXPECT_TRUE(l.date == QLatin1String("0000/00/00") || l.date.size() == 10);
                return true;
            });
            EXPECT_EQ(r.lines, lines);
            if (r.failure) {
                EXPECT_FALSE(r.failure->reason.isEmpty());
            }
        }
    }
}
