#pragma once
// "ليست کسورات قرارداد": the legal deductions of one contract.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewPaymanKosurat : public RegisterList {
    Q_OBJECT
public:
    TViewPaymanKosurat(Session& session, qint64 contract, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
