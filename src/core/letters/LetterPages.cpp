#include "core/letters/LetterPages.h"

#include "core/util/AtomicFile.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>
#include <memory>

namespace orvak::letters {

namespace {

constexpr double Mm = 72.0 / 25.4;   // points per millimetre
constexpr double Margin = 12 * Mm;
constexpr double SmallestBody = 0.7;
// The letterhead: the invocation, the picture and the organisation's lines at the
// right, the date, number and enclosure at the left.
constexpr double HeaderHeight = 96;

// Laid out in points (72 dots per inch), as the reports are.
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

bool printable(const QString& family)
{
    static const QStringList installed = QFontDatabase::families();
    // The screen's Vazirmatn draws some joined letters with glyphs no character maps
    // to; a PDF set in it loses them, so the printing font stands in for it.
    return !family.isEmpty() && !family.startsWith(QStringLiteral("Vazirmatn")) && installed.contains(family);
}

// The body as printed, at a share of its own font sizes.
std::unique_ptr<QTextDocument> bodyDocument(const QString& html, double width, double share)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(pointDevice());
    QFont base = io::reportFont(11 * share);
    doc->setDefaultFont(base);
    QTextOption o = doc->defaultTextOption();
    o.setTextDirection(Qt::RightToLeft);
    doc->setDefaultTextOption(o);
    doc->setDocumentMargin(0);
    doc->setHtml(printableHtml(html));
    if (share != 1.0) {
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                QTextCharFormat cf = f.charFormat();
                const double size = cf.hasProperty(QTextFormat::FontPointSize) ? cf.fontPointSize() : 11;
                cf.setFontPointSize(size * share);
                QTextCursor c(doc.get());
                c.setPosition(f.position());
                c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
                c.setCharFormat(cf);
            }
        }
    }
    doc->setTextWidth(width);
    return doc;
}

struct Slot {
    const LetterPage* letter = nullptr;
    bool first = true;   // the letter's first page: its header
    bool last = true;    // its last: signatures, closing and copies
    double share = 1.0;  // of the body's font sizes
    double from = 0, to = 0;   // the body's slice, in its own points
};

// Where the parts of a letter stand in its page (points).
struct Geometry {
    QRectF page;
    double bodyLeft = 0, bodyWidth = 0, bodyTop = 0, bodyBottom = 0;
    double continuedTop = 0;
    double closingHeight = 0;
};

double signaturesHeight(const LetterPage& l) { return l.signatures.empty() ? 0 : 40; }

double copiesHeight(const LetterPage& l, double width)
{
    if (l.copiesHtml.trimmed().isEmpty())
        return 0;
    return bodyDocument(l.copiesHtml, width, 0.8)->size().height() + 6;
}

Geometry geometryOf(const LetterPage& l, const QSizeF& size)
{
    Geometry g;
    g.page = QRectF(QPointF(0, 0), size);
    const PaperLayout& layout = paperLayout(l.layout);
    const double left = Margin + (layout.letterhead ? 0 : l.offsetLeft * Mm);
    g.bodyLeft = left;
    g.bodyWidth = std::max(60.0, size.width() - Margin - left);
    g.bodyTop = layout.letterhead ? Margin + HeaderHeight + (layout.subjectLine ? 52 : 36) : Margin + l.offsetTop * Mm + (layout.headerValues ? 40 : 0);
    g.continuedTop = Margin;
    g.closingHeight = signaturesHeight(l) + copiesHeight(l, g.bodyWidth) + 12;
    g.bodyBottom = size.height() - Margin;
    return g;
}

