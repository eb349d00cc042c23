#pragma once
// Files the program writes are written whole or not at all: the bytes go to a
// temporary file beside the target, which replaces it only once complete.
#include <QByteArray>
#include <QString>

namespace orvak::util {

enum class FileAccess {
    Default,     // as the system makes new files
    OwnerOnly,   // read and write for the file's owner only (secrets, databases, backups)
};

// False, with "cannot write" and the path in *error, when anything fails; the old
// file, if any, is then left as it was. OwnerOnly holds before the file is in place.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr, FileAccess access = FileAccess::Default);

// Makes a file the program created readable and writable by its owner only.
bool restrictToOwner(const QString& path);
// Creates an empty file that only its owner may read and write (a database about to
// be made in it, say); true when it exists already.
bool createOwnerOnlyFile(const QString& path);

// Puts a file's bytes (or a folder's entries) on the disk before the next step counts on them.
bool syncFile(const QString& path);
void syncFolder(const QString& folder);
// Why a file named for a program's output may not be written (empty when it may):
// it would be a database, its journal or a settings file, or it exists and is of
// another kind than the output (its first bytes are not magic, "%PDF-" say).
QString outputRefusal(const QString& path, const QByteArray& magic);

// Replaces target by from in one step (the old file stays until the new one is in place).
bool replaceFile(const QString& from, const QString& to);

} // namespace orvak::util
