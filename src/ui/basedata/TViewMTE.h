#pragma once
// "منابع تامين اعتبار": the credit sources of contracts in the current section.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewMTE : public RegisterList {
    Q_OBJECT
public:
    explicit TViewMTE(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
