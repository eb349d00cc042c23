// Set-up, databases, structure update, section and year, backup and restore.
#include "cli/Cli.h"
#include "cli/CliSession.h"
#include "cli/TerminalPrompt.h"

#include "core/db/AuditTrail.h"
#include "core/demo/DemoInstallation.h"
#include "core/io/TsvStream.h"
#include "core/startup/Backup.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"
#include "core/startup/Versions.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace orvak::cli {

using namespace startup;

namespace {

// The site file of the start folder; init may write it from its options.
std::optional<SiteConfig> loadSite(Context& ctx, const Options& o, bool mayWrite)
{
    QString why;
    if (mayWrite && o.has(QStringLiteral("installation")) && !QFileInfo::exists(QDir(ctx.startDir).filePath(QString::fromLatin1(SiteFileName)))) {
        SiteConfig site;
        site.installationNumber = int(o.number(QStringLiteral("installation"), 0));
        site.organisationName = o.value(QStringLiteral("organisation"), QStringLiteral("سازمان"));
        if (!writeSiteConfig(ctx.startDir, site, &why)) {
            ctx.fail(why);
            return std::nullopt;
        }
    }
    std::optional<SiteConfig> site = readSiteConfig(ctx.startDir, &why);
    if (!site)
        ctx.fail(why);
    return site;
}

// A session connected through SERVER.INI, as the desktop program connects.
bool connectSession(Context& ctx, Session& session, Prompt& prompt)
{
    QString why;
    switch (session.ReadConnectionFile(&why)) {
    case ConnectionFileState::Unreadable:
        ctx.fail(why);
        return false;
    case ConnectionFileState::NoServer:
        ctx.fail(QStringLiteral("سرور در فايل SERVER.INI مشخص نشده است؛ ابتدا orvakctl connect را اجرا کنيد"));
        return false;
    case ConnectionFileState::Ready:
        break;
    }
    if (!session.ConnectServer(prompt))
        return false;
    if (!session.common().isOpen()) {
        ctx.fail(QStringLiteral("  اشکال در برقراري ارتباط  با بانک اطلاعاتي") + session.commonDbName());
        return false;
    }
    return true;
}

QString serverNameFrom(const Options& o, const QString& startDir)
{
    if (o.has(QStringLiteral("data")))
        return localServerNameFor(o.value(QStringLiteral("data")), startDir);
    return o.value(QStringLiteral("server"));
}

DatabaseKind kindOf(const QString& name)
{
    if (name.startsWith(QStringLiteral("ORVAKSEP"), Qt::CaseInsensitive))
        return DatabaseKind::Deposits;
    if (name.startsWith(QStringLiteral("ORVAKC"), Qt::CaseInsensitive) && name.contains(QLatin1Char('Y'), Qt::CaseInsensitive))
        return DatabaseKind::Accounting;
    return DatabaseKind::Common;
}

int runUpdate(Context& ctx, Session& session, TerminalPrompt& prompt, const QStringList& databases)
{
    bool failed = false;
    for (const QString& name : databases) {
        UpdateReport report;
        if (kindOf(name) == DatabaseKind::Common) {
            report = updateCommonDatabase(*session.server(), name, prompt);
        } else {
            StructureUpdate update(*session.server(), prompt);
            report = update.UpdateDatabase(name, schemaFor(kindOf(name)));
        }
        ctx.out << report.summary() << (report.changedData() ? "" : " (no change)") << Qt::endl;
        for (const QString& e : report.errors)
            ctx.err << e << Qt::endl;
        failed = failed || !report.errors.isEmpty();
    }
    if (failed) {
        ctx.err << QStringLiteral("بروزآوري با اشکال به پايان رسيد.موارد اشکال را براي ما ارسال نمائيد") << Qt::endl;
        return ExitFailed;
    }
    ctx.out << QStringLiteral("بروز آوري با موفقيت انجام شد") << Qt::endl;
    return ExitOk;
}

} // namespace

