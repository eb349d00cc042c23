#pragma once
// This program's identity card: its name, identifier, version and installation.
#include "ui/startup/AboutBox.h"

namespace orvak::ui::startup {

class TABOUTAPP : public AboutBox {
    Q_OBJECT
public:
    explicit TABOUTAPP(Session& session, QWidget* parent = nullptr);
};

} // namespace orvak::ui::startup
