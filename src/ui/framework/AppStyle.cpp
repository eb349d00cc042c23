#include "framework/AppStyle.h"

#include "startup/Program.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// The resources live in a static library: register them explicitly.
static void initUiResources() { Q_INIT_RESOURCE(ui); }

namespace orvak::framework {

void applyPersianStyle(QApplication& app)
{
    initUiResources();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
    QApplication::setApplicationDisplayName(startup::ApplicationTitle());

    QString family;
    for (const char* file : {":/fonts/Vazirmatn-Regular.ttf", ":/fonts/Vazirmatn-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id >= 0 && family.isEmpty())
            family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    QFont font = QApplication::font();
    font.setFamilies({family.isEmpty() ? QStringLiteral("Noto Sans Arabic") : family,
                      QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(10);
    QApplication::setFont(font);
    if (family.isEmpty())
        qWarning("orvak: the bundled Vazirmatn font could not be loaded; using Noto Sans Arabic");

    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_fa", "qt_fa"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), dir))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace orvak::framework
