#include "core/demo/DemoInstallation.h"

#include "core/db/Db.h"
#include "core/db/BulkInserter.h"

#include <QScopeGuard>
#include "core/demo/DemoSteps.h"
#include "core/startup/ServerSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace orvak::demo {

using util::JalaliDate;

QStringList columns(std::initializer_list<const char*> names)
{
    QStringList list;
    list.reserve(qsizetype(names.size()));
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

DemoContext::DemoContext(const DemoOptions& o, startup::Prompt& p)
    : options(o)
    , prompt(p)
    , rng(o.seed)
{
}

bool DemoContext::fail(const QString& why)
{
    summary.message = why;
    return false;
}

bool DemoContext::exec(QSqlDatabase db, const QString& sql, const QVariantMap& binds)
{
    QString why;
    if (!db::execSql(db, sql, binds, &why))
        return fail(why + QStringLiteral("\n") + sql);
    return true;
}

bool DemoContext::insert(db::BulkInserter& rows)
{
    return rows.insert() || fail(rows.error());
}

bool DemoContext::inTransaction(QSqlDatabase db, const std::function<bool()>& body)
{
    const db::Dialect& dialect = session->dialect();
    if (!dialect.begin(db))
        return fail(QStringLiteral("شروع تراکنش ممکن نيست"));
    if (!body()) {
        dialect.rollback(db);
        return false;
    }
    if (!dialect.commit(db)) {
        fail(db.lastError().text());
        dialect.rollback(db);
        return false;
    }
    return true;
}

int DemoContext::workingDay(Rng& r, int from, int to) const
{
    for (int tries = 0; tries < 8; ++tries) {
        const int d = r.between(from, std::max(from, to));
        if (cal.days[d].dayOfWeek() != Qt::Friday)
            return d;
    }
    return from;
}

namespace {

// From the given number of months back to some way past today, so that due dates
// and answers ahead of today have a day to fall on.
Calendar makeCalendar(const QDate& today, int months)
{
    Calendar c;
    const QDate first = today.addDays(-months * 30);
    for (QDate d = first; d <= today.addDays(200); d = d.addDays(1)) {
        c.days << d;
        const JalaliDate j = util::toJalali(d);
        c.jalali << j;
        c.texts << j.toText();
    }
    return c;
}

// A local server in the start folder with the common and the section's deposits
// databases, connected as the program connects to it.
bool setUp(DemoContext& ctx)
{
    QDir().mkpath(ctx.options.folder);
    const QString start = QDir(ctx.options.folder).absolutePath();
    if (QFileInfo::exists(QDir(start).filePath(QStringLiteral("SERVER.INI"))) || QFileInfo::exists(QDir(start).filePath(QStringLiteral("DATA"))))
        return ctx.fail(QStringLiteral("پوشه %1 از قبل يک نصب دارد؛ پوشه خالي ديگري انتخاب کنيد").arg(QDir::toNativeSeparators(start)));
    const startup::SiteConfig site{DemoInstallationNumber, QStringLiteral("اداره کل راه و شهرسازي استان کهگيلويه و بويراحمد")};
    QString why;
    if (!startup::writeSiteConfig(start, site, &why))
        return ctx.fail(why);
    ctx.session = std::make_unique<startup::Session>(start, site);
    startup::CollectingPrompt quiet(true);
    quiet.texts << QString::fromLatin1(DemoOrvakPassword);
    startup::InitialSetupRequest request;
    request.serverName = QStringLiteral("LOCAL:DATA");
    request.adminUser = QStringLiteral("orvak");
    request.adminPassword = QString::fromLatin1(DemoOrvakPassword);
    if (!startup::initialSetup(*ctx.session, request, quiet).ok
        || !startup::workstationSetup(*ctx.session, request.serverName, QString::fromLatin1(DemoOrvakPassword), 2, quiet))
        return ctx.fail(quiet.infos.join(QLatin1Char('\n')));

    const JalaliDate today = ctx.cal.jalali[ctx.todayIndex];
    for (int y = ctx.cal.jalali[ctx.windowStart].year; y <= today.year; ++y)
        ctx.years << y;
    if (!ctx.session->OpenSection(today.year, QStringLiteral("0"), quiet))
        return ctx.fail(quiet.infos.join(QLatin1Char('\n')));
    if (!addAccountingDatabases(ctx, quiet))
        return false;
    ctx.summary.databases = ctx.session->server()->databaseNames();
    return true;
}

// A demo being built is nobody's data yet: its rows need not be on the disk at each
// commit (a build cut short is made again in an empty folder), only at the end.
void syncEveryCommit(DemoContext& ctx, bool on)
{
    for (const QString& name : ctx.session->server()->databaseNames()) {
        QSqlDatabase db = ctx.session->server()->database(name);
        if (!db.isOpen())
            continue;
        db::execSql(db, on ? QStringLiteral("PRAGMA synchronous=FULL") : QStringLiteral("PRAGMA synchronous=OFF"));
        // One commit with the disk's sync puts every page of the file on it.
        if (on)
            db::execSql(db, QStringLiteral("PRAGMA user_version = 0"));
    }
}

// Every step draws from the one generator: the order below is part of what a seed means.
bool build(DemoContext& ctx)
{
    ctx.prompt.progress(QStringLiteral("راه اندازي سرور و بانک هاي اطلاعاتي"), 1, 7);
    if (!setUp(ctx))
        return false;
    syncEveryCommit(ctx, false);
    const auto synced = qScopeGuard([&] { syncEveryCommit(ctx, true); });
    ctx.prompt.progress(QStringLiteral("کاربران و اطلاعات پايه"), 2, 7);
    if (!addUsers(ctx) || !addBaseData(ctx) || !addLetters(ctx))
        return false;
    ctx.prompt.progress(QStringLiteral("سپرده ها"), 3, 7);
    planDeposits(ctx);
    planVouchers(ctx);
    if (!addDeposits(ctx) || !addVouchers(ctx))
        return false;
    ctx.prompt.progress(QStringLiteral("تضمينات"), 5, 7);
    return addGuarantees(ctx) && addStatements(ctx) && addSettings(ctx) && addContractLetters(ctx) && addImportSamples(ctx);
}

} // namespace

QString demoOptionsProblem(const DemoOptions& options)
{
    if (options.folder.trimmed().isEmpty())
        return QStringLiteral("پوشه نصب نمايشي مشخص نشده است");
    if (options.scale < DemoMinScale || options.scale > DemoMaxScale)
        return QStringLiteral("مقياس بايد از %1 تا %2 باشد").arg(DemoMinScale).arg(DemoMaxScale);
    if (!options.today.isEmpty()) {
        // Its accounting years, eighteen months back, must be years the program keeps.
        const std::optional<JalaliDate> j = util::parseJalali(options.today);
        if (!j || j->year < 1302 || j->year > 1600)
            return QStringLiteral("تاريخ نادرست است: %1 (تاريخ شمسي YYYY/MM/DD از سال 1302 تا 1600)").arg(options.today);
    }
    return {};
}

DemoSummary buildDemoInstallation(const DemoOptions& options, startup::Prompt& prompt)
{
    DemoContext ctx(options, prompt);
    ctx.summary.message = demoOptionsProblem(options);
    if (!ctx.summary.message.isEmpty())
        return ctx.summary;
    const QDate today = options.today.isEmpty() ? QDate::currentDate() : util::toGregorian(*util::parseJalali(options.today));
    ctx.cal = makeCalendar(today, 18);
    ctx.todayIndex = ctx.cal.indexOf(today);
    ctx.windowStart = 0;
    if (!build(ctx))
        return ctx.summary;
    ctx.prompt.progress(QStringLiteral("پايان"), 7, 7);
    // The treasury files' default folder, under the program's folder.
    QDir(options.folder).mkpath(QStringLiteral("Send"));
    ctx.summary.ok = true;
    return ctx.summary;
}

} // namespace orvak::demo
