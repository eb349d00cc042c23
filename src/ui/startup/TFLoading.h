#pragma once
#include <QWidget>

class QProgressBar;

namespace orvak::ui::startup {

// The loading screen shown while the program prepares itself.
class TFLoading : public QWidget {
    Q_OBJECT
public:
    explicit TFLoading(QWidget* parent = nullptr);
    void setMaximum(int maximum);
    // Adds one step; the bar never passes its maximum.
    void StepProgress();
    void finish();
    int counter() const { return counter_; }
    int barValue() const;
    int barMaximum() const;

private:
    void showStep();
    QProgressBar* bar_ = nullptr;
    int counter_ = 1;
};

} // namespace orvak::ui::startup
