#include "core/startup/Rights.h"

#include "core/db/Db.h"

#include <QSqlError>
#include <QSqlQuery>

namespace orvak::startup {

QString refusalText() { return QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"); }

QString menuRefusalText()
{
    return QStringLiteral("امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است");
}

QString rightsUnreadableText()
{
    return QStringLiteral("سطوح دسترسي کاربران خوانده نشد؛ تا رفع اشکال اين عمليات مجاز نيست");
}

QString blockedUserText(int userCode)
{
    return QStringLiteral("کاربر %1 مسدود است و اجازه ورود به نرم افزار را ندارد. با مدير سيستم تماس بگيريد.").arg(userCode);
}

QString managerOnlyText()
{
    return QStringLiteral("امنيت عبور کاربران : تعريف، تغيير يا حذف مدير سيستم تنها از عهده مدير سيستم بر مي آيد");
}

namespace {
Access unreadable(const QString& why)
{
    return {AccessNone, why.isEmpty() ? rightsUnreadableText() : rightsUnreadableText() + QLatin1Char('\n') + why};
}
} // namespace

Access checkAccess(Session& session, int menuId)
{
    QSqlDatabase db = session.common();
    if (!db.isOpen())
        return unreadable({});
    // The whole list is read so that an emptied one, which would make every entry
    // "not listed", refuses instead of opening everything.
    QSqlQuery listed(db);
    listed.setForwardOnly(true);
    listed.prepare(QStringLiteral("Select MENUID From ACCESSLIST Where ProgID=:ProgId"));
    listed.bindValue(QStringLiteral(":ProgId"), ProgID);
    if (!listed.exec())
        return unreadable(listed.lastError().text());
    bool any = false;
    bool isListed = false;
    while (listed.next()) {
        any = true;
        isListed = isListed || listed.value(0).toInt() == menuId;
    }
    if (!any)
        return unreadable({});
    if (!isListed || session.currentUserCode() <= 0)
        return {AccessAll, {}};
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select * from  ACCESSCONTROL where   (UserId = :PUserId )and   (PROGID = :PPROGID) and  (menuid=:Pmenuid) order by menuid"));
    q.bindValue(QStringLiteral(":PUserId"), session.currentUserCode());
    q.bindValue(QStringLiteral(":PPROGID"), ProgID);
    q.bindValue(QStringLiteral(":Pmenuid"), menuId);
    if (!q.exec())
        return unreadable(q.lastError().text());
    if (!q.next())
        return {AccessView, {}};
    const int bits[] = {AccessNone, AccessView, AccessEditOwn, AccessInsert, AccessDelete, AccessSpecial};
    int mask = 0;
    for (int kind = 1; kind <= 6; ++kind) {
        if (q.value(QStringLiteral("ACCESSKIND%1").arg(kind)).toInt() == 1)
            mask |= bits[kind - 1];
    }
    return {mask, {}};
}

Access userAccess(Session& session, int menuId)
{
    const Access raw = checkAccess(session, menuId);
    if (session.currentUserCode() <= 0 || !raw.error.isEmpty())
        return raw;
    QSqlQuery q(session.common());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("Select ISMANAGER, ISENABLE From ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode)"));
    q.bindValue(QStringLiteral(":PRogID"), ProgID);
    q.bindValue(QStringLiteral(":PUCode"), session.currentUserCode());
    if (!q.exec())
        return unreadable(q.lastError().text());
    if (!q.next())
        return {AccessNone, refusalText()};
    if (q.value(1).toInt() != 1)
        return {AccessNone, blockedUserText(session.currentUserCode())};
    if (q.value(0).toInt() == 1)
        return {AccessAll, {}};
    return raw;
}

bool actsAsManager(Session& session)
{
    if (session.currentUserCode() <= 0)
        return true;
    const auto flag = db::scalar(session.common(), QStringLiteral("Select ISMANAGER From ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode) and (ISENABLE=1)"),
                                 {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), session.currentUserCode()}});
    return flag && flag->toInt() == 1;
}

bool mayUse(Session& session, int menuId, int bits, QString* refusal)
{
    const Access access = userAccess(session, menuId);
    if (!access.refused() && (access.mask & bits) == bits)
        return true;
    if (refusal)
        *refusal = access.error.isEmpty() ? refusalText() : access.error;
    return false;
}

} // namespace orvak::startup
