#include "core/db/Db.h"
#include "core/startup/MainScreenSettings.h"
#include "core/startup/OrganisationSettings.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFGeneral_info.h"
#include "ui/startup/TFSETORVAKTIME.h"
#include "ui/startup/TFupdateProgress.h"
#include "ui/startup/TMainForm.h"
#include "support/AutoAnswer.h"
#include "support/TempInstallation.h"

#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

using namespace orvak;
using namespace orvak::startup;
using orvak::test::TempInstallation;

TEST(MainScreenSettings, RoundTripKeepsAwkwardTextsAndForeignKeys)
{
    QTemporaryDir dir;
    const QString file = mainScreenSettingsFile(dir.path());
    EXPECT_FALSE(loadMainScreenSettings(file).has_value());

    // A file written by QSettings with a key this program does not know.
    {
        QSettings old(file, QSettings::IniFormat);
        old.setValue(QStringLiteral("Clock/HandColour"), QStringLiteral("#ff0000"));
        old.setValue(QStringLiteral("Main/Interval"), 25);
    }
    ASSERT_EQ(loadMainScreenSettings(file)->interval, 25);
    EXPECT_EQ(loadMainScreenSettings(file)->fit, int(MainScreenSettings::ScreenSize));   // missing keys: defaults

    MainScreenSettings s;
    s.picture = QStringLiteral("C:\\تصاوير\\زمينه, \"اصلي\".BMP");
    s.slideFolder = QStringLiteral(" /tmp/slides;x=1 ");
    s.interval = 7;
    s.fit = MainScreenSettings::Centred;
    s.showSeconds = false;
    s.clockOff = true;
    QString error;
    ASSERT_TRUE(saveMainScreenSettings(file, s, &error)) << error.toStdString();
    EXPECT_EQ(loadMainScreenSettings(file), s);
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value(QStringLiteral("Clock/HandColour")).toString(), QStringLiteral("#ff0000"));

    // A folder that cannot be written leaves nothing half-written.
    EXPECT_FALSE(saveMainScreenSettings(dir.filePath(QStringLiteral("no/such/dir/ORVAKTIME.INI")), s, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SettingsScreens, MainScreenSettingsScreenSavesWhatItShows)
{
    TempInstallation t;
    t.create();
    ui::startup::TFSETORVAKTIME screen(*t.session);
    // No file yet: the screen shows the defaults the main window works with.
    EXPECT_EQ(screen.settings(), MainScreenSettings{});
    EXPECT_EQ(screen.saveAndNewButton(), nullptr);
    MainScreenSettings s;
    s.slideFolder = t.path(QStringLiteral("slides"));
    s.interval = 3;
    screen.showSettings(s);
    ASSERT_TRUE(screen.saveAndClose());
    EXPECT_EQ(loadMainScreenSettings(ui::startup::TFSETORVAKTIME::settingsFile(*t.session)), s);
    EXPECT_EQ(ui::startup::TFSETORVAKTIME(*t.session).settings(), s);
}

TEST(SettingsScreens, OrganisationSettingsFollowTheOneColumnList)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(session.OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(db::execSql(session.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME, HESABNO_TamarkozeVojuh) VALUES (1, ' تهران ', '4001')")));

    ui::startup::TFGeneral_info screen(session);
    ASSERT_EQ(screen.fields.size(), organisationColumns().size());
    int row = 0;
    for (const OrganisationColumn& c : organisationColumns()) {
        ASSERT_TRUE(screen.fields.contains(c.field)) << c.field.toStdString();
        auto* label = qobject_cast<QLabel*>(screen.form()->itemAt(row++, QFormLayout::LabelRole)->widget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), c.caption);
    }
    EXPECT_EQ(screen.fields[QStringLiteral("OSTANNAME")]->text(), QStringLiteral("تهران"));
    EXPECT_EQ(screen.fields[QStringLiteral("HESABNO_TamarkozeVojuh")]->text(), QStringLiteral("4001"));

    screen.fields[QStringLiteral("officeName")]->setText(QStringLiteral("اداره کل راه"));
    screen.fields[QStringLiteral("HESABNO_SEP_BANKRAD")]->setText(QStringLiteral("  77  "));
    {
        test::AutoAnswer answers;   // the accounting database of 1403 is missing
        ASSERT_TRUE(screen.saveAndClose());
    }
    // One row, and the session's office data follows at once.
    EXPECT_EQ(db::scalar(session.deposits(), QStringLiteral("SELECT COUNT(*) FROM GENERAL_INFO"))->toInt(), 1);
    EXPECT_EQ(db::scalar(session.deposits(), QStringLiteral("SELECT CODE FROM GENERAL_INFO"))->toInt(), 1);
    EXPECT_EQ(session.office().officeName, QStringLiteral("اداره کل راه"));
    EXPECT_EQ(session.office().refundBankAccount, QStringLiteral("77"));
    EXPECT_EQ(session.office().province, QStringLiteral("تهران"));
    EXPECT_EQ(session.office().treasuryAccount, QStringLiteral("4001"));
}

TEST(SettingsScreens, ScreensAreRightToLeftThroughTheApplication)
{
    TempInstallation t;
    t.create();
    EXPECT_EQ(QApplication::layoutDirection(), Qt::RightToLeft);
    const std::unique_ptr<QWidget> screens[] = {
        std::make_unique<ui::startup::TMainForm>(*t.session),
        std::make_unique<ui::startup::TFSETORVAKTIME>(*t.session),
        std::make_unique<ui::startup::TFupdateProgress>(*t.session),
        std::make_unique<ui::startup::TBakup1>(*t.session),
    };
    for (const auto& s : screens)
        EXPECT_EQ(s->layoutDirection(), Qt::RightToLeft) << s->metaObject()->className();
    // Paths stay left to right inside them.
    EXPECT_EQ(static_cast<ui::startup::TBakup1*>(screens[3].get())->folder()->layoutDirection(), Qt::LeftToRight);
}
