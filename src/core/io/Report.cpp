#include "core/io/Report.h"

#include "core/util/AmountWords.h"
#include "core/util/AtomicFile.h"
#include "core/util/Numbers.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTemporaryFile>
#include <cmath>

static void initCoreFonts() { Q_INIT_RESOURCE(core); }

namespace orvak::io {

namespace {

constexpr double kMargin = 28;   // points
constexpr double kPad = 3;       // between a box and its text, each side
constexpr double kSlack = 1.5;   // what another device's rounding may add to a line
constexpr int kCellLines = 3;    // a data cell grows to this many lines, then is cut
constexpr QChar LRI(0x2066);
constexpr QChar PDI(0x2069);
constexpr QChar Ellipsis(0x2026);

QString amountText(double v)
{
    const qint64 whole = qint64(std::llround(v));
    return whole == 0 ? QStringLiteral("0") : util::FormatAmount(whole);
}

bool isLtrFormat(CellFormat f) { return f == CellFormat::Amount || f == CellFormat::Integer || f == CellFormat::JalaliDate; }

bool hasDirectionalMarks(const QString& s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F)
            return true;
    }
    return false;
}

bool hasRtlLetters(const QString& s)
{
    for (QChar c : s) {
        if (c.direction() == QChar::DirR || c.direction() == QChar::DirAL)
            return true;
    }
    return false;
}

// Layout is measured in points: a device of 72 dots per inch, design metrics, so
// that the printer, the preview and the PDF break the same lines.
QPaintDevice* pointDevice()
{
    static QImage device = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(2835);
        i.setDotsPerMeterY(2835);
        return i;
    }();
    return &device;
}

QTextOption lineOption(QTextOption::WrapMode wrap)
{
    QTextOption o(Qt::AlignLeft | Qt::AlignAbsolute);
    o.setTextDirection(Qt::RightToLeft);
    o.setWrapMode(wrap);
    o.setUseDesignMetrics(true);
    return o;
}

double advance(const QString& text, const QFont& font, QPaintDevice* device)
{
    if (text.isEmpty())
        return 0;
    QTextLayout layout(text, font, device);
    layout.setTextOption(lineOption(QTextOption::NoWrap));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    return line.naturalTextWidth();
}

// An isolate left open by a cut is closed, so that what follows keeps its direction.
QString closeIsolates(QString s)
{
    const qsizetype open = s.count(LRI) + s.count(QChar(0x2067)) + s.count(QChar(0x2068)) - s.count(PDI);
    for (qsizetype i = 0; i < open; ++i)
        s += PDI;
    return s;
}

// The longest start of the text that fits with the ellipsis after it: at a word's
// end where one fits, else at a letter.
QString cutAtEnd(const QString& text, const QFont& font, double width, QPaintDevice* device)
{
    const QString t = text.trimmed();
    if (advance(t, font, device) <= width)
        return t;
    auto fits = [&](qsizetype n) { return advance(closeIsolates(t.left(n).trimmed()) + Ellipsis, font, device) <= width; };
    qsizetype best = -1;
    for (qsizetype i = t.indexOf(QLatin1Char(' ')); i > 0; i = t.indexOf(QLatin1Char(' '), i + 1)) {
        if (!fits(i))
            break;
        best = i;
    }
    if (best < 0) {
        QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, t);
        for (qsizetype i = letters.toNextBoundary(); i > 0 && i < t.size(); i = letters.toNextBoundary()) {
            if (!fits(i))
                break;
            best = i;
        }
    }
    return best <= 0 ? QString(Ellipsis) : closeIsolates(t.left(best).trimmed()) + Ellipsis;
}

// The lines of a text in a width: broken between words (inside a word only when
// the word alone is too wide), at most maxLines, the last one cut at its end.
QStringList breakLines(const QString& text, const QFont& font, double width, int maxLines)
{
    QPaintDevice* device = pointDevice();
    QTextLayout layout(text, font, device);
    layout.setTextOption(lineOption(QTextOption::WrapAtWordBoundaryOrAnywhere));
    layout.beginLayout();
    QList<std::pair<int, int>> spans;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        spans.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    QStringList lines;
    for (qsizetype i = 0; i < spans.size(); ++i) {
        if (int(lines.size()) == maxLines - 1 && i + 1 < spans.size()) {
            lines << cutAtEnd(text.mid(spans[i].first), font, width, device);
            break;
        }
        const QString part = text.mid(spans[i].first, spans[i].second).trimmed();
        if (!part.isEmpty())
            lines << part;
    }
    return lines;
}

