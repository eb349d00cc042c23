#include "startup/TFStart.h"

#include "framework/MessageBoxes.h"
#include "framework/ScreenRegistry.h"
#include "startup/UV_USERS.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvak::startup {

TFStart::TFStart(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(ApplicationTitle());
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("اورواک : ") + SystemTitlePlural() + QStringLiteral(" ORVAK : ")
                                 + SystemTitleLatin(),
                             this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* edition = new QLabel(QStringLiteral(" نسخه ") + EditionTitle(), this);
    edition->setAlignment(Qt::AlignCenter);
    organisation_ = new QLabel(this);
    organisation_->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(VersionLabel(), this);
    version->setAlignment(Qt::AlignCenter);
    server_ = new QLabel(this);
    server_->setAlignment(Qt::AlignCenter);
    lists_ = new QWidget(this);
    auto* listRow = new QHBoxLayout(lists_);
    auto* users = new QPushButton(QStringLiteral("کاربران اين نرم افزار"), lists_);
    auto* history = new QPushButton(QStringLiteral("مرور تهيه پشتيبان"), lists_);
    listRow->addWidget(users);
    listRow->addWidget(history);
    lists_->setVisible(false);
    connect(users, &QPushButton::clicked, this, [this] {
        auto* screen = framework::EnsureForm<TV_USERS>(*session_);
        screen->reopen();
        screen->show();
        screen->raise();
    });
    connect(history, &QPushButton::clicked, this, [this] {
        auto* screen = framework::EnsureForm<Tview_history_resback>(*session_);
        screen->reopen();
        screen->show();
        screen->raise();
    });
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(title);
    layout->addWidget(edition);
    layout->addWidget(organisation_);
    layout->addWidget(server_);
    layout->addWidget(lists_);
    layout->addStretch();
    layout->addWidget(version);
    layout->addWidget(exit);
    resize(640, 400);
}

void TFStart::setSite(const SiteConfig& site) { organisation_->setText(site.organisationName); }

void TFStart::setSession(Session* session)
{
    session_ = session;
    const bool connected = session && session->isConnected() && session->common().isOpen();
    server_->setText(connected ? QStringLiteral("بانک اطلاعاتي مشترک: ") + session->commonDbName() : QStringLiteral("ارتباط با سرور برقرار نيست"));
    lists_->setVisible(connected);
}

void TFStart::closeEvent(QCloseEvent* event)
{
    if (framework::ConfirmExit(this))
        event->accept();
    else
        event->ignore();
}

void TFStart::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace orvak::startup
