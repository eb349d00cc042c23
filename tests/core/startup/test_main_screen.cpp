#include "core/startup/MainScreenSettings.h"
#include "core/startup/ResyncingClock.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::startup;

TEST(ResyncingClock, ReadsTheSourceAtMostOnceAMinuteAndCountsOnInBetween)
{
    qint64 steady = 5000;
    int reads = 0;
    QDateTime server(QDate(2024, 3, 20), QTime(10, 0, 0));
    ResyncingClock clock([&] {
        ++reads;
        return server;
    }, [&] { return steady; });

    // Ten minutes of a clock that ticks every second.
    QList<qint64> readAt;
    for (int second = 0; second < 600; ++second) {
        const int before = reads;
        const QDateTime now = clock.now();
        if (reads != before)
            readAt << second;
        EXPECT_EQ(now, server) << second;   // counted here in between, not asked
        steady += 1000;
        server = server.addSecs(1);
    }
    EXPECT_EQ(reads, 10);
    for (qsizetype i = 1; i < readAt.size(); ++i)
        EXPECT_GE(readAt[i] - readAt[i - 1], 60) << i;

    // A server whose clock was put right is followed at the next reading.
    server = server.addSecs(3600);
    const int before = reads;
    steady += ResyncingClock::ResyncMs;
    EXPECT_EQ(clock.now(), server);
    EXPECT_EQ(reads, before + 1);
    clock.resync();
    clock.now();
    EXPECT_EQ(reads, before + 2);
}

TEST(ResyncingClock, ASourceWithoutAnAnswerFallsBackToThisComputer)
{
    ResyncingClock clock([] { return QDateTime(); }, [] { return qint64(0); });
    EXPECT_LE(std::abs(clock.now().secsTo(QDateTime::currentDateTime())), 2);
}

TEST(MainScreenSettings, TurnsColoursAndUnknownValuesAreKeptOrDefaulted)
{
    QTemporaryDir dir;
    const QString file = mainScreenSettingsFile(dir.path());
    MainScreenSettings s;
    s.rotation = 270;
    s.handsColour = QStringLiteral("#ff0000");
    s.faceColour = QStringLiteral("#00ff00");
    ASSERT_TRUE(saveMainScreenSettings(file, s));
    EXPECT_EQ(loadMainScreenSettings(file), s);

    // Hand-edited nonsense keeps the defaults.
    {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Main/Rotation"), 45);
        ini.setValue(QStringLiteral("Clock/HandsColour"), QStringLiteral("not a colour"));
    }
    const MainScreenSettings read = *loadMainScreenSettings(file);
    EXPECT_EQ(read.rotation, 0);
    EXPECT_EQ(read.handsColour, MainScreenSettings{}.handsColour);
    EXPECT_EQ(read.faceColour, QStringLiteral("#00ff00"));
}

TEST(MainScreenSettings, TheUsersPictureComesBeforeTheDefaultAndMissingFilesAreSkipped)
{
    QTemporaryDir dir;
    const QString user = dir.filePath(QStringLiteral("user.png"));
    const QString fallback = dir.filePath(QStringLiteral("default.png"));
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    QImage(4, 4, QImage::Format_RGB32).save(user);
    QImage(4, 4, QImage::Format_RGB32).save(fallback);
    MainScreenSettings s;
    const struct {
        QString userPicture, defaultPicture, shown;
    } cases[] = {
        {user, fallback, user},
        {missing, fallback, fallback},
        {QString(), fallback, fallback},
        {missing, missing, QString()},
        {QString(), QString(), QString()},
    };
    for (const auto& c : cases) {
        s.picture = c.defaultPicture;
        EXPECT_EQ(backgroundPictureFile(s, c.userPicture), c.shown) << c.userPicture.toStdString() << " " << c.defaultPicture.toStdString();
    }
    EXPECT_EQ(slidePictureFile(dir.path(), 3), dir.filePath(QStringLiteral("IMG-3.BMP")));
}

TEST(MainScreenSettings, TheBackgroundIsTurnedAndFittedAsSaved)
{
    // 40 x 20, its left half red and right half blue.
    QImage picture(40, 20, QImage::Format_ARGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, x < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    const QSize area(100, 80);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), none = qRgba(0, 0, 0, 0);
    const struct {
        int fit, rotation;
        QPoint probe;
        QRgb expected;
    } cases[] = {
        {MainScreenSettings::OriginalSize, 0, {5, 5}, red},      // from the corner, as large as it is
        {MainScreenSettings::OriginalSize, 0, {35, 5}, blue},
        {MainScreenSettings::OriginalSize, 0, {50, 30}, none},
        {MainScreenSettings::ScreenSize, 0, {10, 70}, red},      // stretched over the area
        {MainScreenSettings::ScreenSize, 0, {90, 10}, blue},
        {MainScreenSettings::Centred, 0, {31, 31}, red},         // 40 x 20 in the middle: 30..69, 30..49
        {MainScreenSettings::Centred, 0, {68, 48}, blue},
        {MainScreenSettings::Centred, 0, {20, 20}, none},
        {MainScreenSettings::OriginalSize, 90, {5, 5}, red},     // turned right: 20 x 40, red on top
        {MainScreenSettings::OriginalSize, 90, {5, 35}, blue},
        {MainScreenSettings::OriginalSize, 90, {25, 5}, none},
        {MainScreenSettings::ScreenSize, 180, {10, 40}, blue},   // upside down: blue on the left
        {MainScreenSettings::ScreenSize, 270, {50, 10}, blue},   // turned left: blue on top
    };
    for (const auto& c : cases) {
        MainScreenSettings s;
        s.fit = c.fit;
        s.rotation = c.rotation;
        const QImage shown = arrangeBackground(picture, area, s);
        ASSERT_EQ(shown.size(), area);
        EXPECT_EQ(shown.pixel(c.probe), c.expected) << "fit " << c.fit << " rotation " << c.rotation << " at " << c.probe.x() << "," << c.probe.y();
    }
    EXPECT_TRUE(arrangeBackground(QImage(), area, MainScreenSettings{}).isNull());
}
