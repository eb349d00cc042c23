#include "core/startup/Login.h"

#include "core/db/Db.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvak::startup {

namespace {

QString savedLoginPath(const QString& startDir) { return QDir(startDir).filePath(ProgramKey() + QStringLiteral(".psw")); }

QString wrongPasswordMessage(const QString& name, const QString& lastName)
{
    return QStringLiteral("استفاده کننده محترم اورواک : ") + name + QStringLiteral(" - ") + lastName + QStringLiteral(" ! ") + QLatin1Char('\n')
        + QStringLiteral("كلمه رمز اشتباه است.") + QLatin1Char('\n')
        + QStringLiteral("به حالتهاي كوچك/بزرگ و يا فارسي/انگليسي بودن توجه فرمائيد.") + QLatin1Char('\n')
        + QStringLiteral("به چراغهاي وضعيت صفحه كليد CapsLock, NumLock و Scroll Lock نيز توجه فرمائيد.");
}

bool passwordMatches(Session& session, int code, const QString& typed)
{
    const auto stored = db::firstRow(session.common(), QStringLiteral("Select PASSWORD From ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode)"),
                            {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), code}});
    return stored && stored->value(0).toString() == scrambledPassword(typed, code, session.installationNumber());
}

} // namespace

SavedLogin readSavedLogin(const QString& startDir)
{
    SavedLogin s;
    QFile f(savedLoginPath(startDir));
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    s.userCode = lines.value(0).trimmed();
    s.password = lines.value(1);
    if (s.password.endsWith(QLatin1Char('\r')))
        s.password.chop(1);
    s.saved = !s.userCode.isEmpty();
    if (!s.saved)
        s.password.clear();
    return s;
}

bool writeSavedLogin(const QString& startDir, const QString& userCode, const QString& password, bool save)
{
    QSaveFile f(savedLoginPath(startDir));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // Not saved: an empty first line and a single space.
    const QString text = save ? userCode + QStringLiteral("\r\n") + password + QStringLiteral("\r\n") : QStringLiteral("\r\n \r\n");
    f.write(text.toUtf8());
    return f.commit();
}

LoginResult login(Session& session, const QString& userCode, const QString& password, bool savePassword, Prompt& prompt)
{
    LoginResult result;
    QSqlDatabase db = session.common();
    if (!db.isOpen())
        return result;
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("Select UCode From  ProgUsers Where (ProgID=:PRogID) Order By UCode"));
        q.bindValue(QStringLiteral(":PRogID"), ProgID);
        if (q.exec()) {
            while (q.next())
                result.programUserCodes << q.value(0).toInt();
        }
    }
    const std::optional<qint64> code = util::parseWholeNumber(userCode);
    const auto programRow = code ? db::firstRow(db, QStringLiteral("Select *  From  ProgUsers Where (ProgID=:PRogID) and((UCode=:PUCode)Or(-1=:PUCode))"),
                                       {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), *code}})
                                 : std::nullopt;
    if (result.programUserCodes.isEmpty()) {
        result.outcome = LoginOutcome::NoUsers;
        return result;
    }
    if (!code || *code <= 0 || !programRow) {
        prompt.info(QStringLiteral("کد کاربري براي ورود به نرم افزار مجاز نمي باشد."));
        result.outcome = LoginOutcome::NotAllowed;
        return result;
    }
    switch (CheckVersion(session, prompt)) {
    case VersionCheck::RegistrationRequested:
        result.outcome = LoginOutcome::RegisterVersion;
        return result;
    case VersionCheck::Refused:
        result.outcome = LoginOutcome::VersionRefused;
        return result;
    case VersionCheck::Allowed:
        break;
    }
    if (!passwordMatches(session, int(*code), password)) {
        const auto person = db::firstRow(db, QStringLiteral("Select *  From  Users Where (UCode=:PUcode)Or(-1=:PUcode) order By UCode"),
                                {{QStringLiteral(":PUcode"), *code}});
        prompt.info(wrongPasswordMessage(person ? person->value(QStringLiteral("Name")).toString().trimmed() : QString(),
                                         person ? person->value(QStringLiteral("LastName")).toString().trimmed() : QString()));
        result.outcome = LoginOutcome::WrongPassword;
        return result;
    }
    writeSavedLogin(session.startDir(), QString::number(*code), password, savePassword);
    session.user().typedPassword = password;
    LoadUserRights(session, int(*code));
    result.outcome = LoginOutcome::LoggedIn;
    return result;
}

