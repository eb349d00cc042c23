#include "ui/startup/AnalogClock.h"

#include <QPainter>

#include <algorithm>

namespace orvak::ui::startup {

AnalogClock::AnalogClock(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("AnalogClock"));
    setFixedSize(120, 120);
    // The face reads the same in every writing direction.
    setLayoutDirection(Qt::LeftToRight);
}

void AnalogClock::setTime(const QTime& time)
{
    if (time_.hour() == time.hour() && time_.minute() == time.minute() && time_.second() == time.second() && time_.isValid())
        return;
    time_ = time;
    update();
}

void AnalogClock::setColours(const QColor& hands, const QColor& face)
{
    hands_ = hands;
    face_ = face;
    update();
}

void AnalogClock::setSecondsHand(bool shown)
{
    seconds_ = shown;
    update();
}

void AnalogClock::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);
    p.setPen(QPen(hands_, 3));
    p.setBrush(face_);
    p.drawEllipse(QPointF(0, 0), 96, 96);
    for (int i = 0; i < 12; ++i) {
        p.drawLine(QPointF(0, -86), QPointF(0, i % 3 == 0 ? -74 : -80));
        p.rotate(30);
    }
    const QTime t = time_.isValid() ? time_ : QTime(0, 0);
    auto hand = [&](double degrees, double length, double width) {
        p.save();
        p.rotate(degrees);
        p.setPen(QPen(hands_, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 12), QPointF(0, -length));
        p.restore();
    };
    hand(30.0 * (t.hour() % 12 + t.minute() / 60.0), 50, 7);
    hand(6.0 * (t.minute() + t.second() / 60.0), 74, 4);
    if (seconds_)
        hand(6.0 * t.second(), 82, 1.5);
    p.setBrush(hands_);
    p.drawEllipse(QPointF(0, 0), 5, 5);
}

} // namespace orvak::ui::startup
