#include "core/startup/ResyncingClock.h"

namespace orvak::startup {

ResyncingClock::ResyncingClock(Source source, Steady steady)
    : source_(std::move(source))
    , steady_(std::move(steady))
{
    elapsed_.start();
}

qint64 ResyncingClock::steadyNow() const { return steady_ ? steady_() : elapsed_.elapsed(); }

QDateTime ResyncingClock::now()
{
    const qint64 at = steadyNow();
    if (syncedAt_ < 0 || at - syncedAt_ >= ResyncMs || at < syncedAt_) {
        const QDateTime read = source_ ? source_() : QDateTime();
        base_ = read.isValid() ? read : QDateTime::currentDateTime();
        syncedAt_ = at;
    }
    return base_.addMSecs(at - syncedAt_);
}

} // namespace orvak::startup
