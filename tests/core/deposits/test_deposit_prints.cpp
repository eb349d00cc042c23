#include "core/deposits/DepositPrints.h"
#include "core/util/AmountWords.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak;

namespace {

deposits::PrintedDeposit sample(qint64 sepNo, const QString& owner)
{
    deposits::PrintedDeposit p;
    p.deposit.idx = int(sepNo);
    p.deposit.sepNo = sepNo;
    p.deposit.sepDate = QStringLiteral("1405/09/12");
    p.deposit.sepKind = 1;
    p.deposit.chkNo = 16394322;
    p.deposit.chkDate = QStringLiteral("1405/09/01");
    p.deposit.amount = 12500000;
    p.deposit.descr = QStringLiteral("صورت وضعيت موقت  شماره 6");
    p.owner = owner;
    p.ownerId = QStringLiteral("10107454449");
    p.plan = QStringLiteral("طرح احداث پل استان");
    p.project = QStringLiteral("روکش آسفالت محور دنا");
    p.contractNo = QStringLiteral("ق 3/382/15");
    p.contractDate = QStringLiteral("1403/02/18");
    return p;
}

} // namespace

// "چاپ کامل قبض سپرده" prints a receipt: the number and date once at its head, each
// field as caption and value, the signatures at its foot; no list columns, no empty
// total lines. Read back from the PDF, every value is whole.
TEST(DepositPrints, TheFullReceiptIsAFormThatReadsBackWhole)
{
    const QString owner = QStringLiteral("شرکت مهندسين مشاور کوشا ايمن (109)");
    const std::vector<io::ReportSignature> signatures = {{QStringLiteral("ذيحساب"), QStringLiteral("حسين صادقي")}};
    const auto report = deposits::receiptReport({sample(1234, owner), sample(1235, QStringLiteral("کاظم حسيني"))}, deposits::ReceiptPrint::Full, signatures);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->records.size(), 2u);
    EXPECT_TRUE(report->rows.empty());

    const std::vector<io::ReportPage> pages = io::layoutReport(*report, QSizeF(595, 842), io::reportFont());
    ASSERT_EQ(pages.size(), 1u);   // two receipts to a page
    EXPECT_EQ(pages[0].dataRows, 2);
    std::vector<const io::ReportItem*> values;
    QStringList captions;
    for (const io::ReportItem& i : pages[0].items) {
        EXPECT_TRUE(i.kind != io::ReportItem::Header && i.kind != io::ReportItem::Cell && i.kind != io::ReportItem::GroupTotal
                    && i.kind != io::ReportItem::GrandTotal && i.kind != io::ReportItem::Words)
            << i.text.toStdString();
        if (i.kind == io::ReportItem::Caption)
            captions << i.text;
        if (i.kind == io::ReportItem::Value && values.size() < report->records[0].fields.size())
            values.push_back(&i);
    }
    EXPECT_EQ(captions.count(QStringLiteral("صاحب سپرده")), 2);
    EXPECT_FALSE(captions.contains(QStringLiteral("شماره قبض")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("receipt.pdf"));
    QString error;
    ASSERT_TRUE(io::writeReportPdf(*report, path, &error)) << error.toStdString();
    const QStringList lines = test::pdfLines(path);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("قبض سپرده"));
    EXPECT_TRUE(lines.contains(QStringLiteral("شماره قبض: 1234")));
    EXPECT_TRUE(lines.contains(QStringLiteral("تاريخ قبض: 1405/09/12")));
    const QStringList expected = {owner,
                                  QStringLiteral("10107454449"),
                                  QStringLiteral("ق 3/382/15 تاريخ 1403/02/18"),
                                  QStringLiteral("طرح احداث پل استان"),
                                  QStringLiteral("روکش آسفالت محور دنا"),
                                  QStringLiteral("1)سپرده حسن انجام كار 10 درصد"),
                                  QStringLiteral("16394322"),
                                  QStringLiteral("1405/09/01"),
                                  QStringLiteral("12,500,000 ريال"),
                                  // the joiners between the words leave no trace in the text
                                  QString(util::AmountToWords(12500000) + QStringLiteral(" ريال")).remove(QChar(0x200C)).simplified(),
                                  QStringLiteral("صورت وضعيت موقت شماره 6")};
    ASSERT_EQ(values.size(), size_t(expected.size()));
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(test::pdfBoxText(path, values[size_t(i)]->rect), expected[i]) << report->records[0].fields[size_t(i)].caption.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("ذيحساب")));
    EXPECT_TRUE(lines.contains(QStringLiteral("حسين صادقي")));
}

// The receipts printed onto pre-printed forms are not a list either: nothing of
// theirs is summed into total lines.
TEST(DepositPrints, PrePrintedReceiptsHaveNoTotalLines)
{
    const QList<deposits::PrintedDeposit> rows = {sample(1234, QStringLiteral("کاظم حسيني")), sample(1235, QStringLiteral("مريم کريمي"))};
    for (deposits::ReceiptPrint model : {deposits::ReceiptPrint::Back, deposits::ReceiptPrint::Landscape, deposits::ReceiptPrint::Portrait}) {
        const auto report = deposits::receiptReport(rows, model, {});
        ASSERT_TRUE(report);
        const QSizeF page = report->landscape ? QSizeF(842, 595) : QSizeF(595, 842);
        for (const io::ReportPage& p : io::layoutReport(*report, page, io::reportFont())) {
            for (const io::ReportItem& i : p.items)
                EXPECT_TRUE(i.kind != io::ReportItem::GrandTotal && i.kind != io::ReportItem::Words) << int(model) << ' ' << i.text.toStdString();
        }
    }
}
