#include "ui/framework/ScreenRegistry.h"

#include <QApplication>

namespace orvak::ui::framework {

namespace {
QHash<QString, QPointer<QWidget>>& registry()
{
    static QHash<QString, QPointer<QWidget>> screens;
    return screens;
}
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

} // namespace orvak::ui::framework
