#pragma once
// Repeated wrong passwords slow down: the failures in a row of each user code, and
// how long the next try of that code has to wait. Nothing is ever locked for good.
#include <QHash>
#include <QString>
#include <functional>

namespace orvak::startup {

// From this failure in a row on, the suspicious-attempt text is shown and every
// further try waits.
inline constexpr int SuspiciousFailures = 4;
inline constexpr int LongestLoginDelaySeconds = 30;

// The wait before the next try after that many failures in a row: none up to the
// third, then 1 s, 2 s, 4 s, ... at most 30 s.
int loginDelaySeconds(int failuresInARow);

// " تلاش مشكوك براي ورود به سيستم"
QString suspiciousAttemptText();
// The refusal of a try made before its wait is over (with the suspicious-attempt text).
QString loginWaitText(qint64 waitMs);

class LoginThrottle {
public:
    // Milliseconds of a steady clock; tests give their own.
    using Clock = std::function<qint64()>;

    LoginThrottle();
    void setClock(Clock clock);

    int failures(qint64 code) const;
    // How long the code still has to wait before it may try again (0: now).
    qint64 waitMs(qint64 code) const;
    void failed(qint64 code);
    // A right password: the count of the code starts again.
    void succeeded(qint64 code);

private:
    struct Entry {
        int failures = 0;
        qint64 lastFailure = 0;
    };
    Clock clock_;
    QHash<qint64, Entry> entries_;
};

} // namespace orvak::startup
