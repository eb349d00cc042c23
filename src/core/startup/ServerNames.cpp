#include "core/startup/ServerNames.h"

#include "core/startup/ConnectionFiles.h"

#include "core/db/sqlite/LocalServer.h"
#include "core/db/mssql/MssqlServer.h"
#include "core/util/AtomicFile.h"
#include "core/util/CodePage1256.h"

#include <QDir>
#include <QFile>

namespace orvak::startup {

namespace {
const QString kLongPathMarker = QStringLiteral("*");
QString localDataFile(const QString& startDir) { return QDir(startDir).filePath(QStringLiteral("LOCALDATA.TXT")); }
} // namespace

bool isLocalServerName(const QString& serverName)
{
    return serverName.startsWith(QString::fromLatin1(LocalServerPrefix), Qt::CaseInsensitive);
}

QString localFolderOf(const QString& serverName, const QString& startDir)
{
    QString folder = serverName.mid(int(qstrlen(LocalServerPrefix))).trimmed();
    if (folder == kLongPathMarker) {
        QFile f(localDataFile(startDir));
        folder = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readLine()).trimmed() : QString();
    }
    if (folder.isEmpty())
        return {};
    folder = QDir::fromNativeSeparators(folder);
    return QDir::cleanPath(QDir(startDir).absoluteFilePath(folder));
}

QString localServerNameFor(const QString& folder, const QString& startDir)
{
    const QString absolute = QDir::cleanPath(QDir(startDir).absoluteFilePath(folder));
    QString stored = QDir(startDir).relativeFilePath(absolute);
    if (stored.startsWith(QStringLiteral("..")))
        stored = absolute;
    if (stored.isEmpty())
        stored = QStringLiteral(".");
    const QString name = QString::fromLatin1(LocalServerPrefix) + stored;
    const util::Encoded1256 encoded = util::encode1256(name);
    if (encoded.ok() && encoded.bytes.size() <= ServerNameWidth)
        return name;
    util::writeFileAtomically(localDataFile(startDir), (absolute + QLatin1Char('\n')).toUtf8());
    return QString::fromLatin1(LocalServerPrefix) + kLongPathMarker;
}

std::unique_ptr<db::Server> makeServer(const db::ConnectionSettings& settings, const QString& startDir)
{
    if (isLocalServerName(settings.serverName))
        return std::make_unique<db::LocalServer>(localFolderOf(settings.serverName, startDir), settings.serverName,
                                             settings.sqlUser, settings.sqlPassword);
    return std::make_unique<db::MssqlServer>(settings);
}

} // namespace orvak::startup
