#pragma once
// The printed letter: the seven paper layouts ("نوع برگه") as a table, and the pages
// of one or more letters drawn by the report renderer's text fitting onto any paged
// device (PDF, the printer, the preview). A letterhead layout carries "بسمه تعالي",
// the organisation's picture and lines, the date, number and enclosure labels, the
// addressee and sender; the others print only the body and signatures at the
// template's offsets, for stationery that carries the rest; the positioned layout
// prints the 18 items where the template places them. A body longer than its page
// is first set smaller (to 70%), then continued on the next page.
#include "core/io/Report.h"

#include <QImage>
#include <QSizeF>
#include <vector>

class QPagedPaintDevice;

namespace orvak::letters {

struct PaperLayout {
    int id = 0;
    QString text;          // "با سربرگ و موضوع", ...
    bool a4 = false;       // the A4 page (otherwise A5; the positioned layout takes the template's)
    bool letterhead = false;
    bool subjectLine = false;
    bool positioned = false;
    bool headerValues = false;   // date, number and enclosures printed without their labels
};
// The layouts 0 to 6 in their order.
const QList<PaperLayout>& paperLayouts();
const PaperLayout& paperLayout(int id);   // an unknown id reads as layout 1

// One item placed on pre-printed stationery, in millimetres; its font size in points.
struct PlacedItem {
    double left = 0, top = 0, width = 40, height = 8;
    double size = 10;
    bool bold = false;
    QString font;
    QString text;
};

struct LetterPage {
    int layout = 1;
    bool a4 = false;          // for the positioned layout: the template's paper size
    bool landscape = false;
    bool twoPerSheet = false; // "دو نامه": two A5 letters on one A4 sheet
    double offsetLeft = 0;    // millimetres (CR)
    double offsetTop = 0;     // millimetres (CT)
    QString bodyHtml;         // the filled body
    QString closing;          // "توضيح در انتهاي نامه (اختياري)"
    QString copiesHtml;       // the copy lines under the letter (the copy version)
    QString date, number, enclosures;
    QString addressee, sender, subject;
    QStringList organisationLines;
    QImage letterhead;
    std::vector<io::ReportSignature> signatures;   // one or two blocks
    std::vector<PlacedItem> placed;
};

// The page in points of a letter (A5 or A4, portrait or landscape).
QSizeF letterPagePoints(const LetterPage& letter);

// Draws the letters, one after another; false with a message when there is none.
bool renderLetters(const std::vector<LetterPage>& letters, QPagedPaintDevice& device, QString* error = nullptr);
bool writeLettersPdf(const std::vector<LetterPage>& letters, const QString& path, QString* error = nullptr);

// The body's document as it is printed: right to left, the printing fonts, runs of
// digits and Latin letters isolated.
QString printableHtml(const QString& html);

} // namespace orvak::letters
