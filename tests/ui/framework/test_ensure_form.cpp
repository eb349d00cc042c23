#include "support/TestSupport.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvak::test {

class TViewSample : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    int counter = 0;
};

} // namespace orvak::test

using namespace orvak;

TEST(EnsureForm, ReusesTheScreenUntilItIsFreed)
{
    auto* first = ui::framework::EnsureForm<test::TViewSample>();
    first->counter = 7;
    EXPECT_EQ(first->objectName(), QStringLiteral("ViewSample"));
    EXPECT_EQ(ui::framework::EnsureForm<test::TViewSample>(), first);
    EXPECT_EQ(ui::framework::EnsureForm<test::TViewSample>()->counter, 7);
    delete first;
    auto* second = ui::framework::EnsureForm<test::TViewSample>();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->counter, 0);
    ui::framework::closeAllScreens();
}

namespace {
// Presses the button with the given caption on the next modal box.
void answerNextBox(const QString& caption, QString* seenText = nullptr)
{
    QTimer::singleShot(0, [caption, seenText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
        if (seenText)
            *seenText = box->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == caption) {
                b->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
        box->reject();
    });
}
} // namespace

TEST(MessageBoxes, AskConfirmAndExitSpeakPersian)
{
    answerNextBox(QStringLiteral("بله"));
    EXPECT_EQ(ui::framework::Ask(QStringLiteral("حذف شود؟")), ui::framework::AskYes);
    answerNextBox(QStringLiteral("خير"));
    EXPECT_EQ(ui::framework::Ask(QStringLiteral("حذف شود؟")), ui::framework::AskNo);

    QString text;
    answerNextBox(QStringLiteral("بله"), &text);
    EXPECT_TRUE(ui::framework::Confirm(QStringLiteral("حذف رديف")));
    EXPECT_EQ(text, QStringLiteral("حذف رديف مطمئن هستيد؟ "));

    answerNextBox(QStringLiteral("خير"), &text);
    EXPECT_FALSE(ui::framework::ConfirmExit());
    EXPECT_EQ(text, QStringLiteral(" خروج از نرم افزار «سپرده»  نسخه تعهدي"));

    answerNextBox(QStringLiteral("تاييد"), &text);
    ui::framework::Refuse();
    EXPECT_EQ(text, QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"));
}

#include "test_ensure_form.moc"
