#pragma once
// The bank accounts used for deposits and guarantees, by kind ("همه" shows all).
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewSepACC : public RegisterList {
    Q_OBJECT
public:
    explicit TViewSepACC(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
