#pragma once
// "صدور سند حسابداري": the number, date and options of a voucher a register posts
// through its own service; afterwards the posted voucher is shown, confirmed or
// rejected here.
#include "ui/accounting/AccountingScreens.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::accounting {

class TFSndIssue : public QDialog {
    Q_OBJECT
public:
    TFSndIssue(Session& session, const VoucherIssueRequest& request, PostVoucher post, QWidget* parent = nullptr);

    QLineEdit* numberField() const { return number_; }
    framework::JalaliDateEdit* dateField() const { return date_; }
    QCheckBox* clearEarlierBox() const { return clear_; }
    // The voucher's description (shown when the request gives one) and the line that
    // follows the rows as they are written.
    QLineEdit* descriptionField() const { return description_; }
    QLabel* progressLine() const { return progress_; }
    // The posted voucher, until it is rejected.
    const std::optional<VoucherIssue>& issued() const { return issued_; }

public slots:
    // ">>": the last voucher of the year + 1.
    void proposeNumber();
    // "توليد سند( F10 )": checks the fields and calls the caller's posting; its reason
    // is shown when it refuses.
    bool generate();
    // "نمايش و چاپ سند (F9)".
    void showIssued();
    // "تائيد سند" / "عدم تائيد سند", each after "مطمئن هستيد؟".
    bool confirmIssued();
    bool rejectIssued();

private:
    void updateButtons();

    Session& session_;
    PostVoucher post_;
    orvak::accounting::ClearReferences clearReferences_;
    std::optional<VoucherIssue> issued_;
    QLineEdit* number_ = nullptr;
    framework::JalaliDateEdit* date_ = nullptr;
    QCheckBox* clear_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLabel* progress_ = nullptr;
    QLineEdit* expenseNumber_ = nullptr;
    framework::JalaliDateEdit* expenseDate_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* reject_ = nullptr;
};

} // namespace orvak::ui::accounting
