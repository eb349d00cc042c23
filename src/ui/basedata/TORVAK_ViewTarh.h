#pragma once
// The plans (programmes outside the development section) of the current section: entry, delete, the change of a plan's number and the move of its data onto another plan; a year filter, four orders and three searches.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TORVAK_ViewTarh : public RegisterList {
    Q_OBJECT
public:
    explicit TORVAK_ViewTarh(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
