#pragma once
// The user's own password: the current one and the new one twice.
#include "core/startup/Session.h"

#include <QDialog>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFPass2 : public QDialog {
    Q_OBJECT
public:
    explicit TFPass2(Session& session, QWidget* parent = nullptr);
    QLineEdit* current = nullptr;
    QLineEdit* fresh = nullptr;
    QLineEdit* repeated = nullptr;
    bool change();

private:
    Session& session_;
};

} // namespace orvak::ui::startup
