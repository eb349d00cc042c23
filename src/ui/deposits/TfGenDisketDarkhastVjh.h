#pragma once
// "تهيه ديسکت صورت ريز درخواست وجه از خزانه": the fund request file for the treasury
// in the province's layout, with the request's count and total, and the written file
// shown or opened.
#include "core/deposits/TreasuryFiles.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvak::startup {
class Session;
}

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::deposits {

class TfGenDisketDarkhastVjh : public QDialog {
    Q_OBJECT
public:
    TfGenDisketDarkhastVjh(startup::Session& session, int reqIdx, QWidget* parent = nullptr);

    orvak::deposits::RequestFileInput input() const;
    // "تعيين نام پيش فرض" (changing the layout does the same).
    void setDefaultName();
    // "انتقال اطلاعات به ديسکت": the file written through the service.
    orvak::deposits::WrittenFile write();
    // "نمايش فايل خروجي": the written file's text (empty for a table or a workbook).
    QString writtenText() const;
    void showWritten();
    // Messages go here instead of message boxes (tests).
    void setPrompt(startup::Prompt* prompt) { prompt_ = prompt; }

    QLineEdit* requestNo = nullptr;      // ED_DRKHASTVJH
    framework::JalaliDateEdit* date = nullptr;
    QLineEdit* agency = nullptr;
    QComboBox* format = nullptr;         // SelFormat
    QLineEdit* folder = nullptr;
    QLineEdit* fileName = nullptr;
    QLabel* count = nullptr;             // "تعداد:"
    QLabel* total = nullptr;             // "جمع کل :"

private:
    void refreshTotals();

    startup::Session& session_;
    int reqIdx_;
    QString reqNo_;
    QString written_;
    int writtenLayout_ = 0;
    startup::Prompt* prompt_ = nullptr;
};

} // namespace orvak::ui::deposits
