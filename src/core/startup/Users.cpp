#include "core/startup/Users.h"

#include "core/db/Db.h"
#include "core/startup/Program.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"

#include <QSqlQuery>

namespace orvak::startup {

namespace {
// The users service's guard: the logged-in user needs the bits on the users entry
// (a manager always has them; nobody logged in is the set-up of the first users).
bool mayChangeUsers(Session& session, int bits, Prompt& prompt)
{
    QString why;
    if (mayUse(session, UsersMenuId, bits, &why))
        return true;
    prompt.info(why);
    return false;
}

// A manager's rows, and the manager flag itself, are a manager's to change.
bool mayTouchManager(Session& session, int code, bool makesManager, Prompt& prompt)
{
    if (actsAsManager(session))
        return true;
    const auto flag = db::scalar(session.common(), QStringLiteral("SELECT ISMANAGER FROM PROGUSERS WHERE PROGID = :p AND UCODE = :c"),
                                 {{QStringLiteral(":p"), ProgID}, {QStringLiteral(":c"), code}});
    if (!makesManager && !flag.failed() && !(flag && flag->toInt() == 1))
        return true;
    prompt.info(managerOnlyText());
    return false;
}
} // namespace

bool mayChangeUserPassword(Session& session, int userCode, Prompt& prompt)
{
    return mayChangeUsers(session, AccessEditOwn, prompt) && mayTouchManager(session, userCode, false, prompt);
}

std::optional<ProgramUser> readProgramUser(Session& session, int code)
{
    const auto r = db::firstRow(session.common(), QStringLiteral("Select * From PROGUSERS Where PROGID = :p and UCODE = :c"),
                            {{QStringLiteral(":p"), ProgID}, {QStringLiteral(":c"), code}});
    if (!r)
        return std::nullopt;
    ProgramUser u;
    u.code = code;
    u.manager = r->value(QStringLiteral("ISMANAGER")).toInt() == 1;
    u.enabled = r->value(QStringLiteral("ISENABLE")).toInt() == 1;
    for (int i = 0; i < 5; ++i)
        u.sel[i] = r->value(QStringLiteral("SEL%1").arg(i + 1)).toInt();
    return u;
}

bool saveProgramUser(Session& session, const ProgramUser& user, bool insert, Prompt& prompt)
{
    if (!mayChangeUsers(session, insert ? AccessInsert : AccessEditOwn, prompt) || !mayTouchManager(session, user.code, user.manager, prompt))
        return false;
    if (user.code <= 0) {
        prompt.info(QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد"));
        return false;
    }
    if (insert && user.password.isEmpty()) {
        prompt.info(QStringLiteral("كلمه رمز نمي تواند خالي باشد"));
        return false;
    }
    QVariantMap values{{QStringLiteral("ISENABLE"), user.enabled ? 1 : 0}, {QStringLiteral("ISMANAGER"), user.manager ? 1 : 0}};
    for (int i = 0; i < 5; ++i)
        values.insert(QStringLiteral("SEL%1").arg(i + 1), user.sel[i]);
    const QVariantMap key{{QStringLiteral(":progid"), ProgID}, {QStringLiteral(":UCode"), user.code}};
    bool taken = false;
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (!insert)
            return w.update(db::Store::Common, QStringLiteral("PROGUSERS"), values, QStringLiteral("UCode = :UCode AND ProgID = :progid"), key);
        const auto existing = w.scalar(QStringLiteral("SELECT UCODE FROM {common}.PROGUSERS WHERE PROGID = :progid AND UCODE = :UCode"), key);
        if (existing || existing.failed()) {
            taken = existing.has_value();
            return w.fail(existing.error());
        }
        values.insert(QStringLiteral("progid"), ProgID);
        values.insert(QStringLiteral("UCode"), user.code);
        values.insert(QStringLiteral("PassWord"), scrambledPassword(user.password, user.code, session.installationNumber()));
        return w.insert(db::Store::Common, QStringLiteral("PROGUSERS"), values);
    }, &why);
    if (!ok)
        prompt.info(taken ? QStringLiteral("اين کد کاربري قبلا تعريف شده است") : why);
    return ok;
}

bool deleteProgramUser(Session& session, int code, Prompt& prompt)
{
    if (!mayChangeUsers(session, AccessDelete, prompt) || !mayTouchManager(session, code, false, prompt))
        return false;
    QString why;
    const QVariantMap binds{{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}};
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Common, QStringLiteral("ACCESSCONTROL"), QStringLiteral("UserId = :c AND PROGID = :p"), binds)
            && w.remove(db::Store::Common, QStringLiteral("PROGUSERS"), QStringLiteral("UCODE = :c AND PROGID = :p"), binds);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

