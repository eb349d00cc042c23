#pragma once
// The places of execution of the projects ("فهرست محل اجرا ي پروژه").
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewCenters : public RegisterList {
    Q_OBJECT
public:
    explicit TViewCenters(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
