// The vouchers of a year's accounting database, one line per row, as TSV.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/accounting/Vouchers.h"

#include <limits>

namespace orvak::cli {

namespace {

QString codeText(const std::optional<int>& code) { return code ? QString::number(*code) : QString(); }

// Tabs and line breaks inside a text would split its cell.
QString cell(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

int printVouchers(const Options& o, Context& ctx)
{
    const int year = int(o.number(QStringLiteral("year"), 0));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    const int from = int(o.number(QStringLiteral("from"), 1));
    const int to = int(o.number(QStringLiteral("to"), std::numeric_limits<int>::max()));
    if (from > to)
        return ctx.usage(QStringLiteral("orvakctl vouchers: --from بزرگتر از --to است"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt&) {
        // The year's database alone is needed; its absence is told once, below.
        startup::CollectingPrompt quiet;
        session.OpenAccountingYear(year, section, quiet);
        accounting::Vouchers vouchers(session);
        if (!vouchers.available())
            return ctx.fail(vouchers.missingText());
        const db::Fetched<QList<accounting::Voucher>> found = vouchers.range(from, to);
        if (found.failed())
            return ctx.fail(QStringLiteral("اشکال در خواندن اسناد حسابداري: %1").arg(found.error().simplified()));
        ctx.out << QStringLiteral("شماره سند\tتاريخ\tنوع\tوضعيت\tکاربر\tشرح سند\tرديف\tکل\tمعين\tتفصيلي\tشرح\tبدهكار\tبستانكار") << '\n';
        qint64 debit = 0, credit = 0;
        int count = 0;
        for (const accounting::Voucher& v : found.value_or({})) {
            ++count;
            const QString head = QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                                     .arg(v.head.number)
                                     .arg(v.head.date)
                                     .arg(v.head.kind)
                                     .arg(v.head.state)
                                     .arg(v.head.userId)
                                     .arg(cell(v.head.description));
            if (v.rows.isEmpty())
                ctx.out << head << "\t\t\t\t\t\t\t" << '\n';
            for (const accounting::VoucherRow& r : v.rows) {
                ctx.out << head << '\t' << r.row << '\t' << r.kol << '\t' << r.moin << '\t' << codeText(r.tafsil) << '\t'
                        << cell(r.description) << '\t' << r.debit << '\t' << r.credit << '\n';
                debit += r.debit;
                credit += r.credit;
            }
        }
        ctx.out << '\n'
                << QStringLiteral("تعداد اسناد") << '\t' << count << '\n'
                << QStringLiteral("بدهكار:") << '\t' << debit << '\n'
                << QStringLiteral("بستانكار:") << '\t' << credit << '\n'
                << QStringLiteral("اختلاف:") << '\t' << (debit - credit) << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addAccountingCommands(QList<Command>& commands)
{
    commands << Command{QStringLiteral("vouchers"), QString(),
                        QStringLiteral("the vouchers of a year's accounting database (section 0 unless given), one line per row, as TSV"), 0, 0,
                        printVouchers,
                        {OptionRule::year(QStringLiteral("year")).needed(), OptionRule::section(QStringLiteral("section")),
                         OptionRule::number(QStringLiteral("from"), QStringLiteral("N"), 1, std::numeric_limits<int>::max()),
                         OptionRule::number(QStringLiteral("to"), QStringLiteral("M"), 1, std::numeric_limits<int>::max())}};
}

} // namespace orvak::cli