// The letter's parts: its body at the largest share that fits the first page with
// the closing parts, else continued over as many pages as it needs.
std::vector<Slot> slotsOf(const LetterPage& l, const QSizeF& size)
{
    const Geometry g = geometryOf(l, size);
    if (paperLayout(l.layout).positioned)
        return {Slot{&l, true, true, 1.0, 0, 0}};
    const double room = g.bodyBottom - g.bodyTop - g.closingHeight;
    for (double share = 1.0; share >= SmallestBody - 1e-9; share -= 0.05) {
        const double h = bodyDocument(l.bodyHtml, g.bodyWidth, share)->size().height();
        if (h <= room)
            return {Slot{&l, true, true, share, 0, h}};
    }
    const auto doc = bodyDocument(l.bodyHtml, g.bodyWidth, SmallestBody);
    const double total = doc->size().height();
    std::vector<Slot> parts;
    double from = 0;
    bool first = true;
    while (true) {
        const double top = first ? g.bodyTop : g.continuedTop;
        const double space = g.bodyBottom - top;
        const double left = total - from;
        if (left + g.closingHeight <= space || space <= 20) {
            parts.push_back({&l, first, true, SmallestBody, from, total});
            break;
        }
        // Cut between lines: the last line that ends within the page.
        double cut = from + space;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            const QRectF br = doc->documentLayout()->blockBoundingRect(b);
            QTextLayout* tl = b.layout();
            for (int i = 0; i < tl->lineCount(); ++i) {
                const double bottom = br.top() + tl->lineAt(i).rect().bottom();
                const double lineTop = br.top() + tl->lineAt(i).rect().top();
                if (lineTop >= from && bottom > from + space && lineTop > from) {
                    cut = std::min(cut, lineTop);
                }
            }
        }
        if (cut <= from)
            cut = from + space;
        parts.push_back({&l, first, false, SmallestBody, from, cut});
        from = cut;
        first = false;
    }
    return parts;
}

void drawDocument(QPainter& p, QTextDocument& doc, const QPointF& at, double from, double to, double scale)
{
    p.save();
    p.scale(scale, scale);
    p.translate(at.x(), at.y() - from);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(0, from, doc.textWidth(), to - from + 1);
    p.setClipRect(ctx.clip);
    doc.documentLayout()->draw(&p, ctx);
    p.restore();
}

