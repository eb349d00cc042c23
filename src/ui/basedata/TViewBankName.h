#pragma once
// The names of the banks; a bank that an account of the office uses is not deleted.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewBankName : public RegisterList {
    Q_OBJECT
public:
    explicit TViewBankName(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
