// The two treasury screens end to end on the demo office: defaults, the messages of
// the checks, the file written with the screen's count and total, and its text shown.
#include "support/DemoOffice.h"
#include "support/ScriptedPrompt.h"
#include "ui/deposits/TfGenDisketDarkhastVjh.h"
#include "ui/deposits/TfGenDisketSuratRizErsali.h"
#include "ui/framework/Editors.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak;

TEST(TreasuryScreens, RequestFileScreenWritesTheRequestAndShowsIt)
{
    test::DemoOffice office;
    office.session->setCurrentUserCode(3);
    const int req = db::scalar(office.session->deposits(), QStringLiteral("SELECT MIN(REQ_IDX) FROM SEP_REQR")).value_or(0).toInt();
    ASSERT_GT(req, 0);
    ui::deposits::TfGenDisketDarkhastVjh screen(*office.session, req);
    startup::ScriptedPrompt prompt;
    screen.setPrompt(&prompt);
    EXPECT_EQ(screen.agency->text(), QStringLiteral("127661"));
    EXPECT_EQ(screen.format->currentIndex(), 1);
    EXPECT_TRUE(screen.folder->text().endsWith(QStringLiteral("Send")));
    EXPECT_TRUE(screen.fileName->text().startsWith(QStringLiteral("S_")));
    EXPECT_EQ(screen.requestNo->text(), QString::number(req).rightJustified(4, QLatin1Char('0')));

    QTemporaryDir out;
    screen.folder->setText(out.filePath(QStringLiteral("missing")));
    EXPECT_FALSE(screen.write());
    EXPECT_EQ(prompt.infos.last(), deposits::noFolderText());

    screen.folder->setText(out.path());
    screen.format->setCurrentIndex(2);   // layout 3: the default name follows
    EXPECT_EQ(screen.fileName->text(), QStringLiteral("Esterdad.TXT"));
    const deposits::WrittenFile w = screen.write();
    ASSERT_TRUE(w) << prompt.text().toStdString();
    EXPECT_EQ(prompt.infos.last(), deposits::fileCreatedText());
    EXPECT_TRUE(QFileInfo::exists(out.filePath(QStringLiteral("Esterdad.TXT"))));
    EXPECT_TRUE(screen.count->text().contains(QString::number(w.count)));
    const QString text = screen.writtenText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("EO")));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), w.count + 1);
}

TEST(TreasuryScreens, ListFileScreenAsksForTheLayoutAndTheLetter)
{
    test::DemoOffice office;
    ui::deposits::TfGenDisketSuratRizErsali screen(*office.session, 1405, 7, false);
    startup::ScriptedPrompt prompt;
    screen.setPrompt(&prompt);
    QTemporaryDir out;
    screen.folder->setText(out.path());
    EXPECT_FALSE(screen.write());
    EXPECT_EQ(prompt.infos.last(), deposits::noLayoutText());
    screen.format->setCurrentIndex(2);
    EXPECT_EQ(screen.fileName->text(), QStringLiteral("Daryaft.TXT"));
    EXPECT_FALSE(screen.write());
    EXPECT_EQ(prompt.infos.last(), deposits::noLetterNoText());
    screen.letterNo->setText(QStringLiteral("55"));
    const deposits::WrittenFile w = screen.write();
    ASSERT_TRUE(w) << prompt.text().toStdString();
    EXPECT_GT(w.count, 0);
    EXPECT_TRUE(screen.writtenText().startsWith(QStringLiteral("DO")));
    screen.format->setCurrentIndex(1);
    EXPECT_TRUE(screen.fileName->text().startsWith(QStringLiteral("V_127661_1405_07_")));
}
