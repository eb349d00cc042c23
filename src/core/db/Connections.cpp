#include "core/db/Connections.h"

#include "core/db/Db.h"

#include <QUuid>

namespace orvak::db {

Connections::Connections(const QString& kind)
    : prefix_(QStringLiteral("orvak-%1-%2:").arg(kind, QUuid::createUuid().toString(QUuid::Id128)))
{
}

Connections::~Connections() { closeAll(); }

QString Connections::scratchName(const QString& what) const
{
    return prefix_ + what + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128);
}

QSqlDatabase Connections::find(const QString& database) const
{
    const auto it = open_.constFind(database.toUpper());
    return it == open_.constEnd() ? QSqlDatabase() : QSqlDatabase::database(*it, false);
}

void Connections::close(const QString& database)
{
    const QString connection = open_.take(database.toUpper());
    if (!connection.isEmpty())
        dropConnection(connection);
}

void Connections::closeAll()
{
    const QStringList names = open_.keys();
    for (const QString& n : names)
        close(n);
}

} // namespace orvak::db
