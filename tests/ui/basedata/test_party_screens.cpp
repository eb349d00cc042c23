#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/TORVAK_DE_TAFSIL.h"
#include "ui/basedata/TORVAK_ViewTafsil.h"
#include "ui/basedata/TDE_BankBranch.h"
#include "ui/basedata/TDE_Hesab.h"
#include "ui/framework/Editors.h"
#include "ui/framework/Picker.h"
#include "core/db/Db.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QSqlRecord>
#include <QImage>
#include <QInputDialog>
#include <QPushButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::basedata;

namespace {

// Answers the message boxes that come up while the test waits, keeping their texts.
struct BoxCloser {
    QStringList texts;
    QTimer timer;
    BoxCloser()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->buttons().first()->click();
            }
        });
        timer.start(10);
    }
};

} // namespace

TEST(PartyScreens, APartyIsEnteredPickedWithItsDebtsAndRefusedDeletionWhileADepositHoldsIt)
{
    test::TempInstallation t;
    t.create();
    auto s = t.reconnect();
    startup::ScriptedPrompt yes({}, true);
    ASSERT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
    s->setCurrentUserCode(3);

    // Entered on the screen: the empty chart proposes 1.
    TORVAK_DE_TAFSIL form(*s);
    form.startInsert();
    EXPECT_EQ(form.code->text(), QStringLiteral("1"));
    form.field(QStringLiteral("NAME"))->setText(QStringLiteral("شرکت ساختماني کاوش"));
    form.field(QStringLiteral("NID"))->setText(QStringLiteral("10101234567"));
    form.field(QStringLiteral("SHABA"))->setText(QStringLiteral("062960000000100324200001"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    EXPECT_FALSE(form.setPicture(QStringLiteral("MOHR"), QByteArray("not a picture")));
    EXPECT_TRUE(form.setPicture(QStringLiteral("MOHR"), png));
    ASSERT_TRUE(form.saveAndClose());
    EXPECT_EQ(db::scalar(s->common(), QStringLiteral("SELECT MOHR FROM TAFSILI WHERE CODE = 1"))->toByteArray(), png);
    EXPECT_EQ(db::scalar(s->common(), QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = 1 AND CI = 0"))->toString().trimmed(),
              QStringLiteral("شرکت ساختماني کاوش"));
    ASSERT_TRUE(db::execSql(s->common(), QStringLiteral("INSERT INTO TAlarmKosuratH (IDX, TAFSILI_CODE, STATUS, CI) VALUES (1, 1, 1, 0)")));

    // Picked by a word of its name (typed with Arabic Kaf), Enter hands it back after the debts message.
    BoxCloser boxes;
    QTimer::singleShot(50, [] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        picker->continueWithCurrent();
    });
    const std::optional<PartyPick> picked = pickParty(nullptr, *s, {QStringLiteral("كاوش")});
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->code, 1);
    EXPECT_EQ(picked->name, QStringLiteral("شرکت ساختماني کاوش"));
    EXPECT_EQ(picked->rowCount, 1);
    EXPECT_EQ(picked->selectedCodes, QStringLiteral("0"));
    EXPECT_TRUE(picked->hasDebts);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("اين پيمانکار داراي بدهي مي باشد.")});

    // A deposit holds it: the list's delete says so and leaves it.
    ASSERT_TRUE(db::execSql(s->deposits(), QStringLiteral("INSERT INTO SEP_DAR (IDX, TAFSILI, AMOUNT) VALUES (1, 1, 5000)")));
    TORVAK_ViewTafsil list(*s);
    ASSERT_TRUE(list.reopen(1));
    boxes.texts.clear();
    ASSERT_TRUE(list.runCommand(2));
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("اين پيمانکار در سپرده ها و يا تضمينات داراي گردش مي باشد و نميتواند حذف گردد.")});
    EXPECT_EQ(db::scalar(s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI"))->toInt(), 1);

    // Without the year's accounting database the ledger filter shows nothing, and all comes back.
    ASSERT_FALSE(s->AccountingDbOpen());
    EXPECT_TRUE(list.filterLedger(21006, 1));
    EXPECT_EQ(list.model().rowCount(), 0);
    list.showAll();
    EXPECT_EQ(list.model().rowCount(), 1);
}

TEST(PartyScreens, SavingAContractorChangesOnlyWhatWasChangedOnTheForm)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    // Values the form cannot show as they are: codes beyond its lists, NULLs, a date
    // written by another program.
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE TAFSILI SET SAMADTAFSILCAT = 40, KIND = 9, BANK2 = NULL, SAMADTAFSILKIND = NULL, "
                                                       "SABTDATE = '1390/1/5', GCODE = 77 WHERE CODE = 1001 AND CI = 0")));
    auto row = [&] {
        const auto r = db::firstRow(s.common(), QStringLiteral("SELECT * FROM TAFSILI WHERE CODE = 1001 AND CI = 0"));
        EXPECT_TRUE(r);
        QVariantMap m;
        for (int i = 0; r && i < r->count(); ++i)
            m.insert(r->fieldName(i).toUpper(), r->value(i));
        return m;
    };
    const QVariantMap before = row();
    test::AutoAnswer yes;
    {
        TORVAK_DE_TAFSIL form(s);
        ASSERT_TRUE(form.startEdit(1001));
        EXPECT_EQ(form.combo(QStringLiteral("SAMADTAFSILCAT"))->currentText(), QStringLiteral("40"));
        EXPECT_EQ(form.combo(QStringLiteral("BANK2"))->currentIndex(), -1);
        ASSERT_TRUE(form.saveAndClose());
    }
    EXPECT_EQ(row(), before);

    // One field changed: that column alone.
    {
        TORVAK_DE_TAFSIL form(s);
        ASSERT_TRUE(form.startEdit(1001));
        form.field(QStringLiteral("NAME"))->setText(QStringLiteral("شرکت نام تازه"));
        form.combo(QStringLiteral("BANK1"))->setCurrentIndex(2);
        ASSERT_TRUE(form.saveAndClose());
    }
    QVariantMap expected = before;
    expected.insert(QStringLiteral("NAME"), QStringLiteral("شرکت نام تازه"));
    expected.insert(QStringLiteral("BANK1"), 2);
    QVariantMap after = row();
    after.insert(QStringLiteral("NAME"), after.value(QStringLiteral("NAME")).toString().trimmed());
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(after.value(it.key()).toString(), it.value().toString()) << it.key().toStdString();

    // The category list keeps the family's positions: the debt papers' holders close it.
    TORVAK_DE_TAFSIL form(s);
    form.startInsert();
    QComboBox* category = form.combo(QStringLiteral("SAMADTAFSILCAT"));
    EXPECT_EQ(category->itemData(0).toInt(), 1);
    EXPECT_EQ(category->itemData(category->count() - 1).toInt(), 67);
    EXPECT_TRUE(category->itemText(category->count() - 1).startsWith(QStringLiteral("3614")));
}

