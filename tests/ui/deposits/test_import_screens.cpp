#include "ui/basedata/TORVAK_TRANSFERCODING.h"
#include "ui/deposits/TFReadXLSSepordeh.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace orvak;

namespace {

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

// A user picks a book, binds its columns, keeps the mapping, clears and restores it,
// chooses a kind and imports: the deposits, the new owner and the refund are there.
TEST(ImportScreen, MappingKeptAndBookImported)
{
    test::DemoOffice o;
    o.session->setCurrentUserCode(3);
    const QString path = o.dir.filePath(QStringLiteral("book.csv"));
    ASSERT_TRUE(test::writeBytes(path, QStringLiteral("قبض,تاريخ,نام,کد ملي,مبلغ,استرداد\n"
                                                      "1,1409/04/01,شرکت آزمون,0012345679,\"1,500,000\",1\n"
                                                      "2,1409/04/02,شرکت آزمون,0012345679,۲۵۰۰۰۰۰,\n").toUtf8()));
    ui::deposits::TFReadXLSSepordeh screen(*o.session);
    ASSERT_TRUE(screen.openFile(path));
    EXPECT_EQ(screen.sheets->itemText(0), QStringLiteral("[book]"));
    using F = deposits::ImportField;
    const std::pair<F, const char*> bind[] = {{F::ReceiptNo, "قبض"}, {F::PaymentDate, "تاريخ"}, {F::OwnerName, "نام"},
                                              {F::OwnerNid, "کد ملي"}, {F::Amount, "مبلغ"}, {F::RefundMark, "استرداد"}};
    for (const auto& [f, c] : bind) {
        QComboBox* combo = screen.fields.value(int(f));
        const int at = combo->findText(QString::fromUtf8(c));
        ASSERT_GE(at, 0) << c;
        combo->setCurrentIndex(at);
    }
    const deposits::ImportMapping chosen = screen.mapping();
    ASSERT_TRUE(screen.saveMapping());
    screen.clearMapping();
    EXPECT_TRUE(screen.mapping().isEmpty());
    ASSERT_TRUE(screen.restoreMapping());
    EXPECT_EQ(screen.mapping().columns, chosen.columns);
    screen.kind->setCurrentIndex(screen.kind->findData(5));

    test::AutoAnswer answers;
    const deposits::ImportResult done = screen.runImport();
    ASSERT_TRUE(done) << done.message.toStdString();
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("انجام شد")));
    EXPECT_EQ(count(o.session->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1409 AND MM = 4 AND SEPKIND = 5")), 2);
    EXPECT_EQ(count(o.session->deposits(), QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_DAR WHERE MY = 1409 AND MM = 4")), 4'000'000);
    EXPECT_EQ(count(o.session->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE NID = '0012345679'")), 1);
    EXPECT_EQ(count(o.session->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1409 AND MM = 4 AND TIK_ESTERDAD = 1 AND AMOUNT_MANDEH = 0")), 1);
}

// The coding screen's detail-account transfer from the year's accounting program,
// with its conflicts side by side.
TEST(TransferCodingScreen, ConflictsSideBySide)
{
    test::DemoOffice o;
    o.session->setCurrentUserCode(3);
    const auto known = db::firstRow(o.session->common(), QStringLiteral("SELECT CODE FROM TAFSILI WHERE CI = 0 ORDER BY CODE"));
    QSqlDatabase acc = o.session->accounting();
    ASSERT_TRUE(db::execSql(acc, QStringLiteral("DELETE FROM TAFSILI")));
    ASSERT_TRUE(db::execSql(acc, QStringLiteral("INSERT INTO TAFSILI (CODE, NAME) VALUES (:c, 'نام ديگر')"), {{QStringLiteral(":c"), known->value(0)}}));
    ui::basedata::TORVAK_TRANSFERCODING screen(*o.session);
    screen.year->setCurrentIndex(screen.year->findData(1405));
    test::AutoAnswer answers;
    const basedata::TransferResult r = screen.fromAccounting(basedata::AccountingKind::DetailAccounts);
    ASSERT_TRUE(r) << r.message.toStdString();
    EXPECT_EQ(screen.left->count(), 1);
    EXPECT_EQ(screen.right->count(), 1);
    screen.left->setCurrentRow(0);
    EXPECT_EQ(screen.right->currentRow(), 0);
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("1 کد تغيير کرده است ")));
}

} // namespace
