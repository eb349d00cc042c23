#pragma once
// "اطلاعات درخواست  وجه سپرده از خزانه": a fund request's header. A plain save keeps it
// a draft; opened for a state change, the save writes the header in that state.
#include "ui/framework/EntryForm.h"
#include "core/deposits/FundRequests.h"
#include "core/startup/Session.h"

class QLineEdit;
class QLabel;

namespace orvak::ui::framework {
class AmountEdit;
class JalaliDateEdit;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TDE_SepReqFromKhazaneh : public framework::EntryForm {
    Q_OBJECT
public:
    // state: the state the save writes; none for a plain save (draft).
    TDE_SepReqFromKhazaneh(orvak::startup::Session& session, QWidget* parent = nullptr,
                           std::optional<orvak::deposits::FundState> state = std::nullopt);

    QLineEdit* number = nullptr;
    framework::JalaliDateEdit* date = nullptr;
    QLineEdit* letterNo = nullptr;
    framework::JalaliDateEdit* letterDate = nullptr;
    QLabel* requested = nullptr;
    QLineEdit* letterNo2 = nullptr;
    framework::JalaliDateEdit* letterDate2 = nullptr;
    framework::AmountEdit* paidIn = nullptr;
    QLineEdit* chequeNo = nullptr;
    QLineEdit* rowNo = nullptr;
    QLineEdit* descr = nullptr;
    QLineEdit* creditNo = nullptr;
    framework::JalaliDateEdit* creditDate = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void display(const orvak::deposits::FundRequest& h);

    orvak::startup::Session& session_;
    std::optional<orvak::deposits::FundState> state_;
    orvak::deposits::FundRequest shown_;
};

} // namespace orvak::ui::deposits
