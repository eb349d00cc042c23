#pragma once
// "اطلاعات تضمينات": one guarantee with every field, its pickers (party, contract,
// plan, project, branch, subject, folder), the due date from a duration (F7 or the
// caption), the advance-payment value from the contract, the amount in words, the
// extended and reduced markers, and the checks and questions of the register.
#include "ui/framework/EntryForm.h"
#include "ui/framework/Editors.h"
#include "core/guarantees/Guarantee.h"
#include "core/startup/Session.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvak::ui::guarantees {

class TDE_ZEMANAT : public framework::EntryForm {
    Q_OBJECT
public:
    TDE_ZEMANAT(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* idx = nullptr;
    QLineEdit* number = nullptr;
    framework::JalaliDateEdit* issued = nullptr;
    framework::CodeEdit* party = nullptr;
    framework::CodeEdit* contract = nullptr;
    framework::CodeEdit* plan = nullptr;
    framework::CodeEdit* project = nullptr;
    framework::CodeEdit* branch = nullptr;
    QPushButton* branchCaption = nullptr;
    framework::JalaliDateEdit* due = nullptr;
    QComboBox* type = nullptr;
    QComboBox* kind = nullptr;
    QComboBox* subject = nullptr;
    QComboBox* currency = nullptr;
    framework::AmountEdit* amount = nullptr;
    QLabel* amountWords = nullptr;
    QLineEdit* foreignAmount = nullptr;
    QLineEdit* archiveRow = nullptr;
    QLineEdit* folder = nullptr;
    QLineEdit* enclosures = nullptr;
    QLineEdit* voucherNo = nullptr;
    framework::JalaliDateEdit* voucherDate = nullptr;
    QLineEdit* sepam = nullptr;
    QLabel* extendedMark = nullptr;
    QLabel* reducedMark = nullptr;

    // The guarantee as the fields hold it (the hidden columns as read).
    orvak::guarantees::Guarantee current() const;
    // The due date from a duration of months (the caption's menu and F7 pick one).
    void dueFromMonths(int months);
    // The value from the contract at a rate in thousandths (advance payment only).
    void valueFromContract(int perThousand);
    void fillSubjects();

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void display(const orvak::guarantees::Guarantee& g);
    void applyTypeRule();
    void chooseDuration();
    void chooseRate();
    void pickSubject();
    void pickFolder();
    void showHistory();

    orvak::startup::Session& session_;
    orvak::guarantees::Guarantee guarantee_;
};

} // namespace orvak::ui::guarantees
