#pragma once
// One server that a workstation reaches, holding named databases: either a local
// data folder (one embedded database file per database) or a Microsoft SQL Server.
#include "core/db/ConnectionSettings.h"
#include "core/db/Dialect.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace orvak::db {

// What a backup holds, written with it so that a restore can tell a backup of
// another database (or installation) from the right one.
struct BackupLabel {
    QString database;
    QString kind;   // "common", "deposits" or "accounting"
    int installation = 0;
    QString section;
    int year = 0;
    int version = 0;
    QString toText() const;
    static std::optional<BackupLabel> fromText(const QString& text);
};

struct BackupFileList {
    QString dataLogicalName;
    QString logLogicalName;
    std::optional<BackupLabel> label;   // absent in backups of older versions
    QStringList tables;                 // when the server can list them without restoring
    QString databaseName;               // as the server recorded it, when it does
};

class Server {
public:
    virtual ~Server() = default;

    virtual bool isLocal() const = 0;
    virtual const Dialect& dialect() const = 0;
    virtual QString serverName() const = 0;

    // The login check of the set-up screen; on success later opens use this login.
    virtual bool testConnection(const QString& user, const QString& password, QString* error) = 0;
    // The administrator's check of the initial set-up: SQL Server's own login (for
    // example sa); for a local folder, that the folder can be written (and the
    // password, when the login named exists already).
    virtual bool testAdministrator(const QString& user, const QString& password, QString* error) = 0;
    virtual bool loginExists(const QString& login, QString* error = nullptr) = 0;
    virtual bool createLogin(const QString& login, const QString& password, QString* error) = 0;

    virtual QStringList databaseNames(QString* error = nullptr) = 0;
    bool databaseExists(const QString& name);
    // Create an empty database (server defaults), or with data and log files in a
    // folder when dataFolder is given (SQL Server only).
    virtual bool createDatabase(const QString& name, const QString& dataFolder, QString* error) = 0;
    virtual bool attachDatabase(const QString& name, const QString& file, QString* error) = 0;
    virtual bool setCompatibility80(const QString& name, QString* error) = 0;
    virtual QString versionText() = 0;
    virtual std::optional<QDateTime> now() = 0;
    virtual QString defaultDataFolder() = 0;

    // The open connection to a database (opened on first use, kept afterwards).
    virtual QSqlDatabase database(const QString& name, QString* error = nullptr) = 0;
    virtual void closeDatabase(const QString& name) = 0;
    virtual void closeAll() = 0;
    // Makes another database's tables readable on a connection (qualified names).
    virtual bool attachForReading(QSqlDatabase db, const QString& otherDatabase, QString* error) = 0;

    // Refuses a file the server owns (a live database, its log, the logins).
    virtual bool backupDatabase(const QString& name, const QString& file, const BackupLabel& label, QString* error) = 0;
    virtual std::optional<BackupFileList> backupFileList(const QString& file, QString* error) = 0;
    // Replaces the database with the backup's content; its connection is closed first.
    // Refused while another program has the database open.
    virtual bool restoreDatabase(const QString& name, const QString& file, const QString& dataFolder, QString* error) = 0;

    // The full check of a database, every page and index (the open checks read only
    // its header and schema); progress is told now and then the seconds spent. True
    // when sound; otherwise *findings holds the message to show and what was found.
    virtual bool checkDatabase(const QString& name, QString* findings, const std::function<void(int seconds)>& progress = {}) = 0;
};

} // namespace orvak::db
