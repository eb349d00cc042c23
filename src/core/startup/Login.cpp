#include "core/startup/Login.h"

#include "core/db/Db.h"
#include "core/startup/Rights.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Users.h"
#include "core/util/AtomicFile.h"
#include "core/util/CodePage1256.h"
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

// The login form and the lock dialog word their refusals differently.
enum class Wording { Login, Lock };

struct Authenticated {
    LoginOutcome outcome = LoginOutcome::NotAllowed;
    int code = 0;
    QString storedPassword;   // PROGUSERS.PASSWORD, scrambled
};

Authenticated refusedAs(LoginOutcome outcome)
{
    Authenticated a;
    a.outcome = outcome;
    return a;
}

// The checks of a code and its password, in this order: the wait after repeated
// failures, the code, the password, then whether the user is blocked. Nothing else
// happens for the code before its password was found right.
Authenticated authenticate(Session& session, const QString& userCode, const LoginPassword& password, Wording wording, Prompt& prompt)
{
    QSqlDatabase db = session.common();
    LoginThrottle& throttle = session.loginThrottle();
    const std::optional<qint64> code = util::parseWholeNumber(userCode);
    const qint64 key = code.value_or(-1);
    if (const qint64 wait = throttle.waitMs(key); wait > 0) {
        prompt.info(loginWaitText(wait));
        return refusedAs(LoginOutcome::TooSoon);
    }
    const auto programRow = code && *code > 0 && *code <= 0x7FFFFFFF
        ? db::firstRow(db, QStringLiteral("Select *  From  ProgUsers Where (ProgID=:PRogID) and (UCode=:PUCode)"),
                       {{QStringLiteral(":PRogID"), ProgID}, {QStringLiteral(":PUCode"), *code}})
        : db::Fetched<QSqlRecord>::none();
    auto withSuspicion = [&](QString message) {
        if (throttle.failures(key) >= SuspiciousFailures)
            message += QLatin1Char('\n') + suspiciousAttemptText();
        return message;
    };
    if (!programRow) {
        if (wording == Wording::Lock) {
            throttle.failed(key);
            prompt.info(withSuspicion(QStringLiteral("كد كاربر در سيستم موجود نيست")));
        } else {
            prompt.info(QStringLiteral("کد کاربري براي ورود به نرم افزار مجاز نمي باشد."));
        }
        return refusedAs(LoginOutcome::NotAllowed);
    }
    const int user = int(*code);
    const QString stored = programRow->value(QStringLiteral("PASSWORD")).toString();
    bool matches = false;
    if (password.fromSavedLogin) {
        // The saved form is compared as it is: it is the stored scrambled value.
        const SavedLogin saved = readSavedLogin(session.startDir());
        matches = saved.saved && util::parseWholeNumber(saved.userCode) == *code && saved.scrambledPassword == stored;
    } else {
        matches = scrambledPassword(password.typed, user, session.installationNumber()) == stored;
    }
    if (!matches) {
        throttle.failed(key);
        if (wording == Wording::Lock) {
            prompt.info(withSuspicion(QStringLiteral("كلمه رمز نادرست است")));
        } else {
            const auto person = db::firstRow(db, QStringLiteral("Select *  From  Users Where (UCode=:PUcode) order By UCode"),
                                    {{QStringLiteral(":PUcode"), user}});
            prompt.info(withSuspicion(wrongPasswordMessage(person ? person->value(QStringLiteral("Name")).toString().trimmed() : QString(),
                                                           person ? person->value(QStringLiteral("LastName")).toString().trimmed() : QString())));
        }
        return refusedAs(LoginOutcome::WrongPassword);
    }
    throttle.succeeded(key);
    if (programRow->value(QStringLiteral("ISENABLE")).toInt() != 1) {
        prompt.info(blockedUserText(user));
        return refusedAs(LoginOutcome::Blocked);
    }
    return {LoginOutcome::LoggedIn, user, stored};
}

bool storePassword(Session& session, int userCode, const QString& newPassword, const QString& repeated, Prompt& prompt)
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

} // namespace

