#include "ui/deposits/TFREADFROMSND.h"
#include "core/accounting/VoucherWriter.h"
#include "core/db/Db.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::deposits;

TEST(VoucherReadingScreens, ReadToggleWithSpaceAndTransferWithF10)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    accounting::VoucherPosting p;
    p.date = QStringLiteral("1405/10/05");
    p.description = QStringLiteral("پرداخت");
    const struct { int kol; qint64 bed, bes; const char* account; } lines[] = {{21999, 0, 5000, "21007"}, {21999, 0, 7000, "21007"}, {81001, 12000, 0, "21006"}};
    for (const auto& x : lines) {
        accounting::VoucherLine l;
        l.kol = x.kol;
        l.moin = 1;
        l.debit = x.bed;
        l.credit = x.bes;
        l.tafsil = 1001;
        l.account = QString::fromLatin1(x.account);
        l.description = QStringLiteral("کسر سپرده");
        p.lines << l;
    }
    QString why;
    const auto posted = accounting::VoucherWriter(s).post(p, &why);
    ASSERT_TRUE(posted) << why.toStdString();

    TFREADFROMSND screen(s, 1405, 10);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.activateWindow();
    screen.kol->setText(QStringLiteral("۲۱۹۹۹"));
    screen.moin->clear();
    for (QLineEdit* w : screen.words)
        w->clear();
    QTest::keyClick(&screen, Qt::Key_F4);
    ASSERT_EQ(screen.grid->rowCount(), 2);
    EXPECT_EQ(screen.grid->item(0, 0)->text(), QStringLiteral("X"));
    EXPECT_FALSE(screen.grid->item(0, 5)->text().isEmpty());   // the party's name

    screen.grid->setCurrentCell(0, 1);
    QTest::keyClick(screen.grid, Qt::Key_Space);
    EXPECT_TRUE(screen.grid->item(0, 0)->text().isEmpty());

    test::AutoAnswer yes;
    QTest::keyClick(&screen, Qt::Key_F10);
    EXPECT_EQ(yes.texts, QStringList{QStringLiteral(" آيا اطلاعات به دفتر سپرده وارد گردد؟")});
    EXPECT_EQ(screen.transferred(), 1);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    const auto row = db::firstRow(s.deposits(), QStringLiteral("SELECT AMOUNT, TAFSILI, MY, MM FROM SEP_DAR WHERE SNDNO = :n AND SNDYER = 1405"),
                                  {{QStringLiteral(":n"), posted->number}});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(0).toLongLong(), 7000);
    EXPECT_EQ(row->value(1).toInt(), 1001);
    EXPECT_EQ(row->value(3).toInt(), 10);
}
