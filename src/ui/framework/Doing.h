#pragma once
// Asking the user from core operations: message boxes, and the wait window with its
// gauge and stop button for long work.
#include "core/startup/Prompt.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace orvak::ui::framework {

// Questions and messages in the standard boxes.
class MessagePrompt : public startup::Prompt {
public:
    explicit MessagePrompt(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    void info(const QString& text) override;
    bool ask(const QString& text) override;
    std::optional<QString> askText(const QString& label, bool masked) override;

protected:
    QWidget* parent_;
};

// "لطفا منتظر بمانيد ...": a title line, "نام عمليات :", a gauge and "انصراف".
class TFDoing : public QDialog, public MessagePrompt {
    Q_OBJECT
public:
    explicit TFDoing(const QString& title, QWidget* parent = nullptr);
    void progress(const QString& title, int step, int total) override;
    bool stopRequested() override;
    int gaugeValue() const;
    QString operation() const;

private:
    QLabel* title_ = nullptr;
    QLabel* operation_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    bool stop_ = false;
};

} // namespace orvak::ui::framework