struct Fitted {
    QStringList lines;
    double points = 0;
};

// A text fitted into a box's inner width. A number, a date or an amount is never
// broken while it can be set up to 40% smaller.
Fitted fit(const QString& text, const QFont& font, double width, int maxLines, bool whole)
{
    if (text.trimmed().isEmpty())
        return {};
    width = std::max(1.0, width - kSlack);
    const double wide = advance(text, font, pointDevice());
    if (wide <= width)
        return {{text}, 0};
    if (whole) {
        // A little under the exact ratio: glyph advances do not scale to the last bit.
        const double points = font.pointSizeF() * std::max(0.6, 0.97 * width / wide);
        QFont smaller = font;
        smaller.setPointSizeF(points);
        if (advance(text, smaller, pointDevice()) <= width)
            return {{text}, points};
        return {breakLines(text, smaller, width, maxLines), points};
    }
    // A word wider than the box is set smaller rather than broken inside ("رديف" over
    // a narrow column), as far as a number would be.
    double widest = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widest = std::max(widest, advance(word, font, pointDevice()));
    if (widest > width) {
        QFont smaller = font;
        smaller.setPointSizeF(font.pointSizeF() * std::max(0.6, 0.97 * width / widest));
        return {breakLines(text, smaller, width, maxLines), smaller.pointSizeF()};
    }
    return {breakLines(text, font, width, maxLines), 0};
}

// Height of a box of n lines: one line keeps the report's row height.
struct Lines {
    double single, step;
    double height(qsizetype n) const { return n <= 1 ? single : double(n) * step + (single - step); }
};

void drawLine(QPainter& painter, const QString& text, const QFont& font, const QRectF& box, Qt::Alignment align)
{
    // Laid out once; again only in the rare case that this device's glyphs come out
    // wider than the points the report was fitted in.
    auto layOut = [&](QTextLayout& layout, const QString& shown) {
        layout.setText(shown);   // the font stays the one made for this device
        layout.setTextOption(lineOption(QTextOption::NoWrap));
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(1e6);
        layout.endLayout();
        return line;
    };
    QTextLayout layout(text, font, painter.device());
    QTextLine line = layOut(layout, text);
    if (!line.isValid())
        return;
    if (line.naturalTextWidth() > box.width() + 0.5) {
        line = layOut(layout, cutAtEnd(text, font, box.width(), painter.device()));
        if (!line.isValid())
            return;
    }
    const double w = line.naturalTextWidth();
    double x = box.right() - w;
    if (align & Qt::AlignHCenter)
        x = box.center().x() - w / 2;
    else if ((align & Qt::AlignLeft) && (align & Qt::AlignAbsolute))
        x = box.left();
    const double y = box.center().y() - line.height() / 2;
    line.draw(&painter, QPointF(x - line.naturalTextRect().left(), y));
}

} // namespace

void ReportModel::addRow(const QStringList& texts, const std::vector<double>& values)
{
    rows.push_back(texts);
    amounts.push_back(values);
}

QString isolateLtr(const QString& text)
{
    if (text.isEmpty())
        return text;
    return LRI + text + PDI;
}

