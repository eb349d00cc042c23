#include "cli/TerminalPrompt.h"

#include <cstdio>

namespace orvak::cli {

namespace {
// One reader for the whole run: a second one would miss what the first buffered.
QTextStream& standardInput()
{
    static QTextStream in(stdin);
    return in;
}
} // namespace

bool TerminalPrompt::ask(const QString& text)
{
    err_ << text << " [y/N] ";
    if (assumeYes_) {
        err_ << "y" << Qt::endl;
        return true;
    }
    err_.flush();
    const QString answer = standardInput().readLine().trimmed();
    return answer.compare(QStringLiteral("y"), Qt::CaseInsensitive) == 0
        || answer.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> TerminalPrompt::askText(const QString& label, bool)
{
    if (!answersForText.isEmpty())
        return answersForText.takeFirst();
    err_ << label << ' ';
    err_.flush();
    const QString answer = standardInput().readLine();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

} // namespace orvak::cli
