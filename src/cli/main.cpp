// orvakctl: set-up, structure update, backup and the helpers support staff and
// scripts need, without the desktop program.
#include "cli/Cli.h"

#include "core/db/DatabaseErrors.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace orvak::cli;

namespace orvak::cli {

int Context::fail(const QString& message) const
{
    err << db::userText(message) << Qt::endl;
    return ExitFailed;
}

int Context::usage(const QString& message) const
{
    err << message;
    if (!usageLine.isEmpty())
        err << " (usage: " << usageLine << ')';
    err << Qt::endl;
    return ExitUsage;
}

bool Options::has(const QString& name) const
{
    return std::any_of(given.cbegin(), given.cend(), [&](const auto& g) { return g.first == name; });
}

QString Options::value(const QString& name, const QString& fallback) const
{
    for (qsizetype i = given.size() - 1; i >= 0; --i) {
        if (given[i].first == name)
            return given[i].second;
    }
    return fallback;
}

QStringList Options::values(const QString& name) const
{
    QStringList list;
    for (const auto& [n, v] : given) {
        if (n == name)
            list << v;
    }
    return list;
}

qint64 Options::number(const QString& name, qint64 fallback) const
{
    return has(name) ? util::parseWholeNumber(value(name)).value_or(fallback) : fallback;
}

QString Command::usageLine() const
{
    QString line = QStringLiteral("orvakctl ") + name;
    if (!args.isEmpty())
        line += QLatin1Char(' ') + args;
    for (const OptionRule& o : options) {
        QString part = QStringLiteral("--") + o.name;
        if (o.kind != ValueKind::Flag)
            part += QLatin1Char(' ') + (o.placeholder.isEmpty() ? o.name.toUpper() : o.placeholder);
        if (o.repeatable)
            part += QStringLiteral(" ...");
        line += QLatin1Char(' ') + (o.required ? part : QLatin1Char('[') + part + QLatin1Char(']'));
    }
    return line;
}

namespace {

// Digits only (any script): no sign or separators in a year or a section.
std::optional<qint64> plainNumber(const QString& text)
{
    const QString t = util::normalizeDigits(text).trimmed();
    static const QRegularExpression plain(QStringLiteral("^[0-9]{1,18}$"));
    if (!plain.match(t).hasMatch())
        return std::nullopt;
    return t.toLongLong();
}

// The value in its plain form, or nullopt with what the value should have been.
std::optional<QString> checkValue(const OptionRule& rule, const QString& text, QString* expected)
{
    switch (rule.kind) {
    case ValueKind::Flag:
        return QString();
    case ValueKind::Text:
    case ValueKind::Path:
        *expected = QStringLiteral("مقدار خالي پذيرفته نيست");
        if (text.trimmed().isEmpty())
            return std::nullopt;
        return text;
    case ValueKind::WholeNumber: {
        *expected = QStringLiteral("عدد صحيح از %1 تا %2").arg(rule.min).arg(rule.max);
        const std::optional<qint64> n = util::parseWholeNumber(text);
        if (!n || *n < rule.min || *n > rule.max)
            return std::nullopt;
        return QString::number(*n);
    }
    case ValueKind::JalaliDate: {
        *expected = QStringLiteral("تاريخ شمسي YYYY/MM/DD از سال 1300 تا 1600");
        const std::optional<util::JalaliDate> d = util::parseJalali(text);
        if (!d || d->year < 1300 || d->year > 1600)
            return std::nullopt;
        return d->toText();
    }
    case ValueKind::Section: {
        *expected = QStringLiteral("کد بخش 0، 1، 2 يا 3");
        const std::optional<qint64> n = plainNumber(text);
        if (!n || *n < 0 || *n > 3)
            return std::nullopt;
        return QString::number(*n);
    }
    case ValueKind::Year: {
        *expected = QStringLiteral("سال چهار رقمي از 1300 تا 1600");
        const std::optional<qint64> n = plainNumber(text);
        if (!n || *n < 1300 || *n > 1600)
            return std::nullopt;
        return QString::number(*n);
    }
    }
    return std::nullopt;
}

} // namespace

std::optional<Options> parseOptions(const Command& command, const QStringList& args, QString* why)
{
    Options o;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (optionsEnded || !a.startsWith(QStringLiteral("--"))) {
            o.positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {   // the rest is positional, even "--5"
            optionsEnded = true;
            continue;
        }
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        const QString name = a.mid(2, eq < 0 ? -1 : eq - 2);
        const auto rule = std::find_if(command.options.cbegin(), command.options.cend(), [&](const OptionRule& s) { return s.name == name; });
        if (rule == command.options.cend()) {
            *why = QStringLiteral("گزينه ناشناخته: --%1").arg(name);
            return std::nullopt;
        }
        if (!rule->repeatable && o.has(name)) {
            *why = QStringLiteral("گزينه --%1 بيش از يک بار آمده است").arg(name);
            return std::nullopt;
        }
        QString text;
        if (rule->kind == ValueKind::Flag) {
            if (eq >= 0) {
                *why = QStringLiteral("گزينه --%1 مقداري نمي گيرد").arg(name);
                return std::nullopt;
            }
        } else if (eq >= 0) {
            text = a.mid(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].startsWith(QStringLiteral("--"))) {
            text = args[++i];
        } else {
            *why = QStringLiteral("گزينه --%1 مقدار مي خواهد").arg(name);
            return std::nullopt;
        }
        QString expected;
        const std::optional<QString> value = checkValue(*rule, text, &expected);
        if (!value) {
            *why = QStringLiteral("مقدار گزينه --%1 درست نيست: %2 (%3)").arg(name, text, expected);
            return std::nullopt;
        }
        o.given << qMakePair(name, *value);
    }
    for (const OptionRule& rule : command.options) {
        if (rule.required && !o.has(rule.name)) {
            *why = QStringLiteral("گزينه --%1 لازم است").arg(rule.name);
            return std::nullopt;
        }
    }
    if (o.positional.size() < command.minArgs || (command.maxArgs >= 0 && o.positional.size() > command.maxArgs)) {
        *why = QStringLiteral("تعداد آرگومان ها درست نيست");
        return std::nullopt;
    }
    for (qsizetype i = 0; i < o.positional.size() && i < command.arguments.size(); ++i) {
        QString expected;
        const std::optional<QString> value = checkValue(command.arguments[i], o.positional[i], &expected);
        if (!value) {
            *why = QStringLiteral("مقدار %1 درست نيست: %2 (%3)").arg(command.arguments[i].name, o.positional[i], expected);
            return std::nullopt;
        }
        o.positional[i] = *value;
    }
    return o;
}

} // namespace orvak::cli

