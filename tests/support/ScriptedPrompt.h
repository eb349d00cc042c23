#pragma once
// The tests' prompt: answers from a list (then a default), and remembers everything
// it was told, asked and shown as progress.
#include "core/startup/Prompt.h"

namespace orvak::startup {

class ScriptedPrompt : public Prompt {
public:
    explicit ScriptedPrompt(QList<bool> answers = {}, bool otherwise = false)
        : answers_(std::move(answers))
        , otherwise_(otherwise)
    {
    }
    void info(const QString& text) override { infos << text; }
    bool ask(const QString& text) override
    {
        questions << text;
        return answers_.isEmpty() ? otherwise_ : answers_.takeFirst();
    }
    std::optional<QString> askText(const QString& label, bool) override
    {
        questions << label;
        if (texts.isEmpty())
            return std::nullopt;
        return texts.takeFirst();
    }
    void progress(const QString& title, int, int) override
    {
        if (steps.isEmpty() || steps.last() != title)
            steps << title;
    }

    QStringList infos;
    QStringList questions;
    QStringList texts;   // answers for askText
    QStringList steps;

private:
    QList<bool> answers_;
    bool otherwise_;
};

} // namespace orvak::startup
