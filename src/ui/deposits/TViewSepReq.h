#pragma once
// "درخواست  سپرده  صاحبان سپرده ": the owners' release requests by owner, contract and
// answer, with their entry form, and the list as the refund form's picker.
#include "ui/deposits/ConditionList.h"
#include "ui/framework/EntryForm.h"
#include "core/deposits/OwnerRequests.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvak::ui::framework {
class AmountEdit;
class CodeEdit;
class JalaliDateEdit;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TViewSepReq : public ConditionList {
    Q_OBJECT
public:
    explicit TViewSepReq(Session& session, QWidget* parent = nullptr);
};

// "درخواست هاي سپرده صاحبان سپرده"
class TDE_SEPREQ : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TDE_SEPREQ(Session& session, QWidget* parent = nullptr);

    QLineEdit* number = nullptr;
    framework::JalaliDateEdit* registered = nullptr;
    QLineEdit* letterNo = nullptr;
    framework::JalaliDateEdit* letterDate = nullptr;
    framework::AmountEdit* approved = nullptr;
    QLineEdit* registryNo = nullptr;
    framework::JalaliDateEdit* registryDate = nullptr;
    framework::CodeEdit* owner = nullptr;
    framework::CodeEdit* contract = nullptr;
    QComboBox* answered = nullptr;
    QLineEdit* descr = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
};

// "انتخاب(F2)": an owner's request chosen from the list (of the owner, -1: any).
std::optional<orvak::deposits::OwnerRequest> pickOwnerRequest(QWidget* parent, Session& session, int owner = -1);

} // namespace orvak::ui::deposits
