// credit-notices: the treasury's credit notices (BESTANKARI) as their list shows
// them, their add / edit / delete through the register's service, and the two
// reports to PDF; footer: the resolved signatories of a report kind.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/CreditLetters.h"
#include "core/io/TsvStream.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/ReportFooter.h"
#include "core/util/AtomicFile.h"

#include <QDir>
#include <limits>

namespace orvak::cli {

namespace {

QString sectionOf(const Options& o) { return o.value(QStringLiteral("section"), QStringLiteral("0")); }

int listNotices(const Options& o, Context& ctx)
{
    QVariantMap values;
    if (o.has(QStringLiteral("number")))
        values.insert(QStringLiteral(":No"), deposits::noticeNumberPattern(o.value(QStringLiteral("number"))));
    if (o.has(QStringLiteral("date")))
        values.insert(QStringLiteral(":Date"), o.value(QStringLiteral("date")));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        return printStreamedList(ctx, session, deposits::creditLettersList(), values, QStringLiteral("اعلاميه هاي بستانکاري"));
    });
}

// The options given over the notice's fields.
void apply(const Options& o, deposits::CreditNotice& n)
{
    const auto text = [&o](const char* name, QString& field) {
        if (o.has(QString::fromLatin1(name)))
            field = o.value(QString::fromLatin1(name));
    };
    text("number", n.creditNo);
    text("date", n.creditDate);
    text("notice-letter-no", n.creditLetterNo);
    text("notice-letter-date", n.creditLetterDate);
    text("letter-no", n.letterNo);
    text("letter-date", n.letterDate);
    if (o.has(QStringLiteral("amount")))
        n.amount = o.number(QStringLiteral("amount"), 0);
    if (o.has(QStringLiteral("bank")))
        n.bank = int(o.number(QStringLiteral("bank"), 0));
}

int saveNotice(const Options& o, Context& ctx, bool insert)
{
    const int idx = insert ? int(o.number(QStringLiteral("idx"), 0)) : o.positional.value(0).toInt();
    const QString name = insert ? QStringLiteral("credit-notices add") : QStringLiteral("credit-notices edit");
    return withWriter(ctx, o, name, false, [&](startup::Session& session, TerminalPrompt& prompt, bool administrator) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        deposits::CreditNotices notices(session, administrator ? deposits::Writer::Administrator : deposits::Writer::User);
        deposits::CreditNotice n;
        if (!insert) {
            const auto read = notices.read(idx);
            if (!read)
                return ctx.fail(read.failed() ? read.error() : QStringLiteral("اعلاميه بستانکاري يافت نشد: %1").arg(idx));
            n = *read;
        }
        n.idx = idx;
        apply(o, n);
        const std::optional<int> saved = notices.save(n, insert, prompt);
        if (!saved)
            return ExitFailed;
        ctx.out << *saved << Qt::endl;
        return ExitOk;
    });
}

int deleteNotice(const Options& o, Context& ctx)
{
    const int idx = o.positional.value(0).toInt();
    return withWriter(ctx, o, QStringLiteral("credit-notices delete"), o.has(QStringLiteral("yes")),
                      [&](startup::Session& session, TerminalPrompt& prompt, bool administrator) {
                          if (!openCurrentSection(session, prompt, sectionOf(o)))
                              return ExitFailed;
                          const auto writer = administrator ? deposits::Writer::Administrator : deposits::Writer::User;
                          return deposits::CreditNotices(session, writer).remove(idx, prompt) ? ExitOk : ExitFailed;
                      });
}

int printNotices(const Options& o, Context& ctx)
{
    const QString path = QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("pdf")));
    const bool history = o.has(QStringLiteral("notice"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        if (const QString refused = util::outputRefusal(path, "%PDF-"); !refused.isEmpty())
            return ctx.fail(refused);
        deposits::CreditNotices notices(session);
        const QString kind = QString::fromLatin1(history ? deposits::NoticeHistoryKind : deposits::NoticeBalanceKind);
        auto signatures = letters::signatureBlocks(session, kind, letters::DepositReportsGroup);
        const auto report = history ? notices.historyReport(int(o.number(QStringLiteral("notice"), 0)), std::move(signatures))
                                    : notices.balanceReport(std::move(signatures));
        if (!report)
            return ctx.fail(report.error());
        QString why;
        if (!io::writeReportPdf(*report, path, &why))
            return ctx.fail(why);
        ctx.out << QDir::toNativeSeparators(path) << Qt::endl;
        return ExitOk;
    });
}

