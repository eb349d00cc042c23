#pragma once
// "تهيه ديسکت صورت ريز ارسالي به خزانه": the received-deposits list file of a month
// (or of every month up to it) in the province's layout, with the count and total of
// the deposits written, and the written file shown.
#include "core/deposits/TreasuryFiles.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace orvak::startup {
class Session;
}

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::deposits {

class TfGenDisketSuratRizErsali : public QDialog {
    Q_OBJECT
public:
    TfGenDisketSuratRizErsali(startup::Session& session, int year, int month, bool upToMonth, QWidget* parent = nullptr);

    orvak::deposits::ListFileInput input() const;
    void setDefaultName();
    // The count and total of what the chosen layout would write.
    void refreshTotals();
    // "تهيه فايل"
    orvak::deposits::WrittenFile write();
    QString writtenText() const;
    void showWritten();
    void setPrompt(startup::Prompt* prompt) { prompt_ = prompt; }

    QComboBox* format = nullptr;             // SelFormat, none chosen at first
    framework::JalaliDateEdit* fileDate = nullptr;
    QLineEdit* agency = nullptr;
    QLineEdit* letterNo = nullptr;
    framework::JalaliDateEdit* letterDate = nullptr;
    QSpinBox* year = nullptr;
    QComboBox* month = nullptr;
    QComboBox* amountKind = nullptr;
    framework::JalaliDateEdit* paidDate = nullptr;
    QCheckBox* upToMonth = nullptr;          // "سپرده ها تا ماه"
    QLineEdit* folder = nullptr;
    QLineEdit* fileName = nullptr;
    QLabel* count = nullptr;
    QLabel* total = nullptr;

private:
    startup::Session& session_;
    QString written_;
    int writtenLayout_ = 0;
    startup::Prompt* prompt_ = nullptr;
};

} // namespace orvak::ui::deposits
