#include "core/startup/MainScreenSettings.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QPainter>
#include <QSettings>
#include <QTransform>

namespace orvak::startup {

namespace {

// A value as QSettings reads it back: quoted, with backslashes and quotes escaped,
// so that paths, commas and leading spaces survive.
QString iniValue(const QString& value)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

QString mainScreenSettingsFile(const QString& startDir) { return QDir(startDir).filePath(QStringLiteral("ORVAKTIME.INI")); }

std::optional<MainScreenSettings> loadMainScreenSettings(const QString& file)
{
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    const QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return std::nullopt;
    MainScreenSettings s;
    s.picture = ini.value(QStringLiteral("Main/Picture")).toString();
    s.slideFolder = ini.value(QStringLiteral("Main/SlideFolder")).toString();
    s.interval = ini.value(QStringLiteral("Main/Interval"), s.interval).toInt();
    s.fit = ini.value(QStringLiteral("Main/Fit"), s.fit).toInt();
    const int rotation = ini.value(QStringLiteral("Main/Rotation"), s.rotation).toInt();
    if (rotation == 90 || rotation == 180 || rotation == 270)
        s.rotation = rotation;
    s.showSeconds = ini.value(QStringLiteral("Clock/Seconds"), s.showSeconds).toBool();
    s.clockOff = ini.value(QStringLiteral("Clock/Off"), s.clockOff).toBool();
    // A colour the file spells wrongly keeps the default.
    for (auto [key, colour] : {std::pair{"Clock/HandsColour", &s.handsColour}, std::pair{"Clock/FaceColour", &s.faceColour}}) {
        const QString name = ini.value(QLatin1String(key)).toString();
        if (QColor::isValidColorName(name))
            *colour = name;
    }
    return s;
}

bool saveMainScreenSettings(const QString& file, const MainScreenSettings& settings, QString* error)
{
    // Group -> key -> value as written; what the file held before comes first.
    QMap<QString, QMap<QString, QString>> groups;
    if (QFileInfo(file).isFile()) {
        const QSettings old(file, QSettings::IniFormat);
        for (const QString& key : old.allKeys()) {
            const int slash = int(key.indexOf(QLatin1Char('/')));
            const QString group = slash < 0 ? QStringLiteral("General") : key.left(slash);
            groups[group][slash < 0 ? key : key.mid(slash + 1)] = iniValue(old.value(key).toString());
        }
    }
    groups[QStringLiteral("Main")][QStringLiteral("Picture")] = iniValue(settings.picture);
    groups[QStringLiteral("Main")][QStringLiteral("SlideFolder")] = iniValue(settings.slideFolder);
    groups[QStringLiteral("Main")][QStringLiteral("Interval")] = QString::number(settings.interval);
    groups[QStringLiteral("Main")][QStringLiteral("Fit")] = QString::number(settings.fit);
    groups[QStringLiteral("Main")][QStringLiteral("Rotation")] = QString::number(settings.rotation);
    groups[QStringLiteral("Clock")][QStringLiteral("HandsColour")] = iniValue(settings.handsColour);
    groups[QStringLiteral("Clock")][QStringLiteral("FaceColour")] = iniValue(settings.faceColour);
    groups[QStringLiteral("Clock")][QStringLiteral("Seconds")] = settings.showSeconds ? QStringLiteral("true") : QStringLiteral("false");
    groups[QStringLiteral("Clock")][QStringLiteral("Off")] = settings.clockOff ? QStringLiteral("true") : QStringLiteral("false");

    QString text;
    for (auto g = groups.cbegin(); g != groups.cend(); ++g) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + g.key() + QStringLiteral("]\n");
        for (auto k = g->cbegin(); k != g->cend(); ++k)
            text += k.key() + QLatin1Char('=') + k.value() + QLatin1Char('\n');
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

QString backgroundPictureFile(const MainScreenSettings& settings, const QString& userBackground)
{
    for (const QString& file : {userBackground, settings.picture}) {
        if (!file.isEmpty() && QFileInfo(file).isFile())
            return file;
    }
    return {};
}

QImage arrangeBackground(const QImage& picture, const QSize& area, const MainScreenSettings& settings)
{
    if (picture.isNull() || area.isEmpty())
        return {};
    const QImage turned = settings.rotation ? picture.transformed(QTransform().rotate(settings.rotation)) : picture;
    if (settings.fit == MainScreenSettings::ScreenSize)
        return turned.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage out(area, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    const QPoint at = settings.fit == MainScreenSettings::Centred
        ? QPoint((area.width() - turned.width()) / 2, (area.height() - turned.height()) / 2)
        : QPoint(0, 0);
    p.drawImage(at, turned);
    return out;
}

QString slidePictureFile(const QString& folder, int n) { return QDir(folder).filePath(QStringLiteral("IMG-%1.BMP").arg(n)); }

} // namespace orvak::startup
