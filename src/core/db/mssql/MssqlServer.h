#pragma once
// Microsoft SQL Server through Qt's ODBC driver. The family's provider strings are
// built for display (ConnectionStrings); what reaches the driver is their ODBC form.
#include "core/db/Server.h"

#include "core/db/Connections.h"

namespace orvak::db {

class MssqlServer final : public Server {
public:
    explicit MssqlServer(ConnectionSettings settings);
    ~MssqlServer() override;

    bool isLocal() const override { return false; }
    const Dialect& dialect() const override { return dialect_; }
    QString serverName() const override { return settings_.serverName; }

    bool testConnection(const QString& user, const QString& password, QString* error) override;
    bool testAdministrator(const QString& user, const QString& password, QString* error) override
    {
        return testConnection(user, password, error);
    }
    bool loginExists(const QString& login, QString* error = nullptr) override;
    bool createLogin(const QString& login, const QString& password, QString* error) override;

    QStringList databaseNames(QString* error = nullptr) override;
    bool createDatabase(const QString& name, const QString& dataFolder, QString* error) override;
    bool attachDatabase(const QString& name, const QString& file, QString* error) override;
    bool setCompatibility80(const QString& name, QString* error) override;
    QString versionText() override;
    std::optional<QDateTime> now() override;
    QString defaultDataFolder() override;

    QSqlDatabase database(const QString& name, QString* error = nullptr) override;
    void closeDatabase(const QString& name) override;
    void closeAll() override;
    bool attachForReading(QSqlDatabase, const QString&, QString*) override { return true; }

    bool backupDatabase(const QString& name, const QString& file, const BackupLabel& label, QString* error) override;
    std::optional<BackupFileList> backupFileList(const QString& file, QString* error) override;
    bool restoreDatabase(const QString& name, const QString& file, const QString& dataFolder, QString* error) override;
    bool checkDatabase(const QString& name, QString* findings, const std::function<void(int seconds)>& progress = {}) override;

private:
    QSqlDatabase master(QString* error);

    SqlServerDialect dialect_;
    ConnectionSettings settings_;
    Connections connections_;
};

} // namespace orvak::db
