#pragma once
// The text of a printed page as a reader reads it, through pdftotext (poppler).
//
// pdftotext gives a right-to-left line as its right-to-left runs in reading order
// and its runs of digits and Latin letters between LRE and PDF in the order the page
// shows them, but it does not mirror brackets in the right-to-left runs and it puts
// the spaces and brackets that stand left of a number into the number's run. These
// helpers read those runs back by the bidirectional rules, so that what they return
// is what the page shows, read right to left: a page that draws "(109)" or
// "کار 10 درصد" the wrong way round reads wrong here too.
#include <QProcess>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

namespace orvak::test {

namespace pdftext_detail {

constexpr char16_t LRE = 0x202A, RLE = 0x202B, PDF = 0x202C;

inline QChar mirrored(QChar c) { return c.mirroredChar(); }

// A left-to-right run as pdftotext gives it (the page's order, left to right),
// in reading order within a right-to-left line.
inline QString readLtrRun(const QString& s)
{
    enum Kind { L, EN, ES, CS, ET, N };
    std::vector<Kind> kinds;
    for (QChar c : s) {
        switch (c.direction()) {
        case QChar::DirL: kinds.push_back(L); break;
        case QChar::DirEN:
        case QChar::DirAN: kinds.push_back(EN); break;
        case QChar::DirES: kinds.push_back(ES); break;
        case QChar::DirCS: kinds.push_back(CS); break;
        case QChar::DirET: kinds.push_back(ET); break;
        default: kinds.push_back(N); break;
        }
    }
    const size_t n = kinds.size();
    // A single separator between two digits belongs to the number, and so does a
    // sign just before one (the page isolates a signed number); so do percent and
    // currency signs next to one.
    for (size_t i = 0; i + 1 < n; ++i) {
        if (kinds[i + 1] != EN)
            continue;
        if ((kinds[i] == ES || kinds[i] == CS) && i > 0 && kinds[i - 1] == EN)
            kinds[i] = EN;
        else if (kinds[i] == ES && (i == 0 || kinds[i - 1] == N))
            kinds[i] = EN;
    }
    for (size_t i = 0; i < n; ++i) {
        if (kinds[i] != ET)
            continue;
        size_t j = i;
        while (j < n && kinds[j] == ET)
            ++j;
        const bool touches = (i > 0 && kinds[i - 1] == EN) || (j < n && kinds[j] == EN);
        for (size_t k = i; k < j; ++k)
            kinds[k] = touches ? EN : N;
        i = j - 1;
    }
    // The rest is neutral: left to right only between two Latin letters (a number
    // counts as right to left for its neighbours).
    std::vector<bool> ltr(n, false);
    for (size_t i = 0; i < n; ++i) {
        if (kinds[i] == L || kinds[i] == EN) {
            ltr[i] = true;
            continue;
        }
        int before = -1, after = -1;
        for (int j = int(i) - 1; j >= 0; --j) {
            if (kinds[size_t(j)] == L || kinds[size_t(j)] == EN) {
                before = kinds[size_t(j)];
                break;
            }
        }
        for (size_t j = i + 1; j < n; ++j) {
            if (kinds[j] == L || kinds[j] == EN) {
                after = kinds[j];
                break;
            }
        }
        ltr[i] = before == L && after == L;
    }
    // Read right to left; a left-to-right stretch keeps its own order.
    QString out;
    for (int i = int(n) - 1; i >= 0;) {
        if (!ltr[size_t(i)]) {
            out += mirrored(s[i]);
            --i;
            continue;
        }
        int j = i;
        while (j >= 0 && ltr[size_t(j)])
            --j;
        out += s.mid(j + 1, i - j);
        i = j;
    }
    return out;
}

inline QString readLine(const QString& line)
{
    if (!line.startsWith(QChar(RLE))) {
        // A left-to-right line: its right-to-left runs only need their brackets.
        QString out;
        bool rtl = false;
        for (QChar c : line) {
            if (c == QChar(RLE))
                rtl = true;
            else if (c == QChar(PDF))
                rtl = false;
            else if (c != QChar(LRE))
                out += rtl ? mirrored(c) : c;
        }
        return out;
    }
    QString out, run;
    bool inLtr = false;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QChar(LRE)) {
            inLtr = true;
            run.clear();
        } else if (c == QChar(PDF)) {
            if (inLtr)
                out += readLtrRun(run);
            inLtr = false;
        } else if (inLtr) {
            run += c;
        } else {
            out += mirrored(c);
        }
    }
    return out;
}

} // namespace pdftext_detail

// The page's lines in reading order (presentation forms folded back to letters),
// of the whole page or of a box on it, in points from its top left corner.
inline QStringList pdfLines(const QString& path, int page = 1, const QRectF& box = {})
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                     QString::number(page)};
    if (!box.isNull()) {
        args << QStringLiteral("-r") << QStringLiteral("72") << QStringLiteral("-x") << QString::number(int(std::floor(box.x())))
             << QStringLiteral("-y") << QString::number(int(std::floor(box.y()))) << QStringLiteral("-W")
             << QString::number(int(std::ceil(box.width()))) << QStringLiteral("-H") << QString::number(int(std::ceil(box.height())));
    }
    args << path << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {QStringLiteral("pdftotext failed: ") + QString::fromUtf8(p.readAllStandardError())};
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString read = pdftext_detail::readLine(QString(line).remove(QChar(0x0C))).simplified();
        if (!read.isEmpty())
            lines << read;
    }
    return lines;
}

// A box's text as one line: its printed lines joined by single spaces.
inline QString pdfBoxText(const QString& path, const QRectF& box, int page = 1) { return pdfLines(path, page, box).join(QLatin1Char(' ')); }

} // namespace orvak::test
