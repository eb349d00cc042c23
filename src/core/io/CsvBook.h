#pragma once
// A comma-separated text file read as a one-sheet workbook, for the imports that
// take spreadsheets: offices save their books as CSV too. UTF-8 (a byte-order mark
// is skipped); a file that is not valid UTF-8 is read as Windows-1256. Quoted cells
// may hold commas, doubled quotes and line breaks.
#include "core/io/Workbook.h"

namespace orvak::io {

class CsvBook final : public Workbook {
public:
    // nullptr with the reason in *error when the file cannot be read.
    static std::unique_ptr<CsvBook> open(const QString& path, QString* error);

    QStringList sheetNames() const override;
    bool readSheet(int sheet, const std::function<bool(int row, const QStringList& cells)>& row, QString* error) override;

private:
    QString text_;
    QString name_;
};

// The workbook at path: .csv by its name, .xls and .xlsx by their first bytes.
std::unique_ptr<Workbook> openSpreadsheet(const QString& path, QString* error);

} // namespace orvak::io
