#pragma once
// The values that identify this program among the family's programs.
#include <QString>
#include <optional>

namespace orvak::startup {

inline constexpr int ProgID = 3;
inline constexpr int VersionMajor = 8;
inline constexpr int VersionRelease = 12;
inline constexpr int VersionNumber = VersionMajor * 100 + VersionRelease;   // 812

QString SystemTitlePlural();   // "سپرده ها"
QString SystemTitleLatin();    // "Deposit"
QString SystemTitle();         // "سپرده"
QString EditionTitle();        // "تعهدي"
QString ProgramKey();          // "orvaksepordeh"
QString VersionDate();         // "14030801-01"
QString InitialDepositDbName();   // "ORVAKSEPC0"
QString InitialSectionCode();     // "0"
QString ApplicationTitle();    // the task-bar title
QString LoadingCaption();      // "سپرده8-12"
QString VersionLabel();        // as the login form shows it

// The site's own settings, kept in a small file in the start folder.
struct SiteConfig {
    int installationNumber = 0;
    QString organisationName;
};

inline constexpr const char* SiteFileName = "site.ini";

// Reads the site file of a start folder; on failure returns nullopt with a Persian
// message. The installation number must lie in 1..99999: it is a divisor in the
// password scrambling (100000 - n) and part of database names.
std::optional<SiteConfig> readSiteConfig(const QString& startDir, QString* error = nullptr);
bool writeSiteConfig(const QString& startDir, const SiteConfig& config, QString* error = nullptr);
bool isValidInstallationNumber(qint64 n);

} // namespace orvak::startup
