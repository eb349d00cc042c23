#include "ui/framework/AppStyle.h"

#include "core/io/Report.h"
#include "core/startup/Program.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orvak::ui::framework {

void applyPersianStyle(QApplication& app)
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
    QApplication::setApplicationDisplayName(startup::ApplicationTitle());

    const QString family = io::loadBundledFonts();
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

} // namespace orvak::ui::framework