void drawSlot(QPainter& p, const Slot& s, const QRectF& area, double scale)
{
    const LetterPage& l = *s.letter;
    const PaperLayout& layout = paperLayout(l.layout);
    const Geometry g = geometryOf(l, area.size());
    const QPointF o = area.topLeft();
    const QFont font = io::reportFont(10);
    QFont bold = font;
    bold.setBold(true);
    const double step = std::ceil(10 * 1.45);
    std::vector<io::ReportItem> items;
    auto place = [&](const QRectF& box, const QString& text, const QFont& f, Qt::Alignment align, int lines = 1, bool whole = false) {
        if (!text.trimmed().isEmpty())
            items.push_back(io::placedText(box.translated(o), text, f, align, lines, whole));
    };
    const double w = area.width();
    if (layout.positioned) {
        for (const PlacedItem& item : l.placed) {
            QFont f = io::reportFont(item.size > 0 ? item.size : 10);
            if (printable(item.font))
                f.setFamilies(QStringList{item.font} + f.families());
            f.setBold(item.bold);
            const double lineHeight = std::ceil(f.pointSizeF() * 1.9);
            const QRectF box(item.left * Mm, item.top * Mm, std::max(4.0, item.width * Mm), std::max(lineHeight, item.height * Mm));
            std::vector<io::ReportItem> one;
            one.push_back(io::placedText(box.translated(o), item.text, f, Qt::AlignRight | Qt::AlignVCenter,
                                         std::max(1, int(box.height() / std::ceil(f.pointSizeF() * 1.45))), false));
            io::drawItems(p, one, f, scale, std::ceil(f.pointSizeF() * 1.45));
        }
        return;
    }
    if (s.first && layout.letterhead) {
        place(QRectF(Margin, Margin, w - 2 * Margin, 18), QStringLiteral("بسمه تعالي"), bold, Qt::AlignCenter);
        const double side = 40;
        if (!l.letterhead.isNull()) {
            const QRectF pic(o.x() + w - Margin - side - 10, o.y() + Margin + 18, side, side);
            p.drawImage(QRectF(pic.x() * scale, pic.y() * scale, pic.width() * scale, pic.height() * scale), l.letterhead);
        }
        double y = Margin + 18 + side + 2;
        // At most three printed lines under the picture, the header's height.
        int left = 3;
        for (const QString& line : l.organisationLines) {
            if (left <= 0 || line.trimmed().isEmpty())
                continue;
            io::ReportItem item = io::placedText(QRectF(w * 0.42, y, w * 0.58 - Margin, 14).translated(o), line, bold, Qt::AlignCenter, left);
            const int n = std::max(1, int(item.lines.size()));
            item.rect.setHeight(14 * n);
            items.push_back(item);
            y += 14 * n;
            left -= n;
        }
        const QStringList labels{QStringLiteral("تاريخ :"), QStringLiteral("شماره"), QStringLiteral("پيوست:")};
        const QStringList values{l.date, l.number, l.enclosures};
        for (int i = 0; i < 3; ++i) {
            const double ly = Margin + 24 + i * 18;
            place(QRectF(Margin + w * 0.2, ly, 52, 16), labels[i], bold, Qt::AlignRight | Qt::AlignVCenter);
            place(QRectF(Margin, ly, w * 0.2, 16), values[i], font, Qt::AlignRight | Qt::AlignVCenter, 1, true);
        }
        const double ay = Margin + HeaderHeight;
        place(QRectF(Margin, ay, w - 2 * Margin, 16), QStringLiteral("به: ") + l.addressee, bold, Qt::AlignRight | Qt::AlignVCenter);
        place(QRectF(Margin, ay + 16, w - 2 * Margin, 16), QStringLiteral("از: ") + l.sender, bold, Qt::AlignRight | Qt::AlignVCenter);
        if (layout.subjectLine)
            place(QRectF(Margin, ay + 32, w - 2 * Margin, 16), QStringLiteral("موضوع: ") + l.subject, bold, Qt::AlignRight | Qt::AlignVCenter);
    } else if (s.first && layout.headerValues) {
        // Stationery whose labels stand at its top left: only their values.
        const double top = Margin + l.offsetTop * Mm;
        const QStringList values{l.date, l.number, l.enclosures};
        for (int i = 0; i < 3; ++i)
            place(QRectF(Margin, top + i * 13, w * 0.3, 13), values[i], font, Qt::AlignRight | Qt::AlignVCenter, 1, true);
    }
    const auto doc = bodyDocument(l.bodyHtml, g.bodyWidth, s.share);
    const double top = s.first ? g.bodyTop : g.continuedTop;
    p.save();
    drawDocument(p, *doc, QPointF(o.x() + g.bodyLeft, o.y() + top), s.from, s.to, scale);
    p.restore();
    io::drawItems(p, items, font, scale, step);
    if (!s.last)
        return;
    double y = top + (s.to - s.from) + 8;
    if (!l.closing.trimmed().isEmpty()) {
        std::vector<io::ReportItem> closing{io::placedText(QRectF(g.bodyLeft, y, g.bodyWidth, 16).translated(o), l.closing, font,
                                                           Qt::AlignRight | Qt::AlignVCenter, 3)};
        io::drawItems(p, closing, font, scale, step);
        y += 16 * std::max<qsizetype>(1, closing[0].lines.size());
    }
    if (!l.signatures.empty()) {
        // One block stands at the left; a second at the right.
        std::vector<io::ReportItem> blocks;
        const double bw = std::min(170.0, (w - 2 * Margin) / 2);
        for (size_t i = 0; i < std::min<size_t>(2, l.signatures.size()); ++i) {
            const double x = i == 0 ? Margin : w - Margin - bw;
            blocks.push_back(io::placedText(QRectF(x, y, bw, 16).translated(o), l.signatures[i].name, bold, Qt::AlignCenter, 2));
            blocks.push_back(io::placedText(QRectF(x, y + 16, bw, 16).translated(o), l.signatures[i].title, font, Qt::AlignCenter, 2));
        }
        io::drawItems(p, blocks, font, scale, step);
        y += signaturesHeight(l);
    }
    if (!l.copiesHtml.trimmed().isEmpty()) {
        const auto copies = bodyDocument(l.copiesHtml, g.bodyWidth, 0.8);
        drawDocument(p, *copies, QPointF(o.x() + g.bodyLeft, o.y() + y), 0, copies->size().height(), scale);
    }
}

} // namespace

const QList<PaperLayout>& paperLayouts()
{
    static const QList<PaperLayout> list = {
        {0, QStringLiteral("با سربرگ و موضوع"), false, true, true, false, false},
        {1, QStringLiteral("بدون سربرگ"), false, false, false, false, false},
        {2, QStringLiteral("نامه آماده"), false, false, false, true, false},
        {3, QStringLiteral("با سربرگ"), false, true, false, false, false},
        {4, QStringLiteral("بدون سربرگ (خراسان شمالي)"), false, false, false, false, true},
        {5, QStringLiteral("بدون سربرگ (A4)"), true, false, false, false, false},
        {6, QStringLiteral("با سربرگ (A4)"), true, true, false, false, false},
    };
    return list;
}

