#include "ui/startup/TFLoading.h"

#include "core/startup/Program.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace orvak::ui::startup {

using namespace orvak::startup;

TFLoading::TFLoading(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FLoading"));
    setWindowTitle(LoadingCaption());
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(LoadingCaption(), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(ApplicationTitle(), this);
    subtitle->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setRange(0, 12);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(bar_);
    resize(420, 160);
}

void TFLoading::setMaximum(int maximum) { bar_->setMaximum(maximum); }

void TFLoading::StepProgress()
{
    ++counter_;
    showStep();
}

void TFLoading::finish()
{
    bar_->setValue(bar_->maximum());
    repaint();
}

void TFLoading::showStep()
{
    bar_->setValue(qMin(counter_, bar_->maximum()));
    repaint();
}

int TFLoading::barValue() const { return bar_->value(); }
int TFLoading::barMaximum() const { return bar_->maximum(); }

} // namespace orvak::ui::startup