std::optional<FamilyUser> readFamilyUser(Session& session, int code)
{
    const auto r = db::firstRow(session.common(), QStringLiteral("Select * From USERS Where UCode = :c"), {{QStringLiteral(":c"), code}});
    if (!r)
        return std::nullopt;
    FamilyUser u;
    u.code = code;
    u.lastName = r->value(QStringLiteral("LastName")).toString().trimmed();
    u.name = r->value(QStringLiteral("Name")).toString().trimmed();
    u.post = r->value(QStringLiteral("POST")).toString().trimmed();
    u.job = r->value(QStringLiteral("JOB")).toString().trimmed();
    u.madrak = r->value(QStringLiteral("MADRAK")).toString().trimmed();
    u.birthDate = r->value(QStringLiteral("BIRTH_DATE")).toString();
    u.employmentDate = r->value(QStringLiteral("EDATE")).toString();
    u.personCode = r->value(QStringLiteral("PERSONCODE")).toInt();
    u.eskind = r->value(QStringLiteral("ESKIND")).toInt();
    u.manager = r->value(QStringLiteral("ISMANAGER")).toInt() == 1;
    u.enabled = r->value(QStringLiteral("ISENABLE")).toInt() != 0;
    return u;
}

QHash<int, QString> userNames(Session& session)
{
    QHash<int, QString> names;
    QSqlQuery q(session.common());
    if (q.exec(QStringLiteral("SELECT UCode, Name, LastName FROM USERS"))) {
        while (q.next())
            names.insert(q.value(0).toInt(), (q.value(1).toString().trimmed() + QLatin1Char(' ') + q.value(2).toString().trimmed()).trimmed());
    }
    return names;
}

int nextFamilyUserCode(Session& session)
{
    return int(db::largestPlusOne(session.common(), QStringLiteral("USERS"), QStringLiteral("UCode")).value_or(1));
}

