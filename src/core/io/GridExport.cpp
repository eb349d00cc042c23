#include "core/io/GridExport.h"

#include "core/util/AtomicFile.h"

#include "core/io/XlsWriter.h"
#include "core/util/CodePage1256.h"
#include "core/util/Jalali.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <xlsxwriter.h>

namespace orvak::io {

namespace {

const char* const kExtensions[] = {"txt", "CSV", "htm", "XLSX", "XLS", "XLSX", "XLS"};
constexpr int kCompleteHeaderRow = 3;   // under the title and its date

QString cannotWrite(const QString& path)
{
    return QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(QDir::toNativeSeparators(path));
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    if (util::writeFileAtomically(path, bytes))
        return true;
    if (error)
        *error = cannotWrite(path);
    return false;
}

bool isNumberColumn(const ExportTable& t, int c)
{
    const CellFormat f = t.formats.value(c, CellFormat::Text);
    return f == CellFormat::Amount || f == CellFormat::Integer;
}

QString csvField(QString s)
{
    if (s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n'))) {
        s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + s + QLatin1Char('"');
    }
    return s;
}

// Plain text with the separator; UTF-8 with a byte-order mark, which spreadsheet
// programs and editors on Windows recognise.
QByteArray delimited(const ExportTable& t, QChar separator, bool quote)
{
    QString out;
    auto line = [&](const QStringList& fields) {
        QStringList f = fields;
        if (quote) {
            for (QString& s : f)
                s = csvField(s);
        }
        out += f.join(separator) + QStringLiteral("\r\n");
    };
    line(t.headers);
    for (int r = 0; r < t.rowCount; ++r) {
        QStringList fields;
        for (int c = 0; c < t.columnCount(); ++c) {
            QString s = t.text(r, c);
            if (!quote)
                s.replace(separator, QLatin1Char(' '));
            fields << s;
        }
        line(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QString htmlEscape(const QString& s)
{
    QString out = s.toHtmlEscaped();
    // Characters the code page lacks travel as character references.
    QString encoded;
    for (QChar c : out) {
        if (util::code1256(c) < 0)
            encoded += QStringLiteral("&#%1;").arg(c.unicode());
        else
            encoded += c;
    }
    return encoded;
}

QByteArray html(const ExportTable& t)
{
    QString out;
    out += QStringLiteral("<html DIR=RTL>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\">\r\n");
    out += QStringLiteral("<title>%1</title>\r\n</head>\r\n<body>\r\n").arg(htmlEscape(t.title));
    out += QStringLiteral("<table border=1 cellspacing=0>\r\n<tr>");
    for (int c = 0; c < t.columnCount(); ++c)
        out += QStringLiteral("<th width=%1>%2</th>").arg(t.widths.value(c, 100)).arg(htmlEscape(t.headers[c]));
    out += QStringLiteral("</tr>\r\n");
    for (int r = 0; r < t.rowCount; ++r) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < t.columnCount(); ++c)
            out += QStringLiteral("<td width=%1>%2</td>").arg(t.widths.value(c, 100)).arg(htmlEscape(t.text(r, c)));
        out += QStringLiteral("</tr>\r\n");
    }
    out += QStringLiteral("</table>\r\n</body>\r\n</html>\r\n");
    return util::encode1256(out).bytes;
}

int characters(int pixels) { return std::clamp(pixels / 7, 4, 80); }

bool xlsx(const ExportTable& t, bool complete, const QString& path, QString* error)
{
    const QString temp = path + QStringLiteral(".part");
    QFile::remove(temp);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;   // rows go straight to disk
    options.tmpdir = nullptr;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(temp).constData(), &options);
    if (!book) {
        if (error)
            *error = cannotWrite(path);
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet");
    worksheet_right_to_left(sheet);
    lxw_format* amount = workbook_add_format(book);
    format_set_num_format(amount, "#,##0");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    if (complete) {
        format_set_bg_color(header, 0xDDEBF7);
        format_set_border(header, LXW_BORDER_THIN);
    }
    lxw_format* totalAmount = workbook_add_format(book);
    format_set_num_format(totalAmount, "#,##0");
    format_set_bold(totalAmount);

    int row = 0;
    if (complete) {
        // The filter is set before any row is written: a workbook written row by row
        // to disk refuses a range whose first row has gone out already.
        if (t.rowCount > 0 && t.columnCount() > 0) {
            const lxw_error rc = worksheet_autofilter(sheet, kCompleteHeaderRow, 0, lxw_row_t(kCompleteHeaderRow + t.rowCount), lxw_col_t(t.columnCount() - 1));
            if (rc != LXW_NO_ERROR) {
                workbook_close(book);
                QFile::remove(temp);
                if (error)
                    *error = QStringLiteral("نوشتن فايل اکسل ممکن نشد: %1").arg(QString::fromUtf8(lxw_strerror(rc)));
                return false;
            }
        }
        worksheet_write_string(sheet, 0, 0, t.title.toUtf8().constData(), bold);
        worksheet_write_string(sheet, 1, 0, (QStringLiteral("تاريخ تهيه: ") + util::TodayJalali()).toUtf8().constData(), nullptr);
        row = kCompleteHeaderRow;
    }
    for (int c = 0; c < t.columnCount(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), characters(t.widths.value(c, 100)), nullptr);
    for (int c = 0; c < t.columnCount(); ++c)
        worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(c), t.headers[c].toUtf8().constData(), header);
    const int headerRow = row;
    ++row;
    std::vector<double> sums(size_t(t.columnCount()), 0.0);
    for (int r = 0; r < t.rowCount; ++r, ++row) {
        for (int c = 0; c < t.columnCount(); ++c) {
            const std::optional<double> n = isNumberColumn(t, c) && t.number ? t.number(r, c) : std::nullopt;
            lxw_error rc;
            if (n) {
                rc = worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(c), *n, amount);
                sums[size_t(c)] += *n;
            } else {
                const QByteArray s = t.text(r, c).toUtf8();
                rc = s.isEmpty() ? LXW_NO_ERROR : worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(c), s.constData(), nullptr);
            }
            if (rc != LXW_NO_ERROR) {
                workbook_close(book);
                QFile::remove(temp);
                if (error)
                    *error = QStringLiteral("نوشتن فايل اکسل ممکن نشد: %1").arg(QString::fromUtf8(lxw_strerror(rc)));
                return false;
            }
        }
    }
    if (complete) {
        worksheet_write_string(sheet, lxw_row_t(row), 0, "جمع", bold);
        for (int c = 0; c < t.columnCount(); ++c) {
            if (t.totals.value(c, false))
                worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(c), sums[size_t(c)], totalAmount);
        }
        worksheet_freeze_panes(sheet, lxw_row_t(headerRow + 1), 0);
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR) {
        QFile::remove(temp);
        if (error)
            *error = cannotWrite(path) + QStringLiteral(" (") + QString::fromUtf8(lxw_strerror(rc)) + QLatin1Char(')');
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        if (error)
            *error = cannotWrite(path);
        return false;
    }
    return true;
}

