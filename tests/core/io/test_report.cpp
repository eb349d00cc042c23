#include "core/io/Report.h"
#include "core/io/ListOutput.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"
#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::io;

namespace {

ReportModel deposits(int rows, bool grouped = false)
{
    ReportModel m;
    m.titleLines = {QStringLiteral("گزارش سپرده هاي دريافتي"), QStringLiteral("از 1403/01/01 تا 1403/12/30")};
    m.columns = {{QStringLiteral("رديف"), 0.6, CellFormat::Integer}, {QStringLiteral("صاحب سپرده"), 2.5},
                 {QStringLiteral("تاريخ"), 1.0, CellFormat::JalaliDate}, {QStringLiteral("مبلغ"), 1.4, CellFormat::Amount, true}};
    for (int r = 0; r < rows; ++r) {
        const double amount = 1000000.0 * (r + 1);
        m.addRow({QString::number(r + 1), grouped ? QStringLiteral("گروه %1").arg(r / 7) : QStringLiteral("پيمانکار %1").arg(r),
                  QStringLiteral("1403/02/%1").arg(r % 28 + 1, 2, 10, QLatin1Char('0')), QString::number(qint64(amount))},
                 {0, 0, 0, amount});
    }
    m.wordsColumn = 3;
    m.signatures = {{QStringLiteral("تنظيم کننده"), QStringLiteral("مريم کريمي")}, {QStringLiteral("ذيحساب"), QStringLiteral("حسين صادقي")}};
    if (grouped)
        m.groupColumn = 1;
    return m;
}

QString itemText(const ReportPage& p, ReportItem::Kind kind, int nth = 0)
{
    for (const ReportItem& i : p.items) {
        if (i.kind == kind && nth-- == 0)
            return i.text;
    }
    return {};
}

QString totalOf(const ReportPage& p, ReportItem::Kind kind)
{
    // The amount of a totals row is its last item of that kind.
    QString last;
    for (const ReportItem& i : p.items) {
        if (i.kind == kind)
            last = i.text;
    }
    return last;
}

} // namespace

TEST(Report, PageTotalsAreCarriedAndTheEndIsSpelledOut)
{
    const ReportModel m = deposits(120);
    const std::vector<ReportPage> pages = layoutReport(m, QSizeF(595, 842), reportFont());
    ASSERT_GE(pages.size(), 3u);
    double running = 0;
    int seen = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const ReportPage& p = pages[i];
        if (i > 0) {
            EXPECT_EQ(itemText(p, ReportItem::CarriedIn), QStringLiteral("جمع نقل از صفحه قبل"));
            EXPECT_EQ(totalOf(p, ReportItem::CarriedIn), isolateLtr(orvak::util::FormatAmount(qint64(running))));
        }
        for (int r = 0; r < p.dataRows; ++r)
            running += 1000000.0 * (seen + r + 1);
        seen += p.dataRows;
        if (i + 1 < pages.size()) {
            EXPECT_EQ(itemText(p, ReportItem::CarriedOut), QStringLiteral("جمع نقل به صفحه بعد"));
            EXPECT_EQ(totalOf(p, ReportItem::CarriedOut), isolateLtr(orvak::util::FormatAmount(qint64(running))));
        }
        // Columns run from the right edge: the first column stands rightmost.
        double headerRight = 0;
        for (const ReportItem& item : p.items) {
            if (item.kind == ReportItem::Header) {
                if (headerRight > 0) {
                    EXPECT_LT(item.rect.right(), headerRight + 0.01);
                }
                headerRight = item.rect.right();
            }
        }
    }
    EXPECT_EQ(seen, 120);
    const ReportPage& last = pages.back();
    const qint64 total = 1000000LL * 120 * 121 / 2;
    EXPECT_EQ(totalOf(last, ReportItem::GrandTotal), isolateLtr(orvak::util::FormatAmount(total)));
    EXPECT_EQ(itemText(last, ReportItem::Words), QStringLiteral("جمع کل بحروف: ") + orvak::util::AmountToWords(quint64(total)) + QStringLiteral(" ريال"));
    EXPECT_EQ(itemText(last, ReportItem::Signature, 0), QStringLiteral("تنظيم کننده"));
    EXPECT_EQ(itemText(last, ReportItem::Signature, 1), QStringLiteral("مريم کريمي"));
}

