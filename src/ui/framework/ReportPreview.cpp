#include "ui/framework/ReportPreview.h"

#include "ui/framework/MessageBoxes.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace orvak::ui::framework {

void previewReport(const io::ReportModel& report, const QString& title, QWidget* parent)
{
    if (report.isEmpty()) {
        ShowInfo(QStringLiteral("گزارش رديفي براي چاپ ندارد"), parent);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&report](QPrinter* p) { io::renderReport(report, *p); });
    preview.exec();
}

} // namespace orvak::ui::framework
