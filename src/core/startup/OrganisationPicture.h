#pragma once
// The organisation's picture ("اطلاعات استفاده کننده نرم افزار"): one row of ARM in
// the common database, CODE 1, the picture's bytes in PIC and its format in PICTYPE.
#include "core/db/Db.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QByteArray>

namespace orvak::startup {

struct OrganisationPicture {
    QByteArray data;
    QString type;   // "PNG", "JPG", "BMP", ...
};

// Larger files are refused: the picture travels with every read of the row.
inline constexpr qint64 MaxOrganisationPictureBytes = 4 * 1024 * 1024;

// none() when no picture is stored.
db::Fetched<OrganisationPicture> readOrganisationPicture(Session& session);
// Reads the file and stores it in place of the picture there was; a file that is
// missing, too large or not a picture is refused with the reason, and the stored
// picture stays.
bool attachOrganisationPicture(Session& session, const QString& file, Prompt& prompt);
bool deleteOrganisationPicture(Session& session, Prompt& prompt);

} // namespace orvak::startup
