#pragma once
// The main window's clock: the server's time is read at most once a minute and
// this computer's steady clock counts on from it in between, so that a clock that
// ticks every second costs the server one query a minute per workstation.
#include <QDateTime>
#include <QElapsedTimer>
#include <functional>

namespace orvak::startup {

class ResyncingClock {
public:
    using Source = std::function<QDateTime()>;
    using Steady = std::function<qint64()>;   // milliseconds, never going back
    static constexpr qint64 ResyncMs = 60000;

    // Without a steady clock of the caller's, QElapsedTimer counts.
    explicit ResyncingClock(Source source, Steady steady = {});

    QDateTime now();
    // The next now() reads the source again (the server was changed, say).
    void resync() { syncedAt_ = -1; }

private:
    qint64 steadyNow() const;

    Source source_;
    Steady steady_;
    QElapsedTimer elapsed_;
    QDateTime base_;
    qint64 syncedAt_ = -1;
};

} // namespace orvak::startup