TEST(Report, GroupsGetSubtotals)
{
    const std::vector<ReportPage> pages = layoutReport(deposits(14, true), QSizeF(595, 842), reportFont());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(itemText(pages[0], ReportItem::GroupTotal, 0), QStringLiteral("جمع گروه 0"));
    int groupRows = 0;
    for (const ReportItem& i : pages[0].items)
        groupRows += i.kind == ReportItem::GroupTotal && i.text.startsWith(QStringLiteral("جمع گروه"));
    EXPECT_EQ(groupRows, 2);
}

TEST(Report, PdfFileAndEmptyReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.pdf"));
    QString error;
    ASSERT_TRUE(writeReportPdf(deposits(120), path, &error)) << error.toStdString();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(20000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const size_t expected = layoutReport(deposits(120), QSizeF(595.3, 841.9), reportFont()).size();
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(expected)))) << out.toStdString();

    EXPECT_FALSE(writeReportPdf(deposits(0), dir.filePath(QStringLiteral("empty.pdf")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("empty.pdf"))));
    EXPECT_FALSE(writeReportPdf(deposits(3), QStringLiteral("/no/such/folder/r.pdf"), &error));
}

// A list printed to PDF keeps its text for search and copy: the title, names whose
// joined letters (پ, ت, ي) a font may draw with unmapped glyphs, dates and amounts.
TEST(Report, PdfKeepsItsText)
{
    const QList<ListColumn> columns = {
        fieldColumn(QStringLiteral("NAME"), QStringLiteral("صاحب سپرده"), 200),
        fieldColumn(QStringLiteral("SDATE"), QStringLiteral("تاريخ"), 80, CellFormat::JalaliDate),
        fieldColumn(QStringLiteral("MABLAGH"), QStringLiteral("مبلغ"), 100, CellFormat::Amount, true)};
    RowSet rows;
    rows.setFieldNames({QStringLiteral("NAME"), QStringLiteral("SDATE"), QStringLiteral("MABLAGH")});
    rows.appendRow({QStringLiteral("حسين پور"), QStringLiteral("1403/02/05"), 12500000});
    rows.appendRow({QStringLiteral("شرکت تيسفون"), QStringLiteral("1436/12/30"), 3000000});
    const ReportModel report = reportOfTable(exportTableOf(QStringLiteral("سپرده هاي دريافتي"), columns, rows));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    QString error;
    ASSERT_TRUE(writeReportPdf(report, path, &error)) << error.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    ASSERT_EQ(text.exitCode(), 0) << text.readAllStandardError().toStdString();
    // The extractor gives the joined forms as presentation characters.
    const QString out = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    for (const QString& expected : {QStringLiteral("سپرده هاي دريافتي"), QStringLiteral("صاحب سپرده"), QStringLiteral("حسين پور"),
                                    QStringLiteral("شرکت تيسفون"), QStringLiteral("1403/02/05"), QStringLiteral("1436/12/30"),
                                    QStringLiteral("12,500,000"), QStringLiteral("15,500,000"), QStringLiteral("جمع کل"),
                                    QStringLiteral("پانزده ميليون و پانصد هزار ريال")})
        EXPECT_TRUE(out.contains(expected)) << expected.toStdString() << " not in:\n" << out.toStdString();
}

