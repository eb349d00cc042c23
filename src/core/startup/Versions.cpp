#include "core/startup/Versions.h"

#include "core/db/Db.h"
#include "core/util/Jalali.h"

#include <QSqlQuery>

namespace orvak::startup {

QStringList guardedEntries()
{
    return {
        QStringLiteral("تعيين سطوح دسترسي كاربران"),
        QStringLiteral("پارامترها و الزامات "),
        QStringLiteral("تغيير سال مالي"),
        QStringLiteral("تغيير بخش مالي"),
        QStringLiteral("اطلاعات مسئولان مالي "),
        QStringLiteral("سرفصلها و کدينگ حسابداري"),
        QStringLiteral("سرفصل هاي موافقتنامه اي "),
        QStringLiteral(" اطلاعات سپرده ها"),
        QStringLiteral("گزارشات سپرده ها"),
        QStringLiteral("اطلاعات تضمينات"),
        QStringLiteral("گزارشات تضمينات"),
        QStringLiteral("سامان دهي اطلاعات"),
        QStringLiteral("تهيه نسخه پشتيبان"),
        QStringLiteral("بازخواني اطلاعات از نسخه پشتيبان"),
        QStringLiteral("تسهيلات ويژه  کارشناسان محترم ديوان محاسبات"),
        QStringLiteral("تسهيلات ويژه مديران"),
        QStringLiteral("سررسيد و دفترچه يادداشت"),
        QStringLiteral("فراخواني راهنمااز ديسکت"),
        QStringLiteral("هشدارها وموارد عدم پرداخت"),
    };
}

VersionCheck CheckVersion(Session& session, Prompt& prompt, int versionNumber)
{
    QSqlDatabase db = session.common();
    const auto registered =
        db::scalar(db, QStringLiteral("Select VERHIX100PLUSLO From AppVer Where (ProgID=:ProgID) and (verhix100pluslo=:verhix100pluslo)"),
               {{QStringLiteral(":ProgID"), ProgID}, {QStringLiteral(":verhix100pluslo"), versionNumber}});
    if (registered.failed()) {
        prompt.info(QStringLiteral("نگارش نرم افزار قابل بررسي نيست: ") + registered.error());
        return VersionCheck::Refused;
    }
    if (!registered) {
        if (prompt.ask(QStringLiteral("در صورت نصب نگارش جديد، نسخه هاي قبلي قابل استفاده نمي باشند. آيا مايل به نصب نگارش جديد هستيد؟")))
            return VersionCheck::RegistrationRequested;
    }
    const auto highest = db::scalar(
        db, QStringLiteral("Select VERHIX100PLUSLO From AppVer Where (ProgID=:ProgID) order By VERHIX100PLUSLO DESC"),
        {{QStringLiteral(":ProgID"), ProgID}});
    if (highest.failed()) {
        prompt.info(QStringLiteral("نگارش نرم افزار قابل بررسي نيست: ") + highest.error());
        return VersionCheck::Refused;
    }
    if (highest && highest->toInt() > versionNumber) {
        prompt.info(QStringLiteral(" نسخه ") + QString::number(highest->toInt()) + QLatin1Char(' ')
                    + QStringLiteral("نرم افزار بر روي شبکه نصب شده است. نسخه هاي قديمي قابل استفاده نمي باشند"));
        return VersionCheck::Refused;
    }
    return VersionCheck::Allowed;
}

bool registerVersion(Session& session, Prompt& prompt, int versionNumber)
{
    QSqlDatabase db = session.common();
    QString why;
    const bool ok = db::inTransaction(db, session.dialect(), [&](QString* e) {
        const auto highest = db::scalar(
            db, QStringLiteral("Select MAX(VERHIX100PLUSLO) From AppVer Where ProgID=:ProgID"), {{QStringLiteral(":ProgID"), ProgID}}, e);
        if (highest && !highest->isNull() && highest->toInt() > versionNumber) {
            *e = QStringLiteral(" نسخه ") + QString::number(highest->toInt()) + QLatin1Char(' ')
                + QStringLiteral("نرم افزار بر روي شبکه نصب شده است. نسخه هاي قديمي قابل استفاده نمي باشند");
            return false;
        }
        if (highest && !highest->isNull() && highest->toInt() == versionNumber)
            return true;
        return db::execSql(db,
                       QStringLiteral("INSERT INTO APPVER (ProgID, VERHIX100PLUSLO, VERSIONDATE, INSTALLDATE, UCODE) "
                                      "VALUES (:ProgID, :number, :versionDate, :installDate, :ucode)"),
                       {{QStringLiteral(":ProgID"), ProgID}, {QStringLiteral(":number"), versionNumber},
                        {QStringLiteral(":versionDate"), VersionDate()}, {QStringLiteral(":installDate"), session.clock().todayJalali()},
                        {QStringLiteral(":ucode"), session.currentUserCode()}},
                       e);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool RebuildAccessList(QSqlDatabase db, const db::Dialect& dialect, bool* changed, QString* error)
{
    const QStringList entries = guardedEntries();
    QStringList have;
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT MENUID, MENUORDER, ACCESSNAME FROM ACCESSLIST WHERE PROGID = :ProgID ORDER BY MENUID"));
        q.bindValue(QStringLiteral(":ProgID"), ProgID);
        if (q.exec()) {
            int expected = 1;
            while (q.next()) {
                if (q.value(0).toInt() != expected || q.value(1).toInt() != expected)
                    have << QString();   // out of order: rebuild
                have << q.value(2).toString();
                ++expected;
            }
        }
    }
    if (have == entries) {
        if (changed)
            *changed = false;
        return true;
    }
    const bool ok = db::inTransaction(db, dialect, [&](QString* e) {
        if (!db::execSql(db, QStringLiteral("Delete From ACCESSLIST where Progid=:ProgID"), {{QStringLiteral(":ProgID"), ProgID}}, e))
            return false;
        for (int i = 0; i < entries.size(); ++i) {
            if (!db::execSql(db, QStringLiteral("INSERT INTO ACCESSLIST(PROGID,MENUID,MENUORDER,ACCESSNAME)VALUES(:p, :m, :o, :n)"),
                         {{QStringLiteral(":p"), ProgID}, {QStringLiteral(":m"), i + 1}, {QStringLiteral(":o"), i + 1},
                          {QStringLiteral(":n"), entries[i]}},
                         e))
                return false;
        }
        return true;
    }, error);
    if (changed)
        *changed = ok;
    return ok;
}

UpdateReport updateCommonDatabase(db::Server& server, const QString& dbName, Prompt& prompt, int parts)
{
    StructureUpdate update(server, prompt);
    UpdateReport report = update.UpdateDatabase(dbName, schemaFor(DatabaseKind::Common), parts);
    if (!report.connected || report.stopped || !(parts & UpdateFixups))
        return report;
    QSqlDatabase db = server.database(dbName);
    bool changed = false;
    QString why;
    if (!RebuildAccessList(db, server.dialect(), &changed, &why))
        report.errors << QStringLiteral("ACCESSLIST: ") + why;
    else if (changed)
        report.fixupRows += int(guardedEntries().size());
    return report;
}

} // namespace orvak::startup
