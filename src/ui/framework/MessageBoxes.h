#pragma once
// The program's standard boxes: right-to-left, Persian buttons, modal.
#include <QString>

class QWidget;

namespace orvak::ui::framework {

inline constexpr int AskYes = 6;
inline constexpr int AskNo = 7;

void ShowInfo(const QString& text, QWidget* parent = nullptr);
void ShowError(const QString& text, QWidget* parent = nullptr);
int Ask(const QString& text, QWidget* parent = nullptr);               // 6 yes, 7 no
bool Confirm(const QString& text, QWidget* parent = nullptr);          // text + " مطمئن هستيد؟ "
void Refuse(QWidget* parent = nullptr);
bool ConfirmExit(QWidget* parent = nullptr);

} // namespace orvak::ui::framework