// Read back from the PDF, box by box, every cell holds its whole text in order with
// its spaces: names with brackets and digits, numbers inside Persian text, headers
// wider than their column, names that wrap; a name too long even for three lines
// is cut at its end, never at its start.
TEST(Report, EveryCellReadsBackWholeFromItsBox)
{
    const QString longName = QStringLiteral("شرکت ساختماني و تاسيساتي بزرگ پارس گستر جنوب شرقي کشور (12)");
    QString tooLong;
    for (int i = 0; i < 8; ++i)
        tooLong += QStringLiteral("شرکت مهندسين مشاور پارس گستر ");
    tooLong = tooLong.trimmed();
    struct Case {
        QString owner, kind;
    };
    const Case cases[] = {
        {QStringLiteral("مهندسين مشاور کوشا ايمن (109)"), QStringLiteral("1)سپرده حسن انجام كار 10 درصد")},
        {QStringLiteral("شرکت (پارس) سهامي خاص"), QStringLiteral("13)5%تضمين")},
        {longName, QStringLiteral("قرارداد 12-34 مورخ 1403/02/18 الف")},
        {tooLong, QStringLiteral("مبلغ -1,250,000 ريال")},
    };
    ReportModel m;
    m.titleLines = {QStringLiteral(" صورت ريز سپرده دريافتي در تاريخ ") + isolateLtr(QStringLiteral("1405/09/12"))};
    m.columns = {{QStringLiteral("رديف"), 0.4, CellFormat::Integer},
                 {QStringLiteral("شماره مدرک واريزي"), 0.6, CellFormat::Integer},
                 {QStringLiteral("صاحب سپرده"), 1.6},
                 {QStringLiteral("نوع سپرده"), 1.4},
                 {QStringLiteral("مبلغ سپرده"), 0.8, CellFormat::Amount, true}};
    int row = 0;
    for (const Case& c : cases) {
        ++row;
        m.addRow({QString::number(row), QStringLiteral("12345678901234"), c.owner, c.kind, QStringLiteral("1,250,000,000")}, {0, 0, 0, 0, 1250000000.0});
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cells.pdf"));
    QString error;
    ASSERT_TRUE(writeReportPdf(m, path, &error)) << error.toStdString();
    const std::vector<ReportPage> pages = layoutReport(m, QSizeF(595, 842), reportFont());
    ASSERT_EQ(pages.size(), 1u);
    std::vector<const ReportItem*> headers, cells;
    for (const ReportItem& i : pages[0].items) {
        if (i.kind == ReportItem::Header)
            headers.push_back(&i);
        if (i.kind == ReportItem::Cell)
            cells.push_back(&i);
    }
    ASSERT_EQ(headers.size(), m.columns.size());
    ASSERT_EQ(cells.size(), m.columns.size() * std::size(cases));
    for (size_t c = 0; c < headers.size(); ++c)
        EXPECT_EQ(orvak::test::pdfBoxText(path, headers[c]->rect), m.columns[c].title);
    double previousTop = 0;
    for (size_t r = 0; r < std::size(cases); ++r) {
        const ReportItem* const* rowCells = &cells[r * m.columns.size()];
        EXPECT_GT(rowCells[0]->rect.top(), previousTop);   // rows in list order, down the page
        previousTop = rowCells[0]->rect.top();
        EXPECT_EQ(orvak::test::pdfBoxText(path, rowCells[1]->rect), QStringLiteral("12345678901234"));
        EXPECT_EQ(orvak::test::pdfBoxText(path, rowCells[3]->rect), cases[r].kind);
        EXPECT_EQ(orvak::test::pdfBoxText(path, rowCells[4]->rect), QStringLiteral("1,250,000,000"));
        const QString owner = orvak::test::pdfBoxText(path, rowCells[2]->rect);
        if (cases[r].owner != tooLong) {
            EXPECT_EQ(owner, cases[r].owner);
            continue;
        }
        // Cut at a word's end, after three lines, with the ellipsis last.
        ASSERT_TRUE(owner.endsWith(QStringLiteral("..."))) << owner.toStdString();
        const QString kept = owner.chopped(3).trimmed();
        EXPECT_EQ(rowCells[2]->lines.size(), 3);
        EXPECT_GT(kept.size(), 40);
        EXPECT_TRUE(tooLong.startsWith(kept + QLatin1Char(' '))) << kept.toStdString();
    }
    EXPECT_EQ(orvak::test::pdfLines(path).value(0), QStringLiteral("صورت ريز سپرده دريافتي در تاريخ 1405/09/12"));
}

// A table without a summed column prints its rows and nothing else: no empty
// sub-total, carried or grand-total lines.
TEST(Report, NoTotalLinesWithoutSummedColumns)
{
    ReportModel m;
    m.titleLines = {QStringLiteral("فرم اطلاعات پيمانکار")};
    m.columns = {{QStringLiteral("عنوان"), 1.0}, {QStringLiteral("مقدار"), 2.2}};
    m.groupColumn = 0;
    for (int r = 0; r < 90; ++r)
        m.addRow({QStringLiteral("عنوان %1").arg(r / 3), QStringLiteral("مقدار %1").arg(r)});
    const std::vector<ReportPage> pages = layoutReport(m, QSizeF(595, 842), reportFont());
    ASSERT_GE(pages.size(), 2u);
    int rows = 0;
    for (const ReportPage& p : pages) {
        rows += p.dataRows;
        for (const ReportItem& i : p.items) {
            EXPECT_TRUE(i.kind != ReportItem::GroupTotal && i.kind != ReportItem::CarriedIn && i.kind != ReportItem::CarriedOut
                        && i.kind != ReportItem::GrandTotal && i.kind != ReportItem::Words)
                << i.text.toStdString();
        }
    }
    EXPECT_EQ(rows, 90);
}

// Directional isolates go around the runs of digits and Latin letters of Persian
// text, around the whole of a text without Persian letters, and nowhere else.
TEST(Report, PrintableTextIsolatesTheLeftToRightRuns)
{
    const QString L = QString(QChar(0x2066)), P = QString(QChar(0x2069));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("کوشا ايمن (109)"), QStringLiteral("کوشا ايمن (") + L + QStringLiteral("109") + P + QStringLiteral(")")},
        {QStringLiteral("كار 10 درصد"), QStringLiteral("كار ") + L + QStringLiteral("10") + P + QStringLiteral(" درصد")},
        {QStringLiteral("مبلغ -1,000 ريال"), QStringLiteral("مبلغ ") + L + QStringLiteral("-1,000") + P + QStringLiteral(" ريال")},
        {QStringLiteral("تاريخ 1403/02/18."), QStringLiteral("تاريخ ") + L + QStringLiteral("1403/02/18") + P + QStringLiteral(".")},
        {QStringLiteral("شرکت ABC Co 12"), QStringLiteral("شرکت ") + L + QStringLiteral("ABC Co") + P + QStringLiteral(" ") + L + QStringLiteral("12") + P},
        {QStringLiteral("12 - 34"), L + QStringLiteral("12 - 34") + P},
        {L + QStringLiteral("12") + P + QStringLiteral(" الف"), L + QStringLiteral("12") + P + QStringLiteral(" الف")},
        {QStringLiteral("بدون عدد"), QStringLiteral("بدون عدد")},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(printableText(text), expected) << text.toStdString();
}

