#pragma once
// Reading spreadsheet workbooks: open one, list its sheets, and read a sheet as rows
// of text cells, every row in sheet order (empty ones too, so that row n of the
// reading is row n of the sheet) and no header taken out. Excel 97-2003 (.xls)
// through FreeXL, Office Open XML (.xlsx) through libzip and an XML stream reader.
// The kind is told by the file's first bytes, not its name. For every import that
// reads spreadsheets (bank statements, deposits).
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace orvak::io {

// A number cell as text: whole numbers without a fraction ("1250000"), others with
// up to fifteen significant digits ("0.25").
QString numberCellText(double value);

class Workbook {
public:
    virtual ~Workbook() = default;

    // The workbook at path; nullptr with the reason in *error when it is not a
    // workbook this reader knows, or cannot be read.
    static std::unique_ptr<Workbook> open(const QString& path, QString* error);
    // Whether the file begins as a workbook does (either kind).
    static bool looksLikeWorkbook(const QString& path);

    virtual QStringList sheetNames() const = 0;
    // Hands each row to row(number from 1, cells) in order; row returns false to stop.
    // False with the reason in *error when the sheet cannot be read (nothing more is
    // handed on then).
    virtual bool readSheet(int sheet, const std::function<bool(int row, const QStringList& cells)>& row, QString* error) = 0;

    // The part of an Office Open XML workbook that holds the sheet ("xl/worksheets/
    // sheet1.xml"); empty for other kinds.
    virtual QString sheetPart(int sheet) const
    {
        Q_UNUSED(sheet);
        return {};
    }

    // Every row at once (small sheets).
    bool readAll(int sheet, QList<QStringList>& rows, QString* error);
};

// "فايل اکسل قابل خواندن نيست: <name>" and the reason.
QString workbookFailureText(const QString& path, const QString& why);

} // namespace orvak::io
