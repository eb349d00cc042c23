#include "ui/deposits/CreditLetterPicker.h"
#include "ui/deposits/TFDE_BESTANKARI.h"
#include "ui/deposits/TVIEWBESTANKARI.h"
#include "ui/framework/Picker.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::deposits;

// A notice entered on the form is listed and found by a part of its number, shows
// zero counts, and "انتخاب(F10)" hands it to the deposits screen that asked.
TEST(CreditNoticeScreens, ANoticeEnteredOnTheFormIsFoundCountedAndPicked)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));

    TVIEWBESTANKARI list(s);
    list.setReadOnly(false);
    ASSERT_TRUE(list.reopen());
    const int before = list.model().rowCount();
    ASSERT_GT(before, 0);

    TFDE_BESTANKARI form(s, &list);
    QObject::connect(&form, &ui::framework::EntryForm::saved, &list, [&list](const QVariant& key) { list.reopen(key); });
    form.startInsert();
    form.amount->setAmount(55500000);
    form.creditDate->setDate(QStringLiteral("1405/09/15"));
    form.creditNo->setText(QStringLiteral("7X31"));
    form.letterNo->setText(QStringLiteral("9090/ذ"));
    {
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(QLatin1Char('|')).toStdString();
    }
    ASSERT_TRUE(form.key().isValid());
    const int idx = form.key().toInt();
    EXPECT_EQ(list.model().rowCount(), before + 1);
    EXPECT_EQ(list.currentKey().toInt(), idx);
    EXPECT_TRUE(list.countsText().contains(QStringLiteral("تعداد سپرده هاي دريافتي 0"))) << list.countsText().toStdString();

    EXPECT_TRUE(list.searchNumber(QStringLiteral("X3")));
    EXPECT_EQ(list.model().rowCount(), 1);
    {
        test::AutoAnswer answers;
        EXPECT_FALSE(list.searchNumber(QStringLiteral("ZZZ")));
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("يافت نشد ")});
    }
    list.showAll();
    EXPECT_EQ(list.model().rowCount(), before + 1);

    // The picker the deposits screens use: stand on the new notice, "انتخاب(F10)".
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, idx] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        poll->stop();
        poll->deleteLater();
        auto& screen = static_cast<TVIEWBESTANKARI&>(picker->screen());
        screen.searchNumber(QStringLiteral("7X31"));
        for (int i = 0; screen.commandButton(i); ++i) {
            if (screen.commandButton(i)->text().startsWith(QStringLiteral("انتخاب(F10)")))
                screen.commandButton(i)->click();
        }
        if (picker->isVisible())
            picker->reject();
    });
    poll->start(10);
    const auto picked = pickCreditLetter(nullptr, s, QStringLiteral("تعيين شماره بستانکاري"));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->idx, idx);
    EXPECT_EQ(picked->creditNo, QStringLiteral("7X31"));
    EXPECT_EQ(picked->letterNo, QStringLiteral("9090/ذ"));
}
