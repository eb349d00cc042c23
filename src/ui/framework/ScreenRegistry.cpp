#include "ui/framework/ScreenRegistry.h"

#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"

#include <QApplication>
#include <algorithm>
#include <exception>

namespace orvak::ui::framework {

namespace {
QHash<QString, QPointer<QWidget>>& registry()
{
    static QHash<QString, QPointer<QWidget>> screens;
    return screens;
}

constexpr const char* kOpenFailure = "orvakOpenFailure";
} // namespace

QString screenKey(const char* className)
{
    QString name = QString::fromLatin1(className);
    const int sep = name.lastIndexOf(QStringLiteral("::"));
    if (sep >= 0)
        name = name.mid(sep + 2);
    return name.mid(1);
}

QPointer<QWidget>& screenSlot(const QString& key) { return registry()[key]; }

void showScreen(QWidget* screen)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != screen && screen->parentWidget() != modal)
        screen->setParent(modal, screen->windowFlags() | Qt::Window);
    screen->show();
    screen->raise();
    screen->activateWindow();
}

void closeAllScreens()
{
    for (QPointer<QWidget>& screen : registry()) {
        if (screen)
            delete screen.data();
    }
    registry().clear();
}

// ---- the registry of screens

ScreenEntry& ScreenRegistry::add(ScreenEntry entry)
{
    entries_ << std::move(entry);
    return entries_.last();
}

QList<ScreenEntry> ScreenRegistry::entries() const
{
    QList<ScreenEntry> sorted = entries_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const ScreenEntry& a, const ScreenEntry& b) { return a.position < b.position; });
    return sorted;
}

void reportOpenFailure(QWidget* screen, const QString& why) { screen->setProperty(kOpenFailure, why); }

QString openFailure(const QWidget* screen) { return screen->property(kOpenFailure).toString(); }

namespace {

QWidget* makeScreen(const ScreenEntry& entry, startup::Session& session, QWidget* parent, QString* failure)
{
    if (!entry.factory) {
        *failure = QStringLiteral("no factory registered");
        return nullptr;
    }
    const bool kept = entry.kind != ScreenKind::Dialog;
    if (kept && entry.key.isEmpty()) {
        *failure = QStringLiteral("no screen key registered");
        return nullptr;
    }
    if (kept) {
        if (QWidget* existing = screenSlot(entry.key).data())
            return existing;
    }
    QWidget* screen = nullptr;
    try {
        // Kept screens outlive any window they were opened from: they have no parent.
        screen = entry.factory(session, kept ? nullptr : parent);
    } catch (const std::exception& e) {
        *failure = QString::fromLocal8Bit(e.what());
        return nullptr;
    } catch (...) {
        *failure = QStringLiteral("unknown exception");
        return nullptr;
    }
    if (!screen) {
        *failure = QStringLiteral("the factory made no screen");
        return nullptr;
    }
    if (kept) {
        screen->setObjectName(entry.key);
        screenSlot(entry.key) = screen;
    }
    return screen;
}

} // namespace

ScreenOpening openScreen(const ScreenEntry& entry, startup::Session& session, QWidget* parent)
{
    ScreenOpening result;
    int mask = startup::AccessAll;
    if (entry.accessId != 0) {
        const startup::Access access = startup::userAccess(session, entry.accessId);
        if (access.refused()) {
            result.refusal = access.error.isEmpty() ? startup::menuRefusalText() : access.error;
            return result;
        }
        mask = access.mask;
    }
    const bool mayWrite = startup::canWriteDeposits(session);
    if (entry.writeLevel == WriteLevelRule::Refuse && !mayWrite) {
        result.refusal = startup::refusalText();
        return result;
    }
    QWidget* screen = makeScreen(entry, session, parent, &result.failure);
    if (!screen)
        return result;
    // The same instance serves users of either level, so the level is set each time.
    if (entry.writeLevel == WriteLevelRule::ReadOnly) {
        result.readOnly = !mayWrite;
        if (!QMetaObject::invokeMethod(screen, "setReadOnly", Q_ARG(bool, result.readOnly)))
            result.failure = QStringLiteral("the screen has no read-only mode (setReadOnly)");
    }
    // The list's buttons and keys answer to the user's bits on the entry; a list
    // opened again shows the data as it is now.
    if (auto* list = qobject_cast<ListScreen*>(screen))
        list->setAccess(mask);
    if (result.failure.isEmpty()) {
        if (auto* list = qobject_cast<ListScreen*>(screen); list && !list->reopen()) {
            result.failure = list->lastError().isEmpty() ? QStringLiteral("the list could not be opened") : list->lastError();
            result.failureShown = true;
        }
    }
    if (result.failure.isEmpty())
        result.failure = openFailure(screen);
    if (!result.failure.isEmpty()) {
        delete screen;
        return result;
    }
    result.screen = screen;
    return result;
}

QWidget* openScreenOrTell(const ScreenEntry& entry, startup::Session& session, QWidget* parent)
{
    const ScreenOpening opening = openScreen(entry, session, parent);
    if (!opening.refusal.isEmpty())
        ShowInfo(opening.refusal, parent);
    else if (!opening.screen && !opening.failureShown)
        ShowError(opening.failure, parent);
    return opening.refusal.isEmpty() ? opening.screen : nullptr;
}

} // namespace orvak::ui::framework
