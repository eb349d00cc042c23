#include "core/startup/LoginThrottle.h"

#include <algorithm>
#include <chrono>

namespace orvak::startup {

int loginDelaySeconds(int failuresInARow)
{
    if (failuresInARow < SuspiciousFailures)
        return 0;
    const int doublings = failuresInARow - SuspiciousFailures;
    if (doublings >= 5)   // 2^5 = 32 is past the longest wait
        return LongestLoginDelaySeconds;
    return std::min(1 << doublings, LongestLoginDelaySeconds);
}

QString suspiciousAttemptText() { return QStringLiteral(" تلاش مشكوك براي ورود به سيستم"); }

QString loginWaitText(qint64 waitMs)
{
    const qint64 seconds = std::max<qint64>(1, (waitMs + 999) / 1000);
    return QStringLiteral("كلمه رمز چند بار پشت سر هم اشتباه وارد شده است؛ %1 ثانيه ديگر دوباره سعي کنيد").arg(seconds) + QLatin1Char('\n')
        + suspiciousAttemptText();
}

LoginThrottle::LoginThrottle()
{
    setClock({});
}

void LoginThrottle::setClock(Clock clock)
{
    if (!clock) {
        clock = [] {
            return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
        };
    }
    clock_ = std::move(clock);
}

int LoginThrottle::failures(qint64 code) const { return entries_.value(code).failures; }

qint64 LoginThrottle::waitMs(qint64 code) const
{
    const auto found = entries_.constFind(code);
    if (found == entries_.constEnd())
        return 0;
    const qint64 until = found->lastFailure + qint64(loginDelaySeconds(found->failures)) * 1000;
    return std::max<qint64>(0, until - clock_());
}

void LoginThrottle::failed(qint64 code)
{
    Entry& e = entries_[code];
    ++e.failures;
    e.lastFailure = clock_();
}

void LoginThrottle::succeeded(qint64 code) { entries_.remove(code); }

} // namespace orvak::startup
