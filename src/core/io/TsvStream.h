#pragma once
// Tab-separated text as the command line writes it, and a declared list written
// that way as its rows are read: each column's place in the query is found once, a
// row is written as soon as it is read, and nothing of the list is held, so memory
// stays the same whatever the number of rows.
//
// A cell's backslash, tab, carriage return and line feed are written \\, \t, \r
// and \n: no stored value can split a line or pass for another row.
#include "core/io/ListDefinition.h"

#include <QByteArray>
#include <QTextStream>
#include <optional>
#include <vector>

namespace orvak::io {

// A text as one TSV cell.
QString tsvCell(QStringView text);

// UTF-8 into a buffer, handed to the stream in large pieces.
class TsvWriter {
public:
    explicit TsvWriter(QTextStream& out);
    ~TsvWriter();
    TsvWriter(const TsvWriter&) = delete;
    TsvWriter& operator=(const TsvWriter&) = delete;

    // Cells of a line, separated by tabs.
    TsvWriter& cell(QStringView text);
    TsvWriter& utf8Cell(QByteArrayView utf8);   // escaped and with its ends' spaces trimmed
    TsvWriter& cell(qint64 number);
    TsvWriter& emptyCell();
    TsvWriter& rawCell(QByteArrayView utf8);    // written as it is (already escaped)
    void endLine();
    void flush();

private:
    void separate();
    QTextStream& out_;
    QByteArray buffer_;
    bool lineStarted_ = false;
};

struct StreamedList {
    qint64 rows = 0;
    // The sums of the list's summed columns (of the whole numbers each cell shows,
    // exact to the rial), in the order of its visible columns.
    QList<std::pair<QString, qint64>> totals;
};

// Writes the header (the visible columns' titles) and the rows of the list, with
// the values of its parameters (the defaults for those not given). A failure of
// the read ends the output with nullopt and the reason: a list cut short is no list.
std::optional<StreamedList> streamList(TsvWriter& out, ListSource& source, const ListDefinition& list, const QVariantMap& values,
                                       QString* error);

// The "title<TAB>sum" lines after an empty line, for the summed columns.
void writeTotals(TsvWriter& out, const StreamedList& list);

} // namespace orvak::io
