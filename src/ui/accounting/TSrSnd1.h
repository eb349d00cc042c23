#pragma once
// "جستجو در اسناد": every field of the voucher search above the grid of the rows
// found, with their debit and credit sums; a row opens in the voucher viewer, and
// when a caller asked, F10 hands it back.
#include "ui/accounting/AccountingScreens.h"
#include "core/accounting/VoucherSearch.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
class ListScreen;
}

namespace orvak::ui::accounting {

class TSrSnd1 : public QDialog {
    Q_OBJECT
public:
    TSrSnd1(Session& session, QWidget* parent = nullptr);

    // Picking for a caller: F10 ("ادامه (F10)") closes with the current row.
    void setPicking(bool picking);
    void applyPreset(const VoucherSearchPreset& preset);
    orvak::accounting::VoucherCriteria criteria() const;
    void setCriteria(const orvak::accounting::VoucherCriteria& criteria);

    framework::ListScreen& list() const { return *list_; }
    const std::optional<FoundVoucherRow>& chosen() const { return chosen_; }
    // The current row of the grid as the voucher holds it.
    std::optional<FoundVoucherRow> currentRow() const;

public slots:
    // Runs the search of the fields; false (after saying why) on a bad value.
    bool search();
    void showCurrent();
    void handBack();

private:
    Session& session_;
    framework::ListScreen* list_ = nullptr;
    QLineEdit* words_ = nullptr;
    QCheckBox* inHead_ = nullptr;
    QLineEdit* party_ = nullptr;
    QComboBox* rangeKind_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QComboBox* inclusion_ = nullptr;
    QLineEdit* kol_ = nullptr;
    QLineEdit* moin_ = nullptr;
    QLineEdit* tafsil_ = nullptr;
    QLineEdit* plan_ = nullptr;
    QLineEdit* project_ = nullptr;
    QLineEdit* group_ = nullptr;
    QLineEdit* chequeNo_ = nullptr;
    framework::JalaliDateEdit* chequeDate1_ = nullptr;
    framework::JalaliDateEdit* chequeDate2_ = nullptr;
    QComboBox* side_ = nullptr;
    QLineEdit* amountFrom_ = nullptr;
    QLineEdit* amountTo_ = nullptr;
    QPushButton* handBack_ = nullptr;
    std::optional<FoundVoucherRow> chosen_;
};

} // namespace orvak::ui::accounting
