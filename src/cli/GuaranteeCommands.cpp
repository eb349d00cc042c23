// guarantees list: the guarantee register as its list shows it, then its count and
// total. letter: a guarantee's letter filled from a template and written as a PDF
// (or for a word processor) without registering it.
#include "cli/Cli.h"
#include "cli/CliSession.h"
#include "core/util/AtomicFile.h"

#include "core/guarantees/GuaranteeList.h"
#include "core/guarantees/Guarantees.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"
#include "core/letters/GuaranteeLetters.h"
#include "core/letters/OdfExport.h"
#include "core/util/Numbers.h"

#include <QDir>

namespace orvak::cli {

namespace {

const QStringList OrderNames = {QStringLiteral("idx"), QStringLiteral("number"), QStringLiteral("issue"), QStringLiteral("due"),
                                QStringLiteral("type"), QStringLiteral("amount"), QStringLiteral("archive")};

int printGuarantees(const Options& o, Context& ctx)
{
    guarantees::GuaranteeFilter f;
    f.party = int(o.number(QStringLiteral("party"), -1));
    f.contract = int(o.number(QStringLiteral("contract"), -1));
    f.status = int(o.number(QStringLiteral("status"), -1));
    f.kind = int(o.number(QStringLiteral("kind"), -1));
    f.type = int(o.number(QStringLiteral("type"), -1));
    f.showCancelled = o.has(QStringLiteral("cancelled"));
    f.showSeized = o.has(QStringLiteral("seized"));
    f.issuedFrom = o.value(QStringLiteral("issued-from"));
    f.issuedTo = o.value(QStringLiteral("issued-to"));
    f.dueFrom = o.value(QStringLiteral("due-from"));
    f.dueTo = o.value(QStringLiteral("due-to"));
    const QString order = o.value(QStringLiteral("order"), QStringLiteral("idx"));
    if (!OrderNames.contains(order))
        return ctx.usage(QStringLiteral("orvakctl guarantees list: ترتيب يکي از %1 است").arg(OrderNames.join(QStringLiteral(", "))));
    f.order = guarantees::GuaranteeOrder(OrderNames.indexOf(order));
    QString why;
    const auto list = guarantees::guaranteeList(f, &why);
    if (!list)
        return ctx.usage(why);
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        io::BoundList bound(session, *list);
        io::RowSet rows;
        if (!bound.fetchAll(rows, {}, &why))
            return ctx.fail(QStringLiteral("اشکال در خواندن تضمينات: ") + why.simplified());
        const auto totals = guarantees::guaranteeTotals(session, f);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع تضمينات: ") + totals.error().simplified());
        QList<io::ListColumn> columns = bound.columns();
        for (io::ListColumn& c : columns)
            c.total = false;
        io::writeTsv(ctx.out, columns, rows);
        ctx.out << '\n' << guarantees::countLabel() << '\t' << totals->count << '\n' << guarantees::amountLabel() << '\t' << totals->amount << '\n';
        ctx.out.flush();
        return ExitOk;
    });
}

int writeLetter(const Options& o, Context& ctx)
{
    letters::LetterRequest r;
    r.guarantee = int(o.number(QStringLiteral("guarantee"), 0));
    r.templateCode = int(o.number(QStringLiteral("template"), 0));
    r.input.newDue = o.value(QStringLiteral("new-due"));
    if (o.has(QStringLiteral("new-amount"))) {
        const auto a = util::parseAmount(o.value(QStringLiteral("new-amount")));
        if (!a || *a < 0)
            return ctx.usage(QStringLiteral("orvakctl letter: مبلغ جديد درست نيست: ") + o.value(QStringLiteral("new-amount")));
        r.input.newAmount = *a;
    }
    r.input.secretariatNo = o.value(QStringLiteral("number"));
    r.input.secretariatDate = o.value(QStringLiteral("date"));
    r.input.reverseDates = o.has(QStringLiteral("reverse-dates"));
    r.layout = int(o.number(QStringLiteral("layout"), 3));
    r.withCopies = o.has(QStringLiteral("copies"));
    r.copyCount = int(o.number(QStringLiteral("copies"), 1));
    r.signatory = int(o.number(QStringLiteral("signatory"), 0));
    const QString pdf = o.value(QStringLiteral("pdf"));
    const QString odt = o.value(QStringLiteral("odt"));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        // Refused before the letter takes its number.
        for (const auto& [file, magic] : {std::pair{pdf, QByteArray("%PDF-")}, std::pair{odt, QByteArray("PK")}}) {
            if (file.isEmpty())
                continue;
            if (const QString refused = util::outputRefusal(QDir(ctx.startDir).absoluteFilePath(file), magic); !refused.isEmpty())
                return ctx.fail(refused);
        }
        const auto letter = letters::GuaranteeLetters(session).prepare(r, prompt);
        if (!letter)
            return ExitFailed;
        QString why;
        if (!letters::writeLettersPdf(letter->pages, pdf, &why))
            return ctx.fail(why);
        if (!odt.isEmpty() && !letters::writeOdt(letter->body, odt, &why))
            return ctx.fail(why);
        ctx.out << letter->number << Qt::endl;
        return ExitOk;
    });
}

