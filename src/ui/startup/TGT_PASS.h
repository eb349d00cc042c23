#pragma once
// "قفل / ورودمجدد / تغييرکاربر": the lock and change-user dialog.
#include "core/startup/Session.h"

#include <QDialog>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TGT_PASS : public QDialog {
    Q_OBJECT
public:
    explicit TGT_PASS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QLineEdit* password = nullptr;
    bool enter();
    bool fullExitChosen() const { return fullExit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Session& session_;
    bool fullExit_ = false;
};

} // namespace orvak::ui::startup
