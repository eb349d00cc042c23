#pragma once
// "استرداد سپرده": one refund: its header, the deposits refunded and the cheques
// issued, with their totals and the figures of the refund account, the float and
// the owner's requests not yet paid. A deposit row or a cheque writes the refund with
// it; "خروج بدون ثبت" on a refund new in this form takes it back whole.
#include "ui/framework/EntryForm.h"
#include "core/deposits/Refunds.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class CodeEdit;
class JalaliDateEdit;
class ListScreen;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TDE_SEPRAD : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TDE_SEPRAD(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLabel* number = nullptr;
    framework::JalaliDateEdit* date = nullptr;
    framework::CodeEdit* owner = nullptr;
    framework::CodeEdit* contract = nullptr;
    QLabel* ownerRequest = nullptr;
    QComboBox* kind = nullptr;
    QLineEdit* descr = nullptr;
    QLabel* voucher = nullptr;
    QCheckBox* fromFloat = nullptr;
    QLabel* floatNo = nullptr;
    QLabel* figures = nullptr;
    QLabel* totals = nullptr;
    framework::ListScreen* rows = nullptr;
    framework::ListScreen* cheques = nullptr;

    // The refund as the fields hold it (RAD_IDX 0 while not written).
    orvak::deposits::Refund header() const;
    // The three ways of a deposit row, and the row's removal.
    void addFromRequests();
    void addFromOwnerDeposits();
    void addFromRegister();
    bool addRow(const orvak::deposits::Refunds::NewRow& row);
    void removeRow();
    // "تخصيص چک" and the cheque grid's edit and removal.
    void newCheque();
    void editCheque();
    void removeCheque();
    void issueVoucher();
    void showDepositVoucher();
    void chooseOwnerRequest();
    void chooseFloat();
    // The refund written by a row or cheque of this form and not saved since.
    int createdHere() const { return createdHere_; }

public slots:
    void reject() override;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void display(const orvak::deposits::Refund& r);
    void refresh();
    void refreshFigures();
    void written(int radIdx);

    orvak::startup::Session& session_;
    orvak::deposits::Refund refund_;
    int createdHere_ = 0;
    std::optional<QString> bank_;   // the refund account's balance as read from the books
};

} // namespace orvak::ui::deposits
