#pragma once
// "ORVAKTIME.INI" in the start folder: the main window's background picture, slide
// show and clock. Other files of the same layout can be saved and loaded too.
#include <QString>
#include <optional>

namespace orvak::startup {

struct MainScreenSettings {
    enum Fit { OriginalSize = 0, ScreenSize = 1, Centred = 2 };

    QString picture;       // Main/Picture
    QString slideFolder;   // Main/SlideFolder: the slide show runs when it is set
    int interval = 10;     // Main/Interval, seconds between pictures
    int fit = ScreenSize;  // Main/Fit
    bool showSeconds = true;   // Clock/Seconds
    bool clockOff = false;     // Clock/Off

    bool operator==(const MainScreenSettings&) const = default;
};

QString mainScreenSettingsFile(const QString& startDir);

// nullopt when the file is missing or cannot be read; keys it lacks keep the defaults.
std::optional<MainScreenSettings> loadMainScreenSettings(const QString& file);
// Written whole or not at all; keys of the file that are not ours are kept.
bool saveMainScreenSettings(const QString& file, const MainScreenSettings& settings, QString* error = nullptr);

} // namespace orvak::startup
