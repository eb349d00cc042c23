// Reading deposits from a year's vouchers without the screen: the candidates as TSV
// and, with --yes, the transfer of the ticked ones into the month's register.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/accounting/Vouchers.h"
#include "core/deposits/VoucherReading.h"
#include "core/deposits/VoucherReadingCriteria.h"
#include "core/deposits/VoucherReadingLists.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

#include <limits>

namespace orvak::cli {

namespace {

using deposits::ReadSide;

// The demo's deposits ledger ("سپرده هاي دريافتي"), which the office reads from.
constexpr int DefaultKol = 21007;

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

    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, o.value(QStringLiteral("section"), QStringLiteral("0"))))
            return ExitFailed;
        deposits::AccountingYearScope scope(session);
        deposits::VoucherReading reading(session);
        QString why;
        const auto summary = reading.read(c, prompt, &why);
        if (!summary)
            return ctx.fail(why);
        // The screen reads nothing from a missing year; here that is a failure, not an empty month.
        if (const accounting::Vouchers books(session); !books.available())
            return ExitFailed;
        deposits::writeLastReading(session.startDir(), c);
        // The candidates as the reading screen's list shows them, with the sums of both sides.
        io::BoundList list(session, deposits::readRowsList());
        io::RowSet rows;
        if (!list.fetchAll(rows, {}, &why))
            return ctx.fail(why);
        io::writeTsv(ctx.out, list.columns(), rows);
        int moved = 0;
        if (transfer && summary->ticked > 0) {
            const auto done = reading.transfer(c.year, month, c.year, &why);
            if (!done)
                return ctx.fail(why);
            moved = done->rows;
        }
        ctx.out << '\n'
                << QStringLiteral("خوانده شده") << '\t' << summary->rows << '\n'
                << QStringLiteral("انتخاب شده") << '\t' << summary->ticked << '\n'
                << QStringLiteral("قبلا منتقل شده") << '\t' << summary->alreadyTransferred << '\n'
                << QStringLiteral("منتقل شده") << '\t' << moved << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addVoucherReadingCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    commands << Command{QStringLiteral("deposits read-vouchers"), QString(),
                        QStringLiteral("reads the deposit rows of a month's vouchers (ledger 21007 unless --kol); --yes transfers the ticked ones "
                                       "into the register of that year and month"),
                        0, 0, readVouchers,
                        {OptionRule::year(QStringLiteral("year")).needed(),
                         OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, deposits::ReadingMonths).needed(),
                         OptionRule::number(QStringLiteral("kol"), QStringLiteral("K"), 1, most),
                         OptionRule::number(QStringLiteral("moin"), QStringLiteral("M"), 0, most),
                         OptionRule::text(QStringLiteral("word"), QStringLiteral("W")).many(),
                         OptionRule::text(QStringLiteral("side"), QStringLiteral("debit|credit|both")),
                         OptionRule::section(QStringLiteral("section")),
                         OptionRule::flag(QStringLiteral("yes"))}};
}

} // namespace orvak::cli