// Runs work on a session connected through SERVER.INI; the exit code of the work,
// or of whatever failed before it.
int withSession(Context& ctx, const Options& o, bool assumeYes, const std::function<int(Session&, TerminalPrompt&)>& work)
{
    const std::optional<SiteConfig> site = loadSite(ctx, o, false);
    if (!site)
        return ExitFailed;
    Session session(ctx.startDir, *site);
    TerminalPrompt prompt(ctx.err, assumeYes);
    if (!connectSession(ctx, session, prompt))
        return ExitFailed;
    return work(session, prompt);
}

QList<OptionRule> userOptions()
{
    return {OptionRule::text(QStringLiteral("user"), QStringLiteral("CODE")), OptionRule::text(QStringLiteral("password"), QStringLiteral("P"))};
}

int withWriter(Context& ctx, const Options& o, const QString& command, bool assumeYes,
               const std::function<int(Session&, TerminalPrompt&, bool administrator)>& work)
{
    const bool asUser = o.has(QStringLiteral("user"));
    if (asUser != o.has(QStringLiteral("password")))
        return ctx.usage(QStringLiteral("orvakctl: %1 takes --user CODE and --password P together").arg(command));
    return withSession(ctx, o, assumeYes, [&](Session& session, TerminalPrompt& prompt) {
        if (asUser && !logInAs(session, o.value(QStringLiteral("user")), o.value(QStringLiteral("password")), prompt))
            return ExitFailed;
        return work(session, prompt, !asUser);
    });
}

// The section's deposits database for the current year, opened as the main window does.
bool openCurrentSection(Session& session, Prompt& prompt, const QString& section)
{
    return session.OpenSection(session.clock().year(), section, prompt);
}

