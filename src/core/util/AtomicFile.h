#pragma once
// Files the program writes are written whole or not at all: the bytes go to a
// temporary file beside the target, which replaces it only once complete.
#include <QByteArray>
#include <QString>

namespace orvak::util {

// False, with "cannot write" and the path in *error, when anything fails; the old
// file, if any, is then left as it was.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace orvak::util
