// util: the shared conversions, for scripts and support staff.
#include "cli/Cli.h"

#include "core/util/AmountWords.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"
#include "core/util/Scramble.h"

namespace orvak::cli {

namespace {

std::optional<quint64> parseUnsigned(const QString& text)
{
    const QString t = util::normalizeDigits(text).trimmed().remove(QLatin1Char(','));
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const quint64 n = t.toULongLong(&ok);
    return ok ? std::optional<quint64>(n) : std::nullopt;
}

} // namespace

void addUtilCommands(QList<Command>& commands)
{
    commands << Command{QStringLiteral("util jalali"), QStringLiteral("<YYYY-MM-DD>|today"),
                        QStringLiteral("Gregorian date (or today) as a Jalali date YYYY/MM/DD"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            if (a[0] == QLatin1String("today")) {
                                ctx.out << util::TodayJalali() << Qt::endl;
                                return ExitOk;
                            }
                            const std::optional<QDate> d = util::parseGregorian(a[0]);
                            if (!d)
                                return ctx.fail(QStringLiteral("تاريخ ميلادي نادرست است: %1").arg(a[0]));
                            ctx.out << util::toJalali(*d).toText() << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util gregorian"), QStringLiteral("<YYYY/MM/DD>"),
                        QStringLiteral("Jalali date as a Gregorian date YYYY-MM-DD"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            const std::optional<util::JalaliDate> j = util::parseJalali(a[0]);
                            if (!j)
                                return ctx.fail(QStringLiteral("تاريخ شمسي نادرست است: %1").arg(a[0]));
                            ctx.out << util::toGregorian(*j).toString(Qt::ISODate) << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util words"), QStringLiteral("<n>"),
                        QStringLiteral("a whole non-negative amount (64-bit) in Persian words"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            const std::optional<quint64> n = parseUnsigned(a[0]);
                            if (!n)
                                return ctx.fail(QStringLiteral("عدد صحيح نامنفي در محدوده 64 بيتي لازم است: %1").arg(a[0]));
                            ctx.out << util::AmountToWords(*n) << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util amount"), QStringLiteral("<text>"),
                        QStringLiteral("an amount (digits, separators, sign, a fraction rounded to the rial) as #,###; zero prints an empty line"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            const std::optional<qint64> n = util::parseAmount(a[0]);
                            if (!n)
                                return ctx.fail(QStringLiteral("مبلغ نادرست است (رقم، جداکننده هزارگان و علامت؛ حداکثر 9223372036854775807 ريال): %1").arg(a[0]));
                            ctx.out << util::FormatAmount(*n) << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util int"), QStringLiteral("<text>"),
                        QStringLiteral("the tolerant whole-number reading of a typed text (at most nine digits)"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            const std::optional<int> n = util::parseTolerantInt(a[0]);
                            if (!n)
                                return ctx.fail(QStringLiteral("عدد بيش از 9 رقم دارد و خوانده نمي شود: %1").arg(a[0]));
                            ctx.out << *n << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util nid"), QStringLiteral("<code>"),
                        QStringLiteral("prints valid or invalid for a national code"), 1, 1,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            ctx.out << (util::IsValidNationalCode(a[0]) ? "valid" : "invalid") << Qt::endl;
                            return ExitOk;
                        }};
    commands << Command{QStringLiteral("util scramble"), QStringLiteral("<text> <a> <b>"),
                        QStringLiteral("the password scrambling of a text with keys a and b (b not 0)"), 3, 3,
                        [](const Options& o, Context& ctx) {
                            const QStringList& a = o.positional;
                            const std::optional<qint64> ka = util::parseWholeNumber(a[1]);
                            const std::optional<qint64> kb = util::parseWholeNumber(a[2]);
                            if (!ka || !kb)
                                return ctx.fail(QStringLiteral("کليدها بايد عدد صحيح باشند"));
                            const std::optional<QString> s = util::ScrambleText(a[0], *ka, *kb);
                            if (!s)
                                return ctx.fail(QStringLiteral("کليد b نمي تواند صفر باشد"));
                            ctx.out << *s << Qt::endl;
                            return ExitOk;
                        }};
}

} // namespace orvak::cli
