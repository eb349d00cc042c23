#pragma once
// A list's cells as the screen shows them and as orvakctl prints them, the list as
// tab-separated text, and the printed report of a list's visible columns.
#include "core/io/GridExport.h"
#include "core/io/ListData.h"
#include "core/io/Report.h"

#include <QTextStream>

namespace orvak::io {

// The screen's text of a query value: amounts as #,###, booleans as بله/خير, the
// rest trimmed.
QString displayText(const ListColumn& column, const QVariant& value, const QString& text);
// The same, of a stored cell (field: the column's index in the rows).
QString displayText(const ListColumn& column, const RowSet& rows, int row, int field);
// The command line's text of a cell: amounts as plain whole numbers, dates as
// YYYY/MM/DD, computed columns as their text; tabs and line breaks become spaces.
QString plainText(const ListColumn& column, const RowSet& rows, int row);

// The visible columns of the rows, as the screen shows them (the rows must outlive
// the table).
ExportTable exportTableOf(const QString& title, const QList<ListColumn>& columns, const RowSet& rows);

// The header line (visible columns' titles), one line per row and, when columns are
// summed, an empty line and "title<TAB>sum" per summed column.
void writeTsv(QTextStream& out, const QList<ListColumn>& columns, const RowSet& rows);

// The report of a table: its title, the day and the extra lines above, one column
// per table column weighted by its width, the first summed amount in words.
ReportModel reportOfTable(const ExportTable& table, const QStringList& extraTitleLines = {});

} // namespace orvak::io
