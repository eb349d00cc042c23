#include "core/startup/Rights.h"

#include <QSqlQuery>

namespace orvak::startup {

QString refusalText() { return QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"); }

int GetAccess(Session& session, int menuId)
{
    QSqlDatabase db = session.common();
    QSqlQuery listed(db);
    listed.prepare(QStringLiteral("Select * From ACCESSLIST Where ProgID=:ProgId and MENUID=:MENUID"));
    listed.bindValue(QStringLiteral(":ProgId"), ProgID);
    listed.bindValue(QStringLiteral(":MENUID"), menuId);
    if (!listed.exec() || !listed.next())
        return AccessAll;
    if (session.currentUserCode() <= 0)
        return AccessAll;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select * from  ACCESSCONTROL where   (UserId = :PUserId )and   (PROGID = :PPROGID) and  (menuid=:Pmenuid) order by menuid"));
    q.bindValue(QStringLiteral(":PUserId"), session.currentUserCode());
    q.bindValue(QStringLiteral(":PPROGID"), ProgID);
    q.bindValue(QStringLiteral(":Pmenuid"), menuId);
    if (!q.exec() || !q.next())
        return AccessView;
    const int bits[] = {AccessNone, AccessView, AccessEditOwn, AccessInsert, AccessDelete, AccessSpecial};
    int mask = 0;
    for (int kind = 1; kind <= 6; ++kind) {
        if (q.value(QStringLiteral("ACCESSKIND%1").arg(kind)).toInt() == 1)
            mask |= bits[kind - 1];
    }
    return mask;
}

} // namespace orvak::startup