// A single word wider than its narrow column is set smaller rather than broken
// inside; a number too wide for its column likewise.
TEST(Report, AWordTooWideForItsColumnIsSetSmallerNotBroken)
{
    ReportModel m;
    m.columns = {{QStringLiteral("صاحب سپرده"), 2.2}, {QStringLiteral("رديف"), 0.5, CellFormat::Integer}, {QStringLiteral("مبلغ"), 1.0, CellFormat::Amount}};
    m.addRow({QStringLiteral("شرکت پارس"), QStringLiteral("1"), QStringLiteral("1,234,567,890")});
    m.columns.push_back({QStringLiteral("شرح"), 7.6});
    m.rows[0] << QStringLiteral("شرح");
    const std::vector<ReportPage> pages = layoutReport(m, QSizeF(595, 842), reportFont());
    ASSERT_EQ(pages.size(), 1u);
    int checked = 0;
    for (const ReportItem& i : pages[0].items) {
        if ((i.kind == ReportItem::Header && i.text == QStringLiteral("رديف")) || (i.kind == ReportItem::Cell && i.text.contains(QStringLiteral("1,234")))) {
            ++checked;
            EXPECT_EQ(i.lines.size(), 1) << i.lines.join(QLatin1Char('|')).toStdString();
            EXPECT_GT(i.points, 0);
            EXPECT_LT(i.points, reportFont().pointSizeF());
        }
    }
    EXPECT_EQ(checked, 2);
}

// The pages come out the same on every device: the words of a PDF written at 144
// and at 1200 dots per inch (the printer's) stand in the same boxes, in points.
TEST(Report, TheSamePageAtEveryResolution)
{
    ReportModel m = deposits(5);
    m.rows[1][1] = QStringLiteral("شرکت مهندسين مشاور کوشا ايمن (109) و شرکت ساختماني بزرگ پارس گستر جنوب شرقي");
    QTemporaryDir dir;
    auto words = [&](int dpi) {
        const QString path = dir.filePath(QStringLiteral("r%1.pdf").arg(dpi));
        {
            QPdfWriter pdf(path);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf.setResolution(dpi);
            EXPECT_TRUE(renderReport(m, pdf));
        }
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
        p.waitForFinished(20000);
        QList<QRectF> boxes;
        static const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
        for (auto it = word.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
            const auto w = it.next();
            boxes << QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()), QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()));
        }
        return boxes;
    };
    const QList<QRectF> pdf = words(144), printer = words(1200);
    ASSERT_GT(pdf.size(), 30);
    ASSERT_EQ(pdf.size(), printer.size());
    for (qsizetype i = 0; i < pdf.size(); ++i) {
        EXPECT_NEAR(pdf[i].height(), printer[i].height(), 0.5) << i;
        EXPECT_NEAR(pdf[i].center().x(), printer[i].center().x(), 1.0) << i;
        EXPECT_NEAR(pdf[i].center().y(), printer[i].center().y(), 1.0) << i;
    }
    EXPECT_GT(pdf[0].height(), 8.0);   // the report's 9 points, not a screen's pixels
}
