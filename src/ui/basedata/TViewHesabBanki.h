#pragma once
// The older account screen's short list of bank accounts (HesabBanki,
// "فهرست حسابهاي بانكي"), in five orders.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewHesabBanki : public RegisterList {
    Q_OBJECT
public:
    explicit TViewHesabBanki(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