bool LoadUserRights(Session& session, int userCode)
{
    QSqlDatabase db = session.common();
    CurrentUser u;
    u.code = userCode;
    u.typedPassword = session.user().typedPassword;
    if (const auto person = db::firstRow(db, QStringLiteral("Select *  From  Users Where (UCode=:PUcode) order By UCode"), {{QStringLiteral(":PUcode"), userCode}})) {
        u.name = person->value(QStringLiteral("Name")).toString().trimmed();
        u.lastName = person->value(QStringLiteral("LastName")).toString().trimmed();
        u.familyBackground = person->value(QStringLiteral("BkGround")).toString().trimmed();
        const QString empty = QStringLiteral("    /  /  ");
        u.recordIncomplete = person->value(QStringLiteral("PERSONCODE")).toInt() == 0 || person->value(QStringLiteral("MADRAK")).toString().trimmed().isEmpty()
            || person->value(QStringLiteral("POST")).toString().trimmed().isEmpty() || person->value(QStringLiteral("BIRTH_DATE")).toString() == empty
            || person->value(QStringLiteral("EDATE")).toString() == empty;
    }
    const auto program = db::firstRow(db, QStringLiteral("Select *  From  ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode)"),
                             {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), userCode}});
    if (!program)
        return false;
    u.manager = program->value(QStringLiteral("ISMANAGER")).toInt() == 1;
    for (int i = 0; i < 5; ++i)
        u.sel[i] = program->value(QStringLiteral("SEL%1").arg(i + 1)).toInt();
    u.background = program->value(QStringLiteral("BKGROUND")).toString().trimmed();
    if (u.background.isEmpty())
        u.background = u.familyBackground;
    session.user() = u;
    session.setCurrentUserCode(userCode);
    return true;
}

bool changeUser(Session& session, const QString& userCode, const QString& password, int& failures, Prompt& prompt)
{
    const std::optional<qint64> code = util::parseWholeNumber(userCode);
    const auto program = code ? db::firstRow(session.common(), QStringLiteral("Select * From ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode)"),
                                    {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), *code}})
                              : std::nullopt;
    QString message;
    if (!program)
        message = QStringLiteral("كد كاربر در سيستم موجود نيست");
    else if (!passwordMatches(session, int(*code), password))
        message = QStringLiteral("كلمه رمز نادرست است");
    if (!message.isEmpty()) {
        ++failures;
        if (failures >= 4)
            message += QLatin1Char('\n') + QStringLiteral(" تلاش مشكوك براي ورود به سيستم");
        prompt.info(message);
        return false;
    }
    session.user().typedPassword = password;
    return LoadUserRights(session, int(*code));
}

bool changeOwnPassword(Session& session, const QString& current, const QString& newPassword, const QString& repeated, Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral(" كلمه رمز تغيير كند؟")))
        return false;
    const int code = session.currentUserCode();
    if (!passwordMatches(session, code, current) || newPassword != repeated) {
        prompt.info(QStringLiteral("كلمه رمز و يا تكرار آن درست نيست!"));
        return false;
    }
    return setUserPassword(session, code, newPassword, repeated, prompt);
}

bool setUserPassword(Session& session, int userCode, const QString& newPassword, const QString& repeated, Prompt& prompt)
{
    if (newPassword.isEmpty()) {
        prompt.info(QStringLiteral("كلمه رمز نمي تواند خالي باشد"));
        return false;
    }
    if (newPassword != repeated) {
        prompt.info(QStringLiteral("كلمه رمز با تكرار كلمه رمز تطابق ندارد"));
        return false;
    }
    // The column holds 15 characters: a longer password could never match again.
    if (newPassword.size() > 15) {
        prompt.info(QStringLiteral("كلمه رمز حداکثر 15 نويسه است"));
        return false;
    }
    QString why;
    if (!db::execSql(session.common(), QStringLiteral("Update  ProgUsers Set PASSWORD=:PASSWORD Where (UCode=:UCODE) and (ProgID=:ProgID)"),
                 {{QStringLiteral(":PASSWORD"), scrambledPassword(newPassword, userCode, session.installationNumber())},
                  {QStringLiteral(":UCODE"), userCode}, {QStringLiteral(":ProgID"), ProgID}},
                 &why)) {
        prompt.info(why);
        return false;
    }
    prompt.info(QStringLiteral("کلمه رمز با موفقيت تغيير نمود!"));
    return true;
}

