#pragma once
#include "startup/Program.h"

#include <QWidget>

class QLabel;

namespace orvak::startup {

// The program's first window: who the program is, for whom, and the way out.
class TFStart : public QWidget {
    Q_OBJECT
public:
    explicit TFStart(QWidget* parent = nullptr);
    void setSite(const SiteConfig& site);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* organisation_ = nullptr;
};

} // namespace orvak::startup
