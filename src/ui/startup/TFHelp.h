#pragma once
// The user guide of the help menu, shown at the topic asked for.
#include <QDialog>

class QTextBrowser;

namespace orvak::ui::startup {

struct HelpTopic {
    QString caption;   // the help menu's entry
    QString anchor;    // its section of the guide
};
// The help menu's topics in menu order.
const QList<HelpTopic>& helpTopics();

class TFHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFHelp(QWidget* parent = nullptr);
    void showTopic(const QString& anchor);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

} // namespace orvak::ui::startup
