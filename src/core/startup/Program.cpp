#include "core/startup/Program.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace orvak::startup {

QString SystemTitlePlural() { return QStringLiteral("سپرده ها"); }
QString SystemTitleLatin() { return QStringLiteral("Deposit"); }
QString SystemTitle() { return QStringLiteral("سپرده"); }
QString EditionTitle() { return QStringLiteral("تعهدي"); }
QString ProgramKey() { return QStringLiteral("orvaksepordeh"); }
QString VersionDate() { return QStringLiteral("14030801-01"); }
QString InitialDepositDbName() { return QStringLiteral("ORVAKSEPC0"); }
QString InitialSectionCode() { return QStringLiteral("0"); }

QString ApplicationTitle()
{
    // The character after ": " is a zero-width non-joiner.
    return QStringLiteral("اورواک : \u200Cسپرده ذيحسابي");
}

QString LoadingCaption()
{
    return SystemTitle() + QString::number(VersionMajor) + QLatin1Char('-') + QString::number(VersionRelease);
}

QString VersionLabel()
{
    return ProgramKey() + QStringLiteral(" (") + VersionDate() + QStringLiteral(") ") + QString::number(VersionMajor)
        + QLatin1Char('/') + QString::number(VersionRelease);
}

bool isValidInstallationNumber(qint64 n) { return n >= 1 && n <= 99999; }

std::optional<SiteConfig> readSiteConfig(const QString& startDir, QString* error)
{
    const QString path = QDir(startDir).filePath(QString::fromLatin1(SiteFileName));
    auto fail = [&](const QString& message) -> std::optional<SiteConfig> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("فايل مشخصات محل نصب (%1) در پوشه شروع برنامه يافت نشد: %2")
                        .arg(QString::fromLatin1(SiteFileName), QDir::toNativeSeparators(startDir)));
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return fail(QStringLiteral("فايل مشخصات محل نصب قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(path)));
    bool ok = false;
    const qint64 number = ini.value(QStringLiteral("Site/InstallationNumber")).toString().trimmed().toLongLong(&ok);
    if (!ok || !isValidInstallationNumber(number))
        return fail(QStringLiteral("شماره نصب (InstallationNumber) در فايل مشخصات محل نصب بايد عددي از 1 تا 99999 باشد"));
    SiteConfig config;
    config.installationNumber = int(number);
    config.organisationName = ini.value(QStringLiteral("Site/OrganisationName")).toString().trimmed();
    if (config.organisationName.isEmpty())
        return fail(QStringLiteral("نام سازمان (OrganisationName) در فايل مشخصات محل نصب مشخص نشده است"));
    return config;
}

bool writeSiteConfig(const QString& startDir, const SiteConfig& config, QString* error)
{
    if (!isValidInstallationNumber(config.installationNumber) || config.organisationName.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("شماره نصب بايد از 1 تا 99999 و نام سازمان مشخص باشد");
        return false;
    }
    QSettings ini(QDir(startDir).filePath(QString::fromLatin1(SiteFileName)), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Site/InstallationNumber"), config.installationNumber);
    ini.setValue(QStringLiteral("Site/OrganisationName"), config.organisationName.trimmed());
    ini.sync();
    if (ini.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("فايل مشخصات محل نصب قابل نوشتن نيست");
        return false;
    }
    return true;
}

} // namespace orvak::startup
