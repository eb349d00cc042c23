#pragma once
// A small writer of Excel 97-2003 workbooks: one right-to-left sheet of text and
// number cells in a compound document, as spreadsheet programs read them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace orvak::io {

class XlsWriter {
public:
    explicit XlsWriter(QString sheetName);
    void setColumnWidth(int column, int characters);
    // Cell styles: 0 plain, 1 number "#,##0", 2 bold.
    void text(int row, int column, const QString& value, int style = 0);
    void number(int row, int column, double value, int style = 1);
    QByteArray workbook() const;   // the whole .xls file

private:
    struct Cell {
        int row;
        int column;
        int style;
        std::variant<QString, double> value;
    };
    QString sheet_;
    std::vector<Cell> cells_;
    std::vector<std::pair<int, int>> widths_;
    int rows_ = 0;
    int columns_ = 0;
};

// The compound-document container with one stream named "Workbook".
QByteArray compoundFile(const QByteArray& workbookStream);

} // namespace orvak::io