const PaperLayout& paperLayout(int id) { return paperLayouts()[id >= 0 && id < paperLayouts().size() ? id : 1]; }

QSizeF letterPagePoints(const LetterPage& l)
{
    const PaperLayout& layout = paperLayout(l.layout);
    const bool a4 = layout.positioned ? l.a4 : layout.a4;
    QSizeF s = a4 ? QSizeF(595, 842) : QSizeF(420, 595);
    if (l.landscape)
        s.transpose();
    return s;
}

QString printableHtml(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    QList<std::tuple<int, int, QString, QTextCharFormat>> changes;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextCursor bc(b);
        QTextBlockFormat bf = b.blockFormat();
        bf.setLayoutDirection(Qt::RightToLeft);
        bc.setBlockFormat(bf);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            QTextCharFormat cf = f.charFormat();
            const QStringList families = cf.fontFamilies().toStringList();
            const QString own = families.value(0);
            QStringList print = io::reportFont().families();
            if (printable(own))
                print.prepend(own);
            cf.setFontFamilies(print);
            changes.append({f.position(), f.length(), io::printableText(f.text()), cf});
        }
    }
    // From the end, so that positions before a change stay as they were.
    for (auto it = changes.crbegin(); it != changes.crend(); ++it) {
        QTextCursor c(&doc);
        c.setPosition(std::get<0>(*it));
        c.setPosition(std::get<0>(*it) + std::get<1>(*it), QTextCursor::KeepAnchor);
        c.insertText(std::get<2>(*it), std::get<3>(*it));
    }
    return doc.toHtml();
}

bool renderLetters(const std::vector<LetterPage>& letters, QPagedPaintDevice& device, QString* error)
{
    if (letters.empty()) {
        if (error)
            *error = QStringLiteral("نامه اي براي چاپ نيست");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("چاپگر يا فايل خروجي آماده نيست");
        return false;
    }
    const double scale = device.logicalDpiX() / 72.0;
    const QSizeF sheet(device.width() / scale, device.height() / scale);
    bool firstSheet = true;
    auto newSheet = [&] {
        if (!firstSheet)
            device.newPage();
        firstSheet = false;
    };
    // Two A5 letters to an A4 sheet stand side by side, the first at the right.
    const bool two = letters.front().twoPerSheet && !paperLayout(letters.front().layout).a4;
    std::vector<Slot> parts;
    for (const LetterPage& l : letters) {
        const QSizeF size = two ? QSizeF(sheet.width() / 2, sheet.height()) : sheet;
        for (const Slot& s : slotsOf(l, size))
            parts.push_back(s);
    }
    painter.setPen(QPen(Qt::black, 0.5 * scale));
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!two) {
            newSheet();
            drawSlot(painter, parts[i], QRectF(QPointF(0, 0), sheet), scale);
            continue;
        }
        if (i % 2 == 0)
            newSheet();
        const double half = sheet.width() / 2;
        drawSlot(painter, parts[i], QRectF(i % 2 == 0 ? half : 0, 0, half, sheet.height()), scale);
    }
    painter.end();
    return true;
}

bool writeLettersPdf(const std::vector<LetterPage>& letters, const QString& path, QString* error)
{
    if (letters.empty()) {
        if (error)
            *error = QStringLiteral("نامه اي براي چاپ نيست");
        return false;
    }
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.letter-XXXXXX.pdf"));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir() || !temp.open()) {
        if (error)
            *error = QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(path);
        return false;
    }
    temp.close();
    {
        const LetterPage& first = letters.front();
        const bool two = first.twoPerSheet && !paperLayout(first.layout).a4;
        QSizeF points = letterPagePoints(first);
        if (two)
            points = QSizeF(842, 595);
        QPdfWriter pdf(temp.fileName());
        pdf.setPageSize(QPageSize(QSizeF(std::min(points.width(), points.height()), std::max(points.width(), points.height())), QPageSize::Point));
        pdf.setPageOrientation(points.width() > points.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(144);
        pdf.setTitle(first.subject);
        pdf.setCreator(QStringLiteral("orvak"));
        if (!renderLetters(letters, pdf, error))
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

} // namespace orvak::letters
