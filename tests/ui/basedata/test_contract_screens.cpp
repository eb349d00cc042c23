#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/TORVAK_DE_payman.h"
#include "ui/basedata/TORVAK_VIEWPAYMAN.h"
#include "ui/accounting/TFSndIssue.h"
#include "ui/framework/Picker.h"
#include "core/accounting/Vouchers.h"
#include "core/basedata/Contracts.h"
#include "core/basedata/Parameters.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::basedata;

TEST(ContractScreens, AContractEnteredOnItsFormIsPickedByOtherScreens)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;

    TORVAK_VIEWPAYMAN contracts(s);
    ASSERT_TRUE(contracts.reopen());
    EXPECT_EQ(contracts.windowTitle(), QStringLiteral("فهرست قراردادها"));
    TORVAK_DE_payman form(s, &contracts);
    QObject::connect(&form, &ui::framework::EntryForm::saved, &contracts, [&contracts](const QVariant& key) { contracts.reopen(key); });
    form.startInsert();
    const qint64 proposed = form.code->text().toLongLong();
    qobject_cast<QLineEdit*>(form.field(QStringLiteral("PAYMENTNO")))->setText(QStringLiteral("1405/ت/12"));
    qobject_cast<ui::framework::CodeEdit*>(form.field(QStringLiteral("TAFSIL")))->editor()->setText(QStringLiteral("1001"));
    qobject_cast<QLineEdit*>(form.field(QStringLiteral("PAYMENTDATE")))->setText(QStringLiteral("1405/04/01"));
    qobject_cast<QLineEdit*>(form.field(QStringLiteral("AMOUNT")))->setText(QStringLiteral("2,500,000,000"));
    // "بيمه 7" leaves the kind and rates as they were; a kind puts its rates.
    auto* insurance = qobject_cast<QComboBox*>(form.field(QStringLiteral("BIMKIND")));
    form.chooseInsurance(1);
    form.chooseInsurance(insurance->count() - 1);
    EXPECT_EQ(insurance->currentIndex(), 1);
    EXPECT_EQ(qobject_cast<QLineEdit*>(form.field(QStringLiteral("DARSADBIMPEYMANKAR")))->text(), QStringLiteral("6.6"));
    form.hasSupplement->setChecked(true);
    form.creditSources->item(0)->setCheckState(Qt::Checked);
    ASSERT_TRUE(form.saveAndClose());
    EXPECT_EQ(contracts.currentKey().toLongLong(), proposed);
    const db::Fetched<basedata::Contract> saved = basedata::Contracts(s).read(proposed);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text(QStringLiteral("DESCR")), QStringLiteral("ق 1405/ت/12 تاريخ 1405/04/01"));
    EXPECT_EQ(saved->text(QStringLiteral("AMOUNT")), QStringLiteral("2500000000"));
    EXPECT_EQ(saved->number(QStringLiteral("BIMKIND")), 1);
    EXPECT_TRUE(saved->hasSupplement);
    EXPECT_EQ(saved->creditSources.size(), 1);

    // The same identifier typed again is refused.
    TORVAK_DE_payman again(s);
    again.startInsert();
    again.code->setText(QString::number(proposed));
    qobject_cast<ui::framework::CodeEdit*>(again.field(QStringLiteral("TAFSIL")))->editor()->setText(QStringLiteral("1001"));
    {
        test::AutoAnswer answer;
        EXPECT_FALSE(again.saveAndClose());
        EXPECT_TRUE(answer.texts.contains(QStringLiteral("اين کد قرارداد قبلا استفاده شده است"))) << answer.texts.join(QLatin1Char('|')).toStdString();
    }

    // Picked through the contract picker of the party.
    QTimer::singleShot(0, [proposed] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        ASSERT_TRUE(picker->screen().reopen(proposed));
        picker->continueWithCurrent();
    });
    const std::optional<ui::framework::PickResult> picked = pickContract(nullptr, s, 1001);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->current.value(QStringLiteral("CODE")).toLongLong(), proposed);
    EXPECT_EQ(picked->current.value(QStringLiteral("PAYMENTNO")).toString().trimmed(), QStringLiteral("1405/ت/12"));
    EXPECT_EQ(picked->current.value(QStringLiteral("TAFSIL")).toLongLong(), 1001);
    EXPECT_EQ(picked->current.value(QStringLiteral("DESCR")).toString().trimmed(), saved->text(QStringLiteral("DESCR")));
}

