#pragma once
// What the treasury screens share: the count and total line, and "نمايش فايل خروجي"
// and "باز کردن فايل" over the file just written.
#include <QString>

class QWidget;

namespace orvak::ui::deposits {

// The text of a written text file as it reads (code page 1256, or UTF-8); empty for
// a dBASE table or a workbook.
QString treasuryFileText(const QString& path, bool utf8);
// A text file in a read-only viewer; any other file in the "نمايش فايل" box.
void showTreasuryFile(const QString& path, const QString& text, QWidget* parent);
void openTreasuryFile(const QString& path);
QString countText(int count);
QString totalText(qint64 sum);

} // namespace orvak::ui::deposits
