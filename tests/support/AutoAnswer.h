#pragma once
// Answers every standard box that comes up while it lives, and remembers the texts.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace orvak::test {

class AutoAnswer {
public:
    explicit AutoAnswer(QString answer = QStringLiteral("بله"))
        : answer_(std::move(answer))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts << box->text();
            QAbstractButton* chosen = box->buttons().value(0);
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == answer_ || (b->text() == QStringLiteral("تاييد")))
                    chosen = b;
            }
            chosen->click();
        });
        timer_.start();
    }
    QStringList texts;

private:
    QString answer_;
    QTimer timer_;
};

} // namespace orvak::test