bool xls(const ExportTable& t, bool complete, const QString& path, QString* error)
{
    const int first = complete ? kCompleteHeaderRow : 0;
    if (t.rowCount + first + 2 > XlsMaxRows + 1) {
        if (error)
            *error = QStringLiteral("فايل اکسل 97-2003 حداکثر %1 رديف مي پذيرد؛ براي %2 رديف قالب XLSX را انتخاب کنيد")
                         .arg(XlsMaxRows)
                         .arg(t.rowCount);
        return false;
    }
    XlsWriter w(QStringLiteral("Sheet"));
    if (complete) {
        w.text(0, 0, t.title, 2);
        w.text(1, 0, QStringLiteral("تاريخ تهيه: ") + util::TodayJalali());
    }
    for (int c = 0; c < t.columnCount(); ++c) {
        w.setColumnWidth(c, characters(t.widths.value(c, 100)));
        w.text(first, c, t.headers[c], complete ? 2 : 0);
    }
    std::vector<double> sums(size_t(t.columnCount()), 0.0);
    for (int r = 0; r < t.rowCount; ++r) {
        for (int c = 0; c < t.columnCount(); ++c) {
            const std::optional<double> n = isNumberColumn(t, c) && t.number ? t.number(r, c) : std::nullopt;
            if (n) {
                w.number(first + 1 + r, c, *n);
                sums[size_t(c)] += *n;
            } else {
                const QString s = t.text(r, c);
                if (!s.isEmpty())
                    w.text(first + 1 + r, c, s);
            }
        }
    }
    if (complete) {
        const int total = first + 1 + t.rowCount;
        w.text(total, 0, QStringLiteral("جمع"), 2);
        for (int c = 0; c < t.columnCount(); ++c) {
            if (t.totals.value(c, false))
                w.number(total, c, sums[size_t(c)]);
        }
    }
    return writeBytes(path, w.workbook(), error);
}

} // namespace

