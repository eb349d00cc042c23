#include "ui/startup/TDE_Arm.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/OrganisationPicture.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TDE_Arm::TDE_Arm(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("اطلاعات استفاده کننده نرم افزار"));
    auto* layout = new QVBoxLayout(this);
    auto* organisation = new QLabel(session.site().organisationName, this);
    organisation->setAlignment(Qt::AlignCenter);
    layout->addWidget(organisation);
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("PIC"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(320, 240);
    picture_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(picture_, 1);
    auto* row = new QHBoxLayout;
    auto* attachButton = new QPushButton(QStringLiteral("الصاق عکس - تصوير"), this);
    delete_ = new QPushButton(QStringLiteral("حذف تصوير"), this);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    for (QPushButton* b : {attachButton, delete_, close}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addLayout(row);
    connect(attachButton, &QPushButton::clicked, this, [this] {
        QStringList patterns;
        for (const QByteArray& f : QImageReader::supportedImageFormats())
            patterns << QStringLiteral("*.") + QString::fromLatin1(f);
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("الصاق عکس - تصوير"), session_.startDir(),
                                                          QStringLiteral("تصوير (%1)").arg(patterns.join(QLatin1Char(' '))));
        if (!file.isEmpty())
            attach(file);
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (framework::Confirm(QStringLiteral("حذف تصوير سازمان."), this))
            removePicture();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    reload();
    resize(480, 400);
}

void TDE_Arm::reload()
{
    const db::Fetched<OrganisationPicture> stored = readOrganisationPicture(session_);
    if (stored.failed())
        framework::reportOpenFailure(this, stored.error());
    QPixmap pixmap;
    shown_ = stored && pixmap.loadFromData(stored->data);
    if (shown_)
        picture_->setPixmap(pixmap.scaled(picture_->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        picture_->setText(QStringLiteral("تصويري ثبت نشده است"));
    delete_->setEnabled(shown_);
}

bool TDE_Arm::attach(const QString& file)
{
    framework::MessagePrompt prompt(this);
    const bool ok = attachOrganisationPicture(session_, file, prompt);
    reload();
    return ok;
}

bool TDE_Arm::removePicture()
{
    framework::MessagePrompt prompt(this);
    const bool ok = deleteOrganisationPicture(session_, prompt);
    reload();
    return ok;
}

} // namespace orvak::ui::startup
