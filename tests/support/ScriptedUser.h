#pragma once
// A user played at the program while it runs its own modal loops, for the tests of
// windows that run modally (the login form, the main window, the lock).
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace orvak::test {

// Plays a user at the program while it runs its own modal loops: each step waits
// until its condition holds, then acts. Actions that open a modal window are posted,
// so that the steps go on inside it. Gives up (and ends the run) after 20 s.
class Script : public QObject {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    explicit Script(QList<Step> steps, std::function<void()> giveUp)
        : steps_(std::move(steps))
        , giveUp_(std::move(giveUp))
    {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, [this] {
            seen << QString::fromLatin1(QApplication::activeModalWidget() ? QApplication::activeModalWidget()->metaObject()->className() : "");
            if (next_ >= steps_.size())
                return;
            if (clock_.elapsed() > 20000) {
                ADD_FAILURE() << "step " << next_ << " never became ready; modal: "
                              << (QApplication::activeModalWidget() ? QApplication::activeModalWidget()->metaObject()->className() : "none");
                next_ = steps_.size();
                giveUp_();
                return;
            }
            if (!steps_[next_].ready())
                return;
            const Step step = steps_[next_++];
            QTimer::singleShot(0, this, step.act);
        });
        timer_.start(10);
    }
    bool finished() const { return next_ >= steps_.size(); }
    QStringList seen;   // the modal window of each tick

private:
    QList<Step> steps_;
    std::function<void()> giveUp_;
    qsizetype next_ = 0;
    QTimer timer_;
    QElapsedTimer clock_;
};

template <class T>
T* modal()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

inline bool waitUntil(const std::function<bool()>& condition, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}

// What a script does when it gives up: the window in front is closed.
inline void closeModal()
{
    if (QWidget* m = QApplication::activeModalWidget())
        m->close();
}

} // namespace orvak::test
