#pragma once
// The small files beside the program that say how to reach the server and what
// the user last chose: the connection table SERVER.INI, the mode file SERVER2.TXT,
// the chosen accounting year SelYCSep.INI and the last backup folder backup.INI.
#include "core/db/ConnectionSettings.h"

#include <QString>
#include <optional>

namespace orvak::startup {

inline constexpr int ServerNameWidth = 30;
inline constexpr int PasswordFieldWidth = 20;
inline constexpr int PasswordMaxLength = 30;

QString connectionFilePath(const QString& startDir);   // SERVER.INI
QString modeFilePath(const QString& startDir);         // SERVER2.TXT

// The empty connection table (two fields, no record).
QByteArray emptyConnectionTable();
bool writeEmptyConnectionFile(const QString& startDir, QString* error = nullptr);

enum class ConnectionFileState { Ready, NoServer, Unreadable };

// Reads SERVER.INI (writing an empty one when it is missing): server name, the
// password unscrambled with the installation's keys and cut to 30 characters, and
// the connection mode from SERVER2.TXT. Ready only with a server name.
ConnectionFileState ReadConnectionFile(const QString& startDir, int installationNumber, db::ConnectionSettings& settings,
                                       QString* error = nullptr);

// Writes the server name and the scrambled password into the first record.
bool SaveConnectionFile(const QString& startDir, int installationNumber, const QString& serverName,
                        const QString& password, QString* error = nullptr);

int readConnectionMode(const QString& startDir);

// "SelYCSep.INI": line 1 "0", line 2 the year.
std::optional<int> readChosenYear(const QString& startDir);
bool writeChosenYear(const QString& startDir, int year);

// "backup.INI": the last backup folder.
QString readLastBackupFolder(const QString& startDir);
bool writeLastBackupFolder(const QString& startDir, const QString& folder);

} // namespace orvak::startup
