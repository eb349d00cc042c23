// orvakctl: set-up, structure update, backup and the helpers support staff and
// scripts need, without the desktop program.
#include "cli/Cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace orvak::cli;

namespace orvak::cli {

int Context::fail(const QString& message) const
{
    err << message << Qt::endl;
    return ExitFailed;
}

int Context::usage(const QString& message) const
{
    err << message << Qt::endl;
    return ExitUsage;
}

Options parseOptions(const QStringList& args, const QStringList& flags)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QStringLiteral("--")) && a.size() > 2) {
            const QString name = a.mid(2);
            if (flags.contains(name) || i + 1 >= args.size())
                o.named.insert(name, QStringLiteral("1"));
            else
                o.named.insert(name, args[++i]);
        } else {
            o.positional << a;
        }
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
        out << "  " << c.name << (c.args.isEmpty() ? QString() : QLatin1Char(' ') + c.args) << Qt::endl
            << "      " << c.help << Qt::endl;
    out << Qt::endl << "Commands work in the current folder (the start folder), as the desktop program does." << Qt::endl;
}

} // namespace

namespace {

// Printing needs fonts, and fonts a GUI application; the terminal needs no display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0) {
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
        out << "usage: orvakctl " << found->name << ' ' << found->args << Qt::endl << found->help << Qt::endl;
        return ExitOk;
    }
    const Options o = parseOptions(rest, {QStringLiteral("yes")});
    if (o.positional.size() < found->minArgs || (found->maxArgs >= 0 && o.positional.size() > found->maxArgs))
        return ctx.usage(QStringLiteral("orvakctl: usage: orvakctl %1 %2").arg(found->name, found->args));
    return found->run(rest, ctx);
}
