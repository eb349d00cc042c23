#pragma once
// The petty-cash floats: "مديريت مبالغ تنخواه" with its entry form, the cheques paid
// from one float, and the floats received with their totals.
#include "ui/deposits/ConditionList.h"
#include "ui/framework/EntryForm.h"
#include "core/deposits/PettyCash.h"

class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class AmountEdit;
class JalaliDateEdit;
} // namespace orvak::ui::framework

namespace orvak::ui::deposits {

class TViewTankhah : public ConditionList {
    Q_OBJECT
public:
    explicit TViewTankhah(Session& session, QWidget* parent = nullptr);
    // "نمايش ريز چک ها"
    void showCheques();
};

// "ورود اطلاعات تنخواه"
class TDE_Tankhah : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TDE_Tankhah(Session& session, QWidget* parent = nullptr);

    QLabel* code = nullptr;
    QLineEdit* requestNo = nullptr;
    framework::JalaliDateEdit* requestDate = nullptr;
    framework::AmountEdit* requested = nullptr;
    QLineEdit* treasuryNo = nullptr;
    framework::JalaliDateEdit* treasuryDate = nullptr;
    QLineEdit* remittanceNo = nullptr;
    framework::JalaliDateEdit* remittanceDate = nullptr;
    framework::AmountEdit* remitted = nullptr;
    QLabel* left = nullptr;
    QLineEdit* descr = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
};

// "مديريت چک هاي صادر شده از يک تنخواه"
class TFTankhahDetailsCHK : public ConditionList {
    Q_OBJECT
public:
    explicit TFTankhahDetailsCHK(Session& session, QWidget* parent = nullptr);
    void showFloat(int idx);
};

// "مرور و گزارش تنخواه رد وجوه سپرده": the floats received between two dates with
// their totals, and the deposits paid from floats.
class TTankhah : public ConditionList {
    Q_OBJECT
public:
    explicit TTankhah(Session& session, QWidget* parent = nullptr);
};

// "انتخاب": a float chosen for the refund form.
std::optional<int> pickFloat(QWidget* parent, Session& session);

} // namespace orvak::ui::deposits
