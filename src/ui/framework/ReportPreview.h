#pragma once
// A report in the print preview, on A4 in its orientation, drawn with the report
// font; a report without rows is said so instead.
#include "core/io/Report.h"

class QWidget;

namespace orvak::ui::framework {

void previewReport(const io::ReportModel& report, const QString& title, QWidget* parent);

} // namespace orvak::ui::framework
