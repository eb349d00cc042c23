#include "ui/framework/ShowFileDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace orvak::ui::framework {

TfrmShowFile::TfrmShowFile(const QString& path, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShowFile"));
    setWindowTitle(QStringLiteral("نمايش فايل"));
    const QFileInfo fi(path);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("فايل در مسير زير ايجاد گرديد"), this));
    auto* form = new QFormLayout;
    auto field = [this](const QString& text) {
        auto* e = new QLineEdit(text, this);
        e->setReadOnly(true);
        e->setLayoutDirection(Qt::LeftToRight);
        return e;
    };
    form->addRow(QStringLiteral("نام فايل"), field(fi.completeBaseName()));
    form->addRow(QStringLiteral("مسير"), field(QDir::toNativeSeparators(fi.absolutePath())));
    form->addRow(QStringLiteral("پسوند"), field(fi.suffix()));
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* open = new QPushButton(QStringLiteral("باز کردن فايل"), this);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    row->addWidget(open);
    row->addWidget(close);
    layout->addLayout(row);
    connect(open, &QPushButton::clicked, this, [fi] { QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath())); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace orvak::ui::framework
