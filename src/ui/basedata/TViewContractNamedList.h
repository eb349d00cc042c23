#pragma once
// "فهرست مجريها" and "فهرست ناظرين": the executors and supervisors of contracts.
#include "ui/basedata/RegisterList.h"
#include "core/basedata/ContractNamedList.h"

namespace orvak::ui::basedata {

class TViewContractNamedList : public RegisterList {
    Q_OBJECT
public:
    TViewContractNamedList(Session& session, orvak::basedata::ContractNamedList::Which which, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
