#pragma once
// Questions and messages of core operations on the terminal: each question takes a
// "y" on standard input, or is answered yes at once with --yes.
#include "core/db/DatabaseErrors.h"
#include "core/startup/Prompt.h"

#include <QTextStream>

namespace orvak::cli {

class TerminalPrompt : public startup::Prompt {
public:
    TerminalPrompt(QTextStream& err, bool assumeYes)
        : err_(err)
        , assumeYes_(assumeYes)
    {
    }
    void info(const QString& text) override { err_ << db::userText(text) << Qt::endl; }
    bool ask(const QString& text) override;
    std::optional<QString> askText(const QString& label, bool masked) override;
    QStringList answersForText;   // given on the command line, taken in order

private:
    QTextStream& err_;
    bool assumeYes_;
};

} // namespace orvak::cli
