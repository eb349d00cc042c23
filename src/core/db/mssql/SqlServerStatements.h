#pragma once
// The statements through which the program uses SQL Server's own facilities, as the
// family issues them. Names of databases and logins come from the program, never
// from typing, and are checked with isSafeName before they are put into a text;
// paths and passwords that users type are passed as bound parameters.
#include <QString>
#include <QStringList>

namespace orvak::db::mssql {

bool isSafeName(const QString& name);   // letters, digits, '_' ; 1..128 characters
QString quoted(const QString& text);    // 'text' with quotes doubled

QString databaseExists(const QString& name);
QString loginExists(const QString& login);
QString addLogin();                      // parameters :login, :password, :language
QString addLoginToSysadmin();            // parameter :login
QString languageExists();                // parameter :language
QString createDatabase(const QString& name);
QString attachSingleFile();              // parameters :dbname, :physname
QString attachDatabase(const QString& name);   // parameter :file
QString setCompatibility80(const QString& name);
QString tableExists(const QString& table);
QString serverVersion();
QString serverDate();
QString masterFirstFile();

// The backup and restore statements as shown to the user (the documented text) and
// in the form that is executed with the file and folders bound.
QString backupText(const QString& database, const QString& fullPath);
QString backupStatement(const QString& database);   // :file
QString restoreFileListText(const QString& file);
QString restoreFileListStatement();                 // :file
QString restoreText(const QString& database, const QString& file, const QString& dataLogical, const QString& logLogical,
                    const QString& dataFolder);
QString restoreStatement(const QString& database);   // :file, :dataLogical, :dataFile, :logLogical, :logFile
// The backup with what it holds in its description, and the header that gives it back.
QString labelledBackupStatement(const QString& database);   // :file, :label
QString restoreHeaderStatement();                           // :file
// A restore needs the database to itself: the switch fails at once while another
// program is connected, and the database is opened to all again afterwards.
QString singleUserStatement(const QString& database);
QString multiUserStatement(const QString& database);

// What the user is told when the server refuses a connection: a refused login
// (SQL Server error 18456, state 28000) is a wrong password, a driver that is not
// installed says so, anything else is the server out of reach.
QString connectFailureText(const QString& driverError, const QString& user);

// The creation script of a new common database: lines gathered into one statement,
// "DBNAME" and "DBPATH" replaced on every line, "@RUN" runs what was gathered,
// "@END" ends the script.
QStringList creationStatements(const QStringList& scriptLines, const QString& dbName, const QString& dataFolder);
QStringList defaultCreationScript();

} // namespace orvak::db::mssql
