#pragma once
// "چک هاي مربوط به استرداد سپرده": a cheque of a refund, with what remains to be paid
// and the first five percent (half) of the refund's deposits as a proposal.
#include "ui/framework/EntryForm.h"
#include "core/deposits/Refunds.h"
#include "core/startup/Session.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class AmountEdit;
class CodeEdit;
class JalaliDateEdit;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TDE_RADCHK : public framework::EntryForm {
    Q_OBJECT
public:
    // header: the refund as its form holds it; written: told the refund's number
    // once the cheque wrote it.
    TDE_RADCHK(orvak::startup::Session& session, std::function<orvak::deposits::Refund()> header, std::function<void(int)> written,
               QWidget* parent = nullptr);

    QLineEdit* chequeNo = nullptr;
    framework::JalaliDateEdit* date = nullptr;
    QLineEdit* descr = nullptr;
    QComboBox* kind = nullptr;
    framework::CodeEdit* owner = nullptr;
    framework::CodeEdit* contract = nullptr;
    framework::CodeEdit* plan = nullptr;
    framework::CodeEdit* project = nullptr;
    QLabel* refund = nullptr;
    framework::AmountEdit* amount = nullptr;
    QLabel* remaining = nullptr;

    // "پنج درصد اول (نصف)"
    void half();

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void showRefund();

    orvak::startup::Session& session_;
    std::function<orvak::deposits::Refund()> header_;
    std::function<void(int)> written_;
    orvak::deposits::RefundTotals totals_;
};

} // namespace orvak::ui::deposits
