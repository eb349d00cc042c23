#pragma once
// The main window's clock face: hands and face in the colours of the main-screen
// settings, the seconds hand when they ask for it.
#include <QColor>
#include <QTime>
#include <QWidget>

namespace orvak::ui::startup {

class AnalogClock : public QWidget {
    Q_OBJECT
public:
    explicit AnalogClock(QWidget* parent = nullptr);

    void setTime(const QTime& time);
    void setColours(const QColor& hands, const QColor& face);
    void setSecondsHand(bool shown);

    QTime time() const { return time_; }
    QColor handsColour() const { return hands_; }
    QColor faceColour() const { return face_; }
    bool secondsHand() const { return seconds_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTime time_;
    QColor hands_ = Qt::darkBlue;
    QColor face_ = Qt::white;
    bool seconds_ = true;
};

} // namespace orvak::ui::startup
