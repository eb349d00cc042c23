#pragma once
// The spreadsheet converter: a workbook opened, its sheets listed, the chosen sheet's
// rows shown and written as a tab-separated ".TMP" file beside it, which the reader
// reads with the spreadsheet layouts (29, 32, 33) like the workbook itself.
#include "core/startup/Session.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace orvak::ui::statements {

class TFReadSurathesabFromExcel : public QWidget {
    Q_OBJECT
public:
    explicit TFReadSurathesabFromExcel(orvak::startup::Session& session, QWidget* parent = nullptr);

    // Opens the workbook and lists its sheets ("[" name "]"); false (told) when it is none.
    bool openWorkbook(const QString& path);
    // Shows the chosen sheet's rows.
    bool showSheet(int sheet);
    // Writes the shown sheet as <workbook>.TMP; its path, empty when it failed (told).
    QString writeTmp();

    QLineEdit* file = nullptr;
    QComboBox* sheets = nullptr;
    QTableWidget* rows = nullptr;
    QLabel* status = nullptr;

private:
    QString path_;
    QList<QStringList> cells_;
};

// The converter's file: rows as tab-separated lines, UTF-8 (tabs and line breaks
// inside a cell become spaces); false with the reason.
bool writeSheetAsText(const QList<QStringList>& rows, const QString& path, QString* error);

} // namespace orvak::ui::statements
