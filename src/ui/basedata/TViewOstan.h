#pragma once
// The provinces, searched by code and by a word of the name.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TViewOstan : public RegisterList {
    Q_OBJECT
public:
    explicit TViewOstan(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
