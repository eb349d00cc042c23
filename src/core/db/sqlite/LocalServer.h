#pragma once
// The local data folder: each database is one embedded database file <NAME>.db in
// the folder, MASTER.db holds the server's logins. Several programs on one
// computer share the folder (write-ahead log, busy timeout).
#include "core/db/Server.h"

#include "core/db/Connections.h"

namespace orvak::db {

class LocalServer final : public Server {
public:
    LocalServer(QString folder, QString serverName, QString user, QString password);
    ~LocalServer() override;

    bool isLocal() const override { return true; }
    const Dialect& dialect() const override { return dialect_; }
    QString serverName() const override { return serverName_; }
    QString folder() const { return folder_; }

    bool testConnection(const QString& user, const QString& password, QString* error) override;
    bool testAdministrator(const QString& user, const QString& password, QString* error) override;
    bool loginExists(const QString& login, QString* error = nullptr) override;
    bool createLogin(const QString& login, const QString& password, QString* error) override;

    QStringList databaseNames(QString* error = nullptr) override;
    bool createDatabase(const QString& name, const QString& dataFolder, QString* error) override;
    bool attachDatabase(const QString& name, const QString& file, QString* error) override;
    bool setCompatibility80(const QString&, QString*) override { return true; }
    QString versionText() override;
    std::optional<QDateTime> now() override;
    QString defaultDataFolder() override { return folder_; }

    QSqlDatabase database(const QString& name, QString* error = nullptr) override;
    void closeDatabase(const QString& name) override;
    void closeAll() override;
    bool attachForReading(QSqlDatabase db, const QString& otherDatabase, QString* error) override;

    bool backupDatabase(const QString& name, const QString& file, const BackupLabel& label, QString* error) override;
    std::optional<BackupFileList> backupFileList(const QString& file, QString* error) override;
    bool restoreDatabase(const QString& name, const QString& file, const QString& dataFolder, QString* error) override;
    bool checkDatabase(const QString& name, QString* findings, const std::function<void(int seconds)>& progress = {}) override;

    // The file of a database, matched case-insensitively; empty when none.
    QString databaseFile(const QString& name) const;
    // How long a statement waits for another program's lock before it gives up.
    void setBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }

private:
    // setUp: the initial set-up, which may create the folder and MASTER.db.
    bool ensureMaster(QString* error, bool setUp = false);
    QSqlDatabase openFile(const QString& connection, const QString& path, QString* error);
    bool authenticated(QString* error);
    // Whether another program has the database file open.
    bool heldElsewhere(const QString& path);
    // A restore cut short: finished when its copy was complete, undone otherwise;
    // its leftovers are removed.
    void finishInterruptedRestores();

    SqliteDialect dialect_;
    QString folder_;
    QString serverName_;
    QString user_;
    QString password_;
    bool authenticated_ = false;
    int busyTimeoutMs_ = 10000;
    Connections connections_;
};

} // namespace orvak::db
