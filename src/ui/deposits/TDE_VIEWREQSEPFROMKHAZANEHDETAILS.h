#pragma once
// "اطلاعات درخواست  وجه سپرده از خزانه": one row of a fund request: the deposit picked
// from the register or found by its receipt number, its data shown as it stands, the
// amount asked (typed or a share of the deposit) and the owner's letter.
#include "ui/framework/EntryForm.h"
#include "core/deposits/FundRequests.h"
#include "core/startup/Session.h"

class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class AmountEdit;
class JalaliDateEdit;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TDE_VIEWREQSEPFROMKHAZANEHDETAILS : public framework::EntryForm {
    Q_OBJECT
public:
    // owner, contract: what a receipt number is searched within (-1: any).
    TDE_VIEWREQSEPFROMKHAZANEHDETAILS(orvak::startup::Session& session, int reqIdx, QWidget* parent = nullptr, int owner = -1, int contract = -1);

    QLabel* rowNo = nullptr;
    framework::AmountEdit* amount = nullptr;
    QLineEdit* depositIdx = nullptr;
    QLineEdit* receiptNo = nullptr;
    QLineEdit* descr = nullptr;
    QLineEdit* letterNo = nullptr;
    framework::JalaliDateEdit* letterDate = nullptr;
    QLabel* deposit = nullptr;   // the chosen deposit's data, read-only

    // Chooses the deposit (by its IDX) as the buttons and the fields do.
    bool chooseDeposit(int idx);
    // "25 درصد", "50 درصد", "75 درصد".
    void share(int percent);
    const orvak::deposits::FundRequestRow& row() const { return row_; }

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void showDeposit();

    orvak::startup::Session& session_;
    int reqIdx_;
    int owner_;
    int contract_;
    orvak::deposits::FundRequestRow row_;
};

} // namespace orvak::ui::deposits
