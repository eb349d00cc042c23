#pragma once
// The tests' prompt: answers from a list (then a default), and remembers everything
// it was told, asked and shown as progress.
#include "core/startup/Prompt.h"

namespace orvak::startup {

class ScriptedPrompt : public CollectingPrompt {
public:
    explicit ScriptedPrompt(QList<bool> answers = {}, bool otherwise = false)
        : CollectingPrompt(otherwise)
        , answers_(std::move(answers))
    {
    }
    bool ask(const QString& text) override
    {
        const bool otherwise = CollectingPrompt::ask(text);
        return answers_.isEmpty() ? otherwise : answers_.takeFirst();
    }
    void progress(const QString& title, int, int) override
    {
        if (steps.isEmpty() || steps.last() != title)
            steps << title;
    }

    QStringList steps;

private:
    QList<bool> answers_;
};

} // namespace orvak::startup
