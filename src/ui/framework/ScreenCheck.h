#pragma once
// The check mode: every registered screen opened in turn as the logged-in user would
// open it from the menu, then closed. Message boxes that come up meanwhile are
// answered "no" and remembered; an error box counts as the screen failing.
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::framework {

struct ScreenCheckLine {
    QStringList menuPath;
    QString caption;
    int accessId = 0;
    QString outcome;        // "ok", "refused: <message>" or the fault
    bool failed = false;
    QStringList messages;   // texts of the boxes that came up
};

// With a folder, a picture of each opened screen is kept there (NN-caption.png), for
// looking at the screens without clicking through the menus.
QList<ScreenCheckLine> checkScreens(const ScreenRegistry& registry, startup::Session& session, const QString& pictureDir = {});

QString screenCheckHeader();                          // the TSV header line
QString screenCheckRow(const ScreenCheckLine& line);  // one TSV line

} // namespace orvak::ui::framework