namespace {

void printHelp(QTextStream& out, const QList<Command>& commands)
{
    out << "orvakctl - administrator's command line of the deposits and guarantees register" << Qt::endl
        << Qt::endl
        << "usage: orvakctl <command> [arguments]" << Qt::endl
        << Qt::endl;
    for (const Command& c : commands)
        out << "  " << c.usageLine().section(QLatin1Char(' '), 1) << Qt::endl
            << "      " << c.help << Qt::endl;
    out << Qt::endl << "Commands work in the current folder (the start folder), as the desktop program does." << Qt::endl
        << "Commands that write (backup, restore, deposits read-vouchers --yes) take --user CODE --password P and then act with that" << Qt::endl
        << "user's access entries and write level, as the screens do; without --user they are the tool of the server machine's" << Qt::endl
        << "administrator, and the change history records what they change as user 0 from this workstation." << Qt::endl;
}

} // namespace

namespace {

// Printing needs fonts, and fonts a GUI application; the terminal needs no display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    Context ctx{out, err, QDir::currentPath()};

    QList<Command> commands;
    addUtilCommands(commands);
    addServerCommands(commands);
    addListCommands(commands);
    addPartyCommands(commands);
    addPlanBankCommands(commands);
    addAccountingCommands(commands);
    addContractCommands(commands);
    addVoucherReadingCommands(commands);
    addDepositCommands(commands);
    addRequestCommands(commands);
    addStatementCommands(commands);
    addGuaranteeCommands(commands);
    addBalanceCommands(commands);
    addImportCommands(commands);
    addCodingCommands(commands);
    addTreasuryCommands(commands);
    addCreditNoticeCommands(commands);
    addGuaranteeOperationCommands(commands);

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")
        || args.first() == QLatin1String("help")) {
        printHelp(out, commands);
        return args.isEmpty() ? ExitUsage : ExitOk;
    }

    // Longest match first: "util jalali" before "util".
    const Command* found = nullptr;
    int used = 0;
    for (const Command& c : commands) {
        const QStringList words = c.name.split(QLatin1Char(' '));
        if (words.size() <= args.size() && args.mid(0, words.size()) == words && words.size() > used) {
            found = &c;
            used = int(words.size());
        }
    }
    if (!found)
        return ctx.usage(QStringLiteral("orvakctl: unknown command '%1' (see orvakctl --help)").arg(args.join(QLatin1Char(' '))));
    const QStringList rest = args.mid(used);
    if (rest.contains(QStringLiteral("--help"))) {
        out << "usage: " << found->usageLine() << Qt::endl << found->help << Qt::endl;
        return ExitOk;
    }
    // Every option and argument is checked here, before any command touches a file.
    ctx.usageLine = found->usageLine();
    QString why;
    const std::optional<Options> o = parseOptions(*found, rest, &why);
    if (!o)
        return ctx.usage(QStringLiteral("orvakctl %1: %2").arg(found->name, why));
    return found->run(*o, ctx);
}