int bookGuarantee(const Options& o, Context& ctx)
{
    const int idx = int(o.number(QStringLiteral("guarantee"), 0));
    const guarantees::BookingChoice choice{int(o.number(QStringLiteral("voucher"), 0)), o.value(QStringLiteral("date"))};
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("guarantees book"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        const guarantees::Outcome booked = guarantees::Guarantees(session).book(idx, choice, prompt);
        if (!booked)
            return ExitFailed;
        ctx.out << booked.voucher << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addGuaranteeCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    commands << Command{QStringLiteral("guarantees list"), QString(),
                        QStringLiteral("the guarantee register as its list shows it (cancelled and seized ones left out unless asked), as TSV, "
                                       "then its count and total"),
                        0, 0, printGuarantees,
                        {OptionRule::number(QStringLiteral("party"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("contract"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("status"), QStringLiteral("N"), -1, 24),
                         OptionRule::number(QStringLiteral("kind"), QStringLiteral("N"), -1, 10),
                         OptionRule::number(QStringLiteral("type"), QStringLiteral("N"), -1, 21),
                         OptionRule::flag(QStringLiteral("cancelled")),
                         OptionRule::flag(QStringLiteral("seized")),
                         OptionRule::date(QStringLiteral("issued-from")),
                         OptionRule::date(QStringLiteral("issued-to")),
                         OptionRule::date(QStringLiteral("due-from")),
                         OptionRule::date(QStringLiteral("due-to")),
                         OptionRule::text(QStringLiteral("order"), QStringLiteral("idx|number|issue|due|type|amount|archive")),
                         OptionRule::section(QStringLiteral("section"))}};
    QList<OptionRule> book{OptionRule::number(QStringLiteral("guarantee"), QStringLiteral("IDX"), 1, most).needed(),
                           OptionRule::date(QStringLiteral("date")).needed(),
                           OptionRule::number(QStringLiteral("voucher"), QStringLiteral("N"), 1, most),
                           OptionRule::section(QStringLiteral("section"))};
    book << userOptions();
    commands << Command{QStringLiteral("guarantees book"), QString(),
                        QStringLiteral("posts a guarantee's booking voucher (the type's ledger debited, the nature's credited) in the accounting "
                                       "database of the date's year and records it on the guarantee; prints the voucher's number"),
                        0, 0, bookGuarantee, book};
    commands << Command{QStringLiteral("letter"), QString(),
                        QStringLiteral("a guarantee's letter filled from a template, written as a PDF (and with --odt for a word processor) "
                                       "without registering it; prints the letter's number"),
                        0, 0, writeLetter,
                        {OptionRule::number(QStringLiteral("guarantee"), QStringLiteral("IDX"), 1, most).needed(),
                         OptionRule::number(QStringLiteral("template"), QStringLiteral("CODE"), 1, most).needed(),
                         OptionRule::path(QStringLiteral("pdf"), QStringLiteral("FILE")).needed(),
                         OptionRule::date(QStringLiteral("new-due")),
                         OptionRule::text(QStringLiteral("new-amount"), QStringLiteral("A")),
                         OptionRule::text(QStringLiteral("number"), QStringLiteral("NO")),
                         OptionRule::date(QStringLiteral("date")),
                         OptionRule::number(QStringLiteral("layout"), QStringLiteral("0-6"), 0, 6),
                         OptionRule::number(QStringLiteral("copies"), QStringLiteral("N"), 1, 20),
                         OptionRule::number(QStringLiteral("signatory"), QStringLiteral("0-5"), 0, 5),
                         OptionRule::flag(QStringLiteral("reverse-dates")),
                         OptionRule::path(QStringLiteral("odt"), QStringLiteral("FILE")),
                         OptionRule::section(QStringLiteral("section"))}};
}

} // namespace orvak::cli
