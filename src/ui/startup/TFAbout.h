#pragma once
// The product family's about box.
#include "ui/startup/AboutBox.h"

namespace orvak::ui::startup {

class TFAbout : public AboutBox {
    Q_OBJECT
public:
    explicit TFAbout(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
