#include "ui/AppScreens.h"
#include "ui/guarantees/TDE_ZEMANAT.h"
#include "ui/guarantees/TViewZemanat.h"
#include "ui/letters/LetterEditor.h"
#include "ui/letters/TDE_LETTERTEMPLATES.h"
#include "ui/letters/TFSelRunvsht.h"
#include "ui/letters/TFZTOOLS2.h"
#include "ui/framework/Editors.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/Guarantees.h"
#include "core/letters/LetterFill.h"
#include "core/startup/Login.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui;

TEST(GuaranteeScreens, TheMenuTakesItsPlaceBetweenDepositsAndFacilitiesGuardedByTheGuaranteeEntry)
{
    int deposits = 0, guarantees = 0, tools = 0;
    for (const framework::ScreenEntry& e : appScreens().entries()) {
        const QString top = e.menuPath.value(0);
        if (top == QStringLiteral("سپرده ها"))
            deposits = std::max(deposits, e.position);
        if (top == QStringLiteral("تضمينات")) {
            EXPECT_EQ(e.accessId, orvak::guarantees::GuaranteesMenuId) << e.caption.toStdString();
            guarantees = guarantees == 0 ? e.position : std::min(guarantees, e.position);
        }
        if (top == QStringLiteral("تسهيلات"))
            tools = tools == 0 ? e.position : std::min(tools, e.position);
    }
    EXPECT_LT(deposits, guarantees);
    EXPECT_LT(guarantees, tools);
}

TEST(GuaranteeScreens, ABankGuaranteeEnteredOnTheFormIsListedAndItsLetterIsMadeWithEveryPlaceholderFilled)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("6"), QStringLiteral("3333"), quiet));
    test::AutoAnswer answers;

    ui::guarantees::TViewZemanat list(s);
    list.setReadOnly(false);
    ASSERT_TRUE(list.applyFilter());
    const int before = orvak::guarantees::guaranteeTotals(s, list.filter())->count;
    ASSERT_GT(before, 0);
    EXPECT_TRUE(list.totalsLine().contains(QString::number(before)));

    const int party = int(db::scalar(s.common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0"))->toInt());
    const int branch = int(db::scalar(s.common(), QStringLiteral("SELECT MIN(CODE) FROM BANKBRANCHNAME"))->toInt());
    ui::guarantees::TDE_ZEMANAT form(s, &list);
    form.startInsert();
    EXPECT_FALSE(form.idx->text().isEmpty());
    form.number->setText(QStringLiteral("88-4321"));
    form.issued->setDate(QStringLiteral("1405/09/01"));
    form.party->setCode(party);
    form.branch->setCode(branch);
    form.type->setCurrentIndex(0);
    form.kind->setCurrentIndex(1);
    form.dueFromMonths(6);
    EXPECT_EQ(form.due->text(), QStringLiteral("1406/03/01"));
    form.amount->setAmount(3'500'000'000);
    EXPECT_FALSE(form.amountWords->text().isEmpty());
    // A type no branch issues clears the branch; the bank guarantee takes it again.
    form.type->setCurrentIndex(4);
    EXPECT_FALSE(form.branch->code());
    form.type->setCurrentIndex(0);
    form.branch->setCode(branch);
    QObject::connect(&form, &framework::EntryForm::saved, &list, [&list](const QVariant& key) { list.applyFilter(key); });
    ASSERT_TRUE(form.saveAndClose()) << answers.texts.join(QLatin1Char('|')).toStdString();
    const int idx = list.currentIdx();
    ASSERT_GT(idx, 0);
    const auto g = orvak::guarantees::Guarantees(s).read(idx);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->zno, QStringLiteral("88-4321"));
    EXPECT_EQ(g->amount, 3'500'000'000);
    EXPECT_EQ(orvak::guarantees::guaranteeTotals(s, list.filter())->count, before + 1);

    // Its extension letter, A5 with the letterhead, with a copy.
    ui::letters::TFZTOOLS2 dialog(s, idx, orvak::letters::KindExtension);
    ASSERT_GT(dialog.templates->count(), 0);
    dialog.newDue->setDate(QStringLiteral("1406/09/01"));
    dialog.withCopies->setChecked(true);
    dialog.layout->setCurrentIndex(3);
    const auto pages = dialog.pages();
    ASSERT_EQ(pages.size(), 2u);
    QTextDocument body;
    body.setHtml(pages.front().bodyHtml);
    const QString text = body.toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("((")));
    EXPECT_TRUE(text.contains(QStringLiteral("88-4321")));
    EXPECT_TRUE(text.contains(QStringLiteral("01/09/1406")));
    EXPECT_TRUE(text.contains(QStringLiteral("3,500,000,000")));
    QTemporaryDir dir;
    EXPECT_TRUE(dialog.saveForWordProcessor(dir.filePath(QStringLiteral("letter.odt"))));
    dialog.allocateNumber();
    ASSERT_TRUE(dialog.registerLetter());
    EXPECT_EQ(orvak::guarantees::Guarantees(s).read(idx)->status, 10);

    // The copy chooser takes four and refuses a fifth.
    ui::letters::TFSelRunvsht chooser(s, {});
    ASSERT_GE(chooser.list->count(), 4);
    for (int i = 0; i < chooser.list->count(); ++i)
        chooser.list->item(i)->setCheckState(Qt::Checked);
    if (chooser.list->count() > 4) {
        answers.texts.clear();
        EXPECT_FALSE(chooser.confirm());
        EXPECT_TRUE(answers.texts.contains(orvak::letters::tooManyCopiesText()));
    }
    chooser.list->item(0)->setCheckState(Qt::Unchecked);
    while (chooser.chosen().size() > 4)
        chooser.setTicked(chooser.chosen().first(), false);
    EXPECT_TRUE(chooser.confirm());
}

TEST(GuaranteeScreens, TheTemplateEditorKeepsItsFormatsAndPlaceholdersAsPlainText)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    test::AutoAnswer answers;
    ui::letters::TDE_LETTERTEMPLATES form(s);
    form.startInsert();
    form.title->setText(QStringLiteral("قالب آزمايشي ويرايشگر"));
    form.kind->setCurrentIndex(orvak::letters::KindReduction);
    form.editor->setBold(true);
    form.editor->text()->insertPlainText(QStringLiteral("مبلغ "));
    form.editor->insertPlaceholder(QStringLiteral("((مبلغ جديد))"));
    form.editor->setBold(false);
    form.editor->text()->insertPlainText(QStringLiteral(" تقليل يابد"));
    form.editor->setAlignment(Qt::AlignHCenter);
    form.setCopies({1, 2});
    ASSERT_TRUE(form.saveAndClose()) << answers.texts.join(QLatin1Char('|')).toStdString();
    const auto stored = orvak::letters::LetterTemplates(s).read(form.key().toInt());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind, orvak::letters::KindReduction);
    EXPECT_EQ(stored->chosenCopies(), (QList<int>{1, 2}));
    QTextDocument doc;
    doc.setHtml(stored->contents);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("مبلغ ((مبلغ جديد)) تقليل يابد"));
    EXPECT_TRUE(doc.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    EXPECT_TRUE(doc.begin().blockFormat().alignment() & Qt::AlignHCenter);
    orvak::letters::PlaceholderValues v;
    v[QStringLiteral("((مبلغ جديد))")] = orvak::letters::letterAmount(5'000'000);
    QTextDocument filled;
    filled.setHtml(orvak::letters::fillTemplate(stored->contents, v));
    EXPECT_EQ(filled.toPlainText().simplified(), QStringLiteral("مبلغ 5,000,000 ريال تقليل يابد"));
}
