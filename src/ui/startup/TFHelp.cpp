#include "ui/startup/TFHelp.h"

#include <QTextBrowser>
#include <QVBoxLayout>

// The guide is a resource of the screens' library; a static library's resources
// are registered by hand.
static void initGuideResource() { Q_INIT_RESOURCE(ui); }

namespace orvak::ui::startup {

const QList<HelpTopic>& helpTopics()
{
    static const QList<HelpTopic> topics{
        {QStringLiteral("فهرست"), QStringLiteral("index")},
        {QStringLiteral("سامانه"), QStringLiteral("system")},
        {QStringLiteral("سپرده ها"), QStringLiteral("deposits")},
        {QStringLiteral("تضمينات"), QStringLiteral("guarantees")},
        {QStringLiteral("تسهيلات"), QStringLiteral("tools")},
    };
    return topics;
}

TFHelp::TFHelp(QWidget* parent)
    : QDialog(parent)
{
    initGuideResource();
    setWindowTitle(QStringLiteral("راهنما"));
    setWindowFlags(Qt::Window);
    auto* layout = new QVBoxLayout(this);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("guide"));
    browser_->setOpenLinks(true);
    browser_->setSource(QUrl(QStringLiteral("qrc:/guide/guide.html")));
    layout->addWidget(browser_);
    resize(760, 560);
}

void TFHelp::showTopic(const QString& anchor)
{
    browser_->scrollToAnchor(anchor);
}

} // namespace orvak::ui::startup
