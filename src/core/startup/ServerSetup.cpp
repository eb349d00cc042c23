#include "core/startup/ServerSetup.h"

#include "core/db/Db.h"
#include "core/startup/StructureUpdate.h"
#include "core/startup/Versions.h"
#include "core/util/Jalali.h"
#include "core/util/Scramble.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace orvak::startup {

QString scrambledPassword(const QString& password, int userCode, int installationNumber)
{
    const qint64 key = qint64(ProgID) * 10000 + installationNumber + qint64(userCode) * 100;
    return util::ScrambleText(password, key, installationNumber).value_or(QString());
}

InitialSetupResult initialSetup(Session& session, const InitialSetupRequest& request, Prompt& prompt)
{
    InitialSetupResult result;
    if (request.serverName.trimmed().isEmpty()) {
        prompt.info(QStringLiteral("نام كامپيوتر تشخيص داده نشده است.مجددا سعي كنيد"));
        return result;
    }
    db::ConnectionSettings admin = session.connection();
    admin.serverName = request.serverName.trimmed();
    admin.sqlUser = request.adminUser;
    admin.sqlPassword = request.adminPassword;
    std::unique_ptr<db::Server> server = makeServer(admin, session.startDir());
    QString why;
    if (!server->testAdministrator(request.adminUser, request.adminPassword, &why)) {
        prompt.info(QStringLiteral("عدم امكان برقراري ارتباط با سرور") + QLatin1Char('\n') + why);
        return result;
    }
    const QString orvak = QStringLiteral("orvak");
    if (!server->loginExists(orvak)) {
        // Set up as "orvak" itself, the password just typed becomes the login's; with
        // the server's administrator the orvak password is asked for.
        const std::optional<QString> password = request.adminUser.compare(orvak, Qt::CaseInsensitive) == 0
            ? std::optional<QString>(request.adminPassword)
            : prompt.askText(QStringLiteral("SQL SERVER Orvak Password ?"), true);
        if (!password)
            return result;
        if (!server->createLogin(orvak, *password, &why)) {
            prompt.info(why);
            return result;
        }
    }
    prompt.progress(QStringLiteral("راه اندازي اوليه"), 1, 6);
    const QString common = QStringLiteral("ORVAK");
    if (!server->databaseExists(common)) {
        const QString attachable = QDir(request.dataFolder).filePath(QStringLiteral("ORVAK_DATA.MDF"));
        bool made = false;
        if (!server->isLocal() && !request.dataFolder.isEmpty() && QFileInfo::exists(attachable))
            made = server->attachDatabase(common, attachable, &why);
        else
            made = server->createDatabase(common, server->isLocal() ? QString() : request.dataFolder, &why);
        if (!made) {
            prompt.info(why);
            return result;
        }
        result.createdCommonDatabase = true;
        prompt.progress(QStringLiteral("راه اندازي اوليه"), 3, 6);
        const UpdateReport report = updateCommonDatabase(*server, common, prompt);
        if (!report.errors.isEmpty()) {
            prompt.info(QStringLiteral("بروزآوري با اشکال به پايان رسيد.موارد اشکال را براي ما ارسال نمائيد") + QLatin1Char('\n')
                        + report.errors.join(QLatin1Char('\n')));
            return result;
        }
        prompt.progress(QStringLiteral("راه اندازي اوليه"), 5, 6);

        QSqlDatabase db = server->database(common, &why);
        const int code = ProgID;
        const QString initial = QString::number(100000 + QRandomGenerator::system()->bounded(900000));
        // Both rows hold the password scrambled, never as typed; this program checks
        // its own row, which must exist for the first login.
        const QString scrambled = scrambledPassword(initial, code, session.installationNumber());
        const bool inserted = db::inTransaction(db, server->dialect(), [&](QString* e) {
            return db::execSql(db,
                           QStringLiteral("INSERT INTO USERS (UCODE, LastName, NAme, PassWord, IsManager, ISENABLE, USER_JARI, progid) "
                                          "VALUES (:UCODE, :LastName, :NAme, :PassWord, '1', '1', '1', :progid)"),
                           {{QStringLiteral(":UCODE"), code}, {QStringLiteral(":LastName"), QStringLiteral("مدير سيستم")},
                            {QStringLiteral(":NAme"), QStringLiteral("اورواک")}, {QStringLiteral(":PassWord"), scrambled},
                            {QStringLiteral(":progid"), ProgID}},
                           e)
                && db::execSql(db,
                           QStringLiteral("INSERT INTO PROGUSERS (PROGID, UCODE, PASSWORD, ISMANAGER, ISENABLE, SEL2) "
                                          "VALUES (:PROGID, :UCODE, :PASSWORD, 1, 1, 0)"),
                           {{QStringLiteral(":PROGID"), ProgID}, {QStringLiteral(":UCODE"), code},
                            {QStringLiteral(":PASSWORD"), scrambled}},
                           e);
        }, &why);
        if (!inserted) {
            prompt.info(why);
            return result;
        }
        // The new installation runs this version from the start.
        db::execSql(db, QStringLiteral("INSERT INTO APPVER (ProgID, VERHIX100PLUSLO, VERSIONDATE, INSTALLDATE, UCODE) "
                                   "VALUES (:p, :n, :d, :i, :u)"),
                {{QStringLiteral(":p"), ProgID}, {QStringLiteral(":n"), VersionNumber}, {QStringLiteral(":d"), VersionDate()},
                 {QStringLiteral(":i"), session.clock().todayJalali()}, {QStringLiteral(":u"), code}});
        result.userCode = code;
        result.initialPassword = initial;
        // One value a line: side by side in right-to-left text the two numbers read as one.
        prompt.info(QStringLiteral("کد کاربري و رمز عبور") + QLatin1Char('\n') + QString::number(code) + QLatin1Char('\n') + initial);
    }
    prompt.progress(QStringLiteral("راه اندازي اوليه"), 6, 6);
    server->closeAll();
    result.ok = true;
    return result;
}

