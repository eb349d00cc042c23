// Reading deposits from a year's vouchers without the screen: the candidates as TSV
// and, with --yes, the transfer of the ticked ones into the month's register.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/basedata/VoucherReading.h"
#include "core/basedata/VoucherReadingCriteria.h"

#include <limits>

namespace orvak::cli {

namespace {

using basedata::ReadSide;

// The demo's deposits ledger ("سپرده هاي دريافتي"), which the office reads from.
constexpr int DefaultKol = 21007;

QString cell(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString optionalText(const std::optional<int>& v) { return v ? QString::number(*v) : QString(); }

int readVouchers(const Options& o, Context& ctx)
{
    basedata::ReadingCriteria c;
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
        basedata::AccountingYearScope scope(session);
        basedata::VoucherReading reading(session);
        QString why;
        const auto summary = reading.read(c, prompt, &why);
        if (!summary)
            return ctx.fail(why);
        basedata::writeLastReading(session.startDir(), c);
        const db::Fetched<QList<basedata::ReadRow>> rows = reading.rows();
        if (rows.failed())
            return ctx.fail(rows.error());
        ctx.out << QStringLiteral("رديف\tشماره سند\tرديف سند\tتفصيلي\tنام\tقرارداد\tشماره چک\tتاريخ چک\tشرح\tبدهکار\tبستانکار\tانتخاب") << '\n';
        for (const basedata::ReadRow& r : rows.value_or({})) {
            ctx.out << r.row << '\t' << r.voucher << '\t' << r.voucherRow << '\t' << optionalText(r.party) << '\t' << cell(r.partyName) << '\t'
                    << optionalText(r.contract) << '\t' << (r.chequeNo ? QString::number(*r.chequeNo) : QString()) << '\t' << r.chequeDate << '\t'
                    << cell(r.description) << '\t' << r.debit << '\t' << r.credit << '\t' << (r.ticked ? "X" : "") << '\n';
        }
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
                << QStringLiteral("منتقل شده") << '\t' << moved << '\n'
                << QStringLiteral("جمع بدهکار") << '\t' << summary->debit << '\n'
                << QStringLiteral("جمع بستانکار") << '\t' << summary->credit << Qt::endl;
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
                         OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, basedata::ReadingMonths).needed(),
                         OptionRule::number(QStringLiteral("kol"), QStringLiteral("K"), 1, most),
                         OptionRule::number(QStringLiteral("moin"), QStringLiteral("M"), 0, most),
                         OptionRule::text(QStringLiteral("word"), QStringLiteral("W")).many(),
                         OptionRule::text(QStringLiteral("side"), QStringLiteral("debit|credit|both")),
                         OptionRule::section(QStringLiteral("section")),
                         OptionRule::flag(QStringLiteral("yes"))}};
}

} // namespace orvak::cli
