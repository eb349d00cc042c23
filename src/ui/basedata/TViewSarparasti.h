#pragma once
// The supervising offices, each under its province.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewSarparasti : public RegisterList {
    Q_OBJECT
public:
    explicit TViewSarparasti(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
