#pragma once
// One instance per screen class: opening a screen again brings back the same window
// with its state; a screen that was closed and freed is created anew.
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <utility>

namespace orvak::ui::framework {

// Registry key of a screen class: its class name without namespace and without the
// leading 'T' ("TViewSepDar" -> "ViewSepDar").
QString screenKey(const char* className);
QPointer<QWidget>& screenSlot(const QString& key);

// The arguments reach the constructor when the screen has to be created.
template <class T, class... Args>
T* EnsureForm(Args&&... args)
{
    const QString key = screenKey(T::staticMetaObject.className());
    QPointer<QWidget>& slot = screenSlot(key);
    if (auto* existing = qobject_cast<T*>(slot.data()))
        return existing;
    auto* screen = new T(std::forward<Args>(args)...);
    screen->setObjectName(key);
    slot = screen;
    return screen;
}

// Shows a screen in front. While a modal window is up (the set-up screen, say) the
// screen becomes its child window, so that the modal window does not block it.
void showScreen(QWidget* screen);

// Screens still alive, for a clean shut-down.
void closeAllScreens();

} // namespace orvak::ui::framework
