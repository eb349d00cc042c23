// Any declared list, as its screen shows it: tab-separated on standard output, or
// printed to PDF by the report renderer.
#include "cli/Cli.h"
#include "cli/CliSession.h"
#include "core/util/AtomicFile.h"

#include "core/CoreLists.h"
#include "core/letters/LetterFooter.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"
#include "core/io/TsvStream.h"

#include <QDir>
#include <QFileInfo>

namespace orvak::cli {

namespace {

struct ListCall {
    QString name;
    QVariantMap values;   // by the parameters' declared names
    QString pdf;
};

// Reads the call and checks it against the list's declaration; the usage message
// when something is wrong, before anything is touched.
std::optional<ListCall> readCall(const Options& o, Context& ctx, int* rc)
{
    *rc = ExitUsage;
    ListCall call;
    const QStringList& names = o.positional;
    QList<QPair<QString, QString>> given;
    call.pdf = o.value(QStringLiteral("pdf"));
    for (const QString& value : o.values(QStringLiteral("param"))) {
        const qsizetype eq = value.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            ctx.usage(QStringLiteral("پارامتر بايد به صورت نام=مقدار داده شود: %1").arg(value));
            return std::nullopt;
        }
        given << qMakePair(value.left(eq), value.mid(eq + 1));
    }
    if (names.size() > 1) {
        ctx.usage(QStringLiteral("فقط نام يک فهرست داده شود"));
        return std::nullopt;
    }
    call.name = names.value(0);
    if (call.name.isEmpty()) {
        if (!given.isEmpty() || !call.pdf.isEmpty()) {
            ctx.usage(QStringLiteral("نام فهرست داده نشده است"));
            return std::nullopt;
        }
        return call;
    }
    const std::optional<io::ListDefinition> list = orvak::coreLists().find(call.name);
    if (!list) {
        ctx.usage(QStringLiteral("فهرستي به نام %1 تعريف نشده است").arg(call.name));
        return std::nullopt;
    }
    for (const auto& [key, text] : given) {
        const io::ListParameter* p = list->parameter(key);
        if (!p) {
            ctx.usage(QStringLiteral("فهرست %1 پارامتري به نام %2 ندارد").arg(call.name, key));
            return std::nullopt;
        }
        // Which of two values was meant is not for the program to guess.
        if (call.values.contains(p->name)) {
            ctx.usage(QStringLiteral("پارامتر %1 دو بار داده شده است").arg(key));
            return std::nullopt;
        }
        const std::optional<QVariant> value = io::parameterValue(*p, text);
        if (!value) {
            ctx.usage(QStringLiteral("مقدار پارامتر %1 درست نيست: %2").arg(key, text));
            return std::nullopt;
        }
        call.values.insert(p->name, *value);
    }
    *rc = ExitOk;
    return call;
}

int printList(const ListCall& call, Context& ctx)
{
    io::ListDefinition list = *orvak::coreLists().find(call.name);
    const bool inSection = list.database != io::ListDatabase::Common;
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (inSection && !openCurrentSection(session, prompt))
            return ExitFailed;
        if (list.database == io::ListDatabase::Accounting && !session.AccountingDbOpen())
            return ctx.fail(QStringLiteral("بانک اطلاعاتي حسابداري سال جاري باز نيست"));
        if (call.pdf.isEmpty())
            return printStreamedList(ctx, session, list, call.values, QStringLiteral("فهرست ") + call.name);
        io::BoundList bound(session, std::move(list));
        io::RowSet rows;
        QString why;
        if (!bound.fetchAll(rows, call.values, &why))
            return ctx.fail(QStringLiteral("اشکال در خواندن فهرست %1: %2").arg(call.name, why.simplified()));
        const QString path = QDir(ctx.startDir).absoluteFilePath(call.pdf);
        if (const QString refused = util::outputRefusal(path, "%PDF-"); !refused.isEmpty())
            return ctx.fail(refused);
        io::ReportModel report = io::reportOfTable(io::exportTableOf(bound.definition().title, bound.columns(), rows));
        report.signatures = letters::listSignatures(session, bound.definition());
        if (!io::writeReportPdf(report, path, &why))
            return ctx.fail(why);
        ctx.out << QDir::toNativeSeparators(path) << Qt::endl;
        return ExitOk;
    });
}

} // namespace

int printStreamedList(Context& ctx, startup::Session& session, const io::ListDefinition& list, const QVariantMap& values,
                      const QString& what, bool totals)
{
    io::TsvWriter out(ctx.out);
    QString why;
    const std::optional<io::StreamedList> written = io::streamList(out, session, list, values, &why);
    if (!written)
        return ctx.fail(QStringLiteral("اشکال در خواندن %1: %2").arg(what, why.simplified()));
    if (totals)
        io::writeTotals(out, *written);
    return ExitOk;
}

void addListCommands(QList<Command>& commands)
{
    commands << Command{
        QStringLiteral("list"), QStringLiteral("[NAME]"),
        QStringLiteral("prints a declared list as TSV (column titles, rows, then the totals), or as a PDF report; without NAME the lists' names"), 0, 1,
        [](const Options& o, Context& ctx) {
            int rc = ExitOk;
            const std::optional<ListCall> call = readCall(o, ctx, &rc);
            if (!call)
                return rc;
            if (call->name.isEmpty()) {
                for (const QString& name : orvak::coreLists().names())
                    ctx.out << name << Qt::endl;
                return ExitOk;
            }
            return printList(*call, ctx);
        },
        {OptionRule::text(QStringLiteral("param"), QStringLiteral("NAME=VALUE")).many(), OptionRule::path(QStringLiteral("pdf"), QStringLiteral("FILE"))}};
}

} // namespace orvak::cli
