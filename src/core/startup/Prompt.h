#pragma once
// How core asks the user: the desktop program answers with message boxes, the
// command line on the terminal, tests with scripted answers. Each algorithm lives
// once, with its questions in their order.
#include <QString>
#include <QStringList>
#include <optional>

namespace orvak::startup {

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void info(const QString& text) = 0;
    virtual bool ask(const QString& text) = 0;
    // A typed answer (masked for passwords); nullopt when the user cancels.
    virtual std::optional<QString> askText(const QString& label, bool masked)
    {
        Q_UNUSED(label);
        Q_UNUSED(masked);
        return std::nullopt;
    }
    // Long work reports its steps; a wait window or progress bar shows them.
    virtual void progress(const QString& title, int step, int total)
    {
        Q_UNUSED(title);
        Q_UNUSED(step);
        Q_UNUSED(total);
    }
    // Checked between steps of work the user may stop.
    virtual bool stopRequested() { return false; }
};

// For work whose messages the caller shows itself (an entry form reports a failed
// save as its error): collects what it is told and answers every question alike.
class CollectingPrompt : public Prompt {
public:
    explicit CollectingPrompt(bool answer = false)
        : answer_(answer)
    {
    }
    void info(const QString& text) override { infos << text; }
    bool ask(const QString& text) override
    {
        questions << text;
        return answer_;
    }
    std::optional<QString> askText(const QString& label, bool) override
    {
        questions << label;
        if (texts.isEmpty())
            return std::nullopt;
        return texts.takeFirst();
    }
    QString text() const { return infos.join(QLatin1Char('\n')); }

    QStringList infos;
    QStringList questions;
    QStringList texts;   // answers for askText, taken in order

private:
    bool answer_;
};

} // namespace orvak::startup