QString printableText(const QString& text)
{
    if (text.isEmpty() || hasDirectionalMarks(text))
        return text;
    if (!hasRtlLetters(text))
        return text.trimmed().isEmpty() ? text : isolateLtr(text);
    // A run begins and ends with a digit, a Latin letter or a percent sign and holds
    // the separators of numbers, dates and codes (and single spaces between Latin
    // words); a minus sign before it belongs to it.
    static const QRegularExpression run(QStringLiteral(
        "(?:(?<![\\p{L}\\p{N}])[-\\x{2212}])?[0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}A-Za-z]"
        "(?:[0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}A-Za-z,./:_@%\\-]|[ ](?=[A-Za-z]))*"));
    QString out;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = run.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString found = m.captured();
        // Trailing separators ("1403/02/18." at a sentence's end) stay outside.
        qsizetype keep = found.size();
        while (keep > 0 && QStringLiteral(",./:_@-").contains(found[keep - 1]))
            --keep;
        out += text.mid(from, m.capturedStart() - from) + isolateLtr(found.left(keep)) + found.mid(keep);
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

QString loadBundledFonts()
{
    static const QString family = [] {
        initCoreFonts();
        QString f;
        for (const char* file : {":/fonts/Vazirmatn-Regular.ttf", ":/fonts/Vazirmatn-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            if (id >= 0 && f.isEmpty())
                f = QFontDatabase::applicationFontFamilies(id).value(0);
        }
        for (const char* file : {":/fonts/NotoSansArabic-Regular.ttf", ":/fonts/NotoSansArabic-Bold.ttf"})
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        return f;
    }();
    return family;
}

QFont reportFont(double points)
{
    const QString screenFamily = loadBundledFonts();
    // Vazirmatn draws some joined letters (پ, ت, ي among them) with glyphs that no
    // character maps to, so a PDF set in it loses them to search and copy. Noto Sans
    // Arabic maps every form back; its lack of Latin letters and of "/" is made up
    // by Vazirmatn, so dates and amounts keep the screen's shapes.
    QStringList families{QStringLiteral("Noto Sans Arabic")};
    if (!screenFamily.isEmpty())
        families << screenFamily;
    families << QStringLiteral("DejaVu Sans");
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(points);
    return f;
}

namespace {

// Builds the pages of one report: the running page, its items and the cursor.
class PageBuilder {
public:
    PageBuilder(const QSizeF& page, const QFont& font)
        : page_(page)
        , font_(font)
        , bold_(font)
        , lines_{std::ceil(font.pointSizeF() * 1.9), std::ceil(font.pointSizeF() * 1.45)}
    {
        bold_.setBold(true);
    }

    double left() const { return kMargin; }
    double right() const { return page_.width() - kMargin; }
    double width() const { return right() - left(); }
    double bottom() const { return page_.height() - kMargin - lines_.single; }   // the page number's line stays free
    const Lines& lines() const { return lines_; }

    // An item fitted into its box; its height for that many lines.
    ReportItem item(ReportItem::Kind kind, const QRectF& box, const QString& text, bool bold, Qt::Alignment align, bool boxed,
                    int maxLines, bool whole = false) const
    {
        ReportItem i{kind, box, text, bold, align, boxed, {}, 0};
        const Fitted f = fit(printableText(text), bold ? bold_ : font_, box.width() - 2 * kPad, maxLines, whole);
        i.lines = f.lines;
        i.points = f.points;
        return i;
    }
    double heightOf(const ReportItem& i) const { return lines_.height(i.lines.size()); }

    std::vector<ReportPage> pages;
    ReportPage current;
    double y = kMargin;

    void finishPage()
    {
        const int number = int(pages.size()) + 1;
        current.items.push_back(item(ReportItem::PageNumber, QRectF(left(), page_.height() - kMargin - lines_.single, width(), lines_.single),
                                     isolateLtr(QString::number(number)), false, Qt::AlignCenter, false, 1, true));
        pages.push_back(std::move(current));
        current = ReportPage();
        y = kMargin;
    }

    // Full-width lines (titles, the total in words): wrapped as far as they need.
    void fullWidth(ReportItem::Kind kind, const QString& text, bool bold, Qt::Alignment align)
    {
        ReportItem i = item(kind, QRectF(left(), y, width(), lines_.single), text, bold, align, false, 6);
        i.rect.setHeight(heightOf(i));
        y += i.rect.height();
        current.items.push_back(std::move(i));
    }

    // A row of signature boxes: each post over its holder's name.
    void signatures(const std::vector<ReportSignature>& signatures, double x0, double w)
    {
        if (signatures.empty())
            return;
        const double slot = w / double(signatures.size());
        std::vector<ReportItem> titles, names;
        double titleHeight = lines_.single, nameHeight = lines_.single;
        for (size_t s = 0; s < signatures.size(); ++s) {
            const double sx = x0 + w - slot * double(s + 1);
            titles.push_back(item(ReportItem::Signature, QRectF(sx, y, slot, lines_.single), signatures[s].title, true, Qt::AlignCenter, false, 2));
            names.push_back(item(ReportItem::Signature, QRectF(sx, y, slot, lines_.single), signatures[s].name, false, Qt::AlignCenter, false, 2));
            titleHeight = std::max(titleHeight, heightOf(titles.back()));
            nameHeight = std::max(nameHeight, heightOf(names.back()));
        }
        for (size_t s = 0; s < signatures.size(); ++s) {
            titles[s].rect.setHeight(titleHeight);
            names[s].rect.moveTop(y + titleHeight);
            names[s].rect.setHeight(nameHeight);
            current.items.push_back(std::move(titles[s]));
            current.items.push_back(std::move(names[s]));
        }
        y += titleHeight + nameHeight;
    }
    double signaturesHeight(const std::vector<ReportSignature>& signatures) const { return signatures.empty() ? 0 : 2 * lines_.single; }

private:
    QSizeF page_;
    QFont font_, bold_;
    Lines lines_;
};

std::vector<ReportPage> layoutRecords(const ReportModel& model, const QSizeF& page, const QFont& font)
{
    PageBuilder b(page, font);
    const double single = b.lines().single;
    const double captionWidth = b.width() * 0.3;
    for (size_t r = 0; r < model.records.size(); ++r) {
        const ReportRecord& record = model.records[r];
        // The record is laid out at the top first, then moved where it goes.
        std::vector<ReportItem> items;
        double h = kPad * 2;
        QStringList titles = model.titleLines;
        titles << record.titleLines;
        for (const QString& t : titles) {
            ReportItem i = b.item(ReportItem::Title, QRectF(b.left() + kPad, h, b.width() - 2 * kPad, single), t, true, Qt::AlignCenter, false, 3);
            i.rect.setHeight(b.heightOf(i));
            h += i.rect.height();
            items.push_back(std::move(i));
        }
        h += single / 2;
        for (const ReportField& f : record.fields) {
            const double valueWidth = b.width() - 2 * kPad - captionWidth;
            ReportItem caption = b.item(ReportItem::Caption, QRectF(b.right() - kPad - captionWidth, h, captionWidth, single), f.caption, true,
                                        Qt::AlignRight | Qt::AlignVCenter, true, 2);
            ReportItem value = b.item(ReportItem::Value, QRectF(b.left() + kPad, h, valueWidth, single), f.value, false,
                                      Qt::AlignRight | Qt::AlignVCenter, true, 4);
            const double rowHeight = std::max(b.heightOf(caption), b.heightOf(value));
            caption.rect.setHeight(rowHeight);
            value.rect.setHeight(rowHeight);
            h += rowHeight;
            items.push_back(std::move(caption));
            items.push_back(std::move(value));
        }
        const double top = b.y;
        if (!model.signatures.empty()) {
            // Signatures are laid by the builder at its cursor: lay them at 0 and shift.
            h += single;
            ReportPage saved = std::move(b.current);
            b.current = ReportPage();
            b.y = h;
            b.signatures(model.signatures, b.left() + kPad, b.width() - 2 * kPad);
            for (ReportItem& i : b.current.items)
                items.push_back(std::move(i));
            h = b.y;
            b.current = std::move(saved);
            b.y = top;
        }
        h += kPad * 2;
        if (b.y + h > b.bottom() && !b.current.items.empty())
            b.finishPage();
        const double shift = b.y;
        b.current.items.push_back({ReportItem::Frame, QRectF(b.left(), shift, b.width(), h), QString(), false, Qt::AlignCenter, true, {}, 0});
        for (ReportItem& i : items) {
            i.rect.translate(0, shift);
            b.current.items.push_back(std::move(i));
        }
        ++b.current.dataRows;
        b.y = shift + h + single;
    }
    b.finishPage();
    return std::move(b.pages);
}

// A letter: the titles, the paragraphs (a page is begun where one does not fit) and
// the signatures under the last.
std::vector<ReportPage> layoutParagraphs(const ReportModel& model, const QSizeF& page, const QFont& font)
{
    PageBuilder b(page, font);
    const double single = b.lines().single;
    for (const QString& t : model.titleLines)
        b.fullWidth(ReportItem::Title, t, true, Qt::AlignCenter);
    b.y += single;
    for (const QString& p : model.paragraphs) {
        ReportItem i = b.item(ReportItem::Value, QRectF(b.left(), b.y, b.width(), single), p, false, Qt::AlignRight | Qt::AlignVCenter, false, 40);
        i.rect.setHeight(b.heightOf(i));
        if (b.y + i.rect.height() > b.bottom() && !b.current.items.empty()) {
            b.finishPage();
            i.rect.moveTop(b.y);
        }
        b.y += i.rect.height() + single / 2;
        b.current.items.push_back(std::move(i));
    }
    if (!model.signatures.empty()) {
        if (b.y + 2 * single + b.signaturesHeight(model.signatures) > b.bottom())
            b.finishPage();
        b.y += 2 * single;
        b.signatures(model.signatures, b.left(), b.width());
    }
    b.finishPage();
    return std::move(b.pages);
}

} // namespace

std::vector<ReportPage> layoutReport(const ReportModel& model, const QSizeF& page, const QFont& font)
{
    if (!model.records.empty())
        return layoutRecords(model, page, font);
    std::vector<ReportPage> pages;
    const int n = int(model.columns.size());
    if (n == 0)
        return model.paragraphs.isEmpty() ? pages : layoutParagraphs(model, page, font);
    PageBuilder b(page, font);
    const double single = b.lines().single;
    double weights = 0;
    for (const ReportColumn& c : model.columns)
        weights += c.weight;
    // Columns from the right edge leftwards: the first column is the rightmost.
    std::vector<double> x(size_t(n) + 1);
    x[0] = b.right();
    for (int c = 0; c < n; ++c)
        x[size_t(c) + 1] = x[size_t(c)] - b.width() * model.columns[size_t(c)].weight / weights;
    auto valueAt = [&](int row, int c) {
        return size_t(row) < model.amounts.size() && size_t(c) < model.amounts[size_t(row)].size() ? model.amounts[size_t(row)][size_t(c)] : 0.0;
    };
    auto cellRect = [&](int c, double y, double h) { return QRectF(x[size_t(c) + 1], y, x[size_t(c)] - x[size_t(c) + 1], h); };
    // Without a summed column there is nothing to carry, sub-total or total.
    int firstTotal = n;
    for (int c = 0; c < n; ++c) {
        if (model.columns[size_t(c)].total) {
            firstTotal = c;
            break;
        }
    }
    const bool totals = firstTotal < n;

    // Every cell's lines, once: the rows' heights decide the pages.
    std::vector<std::vector<ReportItem>> cells(model.rows.size());
    std::vector<double> rowHeights(model.rows.size(), single);
    for (size_t r = 0; r < model.rows.size(); ++r) {
        for (int c = 0; c < n; ++c) {
            const ReportColumn& col = model.columns[size_t(c)];
            const bool ltr = isLtrFormat(col.format);
            QString text = model.rows[r].value(c);
            if (ltr)
                text = isolateLtr(text);
            cells[r].push_back(b.item(ReportItem::Cell, cellRect(c, 0, single), text, false, ltr ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter),
                                      true, kCellLines, ltr));
            rowHeights[r] = std::max(rowHeights[r], b.heightOf(cells[r].back()));
        }
    }
    std::vector<ReportItem> headers;
    double headerHeight = single;
    for (int c = 0; c < n; ++c) {
        headers.push_back(b.item(ReportItem::Header, cellRect(c, 0, single), model.columns[size_t(c)].title, true, Qt::AlignCenter, true, 4));
        headerHeight = std::max(headerHeight, b.heightOf(headers.back()));
    }

    // A totals row: the label spans the columns before the first summed one.
    const int span = std::max(firstTotal, 1);
    auto totalsRow = [&](ReportItem::Kind kind, const QString& label, const std::vector<double>& sums) {
        std::vector<ReportItem> row;
        row.push_back(b.item(kind, QRectF(x[size_t(span)], b.y, x[0] - x[size_t(span)], single), label, true, Qt::AlignRight | Qt::AlignVCenter, true, 2));
        for (int c = span; c < n; ++c) {
            const bool total = model.columns[size_t(c)].total;
            row.push_back(b.item(kind, cellRect(c, b.y, single), total ? isolateLtr(amountText(sums[size_t(c)])) : QString(), true, Qt::AlignCenter, true,
                                 2, true));
        }
        double h = single;
        for (const ReportItem& i : row)
            h = std::max(h, b.heightOf(i));
        for (ReportItem& i : row) {
            i.rect.setHeight(h);
            b.current.items.push_back(std::move(i));
        }
        b.y += h;
    };
    const double totalsHeight = totals ? 2 * b.lines().step + (single - b.lines().step) : 0;   // room for a two-line label

    std::vector<double> runningSums(size_t(n), 0.0), groupSums(size_t(n), 0.0);
    const int rowCount = int(model.rows.size());
    int r = 0;
    QString currentGroup;
    bool groupOpen = false;
    auto groupLabel = [&] { return QStringLiteral("جمع ") + currentGroup; };
    while (r < rowCount || b.pages.empty()) {
        if (b.pages.empty()) {
            for (const QString& t : model.titleLines)
                b.fullWidth(ReportItem::Title, t, true, Qt::AlignCenter);
            for (const QString& p : model.paragraphs)
                b.fullWidth(ReportItem::Value, p, false, Qt::AlignRight | Qt::AlignVCenter);
            b.y += single / 2;
        }
        for (ReportItem h : headers) {
            h.rect.moveTop(b.y);
            h.rect.setHeight(headerHeight);
            b.current.items.push_back(std::move(h));
        }
        b.y += headerHeight;
        if (!b.pages.empty() && totals)
            totalsRow(ReportItem::CarriedIn, QStringLiteral("جمع نقل از صفحه قبل"), runningSums);
        // Room is kept for the carried-out line (or on the last page the closing).
        double lastRowTop = b.y;
        while (r < rowCount) {
            const QStringList& row = model.rows[size_t(r)];
            const QString group = model.groupColumn >= 0 ? row.value(model.groupColumn) : QString();
            const bool closesGroup = totals && groupOpen && group != currentGroup;
            const double needed = rowHeights[size_t(r)] + (closesGroup ? totalsHeight : 0) + totalsHeight;
            if ((b.y + needed > b.bottom() || (model.rowsPerPage > 0 && b.current.dataRows >= model.rowsPerPage)) && b.current.dataRows > 0)
                break;
            if (closesGroup) {
                totalsRow(ReportItem::GroupTotal, groupLabel(), groupSums);
                std::fill(groupSums.begin(), groupSums.end(), 0.0);
            }
            currentGroup = group;
            groupOpen = model.groupColumn >= 0;
            lastRowTop = b.y;
            for (int c = 0; c < n; ++c) {
                ReportItem cell = cells[size_t(r)][size_t(c)];
                cell.rect.moveTop(b.y);
                cell.rect.setHeight(rowHeights[size_t(r)]);
                b.current.items.push_back(std::move(cell));
                if (model.columns[size_t(c)].total) {
                    const double v = valueAt(r, c);
                    runningSums[size_t(c)] += v;
                    groupSums[size_t(c)] += v;
                }
            }
            b.y += rowHeights[size_t(r)];
            ++b.current.dataRows;
            ++r;
        }
        if (r < rowCount) {
            if (totals)
                totalsRow(ReportItem::CarriedOut, QStringLiteral("جمع نقل به صفحه بعد"), runningSums);
            b.finishPage();
            continue;
        }
        // The end: last group, grand total, words and signatures; when they do not
        // fit, the last row moves to a new page so that the totals stand with rows.
        QString words;
        if (totals && model.wordsColumn >= 0) {
            const double total = runningSums[size_t(model.wordsColumn)];
            words = QStringLiteral("جمع کل بحروف: ") + util::AmountToWords(quint64(std::max<qint64>(0, std::llround(total)))) + QStringLiteral(" ريال");
        }
        const double closing = (totals ? totalsHeight * (groupOpen ? 2 : 1) : 0) + (words.isEmpty() ? 0 : 2 * single)
            + (model.signatures.empty() ? 0 : single + b.signaturesHeight(model.signatures));
        if (b.y + closing > b.bottom() && b.current.dataRows > 1) {
            --r;
            --b.current.dataRows;
            for (int c = 0; c < n; ++c) {
                b.current.items.pop_back();
                if (model.columns[size_t(c)].total) {
                    const double v = valueAt(r, c);
                    runningSums[size_t(c)] -= v;
                    groupSums[size_t(c)] -= v;
                }
            }
            b.y = lastRowTop;
            if (totals)
                totalsRow(ReportItem::CarriedOut, QStringLiteral("جمع نقل به صفحه بعد"), runningSums);
            b.finishPage();
            continue;
        }
        if (totals) {
            if (groupOpen)
                totalsRow(ReportItem::GroupTotal, groupLabel(), groupSums);
            totalsRow(ReportItem::GrandTotal, model.grandTotalLabel, runningSums);
        }
        if (!words.isEmpty())
            b.fullWidth(ReportItem::Words, words, true, Qt::AlignRight | Qt::AlignVCenter);
        if (!model.signatures.empty()) {
            b.y += single;
            b.signatures(model.signatures, b.left(), b.width());
        }
        b.finishPage();
        if (rowCount == 0)
            break;
    }
    return std::move(b.pages);
}

bool renderReport(const ReportModel& model, QPagedPaintDevice& device, QString* error)
{
    if (model.isEmpty() && !(model.emptyBody && !model.columns.empty())) {
        if (error)
            *error = QStringLiteral("گزارش رديفي براي چاپ ندارد");
        return false;
    }
    const QFont font = reportFont();
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("چاپگر يا فايل خروجي آماده نيست");
        return false;
    }
    // Laid out in points, drawn in device pixels; fonts keep their point size.
    const double scale = device.logicalDpiX() / 72.0;
    const QSizeF pagePoints(device.width() / scale, device.height() / scale);
    const std::vector<ReportPage> pages = layoutReport(model, pagePoints, font);
    const double step = std::ceil(font.pointSizeF() * 1.45);
    painter.setPen(QPen(Qt::black, 0.5 * scale));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        drawItems(painter, pages[i].items, font, scale, step);
    }
    painter.end();
    return true;
}

