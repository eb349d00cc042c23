#include "core/io/Report.h"
#include "core/io/ListOutput.h"
#include "support/TestSupport.h"
#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

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