SavedLogin readSavedLogin(const QString& startDir)
{
    SavedLogin s;
    QFile f(savedLoginPath(startDir));
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    s.userCode = lines.value(0).trimmed();
    const QString secret = lines.value(1).trimmed();
    s.saved = !s.userCode.isEmpty() && !secret.isEmpty();
    if (s.saved)
        s.scrambledPassword = util::decode1256(QByteArray::fromHex(secret.toLatin1()));
    return s;
}

bool writeSavedLogin(const QString& startDir, const QString& userCode, const QString& scrambledPassword, bool save)
{
    // Not saved: an empty first line and a single space.
    const QString text = save && !scrambledPassword.isEmpty()
        ? userCode + QStringLiteral("\r\n") + QString::fromLatin1(util::encode1256(scrambledPassword).bytes.toHex()) + QStringLiteral("\r\n")
        : QStringLiteral("\r\n \r\n");
    return util::writeFileAtomically(savedLoginPath(startDir), text.toUtf8(), nullptr, util::FileAccess::OwnerOnly);
}

LoginResult login(Session& session, const QString& userCode, const LoginPassword& password, bool savePassword, Prompt& prompt)
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
    if (result.programUserCodes.isEmpty()) {
        result.outcome = LoginOutcome::NoUsers;
        return result;
    }
    const Authenticated user = authenticate(session, userCode, password, Wording::Login, prompt);
    if (user.outcome != LoginOutcome::LoggedIn) {
        result.outcome = user.outcome;
        return result;
    }
    // Only now, for a user whose password was right, may the version be registered.
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
    writeSavedLogin(session.startDir(), QString::number(user.code), user.storedPassword, savePassword);
    LoadUserRights(session, user.code);
    result.outcome = LoginOutcome::LoggedIn;
    return result;
}

bool logInAs(Session& session, const QString& userCode, const QString& password, Prompt& prompt)
{
    if (!session.common().isOpen()) {
        prompt.info(QStringLiteral("  اشکال در برقراري ارتباط  با بانک اطلاعاتي") + session.commonDbName());
        return false;
    }
    const Authenticated user = authenticate(session, userCode, password, Wording::Login, prompt);
    return user.outcome == LoginOutcome::LoggedIn && LoadUserRights(session, user.code);
}

bool LoadUserRights(Session& session, int userCode)
{
    QSqlDatabase db = session.common();
    CurrentUser u;
    u.code = userCode;
    // No record at all is as incomplete as an empty one.
    const std::optional<FamilyUser> person = readFamilyUser(session, userCode);
    if (person) {
        u.name = person->name;
        u.lastName = person->lastName;
        u.familyBackground = person->background;
    }
    u.recordIncomplete = !person || personalRecordIncomplete(*person);
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

bool changeUser(Session& session, const QString& userCode, const QString& password, Prompt& prompt)
{
    const Authenticated user = authenticate(session, userCode, password, Wording::Lock, prompt);
    return user.outcome == LoginOutcome::LoggedIn && LoadUserRights(session, user.code);
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
    return storePassword(session, code, newPassword, repeated, prompt);
}

QString incompleteRecordText() { return QStringLiteral("مشخصات فردي شما کامل نيست"); }

bool offerRecordCompletion(Session& session, Prompt& prompt)
{
    return session.LoggedIn() && session.user().recordIncomplete
        && prompt.ask(incompleteRecordText() + QStringLiteral(". آيا مايل به تکميل آن هستيد؟"));
}

bool setUserPassword(Session& session, int userCode, const QString& newPassword, const QString& repeated, Prompt& prompt)
{
    if (!mayChangeUserPassword(session, userCode, prompt))
        return false;
    return storePassword(session, userCode, newPassword, repeated, prompt);
}

bool canWriteDeposits(const Session& session)
{
    const int level = session.user().sel[1];
    return level == 0 || level == 2;
}

bool refusedMenu(Session& session, int menuId, Prompt& prompt)
{
    const Access access = userAccess(session, menuId);
    if (!access.refused())
        return false;
    prompt.info(access.error.isEmpty() ? menuRefusalText() : access.error);
    return true;
}

} // namespace orvak::startup
