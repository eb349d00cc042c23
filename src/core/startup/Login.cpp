#include "core/startup/Login.h"

#include "core/db/Db.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"
#include "core/util/AtomicFile.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFile>
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
    // Not saved: an empty first line and a single space.
    const QString text = save ? userCode + QStringLiteral("\r\n") + password + QStringLiteral("\r\n") : QStringLiteral("\r\n \r\n");
    return util::writeFileAtomically(savedLoginPath(startDir), text.toUtf8());
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
                                 : db::Fetched<QSqlRecord>::none();
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
                              : db::Fetched<QSqlRecord>::none();
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
    if (!session.inWork([&](db::UnitOfWork& w) {
            return w.update(db::Store::Common, QStringLiteral("ProgUsers"),
                            {{QStringLiteral("PASSWORD"), scrambledPassword(newPassword, userCode, session.installationNumber())}},
                            QStringLiteral("(UCode=:UCODE) and (ProgID=:ProgID)"),
                            {{QStringLiteral(":UCODE"), userCode}, {QStringLiteral(":ProgID"), ProgID}});
        }, &why)) {
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

} // namespace orvak::startup