int printFooter(const Options& o, Context& ctx)
{
    const QString kind = o.value(QStringLiteral("kind"));
    const int group = int(o.number(QStringLiteral("group"), 0));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt&) {
        const auto footer = letters::GetReportFooter(session, kind, group);
        if (!footer)
            return ctx.fail(QStringLiteral("اشکال در خواندن زيرنويس گزارش: ") + footer.error().simplified());
        io::TsvWriter out(ctx.out);
        out.cell(QStringLiteral("جايگاه")).cell(QStringLiteral("پارامتر")).cell(QStringLiteral("عنوان")).cell(QStringLiteral("نام"));
        out.endLine();
        for (const letters::FooterSlot& s : *footer) {
            out.cell(qint64(s.position)).cell(s.post).cell(s.title).cell(s.name);
            out.endLine();
        }
        return ExitOk;
    });
}

} // namespace

void addCreditNoticeCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    const OptionRule section = OptionRule::section(QStringLiteral("section"));
    const OptionRule idx = OptionRule::number(QStringLiteral("N"), QStringLiteral("N"), 1, most);
    QList<OptionRule> fields{OptionRule::text(QStringLiteral("number"), QStringLiteral("NO")),
                             OptionRule::date(QStringLiteral("date")),
                             OptionRule::text(QStringLiteral("notice-letter-no"), QStringLiteral("NO")),
                             OptionRule::date(QStringLiteral("notice-letter-date")),
                             OptionRule::text(QStringLiteral("letter-no"), QStringLiteral("NO")),
                             OptionRule::date(QStringLiteral("letter-date")),
                             OptionRule::number(QStringLiteral("amount"), QStringLiteral("RIALS"), 0, 999999999999999LL),
                             OptionRule::number(QStringLiteral("bank"), QStringLiteral("CODE"), 0, most),
                             section};
    fields << userOptions();
    commands << Command{QStringLiteral("credit-notices list"), QString(),
                        QStringLiteral("the treasury's credit notices as their list shows them (a number containing --number, or of --date), as TSV, "
                                       "then the totals of the paid-in and requested amounts and of the sent and requested counts"),
                        0, 0, listNotices,
                        {OptionRule::text(QStringLiteral("number"), QStringLiteral("NO")), OptionRule::date(QStringLiteral("date")), section}}
             << Command{QStringLiteral("credit-notices add"), QString(),
                        QStringLiteral("adds a credit notice (the next row number unless --idx) and prints its row number"), 0, 0,
                        [](const Options& o, Context& ctx) { return saveNotice(o, ctx, true); },
                        fields + QList<OptionRule>{OptionRule::number(QStringLiteral("idx"), QStringLiteral("N"), 1, most)}}
             << Command{QStringLiteral("credit-notices edit"), QStringLiteral("<N>"),
                        QStringLiteral("changes the given fields of credit notice N"), 1, 1,
                        [](const Options& o, Context& ctx) { return saveNotice(o, ctx, false); }, fields, {idx}}
             << Command{QStringLiteral("credit-notices delete"), QStringLiteral("<N>"),
                        QStringLiteral("deletes credit notice N (refused while fund requests carry it); the deposits it named are left without a "
                                       "notice; asks unless --yes"),
                        1, 1, deleteNotice, QList<OptionRule>{OptionRule::flag(QStringLiteral("yes")), section} + userOptions(), {idx}}
             << Command{QStringLiteral("credit-notices print"), QString(),
                        QStringLiteral("prints \"مانده و پرداختي هر بستانکاري\" to PDF, or with --notice N \"سوابق بستانکاري\" of that notice"), 0, 0,
                        printNotices,
                        {OptionRule::path(QStringLiteral("pdf"), QStringLiteral("FILE")).needed(), OptionRule::number(QStringLiteral("notice"), QStringLiteral("N"), 1, most),
                         section}}
             << Command{QStringLiteral("footer"), QString(),
                        QStringLiteral("the signatories a report kind prints with, as TSV: position, post, title, name"), 0, 0, printFooter,
                        {OptionRule::text(QStringLiteral("kind"), QStringLiteral("K")), OptionRule::number(QStringLiteral("group"), QStringLiteral("G"), 0, 3)}};
}

} // namespace orvak::cli
