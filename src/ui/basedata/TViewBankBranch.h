#pragma once
// The branches of the banks, searched by bank, branch name or branch code.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewBankBranch : public RegisterList {
    Q_OBJECT
public:
    explicit TViewBankBranch(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
