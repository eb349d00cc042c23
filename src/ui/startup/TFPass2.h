#pragma once
// The user's own password: the current one and the new one twice; and his personal
// record, offered after the change while it is incomplete.
#include "core/startup/Session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFPass2 : public QDialog {
    Q_OBJECT
public:
    explicit TFPass2(Session& session, QWidget* parent = nullptr);
    QLineEdit* current = nullptr;
    QLineEdit* fresh = nullptr;
    QLineEdit* repeated = nullptr;
    QPushButton* completeButton = nullptr;
    bool change();
    // Opens the user's own record (TORVAK_DE_USERS); true when it was saved.
    bool completeRecord();

private:
    void showRecordState();

    Session& session_;
    QLabel* incomplete_ = nullptr;
};

} // namespace orvak::ui::startup
