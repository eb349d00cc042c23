#pragma once
// "فراخواني پيمانکا از اسناد حسابداري": the criteria of a reading, the rows read with
// their ticks, and the transfer of the ticked rows into the month's register.
#include "core/deposits/VoucherReading.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableWidget;

namespace orvak::ui::deposits {

class TFREADFROMSND : public QDialog {
    Q_OBJECT
public:
    // For the register of listYear / listMonth; the year field starts on listYear.
    TFREADFROMSND(orvak::startup::Session& session, int listYear, int listMonth, QWidget* parent = nullptr);

    orvak::deposits::ReadingCriteria criteria() const;
    void setCriteria(const orvak::deposits::ReadingCriteria& criteria);

    // F4: false when the reading was refused or failed (the user has been told).
    bool readRows();
    // F10 / F9: asks, then transfers; the dialog closes once the rows are in.
    bool transferAndClose(bool again);
    void toggleCurrent();      // SPACE
    void clearAllTicks();      // "انتخاب همه"
    void transferOnlyThis();   // "انتقال - فقط همين"
    // The one-voucher dialog's "ادامه (F10)": the voucher into both range fields.
    void useVoucher(int number, int year);

    int transferred() const { return transferred_; }
    bool again() const { return again_; }

    QComboBox* year = nullptr;
    QComboBox* month = nullptr;
    QComboBox* section = nullptr;
    QLineEdit* kol = nullptr;
    QLineEdit* moin = nullptr;
    QLineEdit* words[4] = {};
    QLineEdit* cheque = nullptr;
    QComboBox* rangeKind = nullptr;
    QLineEdit* from = nullptr;
    QLineEdit* to = nullptr;
    QComboBox* side = nullptr;
    QTableWidget* grid = nullptr;
    QLabel* debitSum = nullptr;
    QLabel* creditSum = nullptr;
    QLabel* notice = nullptr;
    QProgressBar* progress = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRows();
    void applyRangeMask();
    void pickKol();
    void pickMoin();
    void openOneVoucher();
    void openSavedCriteria();
    void restoreLastReading();
    int currentRow() const;

    orvak::startup::Session& session_;
    orvak::deposits::VoucherReading reading_;
    int listYear_;
    int listMonth_;
    int transferred_ = 0;
    bool again_ = false;
};

} // namespace orvak::ui::deposits