void addServerCommands(QList<Command>& commands)
{
    commands << Command{
        QStringLiteral("init"),
        QString(),
        QStringLiteral("initial set-up of a server: the orvak login (password P), the common database and the first user; then sets up this workstation"),
        0, 0,
        [](const Options& o, Context& ctx) {
            if (!o.has(QStringLiteral("password")) || (!o.has(QStringLiteral("data")) && !o.has(QStringLiteral("server"))))
                return ctx.usage(QStringLiteral("orvakctl: init needs --data DIR (or --server NAME) and --password P"));
            const std::optional<SiteConfig> site = loadSite(ctx, o, true);
            if (!site)
                return ExitFailed;
            Session session(ctx.startDir, *site);
            TerminalPrompt prompt(ctx.err, true);
            prompt.answersForText << o.value(QStringLiteral("password"));
            InitialSetupRequest request;
            request.serverName = serverNameFrom(o, ctx.startDir);
            request.adminUser = o.value(QStringLiteral("admin"), o.has(QStringLiteral("data")) ? QStringLiteral("orvak") : QStringLiteral("sa"));
            request.adminPassword = o.value(QStringLiteral("admin-password"), o.value(QStringLiteral("password")));
            request.dataFolder = o.value(QStringLiteral("data-folder"));
            const InitialSetupResult result = initialSetup(session, request, prompt);
            if (!result.ok)
                return ExitFailed;
            if (!workstationSetup(session, request.serverName, o.value(QStringLiteral("password")), request.sqlVersionIndex, prompt))
                return ExitFailed;
            if (result.createdCommonDatabase)
                ctx.out << result.userCode << ' ' << result.initialPassword << Qt::endl;
            else
                ctx.out << QStringLiteral("بانک اطلاعاتي ORVAK از قبل وجود داشت؛ کاربر جديدي ساخته نشد") << Qt::endl;
            return ExitOk;
        },
        {OptionRule::path(QStringLiteral("data"), QStringLiteral("DIR")), OptionRule::text(QStringLiteral("server"), QStringLiteral("NAME")),
         OptionRule::text(QStringLiteral("admin"), QStringLiteral("USER")), OptionRule::text(QStringLiteral("admin-password"), QStringLiteral("P")),
         OptionRule::path(QStringLiteral("data-folder"), QStringLiteral("PATH")), OptionRule::text(QStringLiteral("password"), QStringLiteral("P")).needed(),
         OptionRule::number(QStringLiteral("installation"), QStringLiteral("N"), 1, 99999),
         OptionRule::text(QStringLiteral("organisation"), QStringLiteral("NAME"))}};
    commands << Command{
        QStringLiteral("connect"), QString(),
        QStringLiteral("sets up this workstation: checks the orvak password, writes SERVER.INI and the server row"), 0, 0,
        [](const Options& o, Context& ctx) {
            if (!o.has(QStringLiteral("password")) || (!o.has(QStringLiteral("data")) && !o.has(QStringLiteral("server"))))
                return ctx.usage(QStringLiteral("orvakctl: connect needs --data DIR (or --server NAME) and --password P"));
            const std::optional<SiteConfig> site = loadSite(ctx, o, false);
            if (!site)
                return ExitFailed;
            Session session(ctx.startDir, *site);
            TerminalPrompt prompt(ctx.err, true);
            const int sqlver = int(o.number(QStringLiteral("sqlver"), 2));
            return workstationSetup(session, serverNameFrom(o, ctx.startDir), o.value(QStringLiteral("password")), sqlver, prompt)
                ? ExitOk
                : ExitFailed;
        },
        {OptionRule::path(QStringLiteral("data"), QStringLiteral("DIR")), OptionRule::text(QStringLiteral("server"), QStringLiteral("NAME")),
         OptionRule::text(QStringLiteral("password"), QStringLiteral("P")).needed(), OptionRule::number(QStringLiteral("sqlver"), QStringLiteral("N"), 0, 99)}};
    commands << Command{QStringLiteral("databases"), QString(), QStringLiteral("lists the databases of the server that SERVER.INI names"), 0, 0,
                        [](const Options&, Context& ctx) {
                            return withSession(ctx, Options{}, false, [&](Session& session, TerminalPrompt&) {
                                for (const QString& name : session.server()->databaseNames())
                                    ctx.out << name << Qt::endl;
                                return ExitOk;
                            });
                        }};
    commands << Command{
        QStringLiteral("check"), QString(),
        QStringLiteral("reads every page and index of each database of the server (or only NAME) and prints each with \"سالم\" or \"آسيب ديده\"; "
                       "what was found goes to the error output; exit 1 when one is damaged"),
        0, 0,
        [](const Options& o, Context& ctx) {
            return withSession(ctx, Options{}, false, [&](Session& session, TerminalPrompt&) {
                QStringList databases = session.server()->databaseNames();
                if (o.has(QStringLiteral("db"))) {
                    if (!session.server()->databaseExists(o.value(QStringLiteral("db"))))
                        return ctx.fail(QStringLiteral("بانک اطلاعاتي %1 يافت نشد").arg(o.value(QStringLiteral("db"))));
                    databases = QStringList{o.value(QStringLiteral("db"))};
                }
                bool allSound = true;
                for (const QString& name : databases) {
                    QString findings;
                    const bool sound = session.server()->checkDatabase(name, &findings, [&](int seconds) {
                        ctx.err << QStringLiteral("%1: بررسي ادامه دارد (%2 ثانيه)").arg(name).arg(seconds) << Qt::endl;
                    });
                    ctx.out << name << '\t' << (sound ? QStringLiteral("سالم") : QStringLiteral("آسيب ديده")) << Qt::endl;
                    if (!sound)
                        ctx.err << findings << Qt::endl;
                    allSound = allSound && sound;
                }
                return allSound ? ExitOk : ExitFailed;
            });
        },
        {OptionRule::text(QStringLiteral("db"), QStringLiteral("NAME"))}};
    commands << Command{
        QStringLiteral("update"), QString(),
        QStringLiteral("structure update: the common database, then each section's deposits database (or only NAME)"), 0, 0,
        [](const Options& o, Context& ctx) {
            return withSession(ctx, o, false, [&](Session& session, TerminalPrompt& prompt) {
                QStringList databases;
                if (o.has(QStringLiteral("db"))) {
                    if (!session.server()->databaseExists(o.value(QStringLiteral("db"))))
                        return ctx.fail(QStringLiteral("بانک اطلاعاتي %1 يافت نشد").arg(o.value(QStringLiteral("db"))));
                    databases << o.value(QStringLiteral("db"));
                } else {
                    databases << session.commonDbName();
                    const QStringList existing = session.server()->databaseNames();
                    for (const Section& s : allSections()) {
                        const QString name = Session::depositDbNameFor(session.site().installationNumber, s.code, existing);
                        if (session.server()->databaseExists(name) && !databases.contains(name, Qt::CaseInsensitive))
                            databases << name;
                    }
                }
                session.server()->closeAll();
                return runUpdate(ctx, session, prompt, databases);
            });
        },
        {OptionRule::text(QStringLiteral("db"), QStringLiteral("NAME"))}};
    commands << Command{
        QStringLiteral("section"), QStringLiteral("<0-3>"),
        QStringLiteral("opens a financial section (creates its deposits database on yes) and prints its database"), 1, 1,
        [](const Options& o, Context& ctx) {
            const QString code = o.positional.value(0);
            return withSession(ctx, o, o.has(QStringLiteral("yes")), [&](Session& session, TerminalPrompt& prompt) {
                if (!openCurrentSection(session, prompt, code))
                    return ExitFailed;
                ctx.out << session.depositDbName() << Qt::endl;
                return ExitOk;
            });
        },
        {OptionRule::flag(QStringLiteral("yes"))},
        {OptionRule::section(QStringLiteral("section"))}};
    commands << Command{
        QStringLiteral("year"), QStringLiteral("<YYYY>"),
        QStringLiteral("chooses the fiscal year of the accounting link (SelYCSep.INI and the stored year)"), 1, 1,
        [](const Options& o, Context& ctx) {
            const std::optional<qint64> year = util::parseWholeNumber(o.positional.value(0));
            if (!year || *year < 1381 || *year > util::CurrentJalaliYear())
                return ctx.usage(QStringLiteral("orvakctl: year takes a year from 1381 to %1").arg(util::CurrentJalaliYear()));
            return withSession(ctx, o, o.has(QStringLiteral("yes")), [&](Session& session, TerminalPrompt& prompt) {
                if (!openCurrentSection(session, prompt) || !session.chooseFiscalYear(int(*year), prompt))
                    return ExitFailed;
                ctx.out << session.accountingDbName() << Qt::endl;
                return ExitOk;
            });
        },
        {OptionRule::flag(QStringLiteral("yes"))},
        {OptionRule::year(QStringLiteral("year"))}};
    commands << Command{
        QStringLiteral("backup"), QString(),
        QStringLiteral("backs a database up into FILE (--compress: a zip archive) and records it in the history; --all-sections: the common "
                       "database and every section's deposits and accounting databases of the year (--year, else this year) into the "
                       "folder --to, one line each (with --user: as that user, with his rights)"),
        0, 0,
        [](const Options& o, Context& ctx) {
            const bool allSections = o.has(QStringLiteral("all-sections"));
            if (allSections == o.has(QStringLiteral("db")) || (!allSections && o.has(QStringLiteral("year"))))
                return ctx.usage(QStringLiteral("orvakctl: backup takes either --db NAME or --all-sections [--year YYYY]"));
            const bool compress = o.has(QStringLiteral("compress"));
            return withWriter(ctx, o, QStringLiteral("backup"), true, [&](Session& session, TerminalPrompt& prompt, bool) {
                BackupService service(session, prompt);
                if (allSections) {
                    const QString folder = QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("to")));
                    const int year = int(o.number(QStringLiteral("year"), session.clock().year()));
                    const QList<SectionBackup> report = service.backupYearInAllSections(year, folder, compress);
                    for (const SectionBackup& line : report)
                        ctx.out << line.text() << Qt::endl;
                    return wentWell(report) ? ExitOk : ExitFailed;
                }
                if (!session.server()->databaseExists(o.value(QStringLiteral("db"))))
                    return ctx.fail(QStringLiteral("بانک اطلاعاتي %1 يافت نشد").arg(o.value(QStringLiteral("db"))));
                const QFileInfo target(QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("to"))));
                if (!service.backup(o.value(QStringLiteral("db")), target.absolutePath(), target.fileName(), compress))
                    return ExitFailed;
                ctx.out << service.status() << Qt::endl;
                return ExitOk;
            });
        },
        {OptionRule::text(QStringLiteral("db"), QStringLiteral("NAME")), OptionRule::path(QStringLiteral("to"), QStringLiteral("FILE|DIR")).needed(),
         OptionRule::flag(QStringLiteral("compress")), OptionRule::flag(QStringLiteral("all-sections")), OptionRule::year(QStringLiteral("year")),
         userOptions()[0], userOptions()[1]}};
    commands << Command{
        QStringLiteral("restore"), QString(),
        QStringLiteral("restores a database from a backup (or its zip archive) after the three questions (y each, or --yes); with --user as that user, who needs the "
                       "restore entry's special right or the manager flag"),
        0, 0,
        [](const Options& o, Context& ctx) {
            return withWriter(ctx, o, QStringLiteral("restore"), o.has(QStringLiteral("yes")), [&](Session& session, TerminalPrompt& prompt, bool) {
                const QFileInfo source(QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("from"))));
                if (!source.exists())
                    return ctx.fail(QStringLiteral("فايل پشتيبان يافت نشد: %1").arg(QDir::toNativeSeparators(source.absoluteFilePath())));
                BackupService service(session, prompt);
                return service.restore(o.value(QStringLiteral("db")), source.absolutePath(), source.fileName()) ? ExitOk : ExitFailed;
            });
        },
        {OptionRule::text(QStringLiteral("db"), QStringLiteral("NAME")).needed(), OptionRule::path(QStringLiteral("from"), QStringLiteral("FILE")).needed(),
         OptionRule::flag(QStringLiteral("yes")), userOptions()[0], userOptions()[1]}};
    commands << Command{
        QStringLiteral("accounting-year"), QStringLiteral("<YYYY>"),
        QStringLiteral("creates (or brings up to date) the accounting database of a year and section"), 1, 1,
        [](const Options& o, Context& ctx) {
            const std::optional<qint64> year = util::parseWholeNumber(o.positional.value(0));
            const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
            if (!year)
                return ctx.usage(QStringLiteral("orvakctl: accounting-year takes a year (YYYY) and --section 0..3"));
            return withSession(ctx, o, false, [&](Session& session, TerminalPrompt& prompt) {
                if (!createAccountingDatabase(session, int(*year), section, prompt))
                    return ExitFailed;
                ctx.out << Session::accountingDbNameFor(session.site().installationNumber, section, int(*year)) << Qt::endl;
                return ExitOk;
            });
        },
        {OptionRule::section(QStringLiteral("section"))},
        {OptionRule::year(QStringLiteral("year"))}};
    commands << Command{
        QStringLiteral("demo"), QString(),
        QStringLiteral("builds a complete demo installation in an empty folder (scale 100: about a million deposits)"), 0, 0,
        [](const Options& o, Context& ctx) {
            demo::DemoOptions options;
            options.folder = QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("data")));
            options.scale = int(o.number(QStringLiteral("scale"), 1));
            options.seed = quint64(o.number(QStringLiteral("seed"), 1403));
            options.today = o.value(QStringLiteral("today"));
            if (const QString problem = demo::demoOptionsProblem(options); !problem.isEmpty())
                return ctx.usage(QStringLiteral("orvakctl demo: ") + problem);
            TerminalPrompt prompt(ctx.err, true);
            const demo::DemoSummary summary = demo::buildDemoInstallation(options, prompt);
            if (!summary.ok)
                return ctx.fail(summary.message);
            ctx.out << "deposits " << summary.deposits << ", request rows " << summary.requestRows << ", refund rows " << summary.refundRows
                    << ", guarantees " << summary.guarantees << ", voucher rows " << summary.voucherRows << Qt::endl
                    << "user " << demo::DemoManagerCode << " password " << demo::DemoManagerPassword << Qt::endl;
            return ExitOk;
        },
        {OptionRule::path(QStringLiteral("data"), QStringLiteral("DIR")).needed(),
         OptionRule::number(QStringLiteral("scale"), QStringLiteral("N"), demo::DemoMinScale, demo::DemoMaxScale),
         OptionRule::number(QStringLiteral("seed"), QStringLiteral("N"), 0, std::numeric_limits<qint64>::max()), OptionRule::date(QStringLiteral("today"))}};
    commands << Command{QStringLiteral("history"), QString(), QStringLiteral("lists the backup and restore history"), 0, 0,
                        [](const Options&, Context& ctx) {
                            return withSession(ctx, Options{}, false, [&](Session& session, TerminalPrompt&) {
                                const auto history = backupHistory(session);
                                if (history.failed())
                                    return ctx.fail(history.error());
                                for (const BackupHistoryRow& h : *history) {
                                    ctx.out << h.id << '\t' << h.date << '\t' << h.time << '\t' << h.kindText() << '\t' << h.database << '\t'
                                            << joinBackupPath(h.folder, h.fileName) << '\t' << h.userCode << Qt::endl;
                                }
                                return ExitOk;
                            });
                        }};
    commands << Command{
        QStringLiteral("audit"), QString(),
        QStringLiteral("prints the change history (newest first) as TSV"), 0, 0,
        [](const Options& o, Context& ctx) {
            db::AuditFilter filter;
            filter.programId = ProgID;
            filter.table = o.value(QStringLiteral("table")).trimmed();
            filter.key = o.value(QStringLiteral("key")).trimmed();
            // Both are checked by their rules before this runs.
            if (o.has(QStringLiteral("user")))
                filter.userCode = int(o.number(QStringLiteral("user"), 0));
            filter.since = o.value(QStringLiteral("since"));
            return withSession(ctx, Options{}, false, [&](Session& session, TerminalPrompt&) {
                // Every database of the installation keeps the history of its rows.
                QList<QSqlDatabase> databases;
                for (const QString& name : session.server()->databaseNames()) {
                    QString why;
                    QSqlDatabase db = session.server()->database(name, &why);
                    if (!db.isOpen())
                        return ctx.fail(why);
                    databases << db;
                }
                const auto entries = db::readAudit(databases, filter);
                if (entries.failed())
                    return ctx.fail(entries.error());
                io::TsvWriter out(ctx.out);
                for (const QString& title : db::auditColumnTitles())
                    out.cell(title);
                out.endLine();
                for (const db::AuditEntry& e : *entries) {
                    out.cell(e.date).cell(e.time).cell(qint64(e.userCode)).cell(e.workstation).cell(e.database).cell(e.table).cell(e.key)
                        .cell(db::auditOperationText(e.operation)).cell(db::auditChangesText(e.changes));
                    out.endLine();
                }
                return ExitOk;
            });
        },
        {OptionRule::text(QStringLiteral("table"), QStringLiteral("T")), OptionRule::text(QStringLiteral("key"), QStringLiteral("K")),
         OptionRule::number(QStringLiteral("user"), QStringLiteral("U"), 0, std::numeric_limits<int>::max()), OptionRule::date(QStringLiteral("since"))}};
}

} // namespace orvak::cli
