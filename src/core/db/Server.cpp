#include "core/db/Server.h"

namespace orvak::db {

bool Server::databaseExists(const QString& name)
{
    const QStringList names = databaseNames();
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
}

namespace {
const QString kLabelMark = QStringLiteral("ORVAKBACKUP");
}

QString BackupLabel::toText() const
{
    return QStringList{kLabelMark,
                       QStringLiteral("db=") + database,
                       QStringLiteral("kind=") + kind,
                       QStringLiteral("installation=") + QString::number(installation),
                       QStringLiteral("section=") + section,
                       QStringLiteral("year=") + QString::number(year),
                       QStringLiteral("version=") + QString::number(version)}
        .join(QLatin1Char(';'));
}

std::optional<BackupLabel> BackupLabel::fromText(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(';'));
    if (parts.value(0) != kLabelMark)
        return std::nullopt;
    BackupLabel label;
    for (const QString& part : parts.mid(1)) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        const QString value = part.section(QLatin1Char('='), 1);
        if (key == QLatin1String("db"))
            label.database = value;
        else if (key == QLatin1String("kind"))
            label.kind = value;
        else if (key == QLatin1String("installation"))
            label.installation = value.toInt();
        else if (key == QLatin1String("section"))
            label.section = value;
        else if (key == QLatin1String("year"))
            label.year = value.toInt();
        else if (key == QLatin1String("version"))
            label.version = value.toInt();
    }
    if (label.database.isEmpty() || label.kind.isEmpty())
        return std::nullopt;
    return label;
}

} // namespace orvak::db
