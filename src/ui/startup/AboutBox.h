#pragma once
// The about boxes of the help menu: a title, lines of text, the program's version,
// edition and the organisation it is installed for, and a close button.
#include "core/startup/Session.h"

#include <QDialog>

namespace orvak::ui::startup {

using namespace orvak::startup;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString& title, const QStringList& lines, Session& session, QWidget* parent = nullptr);
    // Everything the box says, line by line (tests, copying).
    QStringList texts() const { return texts_; }

private:
    QStringList texts_;
};

} // namespace orvak::ui::startup
