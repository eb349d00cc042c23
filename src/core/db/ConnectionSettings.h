#pragma once
// How to reach a server: its name, the login, and the family's connection mode.
#include <QString>

namespace orvak::db {

struct ConnectionSettings {
    QString serverName;
    QString sqlUser = QStringLiteral("orvak");
    QString sqlPassword;
    int connectionMode = 1;
    int sqlVersionIndex = 1;
};

} // namespace orvak::db
