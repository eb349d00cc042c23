#include "ScreenCheckMode.h"

#include "ui/AppScreens.h"
#include "ui/framework/ScreenCheck.h"
#include "ui/startup/TMainForm.h"
#include "core/startup/Login.h"
#include "core/startup/Program.h"
#include "core/startup/Session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace orvak;

namespace {

void printLine(FILE* to, const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

// Nobody answers: messages go to standard error, questions are answered no, so that
// the check changes nothing (it does not create a missing database, say).
class StderrPrompt : public startup::Prompt {
public:
    void info(const QString& text) override { printLine(stderr, text); }
    bool ask(const QString& text) override
    {
        printLine(stderr, text + QStringLiteral(" -> no"));
        return false;
    }
};

// The login writes the saved-login file; the check must leave the workstation's
// saved login as it found it.
class SavedLoginKeeper {
public:
    explicit SavedLoginKeeper(const QString& startDir)
        : path_(QDir(startDir).filePath(startup::ProgramKey() + QStringLiteral(".psw")))
    {
        QFile f(path_);
        if (f.open(QIODevice::ReadOnly))
            bytes_ = f.readAll();
    }
    ~SavedLoginKeeper()
    {
        if (!bytes_) {
            QFile::remove(path_);
            return;
        }
        QSaveFile f(path_);
        if (f.open(QIODevice::WriteOnly) && f.write(*bytes_) == bytes_->size())
            f.commit();
    }

private:
    QString path_;
    std::optional<QByteArray> bytes_;
};

} // namespace

bool wantsScreenCheck(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check-screens") == 0)
            return true;
    }
    return false;
}

int runScreenCheck()
{
    QCommandLineParser parser;
    const QCommandLineOption check(QStringLiteral("check-screens"), QStringLiteral("Open every registered screen off-screen and report."));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Log in as this user code."), QStringLiteral("CODE"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The user's password."), QStringLiteral("P"));
    const QCommandLineOption pictures(QStringLiteral("pictures"), QStringLiteral("Keep a picture of every opened screen in this folder."), QStringLiteral("DIR"));
    parser.addOptions({check, user, password, pictures});
    if (!parser.parse(QCoreApplication::arguments())) {
        printLine(stderr, parser.errorText());
        return 2;
    }
    if (parser.isSet(password) && !parser.isSet(user)) {
        printLine(stderr, QStringLiteral("--password needs --user"));
        return 2;
    }

    const QString startDir = QDir::currentPath();
    QString error;
    const std::optional<startup::SiteConfig> site = startup::readSiteConfig(startDir, &error);
    if (!site) {
        printLine(stderr, error);
        return 1;
    }
    startup::Session session(startDir, *site);
    StderrPrompt prompt;
    if (session.ReadConnectionFile(&error) != startup::ConnectionFileState::Ready) {
        printLine(stderr, QStringLiteral("no usable SERVER.INI in %1 %2").arg(startDir, error));
        return 1;
    }
    if (!session.ConnectServer(prompt) || !session.common().isOpen()) {
        printLine(stderr, QStringLiteral("could not connect to the server"));
        return 1;
    }
    if (parser.isSet(user)) {
        const SavedLoginKeeper keep(startDir);
        const startup::LoginResult result = startup::login(session, parser.value(user), parser.value(password), false, prompt);
        if (result.outcome != startup::LoginOutcome::LoggedIn) {
            printLine(stderr, QStringLiteral("login failed for user %1").arg(parser.value(user)));
            return 1;
        }
    }
    ui::startup::TMainForm::openStartSection(session, prompt);

    const QList<ui::framework::ScreenCheckLine> lines = ui::framework::checkScreens(ui::appScreens(), session, parser.value(pictures));
    printLine(stdout, ui::framework::screenCheckHeader());
    int failed = 0;
    for (const ui::framework::ScreenCheckLine& line : lines) {
        printLine(stdout, ui::framework::screenCheckRow(line));
        failed += line.failed ? 1 : 0;
    }
    std::fflush(stdout);
    ui::framework::closeAllScreens();
    session.CloseConnections();
    if (failed > 0)
        printLine(stderr, QStringLiteral("%1 of %2 screens failed").arg(failed).arg(lines.size()));
    return failed > 0 ? 1 : 0;
}
