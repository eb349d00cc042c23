#include "core/io/ListOutput.h"

#include "core/io/TsvStream.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <algorithm>
#include <cmath>

namespace orvak::io {

namespace {

qint64 whole(double value) { return qint64(std::llround(value)); }

QString singleLine(QString text)
{
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

std::optional<double> cellNumber(const ListColumn& column, const RowSet& rows, int row, int field)
{
    if (column.isComputed() || field < 0 || rows.isNull(row, field))
        return std::nullopt;
    if (column.format != CellFormat::Amount && column.format != CellFormat::Integer)
        return std::nullopt;
    return rows.number(row, field);
}

QList<int> visibleOf(const QList<ListColumn>& columns)
{
    QList<int> out;
    for (int c = 0; c < columns.size(); ++c) {
        if (columns[c].visible)
            out << c;
    }
    return out;
}

} // namespace

QString displayText(const ListColumn& column, const QVariant& value, const QString& text)
{
    if (value.isNull() && text.isEmpty())
        return {};
    switch (column.format) {
    case CellFormat::Amount: {
        const qint64 w = whole(value.toDouble());
        return w == 0 ? QStringLiteral("0") : util::FormatAmount(w);
    }
    case CellFormat::Boolean:
        return value.toInt() ? QStringLiteral("بله") : QStringLiteral("خير");
    case CellFormat::JalaliDate:
    case CellFormat::Integer:
    case CellFormat::Text:
        break;
    }
    return text.trimmed();
}

QString displayText(const ListColumn& column, const RowSet& rows, int row, int field)
{
    if (rows.isNull(row, field))
        return {};
    if (column.format == CellFormat::Amount || column.format == CellFormat::Boolean)
        return displayText(column, rows.value(row, field), QString());
    // A text is copied once, already trimmed.
    return rows.isNumeric(field) ? rows.text(row, field) : rows.textView(row, field).trimmed().toString();
}

namespace {

// A cell as plainText gives it, with its line breaks and tabs as stored.
QString cellText(const ListColumn& column, const RowSet& rows, int row)
{
    if (column.isComputed())
        return column.compute(rows, row);
    const int f = rows.fieldIndex(column.field);
    if (f < 0 || rows.isNull(row, f))
        return {};
    switch (column.format) {
    case CellFormat::Amount:
        return QString::number(whole(rows.number(row, f)));
    case CellFormat::Integer:
        return rows.isNumeric(f) ? QString::number(whole(rows.number(row, f))) : rows.text(row, f).trimmed();
    case CellFormat::JalaliDate: {
        const QString text = rows.text(row, f).trimmed();
        const std::optional<util::JalaliDate> date = util::parseJalali(text);
        return date ? date->toText() : text == QStringLiteral("/  /") ? QString() : text;
    }
    case CellFormat::Boolean:
    case CellFormat::Text:
        break;
    }
    return displayText(column, rows, row, f);
}

} // namespace

QString plainText(const ListColumn& column, const RowSet& rows, int row) { return singleLine(cellText(column, rows, row)); }

ExportTable exportTableOf(const QString& title, const QList<ListColumn>& columns, const RowSet& rows)
{
    const QList<int> shown = visibleOf(columns);
    ExportTable t;
    t.title = title;
    for (int c : shown) {
        t.headers << columns[c].title;
        t.widths << columns[c].width;
        t.formats << columns[c].format;
        t.totals << columns[c].total;
    }
    t.rowCount = rows.rowCount();
    t.text = [columns, &rows, shown](int r, int c) {
        const ListColumn& column = columns[shown[c]];
        if (column.isComputed())
            return column.compute(rows, r);
        const int f = rows.fieldIndex(column.field);
        return f < 0 ? QString() : displayText(column, rows, r, f);
    };
    t.number = [columns, &rows, shown](int r, int c) {
        const ListColumn& column = columns[shown[c]];
        return cellNumber(column, rows, r, column.isComputed() ? -1 : rows.fieldIndex(column.field));
    };
    return t;
}

void writeTsv(QTextStream& out, const QList<ListColumn>& columns, const RowSet& rows)
{
    const QList<int> shown = visibleOf(columns);
    QStringList cells;
    for (int c : shown)
        cells << tsvCell(columns[c].title);
    out << cells.join(QLatin1Char('\t')) << '\n';
    // Escaped as every TSV output is, so that a stored line break cannot split a row.
    for (int r = 0; r < rows.rowCount(); ++r) {
        cells.clear();
        for (int c : shown)
            cells << tsvCell(cellText(columns[c], rows, r));
        out << cells.join(QLatin1Char('\t')) << '\n';
    }
    bool first = true;
    for (int c : shown) {
        if (!columns[c].total)
            continue;
        const int f = columns[c].isComputed() ? -1 : rows.fieldIndex(columns[c].field);
        double sum = 0;
        for (int r = 0; f >= 0 && r < rows.rowCount(); ++r)
            sum += rows.number(r, f);
        if (first)
            out << '\n';
        first = false;
        out << tsvCell(columns[c].title) << '\t' << whole(sum) << '\n';
    }
    out.flush();
}

ReportModel reportOfTable(const ExportTable& table, const QStringList& extraTitleLines)
{
    ReportModel r;
    r.titleLines << table.title << QStringLiteral("تاريخ تهيه: ") + util::TodayJalali() << extraTitleLines;
    double widthSum = 0;
    for (int w : table.widths)
        widthSum += w;
    for (int c = 0; c < table.columnCount(); ++c) {
        r.columns.push_back({table.headers[c], table.widths[c] / std::max(1.0, widthSum), table.formats[c], table.totals[c]});
        if (table.totals[c] && r.wordsColumn < 0 && table.formats[c] == CellFormat::Amount)
            r.wordsColumn = c;
    }
    r.landscape = table.columnCount() > 7;
    for (int row = 0; row < table.rowCount; ++row) {
        QStringList texts;
        std::vector<double> values;
        for (int c = 0; c < table.columnCount(); ++c) {
            texts << table.text(row, c);
            values.push_back(table.number(row, c).value_or(0.0));
        }
        r.addRow(texts, values);
    }
    return r;
}

} // namespace orvak::io