bool workstationSetup(Session& session, const QString& serverName, const QString& orvakPassword, int sqlVersionIndex,
                      Prompt& prompt)
{
    db::ConnectionSettings settings = session.connection();
    settings.serverName = serverName.trimmed();
    settings.sqlUser = QStringLiteral("orvak");
    settings.sqlPassword = orvakPassword;
    if (settings.serverName.isEmpty()) {
        prompt.info(QStringLiteral("نام سرور مشخص نشده است"));
        return false;
    }
    {
        std::unique_ptr<db::Server> probe = makeServer(settings, session.startDir());
        QString why;
        if (!probe->testConnection(settings.sqlUser, settings.sqlPassword, &why)) {
            prompt.info(QStringLiteral("برقراري سرور با رمز اورواک امکان پذير نيست.با مدير سيستم تماس بگيريد."));
            return false;
        }
    }
    QString why;
    if (!SaveConnectionFile(session.startDir(), session.installationNumber(), settings.serverName, orvakPassword, &why)) {
        prompt.info(why);
        return false;
    }
    prompt.info(QStringLiteral("اورواک بر روي اين  رايانه راه اندازي شد"));
    session.useConnection(settings);
    if (!session.ConnectServer(prompt))
        return false;
    QSqlDatabase db = session.common();
    const bool saved = db::inTransaction(db, session.dialect(), [&](QString* e) {
        return db::execSql(db, QStringLiteral("delete from serverinfo where progid=:progid1"), {{QStringLiteral(":progid1"), ProgID}}, e)
            && db::execSql(db, QStringLiteral("INSERT INTO serverinfo (PROGID,SERVERNAME,SQLVER) VALUES (:PROGID2,:SERVERNAME,:SQLVER)"),
                       {{QStringLiteral(":PROGID2"), ProgID}, {QStringLiteral(":SERVERNAME"), settings.serverName},
                        {QStringLiteral(":SQLVER"), sqlVersionIndex}},
                       e);
    }, &why);
    if (!saved) {
        prompt.info(why);
        return false;
    }
    session.connection().sqlVersionIndex = sqlVersionIndex;
    return true;
}

} // namespace orvak::startup

namespace orvak::startup {

bool createAccountingDatabase(Session& session, int year, const QString& section, Prompt& prompt)
{
    db::Server* server = session.server();
    if (!server) {
        prompt.info(QStringLiteral("ابتدا برقراري ارتباط با سرور را چک فرمائيد"));
        return false;
    }
    const QString name = Session::accountingDbNameFor(session.installationNumber(), section, year);
    QString why;
    // Made meanwhile by another workstation is as good as made here.
    if (!server->databaseExists(name) && !server->createDatabase(name, QString(), &why) && !server->databaseExists(name)) {
        prompt.info(why);
        return false;
    }
    StructureUpdate update(*server, prompt);
    const UpdateReport report = update.UpdateDatabase(name, schemaFor(DatabaseKind::Accounting));
    if (!report.errors.isEmpty()) {
        prompt.info(QStringLiteral("بروزآوري با اشکال به پايان رسيد.موارد اشکال را براي ما ارسال نمائيد") + QLatin1Char('\n')
                    + report.errors.join(QLatin1Char('\n')));
        return false;
    }
    return true;
}

} // namespace orvak::startup