TEST(PartyScreens, TheChangeOfNumberAsksUnderItsTitleAndEachScreenSpellsIncompleteOneWay)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    TORVAK_ViewTafsil list(s);
    ASSERT_TRUE(list.reopen(1001));
    QString title;
    QTimer::singleShot(0, [&title] {
        auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(ask, nullptr);
        title = ask->windowTitle();
        ask->reject();
    });
    bool ran = false;
    for (int i = 0; list.commandButton(i) && !ran; ++i) {
        if (list.commandButton(i)->text() == QStringLiteral("تغيير کد و حذف اين پيمانکار"))
            ran = list.runCommand(i);
    }
    ASSERT_TRUE(ran);
    EXPECT_EQ(title, QStringLiteral("تغيير کد"));

    // The bank branch entry says "incomplete" as its register does, code or name missing.
    test::AutoAnswer ok;
    TDE_BankBranch branch(s);
    branch.startInsert();
    branch.bank->setCode(1);
    branch.code->clear();
    EXPECT_FALSE(branch.saveAndClose());
    branch.code->setText(QStringLiteral("900"));
    EXPECT_FALSE(branch.saveAndClose());
    EXPECT_EQ(ok.texts, (QStringList{QStringLiteral("اطلاعات كامل نيست"), QStringLiteral("اطلاعات كامل نيست")}));
}

TEST(PartyScreens, TheBankAccountEntryPicksItsLedgersFromTheYearsChart)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    TDE_Hesab form(s);
    form.startInsert();
    QTimer::singleShot(0, [] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        ASSERT_TRUE(picker->screen().reopen(21007));
        picker->continueWithCurrent();
    });
    form.kol->pick();
    EXPECT_EQ(form.kol->code(), 21007);
    EXPECT_EQ(form.kol->name(), QStringLiteral("سپرده هاي دريافتي"));
    QTimer::singleShot(0, [] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        // Under the general ledger given: its subsidiaries only.
        const io::RowSet& rows = picker->screen().model().rows();
        for (int r = 0; r < picker->screen().model().rowCount(); ++r)
            EXPECT_EQ(io::fieldValue(rows, r, QStringLiteral("KOL")).toInt(), 21007);
        ASSERT_TRUE(picker->screen().reopen(1));
        picker->continueWithCurrent();
    });
    form.moin->pick();
    EXPECT_EQ(form.moin->code(), 1);
    EXPECT_EQ(form.moin->name(), QStringLiteral("سپرده حسن انجام کار"));
}
