#pragma once
// The screens of the program as data: where each sits in the main menu, its caption,
// the access entry that guards it and how it is made; and the one-instance-per-class
// rule of opening (EnsureForm). The main window builds its menu from the registry and
// opens every screen through openScreen, so that access, the write level and showing
// are decided in one place; the check mode walks the same list.
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>

namespace orvak::startup {
class Session;
}

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

using ScreenFactory = std::function<QWidget*(startup::Session& session, QWidget* parent)>;

enum class ScreenKind {
    Window,       // one instance (EnsureForm), shown beside the main window
    KeptDialog,   // one instance (EnsureForm), run modally
    Dialog,       // made anew for each opening over the main window, run modally, freed
};

// The user's write level (SEL2) on a deposit register.
enum class WriteLevelRule {
    None,       // not concerned
    ReadOnly,   // a user who may not write gets the screen with its writing commands off
    Refuse,     // a user who may not write is refused the command
};

// Where the main menus begin on the position scale; a subsystem places its entries
// inside its menu's range.
namespace menu {
inline constexpr int System = 1000;     // "سامانه اورواک"
inline constexpr int Deposits = 2000;   // "سپرده ها"
inline constexpr int Guarantees = 2500; // "تضمينات"
inline constexpr int Tools = 3000;      // "تسهيلات"
inline constexpr int Help = 4000;       // "راهنما"
} // namespace menu

struct ScreenEntry {
    QStringList menuPath;   // the main menu's title, then sub-menus
    QString caption;        // the menu text
    // Place in the menu bar: entries and the main window's own commands are laid out
    // by it (menus appear where their first entry falls). Gaps leave room.
    int position = 0;
    int accessId = 0;       // the GetAccess entry; 0: unguarded
    WriteLevelRule writeLevel = WriteLevelRule::None;
    ScreenKind kind = ScreenKind::Window;
    ScreenFactory factory;
    QString key;            // the EnsureForm key of Window and KeptDialog screens
};

// A factory and key for screen class T made as T(session, parent).
template <class T>
ScreenFactory factoryOf()
{
    return [](startup::Session& session, QWidget* parent) -> QWidget* { return new T(session, parent); };
}
template <class T>
QString keyOf()
{
    return screenKey(T::staticMetaObject.className());
}

class ScreenRegistry {
public:
    // Window and KeptDialog entries need their key. The reference is for setting the
    // optional fields at once (access id, write level); the next add may move it.
    ScreenEntry& add(ScreenEntry entry);
    // Screen class T made as T(session, parent), with its EnsureForm key.
    template <class T>
    ScreenEntry& add(QStringList menuPath, QString caption, int position, ScreenKind kind = ScreenKind::Window)
    {
        ScreenEntry entry;
        entry.menuPath = std::move(menuPath);
        entry.caption = std::move(caption);
        entry.position = position;
        entry.kind = kind;
        entry.factory = factoryOf<T>();
        entry.key = keyOf<T>();
        return add(std::move(entry));
    }
    // In menu order.
    QList<ScreenEntry> entries() const;

private:
    QList<ScreenEntry> entries_;
};

// The outcome of opening a registered screen. A refusal is the user's rights
// speaking; a failure is a fault (the factory threw or made nothing, or the screen
// said it could not open).
struct ScreenOpening {
    QWidget* screen = nullptr;
    QString refusal;
    QString failure;
    bool failureShown = false;   // the screen told the user itself
    bool readOnly = false;
};

// Checks access (startup::userAccess: a manager holds every right) and the write
// level, makes (or finds) the screen, applies read-only, gives a list the user's
// access bits and re-reads a list that is opened again. Does not show it.
ScreenOpening openScreen(const ScreenEntry& entry, startup::Session& session, QWidget* parent);
// openScreen, with its refusal or failure told to the user; the screen or nullptr.
QWidget* openScreenOrTell(const ScreenEntry& entry, startup::Session& session, QWidget* parent);

// A screen that cannot open (its data could not be read, say) says so on itself.
void reportOpenFailure(QWidget* screen, const QString& why);
QString openFailure(const QWidget* screen);

} // namespace orvak::ui::framework
