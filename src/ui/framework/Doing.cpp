#include "ui/framework/Doing.h"

#include "ui/framework/MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

void MessagePrompt::info(const QString& text) { ShowInfo(text, parent_); }

bool MessagePrompt::ask(const QString& text) { return Ask(text, parent_) == AskYes; }

std::optional<QString> MessagePrompt::askText(const QString& label, bool masked)
{
    QInputDialog dialog(parent_);
    dialog.setLayoutDirection(Qt::RightToLeft);   // its owner may be a left-to-right field
    dialog.setLabelText(label);
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("تاييد"));
    dialog.setCancelButtonText(QStringLiteral("انصراف"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

TFDoing::TFDoing(const QString& title, QWidget* parent)
    : QDialog(parent)
    , MessagePrompt(parent)
{
    setObjectName(QStringLiteral("FDoing"));
    setWindowTitle(QStringLiteral("لطفا منتظر بمانيد ..."));
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(title, this);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    operation_ = new QLabel(QStringLiteral("نام عمليات :"), this);
    gauge_ = new QProgressBar(this);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    layout->addWidget(title_);
    layout->addWidget(operation_);
    layout->addWidget(gauge_);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, [this] { stop_ = true; });
    resize(420, 150);
}

void TFDoing::progress(const QString& title, int step, int total)
{
    if (!isVisible())
        show();
    operation_->setText(QStringLiteral("نام عمليات :") + QLatin1Char(' ') + title);
    gauge_->setMaximum(std::max(1, total));
    gauge_->setValue(std::clamp(step, 0, std::max(1, total)));
    repaint();
}

bool TFDoing::stopRequested()
{
    // Let the stop button be pressed between steps.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return stop_;
}

int TFDoing::gaugeValue() const { return gauge_->value(); }
QString TFDoing::operation() const { return operation_->text(); }

} // namespace orvak::ui::framework
