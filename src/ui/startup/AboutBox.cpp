#include "ui/startup/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

AboutBox::AboutBox(const QString& title, const QStringList& lines, Session& session, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    texts_ = lines;
    texts_ << QStringLiteral("نگارش: ") + QString::number(VersionMajor) + QLatin1Char('/') + QString::number(VersionRelease) + QStringLiteral(" (")
            + VersionDate() + QLatin1Char(')')
           << QStringLiteral(" نسخه ") + EditionTitle() << QStringLiteral("استفاده کننده: ") + session.site().organisationName
           << QStringLiteral("شماره نصب: ") + QString::number(session.installationNumber());
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(title, this);
    QFont f = heading->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    heading->setFont(f);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    for (const QString& line : std::as_const(texts_)) {
        auto* label = new QLabel(line, this);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close);
    resize(440, 260);
}

} // namespace orvak::ui::startup
