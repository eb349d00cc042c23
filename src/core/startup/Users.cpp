#include "core/startup/Users.h"

#include "core/db/Db.h"
#include "core/startup/Program.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"
#include "core/util/Jalali.h"

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

// Inside an inserting work: whether no row holds the new user's code yet (*taken
// when one does; a failed read fails the work).
bool codeIsFree(db::UnitOfWork& w, const QString& sql, const QVariantMap& key, bool* taken)
{
    const auto existing = w.scalar(sql, key);
    if (!existing && !existing.failed())
        return true;
    *taken = existing.has_value();
    return w.fail(existing.error());
}

// Inside the work, before the row of code stops being an allowed manager (deleted,
// blocked or its flag cleared): the program must keep one, or nobody could ever
// manage its users again.
bool keepsAManager(db::UnitOfWork& w, int code)
{
    const QString managers = QStringLiteral("SELECT COUNT(*) FROM {common}.PROGUSERS WHERE PROGID = :p AND ISMANAGER = 1 AND ISENABLE = 1 AND ");
    const QVariantMap binds{{QStringLiteral(":p"), ProgID}, {QStringLiteral(":c"), code}};
    const auto self = w.scalar(managers + QStringLiteral("UCODE = :c"), binds);
    const auto others = w.scalar(managers + QStringLiteral("UCODE <> :c"), binds);
    if (self.failed() || others.failed())
        return w.fail(self.failed() ? self.error() : others.error());
    if (self->toInt() > 0 && others->toInt() == 0)
        return w.fail(lastManagerText());
    return true;
}
} // namespace

QString lastManagerText() { return QStringLiteral("نرم افزار بايد دست کم يک مدير مجاز داشته باشد"); }

QString userCodeTakenText() { return QStringLiteral("اين کد کاربري قبلا تعريف شده است"); }

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
            return ((user.manager && user.enabled) || keepsAManager(w, user.code))
                && w.update(db::Store::Common, QStringLiteral("PROGUSERS"), values, QStringLiteral("UCode = :UCode AND ProgID = :progid"), key);
        if (!codeIsFree(w, QStringLiteral("SELECT UCODE FROM {common}.PROGUSERS WHERE PROGID = :progid AND UCODE = :UCode"), key, &taken))
            return false;
        values.insert(QStringLiteral("progid"), ProgID);
        values.insert(QStringLiteral("UCode"), user.code);
        values.insert(QStringLiteral("PassWord"), scrambledPassword(user.password, user.code, session.installationNumber()));
        return w.insert(db::Store::Common, QStringLiteral("PROGUSERS"), values);
    }, &why);
    if (!ok)
        prompt.info(taken ? userCodeTakenText() : why);
    return ok;
}

