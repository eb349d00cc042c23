#pragma once
class QApplication;

namespace orvak::ui::framework {

// Right-to-left layout, the bundled Persian font (Vazirmatn, else Noto Sans Arabic)
// and Qt's own Persian translations for the standard dialogs.
void applyPersianStyle(QApplication& app);

} // namespace orvak::ui::framework
