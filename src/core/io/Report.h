#pragma once
// Printed reports: a model of title lines, columns, rows, groups and signatures,
// laid out into pages right to left with page totals carried from page to page, a
// grand total and the total in words, and drawn onto any paged device (PDF, the
// printer, the print preview). A model may instead hold records (a receipt, a
// form): each its caption and value pairs in a box, with the signatures under it.
// Every text is fitted into its box: wrapped onto more lines, cut at its end when
// even that is not enough; numbers are set smaller rather than broken.
#include "core/io/ListData.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace orvak::io {

struct ReportColumn {
    QString title;
    double weight = 1.0;                 // share of the page width
    CellFormat format = CellFormat::Text;
    bool total = false;                  // summed per page, per group and in all
};

struct ReportSignature {
    QString title;   // the post, e.g. "ذيحساب"
    QString name;    // who holds it
};

// One record of a form: its own title lines, then its fields.
struct ReportField {
    QString caption;
    QString value;
};
struct ReportRecord {
    QStringList titleLines;
    std::vector<ReportField> fields;
};

struct ReportModel {
    QStringList titleLines;
    std::vector<ReportColumn> columns;
    std::vector<QStringList> rows;              // display texts, one per column
    std::vector<std::vector<double>> amounts;   // per row, per column (used where total)
    int groupColumn = -1;                       // sub-totals when this column's value changes
    int wordsColumn = -1;                       // its grand total is written in words
    std::vector<ReportSignature> signatures;
    bool landscape = false;
    // A form instead of a table: the records one under another, as many to a page
    // as fit; the signatures stand under each record.
    std::vector<ReportRecord> records;
    // Running text under the titles (a letter's body), each paragraph right-aligned
    // over the page's width and wrapped as far as it needs; without columns the
    // report is these paragraphs and the signatures under them.
    QStringList paragraphs;
    // Pages of a fixed length (a pre-printed form's rows): at most this many rows
    // to a page; 0 as many as fit.
    int rowsPerPage = 0;
    // The label of the grand-total line.
    QString grandTotalLabel = QStringLiteral("جمع کل");
    // Printed even without rows (its titles, header and signatures): a summary over
    // an empty period is still a report.
    bool emptyBody = false;

    void addRow(const QStringList& texts, const std::vector<double>& values = {});
    bool isEmpty() const { return rows.empty() && records.empty() && paragraphs.isEmpty(); }
};

struct ReportItem {
    enum Kind { Title, Header, Cell, GroupTotal, CarriedIn, CarriedOut, GrandTotal, Words, Signature, PageNumber, Caption, Value, Frame };
    Kind kind = Cell;
    QRectF rect;    // points on the page
    QString text;
    bool bold = false;
    Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter;
    bool boxed = true;
    QStringList lines;   // the text as printed, with its directional isolates, one entry per line
    double points = 0;   // the font's size where it differs from the report's (a long number)
};

struct ReportPage {
    std::vector<ReportItem> items;
    int dataRows = 0;
};

// Pages of the report for a page size in points (A4 portrait: 595 x 842).
std::vector<ReportPage> layoutReport(const ReportModel& model, const QSizeF& page, const QFont& font);

// Draws the report; false with a message when there is nothing to print.
bool renderReport(const ReportModel& model, QPagedPaintDevice& device, QString* error = nullptr);
bool writeReportPdf(const ReportModel& model, const QString& path, QString* error = nullptr);

// A text in a box of its own (a letter's header, its signatures, an item on
// pre-printed stationery), fitted as a report's cells are: wrapped onto at most
// maxLines, cut at its end beyond them; a number (whole) set up to 40% smaller
// rather than broken. The box is in points.
ReportItem placedText(const QRectF& box, const QString& text, const QFont& font, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter,
                      int maxLines = 1, bool whole = false);
// Draws items laid out in points onto a painter whose device has scale pixels per
// point, in font (bold and smaller sizes as each item says), lines step points apart.
void drawItems(QPainter& painter, const std::vector<ReportItem>& items, const QFont& font, double scale, double step);

// Numbers and dates inside right-to-left text, isolated so they never read reversed.
QString isolateLtr(const QString& text);
// A text as a right-to-left box prints it: without Persian letters the whole text is
// isolated left to right; with them each run of digits and Latin letters (with the
// separators inside it: 1403/02/18, 1,250,000, 12-34, 5%) is. A text that already
// carries directional marks is left as its author set it.
QString printableText(const QString& text);
// The font of everything printed (reports, PDFs, printed charts): the bundled Noto
// Sans Arabic, whose text a PDF keeps whole, with Vazirmatn for what it lacks.
QFont reportFont(double points = 9);
// Registers the bundled fonts once (the program and the command line both print);
// returns the screen's family, Vazirmatn, or empty when it could not be loaded.
QString loadBundledFonts();

} // namespace orvak::io
