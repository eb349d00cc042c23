// Reading deposits from a year's vouchers without the screen: the candidates as TSV
// and, with --yes, the transfer of the ticked ones into the month's register.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/accounting/Vouchers.h"
#include "core/deposits/VoucherReading.h"
#include "core/deposits/VoucherReadingCriteria.h"
#include "core/deposits/VoucherReadingLists.h"

#include <limits>

namespace orvak::cli {

namespace {

using deposits::ReadSide;

// The demo's deposits ledger ("سپرده هاي دريافتي"), which the office reads from.
constexpr int DefaultKol = 21007;

// A cell of the command line's TSV: tabs and line breaks would break the line.
QString cell(const QString& text)
{
    QString t = text;
    for (QChar& ch : t) {
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            ch = QLatin1Char(' ');
    }
    return t;
}

// The rows read, as the reading screen's list shows them, then the sums of both sides.
void printRows(QTextStream& out, const QList<deposits::ReadRow>& rows)
{
    QStringList titles;
    for (const io::ListField& c : deposits::readRowsList().columns)
        titles << c.title;
    out << titles.join(QLatin1Char('\t')) << '\n';
    qint64 debit = 0, credit = 0;
    auto number = [](const auto& v) { return v ? QString::number(*v) : QString(); };
    for (const deposits::ReadRow& r : rows) {
        out << QStringList{QString::number(r.row), QString::number(r.voucher), QString::number(r.voucherRow), number(r.party), cell(r.partyName),
                           number(r.contract), number(r.chequeNo), r.chequeDate, cell(r.description), QString::number(r.debit),
                           QString::number(r.credit), r.ticked ? QStringLiteral("X") : QString()}
                   .join(QLatin1Char('\t'))
            << '\n';
        debit += r.debit;
        credit += r.credit;
    }
    out << '\n' << QStringLiteral("بدهکار") << '\t' << debit << '\n' << QStringLiteral("بستانکار") << '\t' << credit << '\n';
}

int readVouchers(const Options& o, Context& ctx)
{
    deposits::ReadingCriteria c;
    c.year = int(o.number(QStringLiteral("year"), 0));
    const int month = int(o.number(QStringLiteral("month"), 1));
    c.monthIndex = month - 1;
    c.kol = int(o.number(QStringLiteral("kol"), DefaultKol));
    c.moin = int(o.number(QStringLiteral("moin"), -1));
    const QStringList words = o.values(QStringLiteral("word"));
    if (words.size() > 4)
        return ctx.usage(QStringLiteral("orvakctl deposits read-vouchers: at most four --word"));
    for (int i = 0; i < words.size(); ++i)
        c.words[size_t(i)] = words[i];
    const QString side = o.value(QStringLiteral("side"), QStringLiteral("credit"));
    const QStringList sides{QStringLiteral("debit"), QStringLiteral("credit"), QStringLiteral("both")};
    if (!sides.contains(side))
        return ctx.usage(QStringLiteral("orvakctl deposits read-vouchers: --side is debit, credit or both"));
    c.side = ReadSide(sides.indexOf(side));
    const bool transfer = o.has(QStringLiteral("yes"));

    return withWriter(ctx, o, QStringLiteral("deposits read-vouchers"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool administrator) {
        if (!openCurrentSection(session, prompt, o.value(QStringLiteral("section"), QStringLiteral("0"))))
            return ExitFailed;
        deposits::AccountingYearScope scope(session);
        deposits::VoucherReading reading(session, administrator ? deposits::Writer::Administrator : deposits::Writer::User);
        QString why;
        // The reading and its transfer are one unit of work: another workstation's
        // reading cannot come between them, and a row the register holds is left out.
        std::optional<deposits::ReadingSummary> summary;
        deposits::TransferResult moved;
        if (transfer) {
            const auto done = reading.readAndTransfer(c, c.year, month, prompt, &why);
            if (!done)
                return ctx.fail(why);
            summary = done->first;
            moved = done->second;
        } else {
            summary = reading.read(c, prompt, &why);
            if (!summary)
                return ctx.fail(why);
        }
        // The screen reads nothing from a missing year; here that is a failure, not an empty month.
        if (const accounting::Vouchers books(session); !books.available())
            return ExitFailed;
        if (!deposits::writeLastReading(session.startDir(), c, &why))
            ctx.err << why << Qt::endl;
        printRows(ctx.out, reading.rows().value_or({}));
        ctx.out << '\n'
                << QStringLiteral("خوانده شده") << '\t' << summary->rows << '\n'
                << QStringLiteral("انتخاب شده") << '\t' << summary->ticked << '\n'
                << QStringLiteral("قبلا منتقل شده") << '\t' << summary->alreadyTransferred << '\n'
                << QStringLiteral("منتقل شده") << '\t' << moved.rows << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addVoucherReadingCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    commands << Command{QStringLiteral("deposits read-vouchers"), QString(),
                        QStringLiteral("reads the deposit rows of a month's vouchers (ledger 21007 unless --kol); --yes transfers the ticked ones "
                                       "into the register of that year and month, in the same unit of work, leaving out the rows it holds "
                                       "already (with --user: as that user, whose write level must allow it)"),
                        0, 0, readVouchers,
                        {OptionRule::year(QStringLiteral("year")).needed(),
                         OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, deposits::ReadingMonths).needed(),
                         OptionRule::number(QStringLiteral("kol"), QStringLiteral("K"), 1, most),
                         OptionRule::number(QStringLiteral("moin"), QStringLiteral("M"), 0, most),
                         OptionRule::text(QStringLiteral("word"), QStringLiteral("W")).many(),
                         OptionRule::text(QStringLiteral("side"), QStringLiteral("debit|credit|both")),
                         OptionRule::section(QStringLiteral("section")),
                         OptionRule::flag(QStringLiteral("yes")), userOptions()[0], userOptions()[1]}};
}

} // namespace orvak::cli
