#pragma once
// The branches of the network, each under its supervising office.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewShobeh : public RegisterList {
    Q_OBJECT
public:
    explicit TViewShobeh(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
