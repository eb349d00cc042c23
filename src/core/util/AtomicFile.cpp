#include "core/util/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orvak::util {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error, FileAccess access)
{
    QSaveFile f(path);
    const bool opened = f.open(QIODevice::WriteOnly);
    // The temporary file is restricted before the bytes go in, so that the secret is
    // never readable by others, not even for a moment.
    const bool restricted = !opened || access != FileAccess::OwnerOnly || f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!opened || !restricted || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("فايل قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (access == FileAccess::OwnerOnly)
        restrictToOwner(path);
    return true;
}

bool restrictToOwner(const QString& path) { return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner); }

bool createOwnerOnlyFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    QFile f(path);
    // Made with the permissions, so that it is never open to others.
    return f.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool syncFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
#ifdef Q_OS_WIN
    return _commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

void syncFolder(const QString& folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

bool replaceFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), ec);
    return !ec;
}

QString outputRefusal(const QString& path, const QByteArray& magic)
{
    const QFileInfo target(path);
    const QString name = target.fileName().toLower();
    static const char* const kept[] = {".db", "-journal", "-wal", "-shm", ".ini", ".bak", ".lck"};
    for (const char* ending : kept) {
        if (name.endsWith(QLatin1String(ending)))
            return QStringLiteral("فايل %1 از فايل هاي برنامه است و خروجي روي آن نوشته نمي شود").arg(QDir::toNativeSeparators(target.absoluteFilePath()));
    }
    if (target.exists()) {
        QFile existing(target.absoluteFilePath());
        if (!target.isFile() || !existing.open(QIODevice::ReadOnly) || existing.read(magic.size()) != magic)
            return QStringLiteral("فايل %1 وجود دارد و از نوع خروجي نيست؛ روي آن نوشته نمي شود").arg(QDir::toNativeSeparators(target.absoluteFilePath()));
    }
    return {};
}

} // namespace orvak::util
