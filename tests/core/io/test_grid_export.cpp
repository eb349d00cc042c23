#include "core/io/GridExport.h"
#include "support/TestSupport.h"
#include "core/util/CodePage1256.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::io;

namespace {

ExportTable sample(int rows)
{
    ExportTable t;
    t.title = QStringLiteral("فهرست سپرده هاي دريافتي");
    t.headers = {QStringLiteral("شماره"), QStringLiteral("نام صاحب سپرده"), QStringLiteral("تاريخ"), QStringLiteral("مبلغ")};
    t.widths = {60, 200, 80, 120};
    t.formats = {CellFormat::Integer, CellFormat::Text, CellFormat::JalaliDate, CellFormat::Amount};
    t.totals = {false, false, false, true};
    t.rowCount = rows;
    t.text = [](int r, int c) -> QString {
        switch (c) {
        case 0: return QString::number(r + 1);
        case 1: return r == 0 ? QStringLiteral("شرکت \"پارس\", سهامي خاص ✓") : QStringLiteral("پيمانکار %1").arg(r);
        case 2: return QStringLiteral("1403/01/%1").arg(r % 28 + 1, 2, 10, QLatin1Char('0'));
        default: return QStringLiteral("%1").arg(1250000LL * (r + 1));
        }
    };
    t.number = [](int r, int c) -> std::optional<double> {
        if (c == 0)
            return r + 1;
        if (c == 3)
            return 1250000.0 * (r + 1);
        return std::nullopt;
    };
    return t;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Reads a workbook back with an independent reader (xlrd) and prints
// "rows cols|A1|B2|D3|rtl".
QString readBack(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import sys, xlrd\n"
                            "b = xlrd.open_workbook(sys.argv[1])\n"
                            "s = b.sheet_by_name('Sheet')\n"
                            "rtl = getattr(s, 'gridline_colour_rgb', None) is not None\n"
                            "print('%d %d|%s|%s|%s' % (s.nrows, s.ncols, s.cell_value(0, 0), s.cell_value(1, 1), repr(s.cell_value(2, 3))))\n"),
             path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QString::fromUtf8(p.readAllStandardError()).trimmed();
}

} // namespace

TEST(GridExport, TextCsvAndHtml)
{
    QTemporaryDir dir;
    const ExportTable t = sample(3);
    const QString txt = dir.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(exportTable(t, ExportFormat::Text, txt));
    const QString text = QString::fromUtf8(readAll(txt).mid(3));
    EXPECT_TRUE(text.startsWith(QStringLiteral("شماره\tنام صاحب سپرده\tتاريخ\tمبلغ\r\n")));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 4);

    const QString csv = dir.filePath(QStringLiteral("a.CSV"));
    ASSERT_TRUE(exportTable(t, ExportFormat::Csv, csv));
    EXPECT_TRUE(QString::fromUtf8(readAll(csv)).contains(QStringLiteral("1,\"شرکت \"\"پارس\"\", سهامي خاص ✓\",1403/01/01,1250000")));

    const QString htm = dir.filePath(QStringLiteral("a.htm"));
    ASSERT_TRUE(exportTable(t, ExportFormat::Html, htm));
    const QByteArray bytes = readAll(htm);
    EXPECT_TRUE(bytes.startsWith("<html DIR=RTL>"));
    EXPECT_TRUE(bytes.contains("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\">"));
    EXPECT_TRUE(bytes.contains("<table border=1 cellspacing=0>"));
    EXPECT_TRUE(bytes.contains("<th width=200>"));
    EXPECT_TRUE(bytes.contains(orvak::util::encode1256(QStringLiteral("پيمانکار 2")).bytes));
    EXPECT_TRUE(bytes.contains("&#10003;"));   // no code in 1256: a character reference
}

