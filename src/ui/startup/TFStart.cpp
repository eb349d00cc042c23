#include "startup/TFStart.h"

#include "framework/MessageBoxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
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
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(title);
    layout->addWidget(edition);
    layout->addWidget(organisation_);
    layout->addStretch();
    layout->addWidget(version);
    layout->addWidget(exit);
    resize(640, 400);
}

void TFStart::setSite(const SiteConfig& site) { organisation_->setText(site.organisationName); }

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
