#pragma once
// "خواندن اطلاعات سپرده ها از فايل اکسل": a spreadsheet and its sheet chosen, each
// deposit field bound to one of the sheet's column titles, the kind for the whole
// file, and the import run with its progress and stop. The mapping is kept in the
// start folder's .TMP file on request.
#include "core/deposits/DepositImport.h"
#include "core/startup/Session.h"

#include <QHash>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orvak::ui::deposits {

class TFReadXLSSepordeh : public QWidget {
    Q_OBJECT
public:
    explicit TFReadXLSSepordeh(orvak::startup::Session& session, QWidget* parent = nullptr);

    // "انتخاب فايل اکسل" with the file chosen: its sheets offered; false (told) when
    // the file is no spreadsheet.
    bool openFile(const QString& path);
    // The sheet's column titles into every field's combo.
    bool showSheet(int sheet);
    orvak::deposits::ImportMapping mapping() const;
    void setMapping(const orvak::deposits::ImportMapping& mapping);
    bool saveMapping();      // "ثبت  انتخاب  فيلدها"
    bool restoreMapping();   // "بازيابي انتخاب فيلد"
    void clearMapping();     // "پاک کردن انتخاب فيلدها"
    // "اضافه نمودن اطلاعات  اکسل به سپرده هاي دريافتي"
    orvak::deposits::ImportResult runImport();

    QLineEdit* file = nullptr;
    QComboBox* sheets = nullptr;
    QComboBox* kind = nullptr;
    QHash<int, QComboBox*> fields;   // by ImportField
    QProgressBar* bar = nullptr;
    QPushButton* stop = nullptr;
    QLabel* status = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    orvak::startup::Session& session_;
    QString path_;
    QStringList titles_;
    bool stopRequested_ = false;
    bool running_ = false;
};

} // namespace orvak::ui::deposits