bool canWriteDeposits(const Session& session)
{
    const int level = session.user().sel[1];
    return level == 0 || level == 2;
}

bool refusedMenu(Session& session, int menuId, Prompt& prompt)
{
    const Access access = checkAccess(session, menuId);
    if (!access.refused())
        return false;
    prompt.info(access.error.isEmpty() ? menuRefusalText() : access.error);
    return true;
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
    if (user.code <= 0) {
        prompt.info(QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد"));
        return false;
    }
    QSqlDatabase db = session.common();
    QString why;
    bool ok = false;
    QVariantMap binds{{QStringLiteral(":progid"), ProgID}, {QStringLiteral(":UCode"), user.code},
                      {QStringLiteral(":ISENABLE"), user.enabled ? 1 : 0}, {QStringLiteral(":ISMANAGER"), user.manager ? 1 : 0}};
    for (int i = 0; i < 5; ++i)
        binds.insert(QStringLiteral(":SEL%1").arg(i + 1), user.sel[i]);
    if (insert) {
        if (db::scalar(db, QStringLiteral("SELECT UCODE FROM PROGUSERS WHERE PROGID = :p AND UCODE = :c"), {{QStringLiteral(":p"), ProgID}, {QStringLiteral(":c"), user.code}})) {
            prompt.info(QStringLiteral("اين کد کاربري قبلا تعريف شده است"));
            return false;
        }
        binds.insert(QStringLiteral(":PassWord"), scrambledPassword(user.password, user.code, session.installationNumber()));
        ok = db::execSql(db, QStringLiteral("INSERT INTO PROGUSERS (progid, UCode, ISENABLE, ISMANAGER, PassWord, SEL1, SEL2, SEL3, SEL4, SEL5) "
                                        "VALUES (:progid, :UCode, :ISENABLE, :ISMANAGER, :PassWord, :SEL1, :SEL2, :SEL3, :SEL4, :SEL5)"),
                     binds, &why);
    } else {
        ok = db::execSql(db, QStringLiteral("UPDATE PROGUSERS SET IsManager = :ISMANAGER, ISENABLE = :ISENABLE, SEL1 = :SEL1, SEL2 = :SEL2, SEL3 = :SEL3, "
                                        "SEL4 = :SEL4, SEL5 = :SEL5 WHERE UCode = :UCode AND ProgID = :progid"),
                     binds, &why);
    }
    if (!ok)
        prompt.info(why);
    return ok;
}

bool deleteProgramUser(Session& session, int code, Prompt& prompt)
{
    QSqlDatabase db = session.common();
    QString why;
    const bool ok = db::inTransaction(db, session.dialect(), [&](QString* e) {
        return db::execSql(db, QStringLiteral("DELETE FROM ACCESSCONTROL WHERE UserId = :c AND PROGID = :p"), {{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}}, e)
            && db::execSql(db, QStringLiteral("DELETE FROM PROGUSERS WHERE UCODE = :c AND PROGID = :p"), {{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}}, e);
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
    if (u.code <= 0 || u.lastName.trimmed().isEmpty()) {
        prompt.info(QStringLiteral("اطلاعات کامل نيست"));
        return false;
    }
    const QVariantMap binds{{QStringLiteral(":UCode"), u.code},          {QStringLiteral(":LastName"), u.lastName.trimmed()},
                            {QStringLiteral(":Name"), u.name.trimmed()}, {QStringLiteral(":ISMANAGER"), u.manager ? 1 : 0},
                            {QStringLiteral(":ISENABLE"), u.enabled ? 1 : 0}, {QStringLiteral(":ESKIND"), u.eskind},
                            {QStringLiteral(":POST"), u.post},           {QStringLiteral(":JOB"), u.job},
                            {QStringLiteral(":MADRAK"), u.madrak},       {QStringLiteral(":BIRTH_DATE"), u.birthDate},
                            {QStringLiteral(":EDATE"), u.employmentDate}, {QStringLiteral(":PERSONCODE"), u.personCode},
                            {QStringLiteral(":progid"), ProgID}};
    QString why;
    const bool ok = insert ? db::execSql(session.common(),
                                     QStringLiteral("INSERT INTO USERS (UCode, LastName, Name, ISMANAGER, ISENABLE, USER_JARI, ESKIND, POST, JOB, MADRAK, "
                                                    "BIRTH_DATE, EDATE, PERSONCODE, progid) VALUES (:UCode, :LastName, :Name, :ISMANAGER, :ISENABLE, 1, "
                                                    ":ESKIND, :POST, :JOB, :MADRAK, :BIRTH_DATE, :EDATE, :PERSONCODE, :progid)"),
                                     binds, &why)
                           : db::execSql(session.common(),
                                     QStringLiteral("UPDATE USERS SET LastName = :LastName, Name = :Name, ISMANAGER = :ISMANAGER, ISENABLE = :ISENABLE, "
                                                    "ESKIND = :ESKIND, POST = :POST, JOB = :JOB, MADRAK = :MADRAK, BIRTH_DATE = :BIRTH_DATE, "
                                                    "EDATE = :EDATE, PERSONCODE = :PERSONCODE WHERE UCode = :UCode"),
                                     binds, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool deleteFamilyUser(Session& session, int code, Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral("آيا اين مورد حذف شود؟")))
        return false;
    QSqlDatabase db = session.common();
    QString why;
    const QVariantMap binds{{QStringLiteral(":c"), code}, {QStringLiteral(":p"), ProgID}};
    const bool ok = db::inTransaction(db, session.dialect(), [&](QString* e) {
        return db::execSql(db, QStringLiteral("DELETE FROM ACCESSCONTROL WHERE UserId = :c AND PROGID = :p"), binds, e)
            && db::execSql(db, QStringLiteral("DELETE FROM USERS WHERE UCode = :c"), {{QStringLiteral(":c"), code}}, e)
            && db::execSql(db, QStringLiteral("DELETE FROM PROGUSERS WHERE UCODE = :c AND PROGID = :p"), binds, e);
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
    QSqlDatabase db = session.common();
    QString why;
    const bool ok = db::inTransaction(db, session.dialect(), [&](QString* e) {
        for (const Right& r : rights) {
            QVariantMap binds{{QStringLiteral(":u"), userCode}, {QStringLiteral(":p"), ProgID}, {QStringLiteral(":m"), r.menuId}};
            for (int k = 0; k < 7; ++k)
                binds.insert(QStringLiteral(":k%1").arg(k + 1), r.kinds[k]);
            const bool exists = db::scalar(db, QStringLiteral("SELECT MENUID FROM ACCESSCONTROL WHERE UserId = :u AND PROGID = :p AND MENUID = :m"), binds).has_value();
            const QString sql = exists ? QStringLiteral("UPDATE ACCESSCONTROL SET ACCESSKIND1 = :k1, ACCESSKIND2 = :k2, ACCESSKIND3 = :k3, ACCESSKIND4 = :k4, "
                                                        "ACCESSKIND5 = :k5, ACCESSKIND6 = :k6, ACCESSKIND7 = :k7 WHERE UserId = :u AND PROGID = :p AND MENUID = :m")
                                       : QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND3, ACCESSKIND4, "
                                                        "ACCESSKIND5, ACCESSKIND6, ACCESSKIND7) VALUES (:u, :p, :m, :k1, :k2, :k3, :k4, :k5, :k6, :k7)");
            if (!db::execSql(db, sql, binds, e))
                return false;
        }
        return true;
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
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
    if (!db::execSql(session.common(), QStringLiteral("UPDATE USERS SET BkGround = :b WHERE UCode = :u"),
                 {{QStringLiteral(":b"), picture}, {QStringLiteral(":u"), session.currentUserCode()}}))
        return false;
    session.user().background = picture;
    return true;
}

} // namespace orvak::startup