QStringList exportFilters()
{
    return {QStringLiteral("فايل متن (*.txt)"),           QStringLiteral("فايل متن  فاصله دار (*.CSV)"),
            QStringLiteral("فايل صفحات وب (*.htm)"),       QStringLiteral("فايل اکسل (*.XLSX)"),
            QStringLiteral("فايل اکسل97-2003 (*.XLS)"),    QStringLiteral("فايل اکسل کامل (*.XLSX)"),
            QStringLiteral("فايل اکسل 2003-97 کامل (*.XLS)")};
}

ExportFormat exportFormatOfFilter(int index) { return ExportFormat(std::clamp(index, 0, 6)); }

QString exportExtension(ExportFormat format) { return QString::fromLatin1(kExtensions[int(format)]); }

QString withExportExtension(const QString& path, ExportFormat format)
{
    const QString ext = exportExtension(format);
    if (QFileInfo(path).suffix().compare(ext, Qt::CaseInsensitive) == 0
        || (format == ExportFormat::Html && QFileInfo(path).suffix().compare(QStringLiteral("html"), Qt::CaseInsensitive) == 0))
        return path;
    return path + QLatin1Char('.') + ext;
}

ExportFormat exportFormatOfName(const QString& path, ExportFormat chosen)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool complete = chosen == ExportFormat::XlsxComplete || chosen == ExportFormat::XlsComplete;
    if (suffix == QLatin1String("txt"))
        return ExportFormat::Text;
    if (suffix == QLatin1String("csv"))
        return ExportFormat::Csv;
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return ExportFormat::Html;
    if (suffix == QLatin1String("xlsx"))
        return complete ? ExportFormat::XlsxComplete : ExportFormat::Xlsx;
    if (suffix == QLatin1String("xls"))
        return complete ? ExportFormat::XlsComplete : ExportFormat::Xls;
    return chosen;
}

bool exportTable(const ExportTable& table, ExportFormat format, const QString& path, QString* error)
{
    if (!QFileInfo(path).dir().exists()) {
        if (error)
            *error = cannotWrite(path);
        return false;
    }
    switch (format) {
    case ExportFormat::Text:
        return writeBytes(path, delimited(table, QLatin1Char('\t'), false), error);
    case ExportFormat::Csv:
        return writeBytes(path, delimited(table, QLatin1Char(','), true), error);
    case ExportFormat::Html:
        return writeBytes(path, html(table), error);
    case ExportFormat::Xlsx:
    case ExportFormat::XlsxComplete:
        return xlsx(table, format == ExportFormat::XlsxComplete, path, error);
    case ExportFormat::Xls:
    case ExportFormat::XlsComplete:
        return xls(table, format == ExportFormat::XlsComplete, path, error);
    }
    return false;
}

} // namespace orvak::io
