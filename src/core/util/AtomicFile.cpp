#include "core/util/AtomicFile.h"

#include <QDir>
#include <QSaveFile>

namespace orvak::util {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("فايل قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace orvak::util
