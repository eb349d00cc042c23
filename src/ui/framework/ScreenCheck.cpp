#include "ui/framework/ScreenCheck.h"

#include <QApplication>
#include <QDir>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

namespace orvak::ui::framework {

namespace {

// Closes whatever modal window comes up over the screen being checked.
class BoxCatcher {
public:
    explicit BoxCatcher(ScreenCheckLine& line)
        : line_(line)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }
    QWidget* screen = nullptr;   // never closed by the catcher
    bool sawError = false;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == screen || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            line_.messages << box->text();
            sawError = sawError || box->icon() == QMessageBox::Critical;
            box->reject();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            line_.messages << QStringLiteral("modal window: ") + dialog->windowTitle();
            dialog->reject();
        }
    }

    ScreenCheckLine& line_;
    QTimer timer_;
};

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    return text;
}

} // namespace

QList<ScreenCheckLine> checkScreens(const ScreenRegistry& registry, startup::Session& session, const QString& pictureDir)
{
    QList<ScreenCheckLine> lines;
    for (const ScreenEntry& entry : registry.entries()) {
        ScreenCheckLine line{entry.menuPath, entry.caption, entry.accessId, {}, false, {}};
        BoxCatcher catcher(line);
        const ScreenOpening opening = openScreen(entry, session, nullptr);
        if (!opening.refusal.isEmpty()) {
            line.outcome = QStringLiteral("refused: ") + opening.refusal;
        } else if (!opening.screen) {
            line.outcome = opening.failure;
            line.failed = true;
        } else {
            catcher.screen = opening.screen;
            opening.screen->show();
            QApplication::processEvents();
            const QString late = openFailure(opening.screen);
            if (catcher.sawError || !late.isEmpty()) {
                line.outcome = late.isEmpty() ? line.messages.last() : late;
                line.failed = true;
            } else {
                line.outcome = QStringLiteral("ok");
            }
            if (!pictureDir.isEmpty()) {
                const QString name = QStringLiteral("%1-%2.png").arg(lines.size() + 1, 2, 10, QLatin1Char('0')).arg(entry.caption.trimmed());
                if (!opening.screen->grab().save(QDir(pictureDir).filePath(QString(name).replace(QLatin1Char('/'), QLatin1Char('-')))))
                    line.messages << QStringLiteral("picture not written");
            }
            opening.screen->close();
            delete opening.screen;
            QApplication::processEvents();
        }
        if (line.failed && line.outcome.isEmpty())
            line.outcome = QStringLiteral("failed");
        lines << line;
    }
    return lines;
}

QString screenCheckHeader() { return QStringLiteral("menu\tcaption\taccess\tresult"); }

QString screenCheckRow(const ScreenCheckLine& line)
{
    return QStringList{oneLine(line.menuPath.join(QStringLiteral(" > "))), oneLine(line.caption), QString::number(line.accessId), oneLine(line.outcome)}
        .join(QLatin1Char('\t'));
}

} // namespace orvak::ui::framework
