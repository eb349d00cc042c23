#pragma once
// The trades by which contractors are graded; also the trade picker.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TFRasteh : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TFRasteh(startup::Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::basedata
