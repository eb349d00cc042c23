#pragma once
// "پارامترها": the parameter lists of contracts, one kind at a time (the combo
// "جدول"); also the picker of a contract's fields with the kind preset.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

class QComboBox;

namespace orvak::ui::basedata {

class TFPARAMS_PAY : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TFPARAMS_PAY(startup::Session& session, QWidget* parent = nullptr, int kind = 0);
    int kind() const;
    void setKind(int kind);
    QComboBox* kindCombo() const { return kinds_; }

private:
    QComboBox* kinds_ = nullptr;
};

} // namespace orvak::ui::basedata
