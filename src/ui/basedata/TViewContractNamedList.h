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

// The two as screens of their own.
class TViewMojri : public TViewContractNamedList {
    Q_OBJECT
public:
    explicit TViewMojri(Session& session, QWidget* parent = nullptr)
        : TViewContractNamedList(session, orvak::basedata::ContractNamedList::Executors, parent)
    {
    }
};

class TViewNazer : public TViewContractNamedList {
    Q_OBJECT
public:
    explicit TViewNazer(Session& session, QWidget* parent = nullptr)
        : TViewContractNamedList(session, orvak::basedata::ContractNamedList::Supervisors, parent)
    {
    }
};

} // namespace orvak::ui::basedata
