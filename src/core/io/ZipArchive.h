#pragma once
// Compressed backups are standard zip archives holding one file, so that any archive
// tool opens and checks them.
#include <QString>

namespace orvak::io {

// Whether the file begins as a zip archive does.
bool isZipArchive(const QString& path);

// Writes file into a new archive (deflated, under the name entry), whole or not at
// all: an archive already at that path is replaced only once the new one is complete.
// The archive is its owner's only, as the backups are.
bool zipOneFile(const QString& file, const QString& entry, const QString& archive, QString* error);

enum class UnzipOutcome {
    Done,
    Damaged,      // not a readable archive, or its content fails its checksum
    Foreign,      // a sound archive, but not one file this program wrote
    Unwritable,   // the file could not be written at target
};
struct Unzipped {
    UnzipOutcome outcome = UnzipOutcome::Damaged;
    QString entry;   // the name of the file inside
};

// The archive's one file written at target; nothing is left there unless Done.
Unzipped unzipOneFile(const QString& archive, const QString& target);

} // namespace orvak::io
