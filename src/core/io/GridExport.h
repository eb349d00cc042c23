#pragma once
// Writing a list's visible columns and rows to files: text, CSV, HTML (Windows-1256),
// Excel 2007 (XLSX) and Excel 97-2003 (XLS), plain or "complete".
#include "core/io/ListData.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace orvak::io {

struct ExportTable {
    QString title;                 // the screen's title ("complete" exports)
    QStringList headers;
    QList<int> widths;             // pixels on screen
    QList<CellFormat> formats;
    QList<bool> totals;            // columns summed in "complete" exports
    int rowCount = 0;
    std::function<QString(int row, int column)> text;              // as shown
    std::function<std::optional<double>(int row, int column)> number;   // numeric columns
    int columnCount() const { return int(headers.size()); }
};

enum class ExportFormat { Text, Csv, Html, Xlsx, Xls, XlsxComplete, XlsComplete };

// The save dialog's filters, in its order, and their extensions.
QStringList exportFilters();
ExportFormat exportFormatOfFilter(int index);
QString exportExtension(ExportFormat format);
// The name with the format's extension added when it has none of its own.
QString withExportExtension(const QString& path, ExportFormat format);
// The format a typed name asks for: that of its extension when the extension names
// a type (for a workbook the plain or complete one as chosen), else the chosen one.
ExportFormat exportFormatOfName(const QString& path, ExportFormat chosen);

// Writes the file whole or not at all; false with a Persian message.
bool exportTable(const ExportTable& table, ExportFormat format, const QString& path, QString* error = nullptr);

// The largest number of data rows an XLS sheet takes.
inline constexpr int XlsMaxRows = 65535;

} // namespace orvak::io
