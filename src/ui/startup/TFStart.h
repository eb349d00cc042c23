#pragma once
#include "startup/Program.h"
#include "startup/Session.h"

#include <QWidget>

class QLabel;

namespace orvak::startup {

// The program's first window: who the program is, for whom, and the way out.
class TFStart : public QWidget {
    Q_OBJECT
public:
    explicit TFStart(QWidget* parent = nullptr);
    void setSite(const SiteConfig& site);
    // With a connected session the window offers the lists that need no login.
    void setSession(Session* session);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* organisation_ = nullptr;
    QLabel* server_ = nullptr;
    QWidget* lists_ = nullptr;
    Session* session_ = nullptr;
};

} // namespace orvak::startup