ReportItem placedText(const QRectF& box, const QString& text, const QFont& font, Qt::Alignment align, int maxLines, bool whole)
{
    ReportItem i{ReportItem::Value, box, text, font.bold(), align, false, {}, 0};
    const Fitted f = fit(printableText(text), font, box.width() - 2 * kPad, std::max(1, maxLines), whole);
    i.lines = f.lines;
    i.points = f.points;
    return i;
}

void drawItems(QPainter& painter, const std::vector<ReportItem>& items, const QFont& font, double scale, double step)
{
    auto toDevice = [scale](const QRectF& r) { return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale); };
    for (const ReportItem& item : items) {
        QFont f = font;
        f.setBold(item.bold);
        if (item.points > 0)
            f.setPointSizeF(item.points);
        if (item.boxed)
            painter.drawRect(toDevice(item.rect));
        const QStringList lines = item.lines.isEmpty() && !item.text.isEmpty() ? QStringList{printableText(item.text)} : item.lines;
        if (lines.isEmpty())
            continue;
        // The lines stand centred in the box, one step apart.
        const qsizetype count = lines.size();
        const double block = count == 1 ? item.rect.height() : double(count) * step;
        double top = item.rect.center().y() - block / 2;
        for (const QString& line : lines) {
            const double h = count == 1 ? item.rect.height() : step;
            const QRectF box(item.rect.left() + kPad, top, item.rect.width() - 2 * kPad, h);
            drawLine(painter, line, f, toDevice(box), item.align);
            top += h;
        }
    }
}

bool writeReportPdf(const ReportModel& model, const QString& path, QString* error)
{
    if (model.isEmpty() && !(model.emptyBody && !model.columns.empty())) {
        if (error)
            *error = QStringLiteral("گزارش رديفي براي چاپ ندارد");
        return false;
    }
    // Written beside the target first: a failed print leaves no half file.
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.report-XXXXXX.pdf"));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir() || !temp.open()) {
        if (error)
            *error = QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(path);
        return false;
    }
    temp.close();
    {
        QPdfWriter pdf(temp.fileName());
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(model.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(144);
        pdf.setTitle(model.titleLines.value(0));
        pdf.setCreator(QStringLiteral("orvak"));
        if (!renderReport(model, pdf, error))
            return false;
    }
    // The old file stays until the new one takes its place.
    if (!util::replaceFile(temp.fileName(), path)) {
        if (error)
            *error = QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(path);
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

} // namespace orvak::io