bool saveFamilyUser(Session& session, const FamilyUser& u, bool insert, Prompt& prompt)
{
    if (!mayChangeUsers(session, insert ? AccessInsert : AccessEditOwn, prompt))
        return false;
    if (u.code <= 0 || u.lastName.trimmed().isEmpty()) {
        prompt.info(QStringLiteral("اطلاعات کامل نيست"));
        return false;
    }
    QVariantMap values{{QStringLiteral("LastName"), u.lastName.trimmed()}, {QStringLiteral("Name"), u.name.trimmed()},
                       {QStringLiteral("ISMANAGER"), u.manager ? 1 : 0},  {QStringLiteral("ISENABLE"), u.enabled ? 1 : 0},
                       {QStringLiteral("ESKIND"), u.eskind},              {QStringLiteral("POST"), u.post},
                       {QStringLiteral("JOB"), u.job},                    {QStringLiteral("MADRAK"), u.madrak},
                       {QStringLiteral("BIRTH_DATE"), u.birthDate},       {QStringLiteral("EDATE"), u.employmentDate},
                       {QStringLiteral("PERSONCODE"), u.personCode}};
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (!insert)
            return w.update(db::Store::Common, QStringLiteral("USERS"), values, QStringLiteral("UCode = :UCode"), {{QStringLiteral(":UCode"), u.code}});
        values.insert(QStringLiteral("UCode"), u.code);
        values.insert(QStringLiteral("USER_JARI"), 1);
        values.insert(QStringLiteral("progid"), ProgID);
        return w.insert(db::Store::Common, QStringLiteral("USERS"), values);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool deleteFamilyUser(Session& session, int code, Prompt& prompt)
{
    if (!mayChangeUsers(session, AccessDelete, prompt) || !mayTouchManager(session, code, false, prompt))
        return false;
    if (!prompt.ask(QStringLiteral("آيا اين مورد حذف شود؟")))
        return false;
    QString why;
    const QVariantMap binds{{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}};
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Common, QStringLiteral("ACCESSCONTROL"), QStringLiteral("UserId = :c AND PROGID = :p"), binds)
            && w.remove(db::Store::Common, QStringLiteral("USERS"), QStringLiteral("UCode = :c"), binds)
            && w.remove(db::Store::Common, QStringLiteral("PROGUSERS"), QStringLiteral("UCODE = :c AND PROGID = :p"), binds);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

QList<Right> userRights(Session& session, int userCode)
{
    QList<Right> rights;
    QSqlQuery q(session.common());
    q.prepare(QStringLiteral("Select L.MENUID, L.ACCESSNAME, C.ACCESSKIND1, C.ACCESSKIND2, C.ACCESSKIND3, C.ACCESSKIND4, C.ACCESSKIND5, C.ACCESSKIND6, "
                             "C.ACCESSKIND7 From ACCESSLIST L LEFT JOIN ACCESSCONTROL C ON C.MENUID = L.MENUID AND C.PROGID = L.PROGID AND C.UserId = :u "
                             "Where L.ProgID=:ProgId Order By L.MenuOrder"));
    q.bindValue(QStringLiteral(":u"), userCode);
    q.bindValue(QStringLiteral(":ProgId"), ProgID);
    if (q.exec()) {
        while (q.next()) {
            Right r;
            r.menuId = q.value(0).toInt();
            r.name = q.value(1).toString();
            for (int k = 0; k < 7; ++k)
                r.kinds[k] = q.value(2 + k).toInt();
            rights << r;
        }
    }
    return rights;
}

bool saveRights(Session& session, int userCode, const QList<Right>& rights, Prompt& prompt)
{
    if (!mayChangeUsers(session, AccessEditOwn, prompt))
        return false;
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        for (const Right& r : rights) {
            const QVariantMap key{{QStringLiteral(":u"), userCode}, {QStringLiteral(":p"), ProgID}, {QStringLiteral(":m"), r.menuId}};
            QVariantMap kinds;
            for (int k = 0; k < 7; ++k)
                kinds.insert(QStringLiteral("ACCESSKIND%1").arg(k + 1), r.kinds[k]);
            const auto exists = w.scalar(QStringLiteral("SELECT MENUID FROM {common}.ACCESSCONTROL WHERE UserId = :u AND PROGID = :p AND MENUID = :m"), key);
            if (exists.failed())
                return w.fail(exists.error());
            if (exists) {
                if (!w.update(db::Store::Common, QStringLiteral("ACCESSCONTROL"), kinds, QStringLiteral("UserId = :u AND PROGID = :p AND MENUID = :m"), key))
                    return false;
                continue;
            }
            kinds.insert(QStringLiteral("UserId"), userCode);
            kinds.insert(QStringLiteral("PROGID"), ProgID);
            kinds.insert(QStringLiteral("MENUID"), r.menuId);
            if (!w.insert(db::Store::Common, QStringLiteral("ACCESSCONTROL"), kinds))
                return false;
        }
        return true;
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

QStringList accessKindCaptions()
{
    return {QStringLiteral("عدم امكان دسترسي"), QStringLiteral("دسترسي با امکان رويت و گزارشگيري"),
            QStringLiteral("دسترسي با امكان ويرايش و تغييرات اطلاعات خود  "), QStringLiteral("دسترسي با امكان درج و اضافه نمودن اطلاعات جديد"),
            QStringLiteral("دسترسي  فوق با امكان حذف اطلاعات"), QStringLiteral("دسترسي هاي مهم، ويژه و مديريتي")};
}

QList<Right> bulkRights(const QList<Right>& rights, BulkRights what)
{
    QList<Right> out = rights;
    for (Right& r : out) {
        for (int k = 0; k < 7; ++k) {
            switch (what) {
            case BulkRights::RevokeAll:
                r.kinds[k] = k == 0 ? 1 : 0;
                break;
            case BulkRights::GrantAll:
                r.kinds[k] = (k >= 1 && k <= 5) ? 1 : 0;
                break;
            case BulkRights::ReportLevel:
                r.kinds[k] = k == 1 ? 1 : 0;
                break;
            }
        }
    }
    return out;
}

bool setUserBackground(Session& session, const QString& picture)
{
    if (!session.inWork([&](db::UnitOfWork& w) {
            return w.update(db::Store::Common, QStringLiteral("USERS"), {{QStringLiteral("BkGround"), picture}}, QStringLiteral("UCode = :u"),
                            {{QStringLiteral(":u"), session.currentUserCode()}});
        }))
        return false;
    session.user().background = picture;
    return true;
}

const io::CodeTexts& employmentKinds()
{
    static const io::CodeTexts kinds = io::CodeTexts::numbered(
        {QStringLiteral("رسمي"), QStringLiteral("پيماني"), QStringLiteral("قراردادي"), QStringLiteral("شرکتي"), QStringLiteral("ساعتي")});
    return kinds;
}

const io::CodeTexts& userStates()
{
    static const io::CodeTexts states{{{1, QStringLiteral("مجاز")}}, QStringLiteral("مسدود")};
    return states;
}

} // namespace orvak::startup
