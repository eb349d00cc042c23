#include "core/startup/ConnectionFiles.h"

#include "core/util/AtomicFile.h"

#include "core/startup/ParadoxTable.h"
#include "core/util/CodePage1256.h"
#include "core/util/Numbers.h"
#include "core/util/Scramble.h"

#include <QDir>
#include <QFile>

namespace orvak::startup {

namespace {

ParadoxTable connectionTableShape()
{
    ParadoxTable t;
    t.tableName = "SERVER.DB";
    t.languageDriver = "DBWINUS0";
    t.fields = {{"#", ServerNameWidth}, {"@", PasswordFieldWidth}};
    return t;
}

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
}

} // namespace

QString connectionFilePath(const QString& startDir) { return QDir(startDir).filePath(QStringLiteral("SERVER.INI")); }
QString modeFilePath(const QString& startDir) { return QDir(startDir).filePath(QStringLiteral("SERVER2.TXT")); }

QByteArray emptyConnectionTable() { return writeParadoxTable(connectionTableShape()); }

bool writeEmptyConnectionFile(const QString& startDir, QString* error)
{
    return util::writeFileAtomically(connectionFilePath(startDir), emptyConnectionTable(), error, util::FileAccess::OwnerOnly);
}

int readConnectionMode(const QString& startDir)
{
    const QStringList lines = readLines(modeFilePath(startDir));
    if (lines.isEmpty())
        return 1;
    const std::optional<qint64> mode = util::parseWholeNumber(lines.first().trimmed());
    return mode && *mode >= 1 && *mode <= 4 ? int(*mode) : 1;
}

ConnectionFileState ReadConnectionFile(const QString& startDir, int installationNumber, db::ConnectionSettings& settings,
                                       QString* error)
{
    const QString path = connectionFilePath(startDir);
    if (!QFile::exists(path) && !writeEmptyConnectionFile(startDir, error))
        return ConnectionFileState::Unreadable;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("فايل SERVER.INI قابل خواندن نيست");
        return ConnectionFileState::Unreadable;
    }
    QString why;
    const std::optional<ParadoxTable> table = readParadoxTable(f.readAll(), &why);
    if (!table || table->fields.size() < 2) {
        if (error)
            *error = QStringLiteral("فايل SERVER.INI معتبر نيست: %1").arg(why);
        return ConnectionFileState::Unreadable;
    }
    if (table->records.isEmpty())
        return ConnectionFileState::NoServer;
    const QList<QByteArray>& record = table->records.first();
    settings.serverName = util::decode1256(record.value(0)).trimmed();
    const QByteArray scrambled = record.value(1).left(PasswordMaxLength);
    settings.sqlPassword = util::decode1256(
        util::ScrambleBytes(scrambled, installationNumber, 100000 - installationNumber).value_or(QByteArray()));
    if (settings.serverName.isEmpty())
        return ConnectionFileState::NoServer;
    settings.connectionMode = readConnectionMode(startDir);
    return ConnectionFileState::Ready;
}

bool SaveConnectionFile(const QString& startDir, int installationNumber, const QString& serverName,
                        const QString& password, QString* error)
{
    const util::Encoded1256 name = util::encode1256(serverName);
    const util::Encoded1256 pass = util::encode1256(password);
    if (!name.ok() || !pass.ok()) {
        if (error)
            *error = QStringLiteral("نام سرور يا رمز عبور نويسه اي دارد که در فايل تنظيمات قابل ذخيره نيست: %1")
                         .arg(name.unencodable + pass.unencodable);
        return false;
    }
    if (name.bytes.size() > ServerNameWidth) {
        if (error)
            *error = QStringLiteral("نام سرور بيش از %1 نويسه است").arg(ServerNameWidth);
        return false;
    }
    // The stored field holds 20 characters: a longer password could not be read back.
    if (pass.bytes.size() > PasswordFieldWidth) {
        if (error)
            *error = QStringLiteral("رمز عبور بيش از %1 نويسه است و در فايل تنظيمات جا نمي شود").arg(PasswordFieldWidth);
        return false;
    }
    ParadoxTable t = connectionTableShape();
    t.records << QList<QByteArray>{name.bytes,
                                   *util::ScrambleBytes(pass.bytes, installationNumber, 100000 - installationNumber)};
    return util::writeFileAtomically(connectionFilePath(startDir), writeParadoxTable(t), error, util::FileAccess::OwnerOnly);
}

std::optional<int> readChosenYear(const QString& startDir)
{
    const QStringList lines = readLines(QDir(startDir).filePath(QStringLiteral("SelYCSep.INI")));
    if (lines.size() < 2)
        return std::nullopt;
    const std::optional<qint64> year = util::parseWholeNumber(lines[1].trimmed());
    if (!year || *year < 1300 || *year > 1600)
        return std::nullopt;
    return int(*year);
}

bool writeChosenYear(const QString& startDir, int year)
{
    return util::writeFileAtomically(QDir(startDir).filePath(QStringLiteral("SelYCSep.INI")),
                               QStringLiteral("0\r\n%1\r\n").arg(year).toUtf8(), nullptr);
}

QString readLastBackupFolder(const QString& startDir)
{
    return readLines(QDir(startDir).filePath(QStringLiteral("backup.INI"))).value(0).trimmed();
}

bool writeLastBackupFolder(const QString& startDir, const QString& folder)
{
    return util::writeFileAtomically(QDir(startDir).filePath(QStringLiteral("backup.INI")),
                               (folder + QStringLiteral("\r\n")).toUtf8(), nullptr);
}

} // namespace orvak::startup
