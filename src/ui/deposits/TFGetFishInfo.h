#pragma once
// "تعيين شماره سريال قبض سپرده": the run of receipts the register numbers deposits with.
#include "core/deposits/ReceiptSerial.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::deposits {

class TFGetFishInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFGetFishInfo(QWidget* parent = nullptr);

    orvak::deposits::ReceiptSerial serial() const;
    // "ادامه(F10)": closes with OK once the numbers agree (else tells why).
    bool proceed();
    // On leaving the first number.
    void firstLeft();

    QLineEdit* first = nullptr;
    QLineEdit* last = nullptr;
    QLineEdit* series = nullptr;
    QLineEdit* book = nullptr;
    QLineEdit* next = nullptr;
    framework::JalaliDateEdit* date = nullptr;
    QCheckBox* changeDate = nullptr;
    QCheckBox* dateFromCheque = nullptr;
};

} // namespace orvak::ui::deposits
