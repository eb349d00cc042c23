#include "core/util/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace orvak::util