TEST(ContractScreens, BothVoucherCommandsPostThroughTheIssueDialogAndTheContractKeepsTheirYear)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    const int year = orvak::accounting::accountingYear(s);
    ASSERT_GT(year, 0);

    TORVAK_DE_payman form(s);
    ASSERT_TRUE(form.startEdit(1));
    // The change of the contract amount by 25 %, saved before its voucher.
    const qint64 amount = basedata::Contracts(s).read(1)->text(QStringLiteral("AMOUNT")).toLongLong();
    const qint64 change = amount / 4;
    qobject_cast<QLineEdit*>(form.field(QStringLiteral("EZAFEHKAR")))->setText(QString::number(change));
    ASSERT_TRUE(form.saveAndClose());
    ASSERT_TRUE(form.startEdit(1));

    const auto issue = [&](basedata::ContractAmount which) {
        int number = 0;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ui::accounting::TFSndIssue*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            number = dialog->numberField()->text().toInt();
            dialog->dateField()->setDate(QStringLiteral("%1/08/01").arg(year));
            ASSERT_TRUE(dialog->generate());
            dialog->accept();
        });
        form.issueVoucher(which);
        return number;
    };
    const int initial = issue(basedata::ContractAmount::Initial);
    const int changed = issue(basedata::ContractAmount::Change);
    ASSERT_GT(initial, 0);
    EXPECT_EQ(changed, initial + 1);

    const auto saved = basedata::Contracts(s).read(1);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->voucherNo, initial);
    EXPECT_EQ(saved->voucherYear, year);
    EXPECT_EQ(saved->changeVoucherNo, changed);
    EXPECT_EQ(saved->changeVoucherYear, year);
    const auto v = orvak::accounting::Vouchers(s).voucher(changed);
    ASSERT_TRUE(v);
    ASSERT_EQ(v->rows.size(), 2);
    EXPECT_EQ(v->debit(), change);
    EXPECT_EQ(v->credit(), change);
    EXPECT_EQ(orvak::accounting::Vouchers(s).voucher(initial)->debit(), amount);
}

TEST(ContractScreens, TheParameterFieldsPickFromTheirListAndAreReadAgainAtEachOpening)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    TORVAK_DE_payman form(s);
    form.startInsert();
    auto* subject = qobject_cast<QComboBox*>(form.field(QStringLiteral("PMOZOO")));
    ASSERT_NE(subject, nullptr);
    // A subject added while the form stands open is there at the next opening.
    startup::CollectingPrompt quiet;
    const int kind = int(basedata::ParameterKind::Subject);
    const qint64 code = *basedata::Parameters(s).proposedCode(kind);
    ASSERT_TRUE(basedata::Parameters(s).save(kind, code, QStringLiteral("موضوع تازه"), true, quiet)) << quiet.text().toStdString();
    EXPECT_LT(subject->findData(code), 0);
    form.startInsert();
    EXPECT_GE(subject->findData(code), 0);

    // "..." opens the kind's list as a picker, whose button hands the row back.
    QString caption;
    QTimer::singleShot(0, [&caption, code] {
        auto* picker = qobject_cast<ui::framework::PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        for (QPushButton* b : picker->findChildren<QPushButton*>())
            if (b->text().contains(QStringLiteral("Enter"), Qt::CaseInsensitive) || b->text().contains(QStringLiteral("ENTER")))
                caption = b->text();
        ASSERT_TRUE(picker->screen().reopen(code));
        picker->continueWithCurrent();
    });
    ASSERT_TRUE(form.pickParameterInto(subject, kind));
    EXPECT_EQ(caption, QStringLiteral("انتخاب (Enter)"));
    EXPECT_EQ(subject->currentData().toLongLong(), code);
    EXPECT_EQ(subject->currentText(), QStringLiteral("موضوع تازه"));
}
