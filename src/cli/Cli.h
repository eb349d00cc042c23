#pragma once
// The administrator's command line: one group of commands per file, each handler
// taking its arguments and printing bare values (UTF-8, one per line).
#include <QList>
#include <QPair>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

namespace orvak::cli {

// Exit codes: 0 done, 1 the operation failed, 2 the call itself was wrong.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

struct Context {
    QTextStream& out;
    QTextStream& err;
    QString startDir;   // the current folder, as for the desktop program
    QString usageLine = {};   // of the command being run, shown with every usage error

    int fail(const QString& message) const;    // prints the message, returns ExitFailed
    int usage(const QString& message) const;   // prints the message and the usage line, returns ExitUsage
};

// What an option's value (or a positional argument) must be. The dispatcher checks
// it before the command runs and hands the value on in its plain form: ASCII digits,
// a date as YYYY/MM/DD.
enum class ValueKind {
    Flag,          // no value: --yes
    Text,          // anything, but not empty
    Path,          // a file or folder, not empty
    WholeNumber,   // within [min, max]
    JalaliDate,    // a real Jalali date, year 1300 to 1600
    Section,       // a financial section, 0 to 3
    Year,          // a Jalali year, 1300 to 1600
};

struct OptionRule {
    QString name;          // without the dashes; for a positional argument, only for messages
    ValueKind kind = ValueKind::Text;
    QString placeholder;   // "N" in "--scale N"
    qint64 min = 0;
    qint64 max = 0;
    bool required = false;
    bool repeatable = false;

    static OptionRule make(const QString& name, ValueKind kind, const QString& placeholder = {}, qint64 min = 0, qint64 max = 0)
    {
        OptionRule o;
        o.name = name;
        o.kind = kind;
        o.placeholder = placeholder;
        o.min = min;
        o.max = max;
        return o;
    }
    static OptionRule flag(const QString& name) { return make(name, ValueKind::Flag); }
    static OptionRule text(const QString& name, const QString& placeholder) { return make(name, ValueKind::Text, placeholder); }
    static OptionRule path(const QString& name, const QString& placeholder) { return make(name, ValueKind::Path, placeholder); }
    static OptionRule number(const QString& name, const QString& placeholder, qint64 min, qint64 max)
    {
        return make(name, ValueKind::WholeNumber, placeholder, min, max);
    }
    static OptionRule date(const QString& name) { return make(name, ValueKind::JalaliDate, QStringLiteral("YYYY/MM/DD")); }
    static OptionRule section(const QString& name) { return make(name, ValueKind::Section, QStringLiteral("N")); }
    static OptionRule year(const QString& name) { return make(name, ValueKind::Year, QStringLiteral("YYYY")); }
    OptionRule needed() const { OptionRule o = *this; o.required = true; return o; }
    OptionRule many() const { OptionRule o = *this; o.repeatable = true; return o; }
};

// The checked call: positional arguments and the options given, in their order.
struct Options {
    QStringList positional;
    QList<QPair<QString, QString>> given;
    bool has(const QString& name) const;
    QString value(const QString& name, const QString& fallback = {}) const;   // the last one given
    QStringList values(const QString& name) const;
    qint64 number(const QString& name, qint64 fallback) const;               // of a checked number option
};

struct Command {
    QString name;     // "util jalali"
    QString args;     // the positional part of the usage line: "<YYYY-MM-DD>|today"
    QString help;     // one line
    int minArgs = 0;
    int maxArgs = 0;  // -1: any number
    std::function<int(const Options&, Context&)> run;
    QList<OptionRule> options = {};     // every option the command takes; others are refused
    QList<OptionRule> arguments = {};   // kinds of the positional arguments, by position

    QString usageLine() const;          // "orvakctl demo --data DIR [--scale N] ..."
};

// Each group adds its commands here.
void addUtilCommands(QList<Command>& commands);
void addServerCommands(QList<Command>& commands);
void addListCommands(QList<Command>& commands);
void addPartyCommands(QList<Command>& commands);
void addPlanBankCommands(QList<Command>& commands);
void addAccountingCommands(QList<Command>& commands);
void addContractCommands(QList<Command>& commands);
void addVoucherReadingCommands(QList<Command>& commands);
void addDepositCommands(QList<Command>& commands);
void addRequestCommands(QList<Command>& commands);
void addStatementCommands(QList<Command>& commands);
void addGuaranteeCommands(QList<Command>& commands);
void addBalanceCommands(QList<Command>& commands);
void addImportCommands(QList<Command>& commands);
void addCodingCommands(QList<Command>& commands);
void addTreasuryCommands(QList<Command>& commands);
void addCreditNoticeCommands(QList<Command>& commands);
void addGuaranteeOperationCommands(QList<Command>& commands);

// Checks a command's arguments against its declaration; nullopt with the reason
// (Persian, for the usage message) when they do not fit.
std::optional<Options> parseOptions(const Command& command, const QStringList& args, QString* why);

} // namespace orvak::cli
