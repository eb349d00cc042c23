#pragma once
// The administrator's command line: one group of commands per file, each handler
// taking its arguments and printing bare values (UTF-8, one per line).
#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace orvak::cli {

// Exit codes: 0 done, 1 the operation failed, 2 the call itself was wrong.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

struct Context {
    QTextStream& out;
    QTextStream& err;
    QString startDir;   // the current folder, as for the desktop program

    int fail(const QString& message) const;    // prints the message, returns ExitFailed
    int usage(const QString& message) const;   // prints the message, returns ExitUsage
};

struct Command {
    QString name;     // "util jalali"
    QString args;     // "<YYYY-MM-DD>|today"
    QString help;     // one line
    int minArgs = 0;
    int maxArgs = 0;  // -1: any number
    std::function<int(const QStringList&, Context&)> run;
};

// Each group adds its commands here.
void addUtilCommands(QList<Command>& commands);
void addServerCommands(QList<Command>& commands);
void addListCommands(QList<Command>& commands);

// Splits "--name value" options out of the arguments; a flag without value is "1".
struct Options {
    QStringList positional;
    QHash<QString, QString> named;
    bool has(const QString& name) const { return named.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const { return named.value(name, fallback); }
};
Options parseOptions(const QStringList& args, const QStringList& flags = {});

} // namespace orvak::cli