TEST(GridExport, SpreadsheetsOpenInAnotherReader)
{
    QTemporaryDir dir;
    const ExportTable t = sample(50);
    struct Case { ExportFormat format; const char* name; const char* expected; };
    const Case cases[] = {
        {ExportFormat::Xlsx, "a.XLSX", "51 4|شماره|شرکت \"پارس\", سهامي خاص ✓|2500000.0"},
        {ExportFormat::Xls, "a.XLS", "51 4|شماره|شرکت \"پارس\", سهامي خاص ✓|2500000.0"},
        {ExportFormat::XlsxComplete, "c.XLSX", "55 4|فهرست سپرده هاي دريافتي|"},
        {ExportFormat::XlsComplete, "c.XLS", "55 4|فهرست سپرده هاي دريافتي|"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QString error;
        ASSERT_TRUE(exportTable(t, c.format, path, &error)) << error.toStdString();
        EXPECT_TRUE(readBack(path).startsWith(QString::fromUtf8(c.expected))) << c.name << ": " << readBack(path).toStdString();
    }
}

TEST(GridExport, LargeXlsNeedsTheExtendedSectorTable)
{
    // Over 109 FAT sectors: the compound document needs DIFAT sectors.
    QTemporaryDir dir;
    ExportTable t = sample(60000);
    const auto shortText = t.text;
    t.text = [shortText](int r, int c) { return c == 1 ? QStringLiteral("صاحب سپرده با نام طولاني براي آزمون فايل بزرگ %1").arg(r) : shortText(r, c); };
    const QString path = dir.filePath(QStringLiteral("big.XLS"));
    ASSERT_TRUE(exportTable(t, ExportFormat::Xls, path));
    EXPECT_GT(QFileInfo(path).size(), 109 * 128 * 512);
    EXPECT_TRUE(readBack(path).startsWith(QStringLiteral("60001 4|"))) << readBack(path).toStdString();
    t.rowCount = XlsMaxRows + 1;
    QString error;
    EXPECT_FALSE(exportTable(t, ExportFormat::Xls, dir.filePath(QStringLiteral("toobig.XLS")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("toobig.XLS"))));
}

TEST(GridExport, ExtensionsAndUnwritablePaths)
{
    EXPECT_EQ(withExportExtension(QStringLiteral("/tmp/list"), ExportFormat::Xlsx), QStringLiteral("/tmp/list.XLSX"));
    EXPECT_EQ(withExportExtension(QStringLiteral("/tmp/list.xlsx"), ExportFormat::Xlsx), QStringLiteral("/tmp/list.xlsx"));
    EXPECT_EQ(withExportExtension(QStringLiteral("/tmp/list.txt"), ExportFormat::Csv), QStringLiteral("/tmp/list.txt.CSV"));
    EXPECT_EQ(exportFilters().size(), 7);
    QString error;
    for (ExportFormat f : {ExportFormat::Text, ExportFormat::Html, ExportFormat::Xlsx, ExportFormat::Xls}) {
        EXPECT_FALSE(exportTable(sample(2), f, QStringLiteral("/no/such/folder/a.x"), &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

// A typed extension that names a type decides it; for a workbook the chosen variant
// (plain or complete) stays.
TEST(GridExport, TheTypedExtensionDecidesTheType)
{
    struct Case {
        const char* name;
        ExportFormat chosen, expected;
    };
    const Case cases[] = {
        {"/tmp/list", ExportFormat::XlsxComplete, ExportFormat::XlsxComplete},
        {"/tmp/list.xlsx", ExportFormat::Text, ExportFormat::Xlsx},
        {"/tmp/list.XLSX", ExportFormat::XlsComplete, ExportFormat::XlsxComplete},
        {"/tmp/list.xls", ExportFormat::XlsxComplete, ExportFormat::XlsComplete},
        {"/tmp/list.txt", ExportFormat::Xlsx, ExportFormat::Text},
        {"/tmp/list.csv", ExportFormat::Text, ExportFormat::Csv},
        {"/tmp/list.html", ExportFormat::Text, ExportFormat::Html},
        {"/tmp/list.1405", ExportFormat::Csv, ExportFormat::Csv},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exportFormatOfName(QString::fromLatin1(c.name), c.chosen), c.expected) << c.name;
}

// The complete workbook filters from its header row over every data row (the
// workbook is written row by row, so the filter has to be set before them).
TEST(GridExport, TheCompleteWorkbookHasItsAutofilter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.XLSX"));
    ASSERT_TRUE(exportTable(sample(50), ExportFormat::XlsxComplete, path));
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
                            "print('<autoFilter ref=\"A4:D54\"/>' in z.read('xl/worksheets/sheet1.xml').decode(), "
                            "'_xlnm._FilterDatabase' in z.read('xl/workbook.xml').decode())"),
             path});
    p.waitForFinished(30000);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QStringLiteral("True True")) << p.readAllStandardError().toStdString();
}
