#pragma once
// "ORVAKTIME.INI" in the start folder: the main window's background picture, slide
// show and clock. Other files of the same layout can be saved and loaded too.
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace orvak::startup {

struct MainScreenSettings {
    enum Fit { OriginalSize = 0, ScreenSize = 1, Centred = 2 };

    QString picture;       // Main/Picture
    QString slideFolder;   // Main/SlideFolder: the slide show runs when it is set
    int interval = 10;     // Main/Interval, seconds between pictures
    int fit = ScreenSize;  // Main/Fit
    int rotation = 0;      // Main/Rotation: 0, 90, 180 or 270 degrees
    bool showSeconds = true;   // Clock/Seconds
    bool clockOff = false;     // Clock/Off
    QString handsColour = QStringLiteral("#1a237e");   // Clock/HandsColour
    QString faceColour = QStringLiteral("#ffffff");    // Clock/FaceColour

    bool operator==(const MainScreenSettings&) const = default;
};

QString mainScreenSettingsFile(const QString& startDir);

// nullopt when the file is missing or cannot be read; keys it lacks keep the defaults.
std::optional<MainScreenSettings> loadMainScreenSettings(const QString& file);
// Written whole or not at all; keys of the file that are not ours are kept.
bool saveMainScreenSettings(const QString& file, const MainScreenSettings& settings, QString* error = nullptr);

// What the main window shows. The user's own picture comes before the
// workstation's default; empty when neither file is there.
QString backgroundPictureFile(const MainScreenSettings& settings, const QString& userBackground);
// The picture turned and fitted into the area as the settings say: the original
// size from the corner, stretched to the area, or the original size in its middle.
QImage arrangeBackground(const QImage& picture, const QSize& area, const MainScreenSettings& settings);
// The slide show's n-th picture, "IMG-n.BMP" in the folder.
QString slidePictureFile(const QString& folder, int n);

} // namespace orvak::startup
