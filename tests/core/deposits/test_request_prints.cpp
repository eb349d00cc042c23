#include "core/deposits/RequestPrints.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/ListData.h"
#include "core/util/AmountWords.h"
#include "RequestOffice.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;
using test::RequestOffice;

namespace {

QString words(qint64 amount) { return QString(util::AmountToWords(quint64(amount))).remove(QChar(0x200C)).simplified(); }

} // namespace

// The letter says the request's count and amount, the amount again in words, and the
// refund account's bank and branch; read back from the PDF, word for word.
TEST(RequestPrints, TheRequestLetterReadsBackWhole)
{
    RequestOffice o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE GENERAL_INFO SET SEP_BANKRAD = 'ملي', SEP_BANKRAD_SHOBEH = 'مرکزي'")));
    const int r = o.request({{o.deposit(1'250'000), 1'250'000}, {o.deposit(2'000'000), 750'000}}, QStringLiteral("1409-007"));
    const auto letter = requestLetter(*o.session, r, 0, {{QStringLiteral("ذيحساب"), QStringLiteral("حسين صادقي")}});
    ASSERT_TRUE(letter) << letter.error().toStdString();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter.pdf"));
    QString error;
    ASSERT_TRUE(io::writeReportPdf(*letter, path, &error)) << error.toStdString();
    const QString text = test::pdfLines(path).join(QLatin1Char(' ')).simplified();
    for (const QString& part : {QStringLiteral("احتراما، به پيوست تعداد 2 فقره سپرده به مبلغ 2,000,000 ريال ارسال مي گردد."),
                                QStringLiteral("خواهشمند است دستور فرماييد مبلغ فوق را به حساب جاري"),
                                QStringLiteral("رد وجوه سپرده عمراني نزد بانک ملي شعبه مرکزي واريز و فيش مربوط را ارسال نماييد"),
                                QStringLiteral("مبلغ به حروف: ") + words(2'000'000) + QStringLiteral(" ريال تمام"),
                                QStringLiteral("درخواست شماره 1409-007"), QStringLiteral("حسين صادقي")})
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << "\n" << text.toStdString();

    const auto thanks = requestLetter(*o.session, r, 2, {});
    ASSERT_TRUE(thanks);
    EXPECT_TRUE(thanks->paragraphs.join(' ').contains(QStringLiteral("احتراما، به پيوست درخواست وجه تعداد ") + io::isolateLtr(QStringLiteral("2"))));
    const auto twice = requestLetter(*o.session, r, 1, {});
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->paragraphs.count(letter->paragraphs.value(3)), 2);
}

// A fixed-length model fills its page with "خالي" rows and carries its totals; the
// totals per credit notice sum each notice's rows beside the notice's own total.
TEST(RequestPrints, TheDetailedListsPadGroupAndSum)
{
    RequestOffice o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE, BESAMOUNT) VALUES (9101, '51', '1409/02/01', 90000), "
                                                   "(9102, '52', '1409/03/01', 50000)")));
    QList<std::pair<int, qint64>> rows;
    for (int i = 0; i < 30; ++i)
        rows.append({o.deposit(1'000 * (i + 1), 100 + i, {{QStringLiteral("ELAMBESIDX"), i < 20 ? 9101 : 9102}}), 1'000});
    const int r = o.request(rows);
    const QStringList models = requestDetailTexts();
    ASSERT_EQ(models.size(), 14);
    EXPECT_EQ(models[2], QStringLiteral("نمونه 2-2"));

    const auto first = requestDetail(*o.session, r, 0, {});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rows.size(), 50u);   // two pages of 25
    EXPECT_EQ(std::count_if(first->rows.begin(), first->rows.end(), [](const QStringList& row) { return row.value(0) == emptyRowText(); }), 20);
    const auto pages = io::layoutReport(*first, QSizeF(595, 842), io::reportFont());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].dataRows, 25);
    QStringList texts;
    for (const io::ReportItem& i : pages[0].items)
        texts << i.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("جمع نقل به صفحه بعد")));
    QStringList last;
    for (const io::ReportItem& i : pages[1].items)
        last << i.text;
    EXPECT_TRUE(last.contains(QStringLiteral("جمع به عدد")));
    EXPECT_TRUE(last.contains(QStringLiteral("جمع کل بحروف: ") + util::AmountToWords(30'000) + QStringLiteral(" ريال")));

    // Model 2: latest receipts first.
    const auto second = requestDetail(*o.session, r, 1, {});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->rows.front().value(0), QStringLiteral("1"));   // one receipt date: row order

    const auto perNotice = requestDetail(*o.session, r, 6, {});
    ASSERT_TRUE(perNotice);
    ASSERT_EQ(perNotice->rows.size(), 2u);
    EXPECT_EQ(perNotice->rows[0], (QStringList{QStringLiteral("1409/02/01"), QStringLiteral("51"), QStringLiteral("20"), QStringLiteral("20,000"),
                                               QStringLiteral("90,000")}));
    EXPECT_EQ(perNotice->rows[1].value(2), QStringLiteral("10"));

    const auto grouped = requestDetail(*o.session, r, 7, {});
    ASSERT_TRUE(grouped);
    EXPECT_EQ(grouped->groupColumn, 0);
    EXPECT_EQ(grouped->rows.front().value(0), QStringLiteral("51 - 1409/02/01"));
}
