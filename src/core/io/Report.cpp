#include "core/io/Report.h"

#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <cmath>

static void initCoreFonts() { Q_INIT_RESOURCE(core); }

namespace orvak::io {

namespace {

constexpr double kMargin = 28;   // points
constexpr QChar LRI(0x2066);
constexpr QChar PDI(0x2069);

QString amountText(double v)
{
    const qint64 whole = qint64(std::llround(v));
    return whole == 0 ? QStringLiteral("0") : util::FormatAmount(whole);
}

bool isLtrFormat(CellFormat f) { return f == CellFormat::Amount || f == CellFormat::Integer || f == CellFormat::JalaliDate; }

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

std::vector<ReportPage> layoutReport(const ReportModel& model, const QSizeF& page, const QFont& font)
{
    std::vector<ReportPage> pages;
    const int n = int(model.columns.size());
    if (n == 0)
        return pages;
    // Row height from the point size alone: the same pages on every device.
    const double line = std::ceil(font.pointSizeF() * 1.9);
    const double left = kMargin, right = page.width() - kMargin;
    const double width = right - left;
    double weights = 0;
    for (const ReportColumn& c : model.columns)
        weights += c.weight;
    // Columns from the right edge leftwards: the first column is the rightmost.
    std::vector<double> x(size_t(n) + 1);
    x[0] = right;
    for (int c = 0; c < n; ++c)
        x[size_t(c) + 1] = x[size_t(c)] - width * model.columns[size_t(c)].weight / weights;
    auto valueAt = [&](int row, int c) {
        return size_t(row) < model.amounts.size() && size_t(c) < model.amounts[size_t(row)].size() ? model.amounts[size_t(row)][size_t(c)] : 0.0;
    };
    auto cellRect = [&](int c, double y) { return QRectF(x[size_t(c) + 1], y, x[size_t(c)] - x[size_t(c) + 1], line); };

    std::vector<double> pageSums(size_t(n), 0.0), runningSums(size_t(n), 0.0), groupSums(size_t(n), 0.0);
    auto totalsRow = [&](ReportPage& p, double y, ReportItem::Kind kind, const QString& label, const std::vector<double>& sums) {
        // The label spans the columns before the first summed one.
        int firstTotal = n;
        for (int c = 0; c < n; ++c) {
            if (model.columns[size_t(c)].total) {
                firstTotal = c;
                break;
            }
        }
        const int span = std::max(firstTotal, 1);
        p.items.push_back({kind, QRectF(x[size_t(span)], y, x[0] - x[size_t(span)], line), label, true, Qt::AlignRight | Qt::AlignVCenter});
        for (int c = span; c < n; ++c) {
            const bool total = model.columns[size_t(c)].total;
            p.items.push_back({kind, cellRect(c, y), total ? isolateLtr(amountText(sums[size_t(c)])) : QString(), true, Qt::AlignCenter});
        }
    };

    const double bottom = page.height() - kMargin - line;   // leave the page number line
    const int rowCount = int(model.rows.size());
    int r = 0;
    QString currentGroup;
    bool groupOpen = false;
    int pageNumber = 0;
    while (r < rowCount || pages.empty()) {
        ReportPage p;
        ++pageNumber;
        double y = kMargin;
        if (pageNumber == 1) {
            for (const QString& t : model.titleLines) {
                p.items.push_back({ReportItem::Title, QRectF(left, y, width, line), t, true, Qt::AlignCenter, false});
                y += line;
            }
            y += line / 2;
        }
        for (int c = 0; c < n; ++c)
            p.items.push_back({ReportItem::Header, cellRect(c, y), model.columns[size_t(c)].title, true, Qt::AlignCenter});
        y += line;
        if (pageNumber > 1) {
            totalsRow(p, y, ReportItem::CarriedIn, QStringLiteral("جمع نقل از صفحه قبل"), runningSums);
            y += line;
        }
        std::fill(pageSums.begin(), pageSums.end(), 0.0);
        // Room for the carried-out line, or on the last page the grand total and words.
        while (r < rowCount) {
            const QStringList& row = model.rows[size_t(r)];
            const QString group = model.groupColumn >= 0 ? row.value(model.groupColumn) : QString();
            const bool closesGroup = groupOpen && group != currentGroup;
            const double needed = line * (closesGroup ? 2 : 1) + line;
            if (y + needed > bottom)
                break;
            if (closesGroup) {
                totalsRow(p, y, ReportItem::GroupTotal, QStringLiteral("جمع ") + currentGroup, groupSums);
                std::fill(groupSums.begin(), groupSums.end(), 0.0);
                y += line;
            }
            currentGroup = group;
            groupOpen = model.groupColumn >= 0;
            for (int c = 0; c < n; ++c) {
                const ReportColumn& col = model.columns[size_t(c)];
                QString text = row.value(c);
                Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter;
                if (isLtrFormat(col.format)) {
                    text = isolateLtr(text);
                    align = Qt::AlignCenter;
                }
                p.items.push_back({ReportItem::Cell, cellRect(c, y), text, false, align});
                if (col.total) {
                    const double v = valueAt(r, c);
                    pageSums[size_t(c)] += v;
                    runningSums[size_t(c)] += v;
                    groupSums[size_t(c)] += v;
                }
            }
            y += line;
            ++p.dataRows;
            ++r;
        }
        if (r < rowCount) {
            totalsRow(p, y, ReportItem::CarriedOut, QStringLiteral("جمع نقل به صفحه بعد"), runningSums);
        } else {
            // The end: last group, grand total, words and signatures; a new page if
            // they do not fit.
            const int closing = (groupOpen ? 1 : 0) + 1 + (model.wordsColumn >= 0 ? 1 : 0) + (model.signatures.empty() ? 0 : 3);
            if (y + closing * line > bottom && p.dataRows > 0) {
                // Move the last row to a new page so that the totals stand with rows.
                --r;
                --p.dataRows;
                for (int c = 0; c < n; ++c) {
                    p.items.pop_back();
                    if (model.columns[size_t(c)].total) {
                        const double v = valueAt(r, c);
                        runningSums[size_t(c)] -= v;
                        groupSums[size_t(c)] -= v;
                    }
                }
                totalsRow(p, y - line, ReportItem::CarriedOut, QStringLiteral("جمع نقل به صفحه بعد"), runningSums);
                p.items.push_back({ReportItem::PageNumber, QRectF(left, page.height() - kMargin - line, width, line),
                                   isolateLtr(QString::number(pageNumber)), false, Qt::AlignCenter, false});
                pages.push_back(p);
                continue;
            }
            if (groupOpen) {
                totalsRow(p, y, ReportItem::GroupTotal, QStringLiteral("جمع ") + currentGroup, groupSums);
                y += line;
            }
            totalsRow(p, y, ReportItem::GrandTotal, QStringLiteral("جمع کل"), runningSums);
            y += line;
            if (model.wordsColumn >= 0) {
                const double total = runningSums[size_t(model.wordsColumn)];
                const QString words = QStringLiteral("جمع کل بحروف: ") + util::AmountToWords(quint64(std::max<qint64>(0, std::llround(total))))
                    + QStringLiteral(" ريال");
                p.items.push_back({ReportItem::Words, QRectF(left, y, width, line), words, true, Qt::AlignRight | Qt::AlignVCenter, false});
                y += line;
            }
            if (!model.signatures.empty()) {
                y += line;
                const double slot = width / double(model.signatures.size());
                for (size_t s = 0; s < model.signatures.size(); ++s) {
                    const double sx = right - slot * double(s + 1);
                    p.items.push_back({ReportItem::Signature, QRectF(sx, y, slot, line), model.signatures[s].title, true, Qt::AlignCenter, false});
                    p.items.push_back({ReportItem::Signature, QRectF(sx, y + line, slot, line), model.signatures[s].name, false, Qt::AlignCenter, false});
                }
            }
        }
        p.items.push_back({ReportItem::PageNumber, QRectF(left, page.height() - kMargin - line, width, line),
                           isolateLtr(QString::number(pageNumber)), false, Qt::AlignCenter, false});
        pages.push_back(p);
        if (rowCount == 0)
            break;
    }
    return pages;
}

bool renderReport(const ReportModel& model, QPagedPaintDevice& device, QString* error)
{
    if (model.rows.empty()) {
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
    auto toDevice = [scale](const QRectF& r) { return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale); };
    QFont bold = font;
    bold.setBold(true);
    painter.setPen(QPen(Qt::black, 0.5 * scale));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        for (const ReportItem& item : pages[i].items) {
            painter.setFont(item.bold ? bold : font);
            const QRectF rect = toDevice(item.rect);
            if (item.boxed)
                painter.drawRect(rect);
            QTextOption option(item.align);
            option.setTextDirection(Qt::RightToLeft);
            option.setWrapMode(QTextOption::NoWrap);
            painter.drawText(rect.adjusted(3 * scale, 0, -3 * scale, 0), item.text, option);
        }
    }
    painter.end();
    return true;
}

bool writeReportPdf(const ReportModel& model, const QString& path, QString* error)
{
    if (model.rows.empty()) {
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
    QFile::remove(path);
    if (!QFile::rename(temp.fileName(), path)) {
        if (error)
            *error = QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(path);
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

} // namespace orvak::io
