#include "core/db/Server.h"

namespace orvak::db {

bool Server::databaseExists(const QString& name)
{
    const QStringList names = databaseNames();
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
}

} // namespace orvak::db
