#pragma once
// "Empty and fill a sheet": the rows of one sheet of an existing .xlsx workbook below
// its header row replaced by new rows, each value under the header cell of its
// column's name; the header row, the other sheets and everything else of the
// workbook are kept. The workbook is replaced in one step once the new one is whole.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace orvak::io {

// values: one list per row, in the order of columns; a string is written as text,
// a number as a number, an invalid value leaves the cell empty. False with the
// reason in *error (the workbook then stays as it was): not a readable workbook, no
// such sheet, a named column missing from its header row, or the file not writable.
bool fillSheet(const QString& path, const QString& sheet, const QStringList& columns, const QList<QVariantList>& rows, QString* error);

} // namespace orvak::io
