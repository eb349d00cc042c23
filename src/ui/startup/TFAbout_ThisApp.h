#pragma once
// What this program is for.
#include "ui/startup/AboutBox.h"

namespace orvak::ui::startup {

class TFAbout_ThisApp : public AboutBox {
    Q_OBJECT
public:
    explicit TFAbout_ThisApp(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
