#include "ui/letters/LetterPrinting.h"

#include "ui/framework/MessageBoxes.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace orvak::ui::letters {

void previewLetters(const std::vector<orvak::letters::LetterPage>& letters, const QString& title, QWidget* parent)
{
    if (letters.empty()) {
        framework::ShowInfo(QStringLiteral("نامه اي براي چاپ نيست"), parent);
        return;
    }
    const orvak::letters::LetterPage& first = letters.front();
    QSizeF points = orvak::letters::letterPagePoints(first);
    if (first.twoPerSheet && !orvak::letters::paperLayout(first.layout).a4)
        points = QSizeF(842, 595);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QSizeF(std::min(points.width(), points.height()), std::max(points.width(), points.height())), QPageSize::Point));
    printer.setPageOrientation(points.width() > points.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&letters](QPrinter* p) { orvak::letters::renderLetters(letters, *p); });
    preview.exec();
}

} // namespace orvak::ui::letters
