#pragma once
// The connections one server object keeps open: one per database, found by name
// case-insensitively, under a prefix of the object's own so that two server
// objects (a probe of the set-up screen and the session's, say) never share one.
#include <QHash>
#include <QSqlDatabase>
#include <QString>

namespace orvak::db {

class Connections {
public:
    explicit Connections(const QString& kind);
    ~Connections();
    Connections(const Connections&) = delete;
    Connections& operator=(const Connections&) = delete;

    // The connection name for a database, and a fresh one for a passing check.
    QString nameFor(const QString& database) const { return prefix_ + database.toUpper(); }
    QString scratchName(const QString& what) const;

    // The kept connection of a database; invalid when none is kept.
    QSqlDatabase find(const QString& database) const;
    // Keeps a connection that the caller opened under nameFor(database).
    void keep(const QString& database, const QString& connection) { open_.insert(database.toUpper(), connection); }
    void close(const QString& database);
    void closeAll();

private:
    QString prefix_;
    QHash<QString, QString> open_;   // upper-cased name -> connection name
};

} // namespace orvak::db