bool deleteProgramUser(Session& session, int code, Prompt& prompt)
{
    if (!mayChangeUsers(session, AccessDelete, prompt) || !mayTouchManager(session, code, false, prompt))
        return false;
    QString why;
    const QVariantMap binds{{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}};
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return keepsAManager(w, code)
            && w.remove(db::Store::Common, QStringLiteral("ACCESSCONTROL"), QStringLiteral("UserId = :c AND PROGID = :p"), binds)
            && w.remove(db::Store::Common, QStringLiteral("PROGUSERS"), QStringLiteral("UCODE = :c AND PROGID = :p"), binds);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

namespace {
db::Fetched<FamilyUser> fetchFamilyUser(Session& session, int code)
{
    const auto r = db::firstRow(session.common(), QStringLiteral("Select * From USERS Where UCode = :c"), {{QStringLiteral(":c"), code}});
    if (!r)
        return r.failed() ? db::Fetched<FamilyUser>::failure(r.error()) : db::Fetched<FamilyUser>::none();
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
    u.semat = r->value(QStringLiteral("SEMAT")).toInt();
    u.eskind = r->value(QStringLiteral("ESKIND")).toInt();
    u.manager = r->value(QStringLiteral("ISMANAGER")).toInt() == 1;
    u.enabled = r->value(QStringLiteral("ISENABLE")).toInt() != 0;
    u.changeOthers = r->value(QStringLiteral("CHNG_OTHERS")).toInt() == 1;
    u.background = r->value(QStringLiteral("BkGround")).toString().trimmed();
    return db::Fetched<FamilyUser>::found(u);
}

bool isBlankDate(const QString& text)
{
    QString rest = text;
    rest.remove(QLatin1Char('/')).remove(QLatin1Char(' ')).remove(QLatin1Char('_'));
    return rest.isEmpty();
}

// The stored form of a typed date: "YYYY/MM/DD", or the family's empty date; nullopt
// when it is not a real date.
std::optional<QString> storedDate(const QString& text)
{
    if (isBlankDate(text))
        return QString::fromUtf16(util::EmptyDateText);
    const auto d = util::parseJalali(text);
    if (!d)
        return std::nullopt;
    return d->toText();
}

// What is wrong with a record before it is written (empty when nothing).
QString familyUserFault(Session& session, const FamilyUser& u, QString* birth, QString* employed)
{
    if (u.code <= 0 || u.lastName.trimmed().isEmpty())
        return QStringLiteral("اطلاعات کامل نيست");
    struct Column {
        const QString& text;
        QString title;
        int width;
    };
    const Column columns[] = {{u.lastName, QStringLiteral("نام خانوادگي"), 30}, {u.name, QStringLiteral("نام"), 15},
                              {u.madrak, QStringLiteral("مدرک تحصيلي"), 30},    {u.job, QStringLiteral("شغل"), 30},
                              {u.post, QStringLiteral("سمت"), 30}};
    for (const Column& c : columns) {
        if (c.text.trimmed().size() > c.width)
            return QStringLiteral("%1 حداکثر %2 نويسه است").arg(c.title).arg(c.width);
    }
    if (u.personCode < 0)
        return QStringLiteral("شماره پرسنلي بايد يک عدد درست بزرگتر از صفر باشد");
    if (u.semat < 0 || u.semat > 32767)
        return QStringLiteral("کد سمت بايد يک عدد درست بين 0 و 32767 باشد");
    if (u.eskind < 0 || u.eskind >= int(employmentKinds().entries.size()))
        return QStringLiteral("نوع استخدام معتبر نيست");
    const std::optional<QString> b = storedDate(u.birthDate);
    if (!b)
        return QStringLiteral("تاريخ تولد معتبر نيست: %1").arg(u.birthDate);
    const std::optional<QString> e = storedDate(u.employmentDate);
    if (!e)
        return QStringLiteral("تاريخ استخدام معتبر نيست: %1").arg(u.employmentDate);
    const bool hasBirth = !isBlankDate(*b);
    if (hasBirth && *b > session.clock().todayJalali())
        return QStringLiteral("تاريخ تولد نمي تواند بعد از امروز باشد");
    if (hasBirth && !isBlankDate(*e) && *b >= *e)
        return QStringLiteral("تاريخ تولد بايد پيش از تاريخ استخدام باشد");
    *birth = *b;
    *employed = *e;
    return {};
}

// The users entry's bits, or the logged-in user's own personal record with its
// switches as they stand (a new record: none of them set).
bool mayKeepFamilyUser(Session& session, const FamilyUser& u, bool insert, Prompt& prompt)
{
    QString why;
    if (mayUse(session, UsersMenuId, insert ? AccessInsert : AccessEditOwn, &why))
        return mayTouchManager(session, u.code, u.manager, prompt);
    // Entry 0 is unguarded: this asks only that he is still an allowed user.
    if (session.currentUserCode() > 0 && u.code == session.currentUserCode() && mayUse(session, 0, 0)) {
        const db::Fetched<FamilyUser> stored = fetchFamilyUser(session, u.code);
        const FamilyUser before = stored ? *stored : FamilyUser{};
        if (!stored.failed() && stored.has_value() != insert && u.manager == before.manager && u.enabled == before.enabled
            && u.changeOthers == before.changeOthers)
            return true;
    }
    prompt.info(why);
    return false;
}
} // namespace

std::optional<FamilyUser> readFamilyUser(Session& session, int code)
{
    const db::Fetched<FamilyUser> u = fetchFamilyUser(session, code);
    if (!u)
        return std::nullopt;
    return *u;
}

bool personalRecordIncomplete(const FamilyUser& u)
{
    return u.personCode <= 0 || u.madrak.trimmed().isEmpty() || u.job.trimmed().isEmpty() || u.post.trimmed().isEmpty()
        || !util::parseJalali(u.birthDate) || !util::parseJalali(u.employmentDate);
}

QHash<int, QString> userNames(QSqlDatabase common)
{
    QHash<int, QString> names;
    QSqlQuery q(common);
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
    if (!mayKeepFamilyUser(session, u, insert, prompt))
        return false;
    QString birth, employed;
    if (const QString fault = familyUserFault(session, u, &birth, &employed); !fault.isEmpty()) {
        prompt.info(fault);
        return false;
    }
    QVariantMap values{{QStringLiteral("LastName"), u.lastName.trimmed()}, {QStringLiteral("Name"), u.name.trimmed()},
                       {QStringLiteral("ISMANAGER"), u.manager ? 1 : 0},  {QStringLiteral("ISENABLE"), u.enabled ? 1 : 0},
                       {QStringLiteral("CHNG_OTHERS"), u.changeOthers ? 1 : 0},
                       {QStringLiteral("ESKIND"), u.eskind},              {QStringLiteral("POST"), u.post.trimmed()},
                       {QStringLiteral("JOB"), u.job.trimmed()},          {QStringLiteral("MADRAK"), u.madrak.trimmed()},
                       {QStringLiteral("BIRTH_DATE"), birth},             {QStringLiteral("EDATE"), employed},
                       {QStringLiteral("PERSONCODE"), u.personCode},      {QStringLiteral("SEMAT"), u.semat}};
    QString why;
    bool taken = false;
    const QVariantMap key{{QStringLiteral(":UCode"), u.code}};
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        if (!insert)
            return w.update(db::Store::Common, QStringLiteral("USERS"), values, QStringLiteral("UCode = :UCode"), key);
        // Another workstation may have taken the code shown since the form opened.
        if (!codeIsFree(w, QStringLiteral("SELECT UCode FROM {common}.USERS WHERE UCode = :UCode"), key, &taken))
            return false;
        values.insert(QStringLiteral("UCode"), u.code);
        values.insert(QStringLiteral("USER_JARI"), 1);
        values.insert(QStringLiteral("progid"), ProgID);
        return w.insert(db::Store::Common, QStringLiteral("USERS"), values);
    }, &why);
    if (!ok) {
        prompt.info(taken ? userCodeTakenText() : why);
        return false;
    }
    if (u.code == session.currentUserCode()) {
        CurrentUser& me = session.user();
        me.name = u.name.trimmed();
        me.lastName = u.lastName.trimmed();
        FamilyUser saved = u;
        saved.birthDate = birth;
        saved.employmentDate = employed;
        me.recordIncomplete = personalRecordIncomplete(saved);
    }
    return true;
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
        return keepsAManager(w, code)
            && w.remove(db::Store::Common, QStringLiteral("ACCESSCONTROL"), QStringLiteral("UserId = :c AND PROGID = :p"), binds)
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
    if (!mayChangeUsers(session, AccessEditOwn, prompt) || !mayTouchManager(session, userCode, false, prompt))
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
        for (int k = 0; k < 6; ++k) {
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
