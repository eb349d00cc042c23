#include "ui/deposits/DepositPrinting.h"
#include "ui/deposits/TViewSepDar.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "support/DemoOffice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;

namespace {

// Answers what comes up while it lives: yes to a question, the offered model in the
// model choice, and closes the print preview; remembers what each showed.
struct PrintAnswers {
    QStringList questions;
    QString choiceTitle, choiceOffered;
    bool previewed = false;
    QTimer timer;

    PrintAnswers()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                questions << box->text();
                QAbstractButton* yes = box->buttons().value(0);
                for (QAbstractButton* b : box->buttons()) {
                    if (b->text() == QStringLiteral("بله"))
                        yes = b;
                }
                yes->click();
            } else if (auto* choice = qobject_cast<QInputDialog*>(w)) {
                choiceTitle = choice->windowTitle();
                choiceOffered = choice->textValue();
                choice->accept();
            } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w)) {
                previewed = true;
                preview->reject();
            }
        });
        timer.start();
    }
};

} // namespace

// "چاپ قبض سپرده" on a deposit without a receipt number says which number and date
// it is about to take, and then gives exactly those; its model choice is the single
// receipt's, standing on the full receipt.
TEST(DepositPrinting, AnUnnumberedReceiptSaysItsNumberAndDateBeforeTakingThem)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    ui::deposits::TViewSepDar list(s);
    list.setReadOnly(false);
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 9;
    list.setFilter(month);
    int idx = 0;
    for (int r = 0; r < list.model().rowCount() && idx == 0; ++r) {
        if (io::fieldValue(list.model().rows(), r, QStringLiteral("SEPNO")).toLongLong() == 0)
            idx = io::fieldValue(list.model().rows(), r, QStringLiteral("IDX")).toInt();
    }
    ASSERT_NE(idx, 0) << "the demo month has no deposit without a receipt";
    ASSERT_TRUE(list.applyFilter(idx));
    ASSERT_EQ(list.currentIdx(), idx);
    const auto before = deposits::ReceivedDeposits(s).read(idx);
    ASSERT_TRUE(before);
    const auto toGive = deposits::receiptToGive(s, *before);
    ASSERT_TRUE(toGive);
    ASSERT_GT(toGive->number, 0);

    PrintAnswers answers;
    ui::deposits::printDepositReceipts(s, list, false);

    ASSERT_FALSE(answers.questions.isEmpty());
    const QString question = answers.questions.first();
    EXPECT_EQ(question, deposits::printReceiptQuestion(*before, *toGive));
    EXPECT_TRUE(question.contains(io::isolateLtr(QString::number(toGive->number)))) << question.toStdString();
    EXPECT_TRUE(question.contains(io::isolateLtr(toGive->date))) << question.toStdString();
    EXPECT_FALSE(question.contains(QStringLiteral("شماره") + QLatin1Char(' ') + io::isolateLtr(QStringLiteral("0"))));
    EXPECT_EQ(answers.choiceTitle, QStringLiteral("چاپ قبض سپرده"));
    EXPECT_EQ(answers.choiceOffered, QStringLiteral("چاپ کامل قبض سپرده"));
    EXPECT_TRUE(answers.previewed);

    const auto after = deposits::ReceivedDeposits(s).read(idx);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->sepNo, toGive->number);
    EXPECT_EQ(after->sepDate, toGive->date);
}

// The received deposits' exports and printed list carry the period they hold.
TEST(DepositPrinting, ExportsAndTheReportNameTheListsPeriod)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    ui::deposits::TViewSepDar list(s);
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 9;
    list.setFilter(month);
    const QString title = QStringLiteral("سپرده هاي دريافتي - ") + month.periodText();
    EXPECT_TRUE(month.periodText().contains(QStringLiteral("1405")));
    EXPECT_EQ(list.exportTable().title, title);
    EXPECT_EQ(list.reportModel().titleLines.value(0), title);
}
