#pragma once
// "اطلاعات سپرده هاي دريافتي": one received deposit, its fields in entry order, with
// the owner, contract, plan and project pickers, the kinds and the standard
// descriptions, and the deposit's request rows and refund cheques with their sums.
// A new deposit starts from the values the register proposes for the list's period.
#include "ui/framework/EntryForm.h"
#include "ui/framework/Editors.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/Deposit.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QTableWidget;

namespace orvak::ui::deposits {

class TViewSepDar;

class TDE_SEPDAR : public framework::EntryForm {
    Q_OBJECT
public:
    // The list gives the period, the owner filter and the current row of a new deposit.
    TDE_SEPDAR(orvak::startup::Session& session, TViewSepDar* list);

    framework::JalaliDateEdit* chequeDate = nullptr;
    QLineEdit* chequeNo = nullptr;
    QComboBox* month = nullptr;
    QLineEdit* year = nullptr;
    QLineEdit* voucherNo = nullptr;
    QLineEdit* receiptNo = nullptr;
    framework::JalaliDateEdit* receiptDate = nullptr;
    framework::CodeEdit* owner = nullptr;
    framework::CodeEdit* contract = nullptr;
    framework::CodeEdit* plan = nullptr;
    framework::CodeEdit* project = nullptr;
    QComboBox* kind = nullptr;
    QComboBox* description = nullptr;
    framework::JalaliDateEdit* bookDate = nullptr;
    QLineEdit* serial = nullptr;
    QLineEdit* bookNo = nullptr;
    framework::AmountEdit* amount = nullptr;
    QLineEdit* refunded = nullptr;
    QLineEdit* balance = nullptr;
    QLineEdit* listRow = nullptr;
    QLineEdit* letterNo = nullptr;
    QLineEdit* letterDate = nullptr;
    QLineEdit* creditNo = nullptr;
    QLineEdit* creditDate = nullptr;
    QCheckBox* bankConfirmed = nullptr;
    QTableWidget* requests = nullptr;
    QLabel* requestSum = nullptr;
    QTableWidget* cheques = nullptr;
    QLabel* chequeSum = nullptr;

    // The description box's entries: SEPDESCR's rows, then the fixed phrases.
    void fillDescriptions();

protected:
    void clearFields() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void show(const orvak::deposits::Deposit& d);
    void showRows(int idx);
    void showLetter(const orvak::deposits::CreditLetter& letter);
    // A code field refuses an unknown code with the message and keeps the focus.
    void refuseUnknown(framework::CodeEdit* field, const QString& message);
    // What the fields hold, to tell typed changes on leaving.
    QString snapshot() const;
    void showHelp();

    orvak::startup::Session& session_;
    TViewSepDar* list_;
    orvak::deposits::Deposit deposit_;
    QString shown_;   // the snapshot of the record as shown
};

} // namespace orvak::ui::deposits
