#include "ui/framework/EntryForm.h"

#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

EntryForm::EntryForm(const QString& title, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    auto* saveNew = new QPushButton(QStringLiteral("ذخيره و جديد(F9)"), this);
    auto* saveClose = new QPushButton(QStringLiteral("ذخيره و خروج (F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    for (QPushButton* b : {saveNew, saveClose, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(saveNew, &QPushButton::clicked, this, &EntryForm::saveAndNew);
    connect(saveClose, &QPushButton::clicked, this, &EntryForm::saveAndClose);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
}

void EntryForm::startInsert()
{
    mode_ = Mode::Insert;
    key_ = QVariant();
    clearFields();
}

bool EntryForm::startEdit(const QVariant& key)
{
    mode_ = Mode::Edit;
    key_ = key;
    return loadRecord(key);
}

bool EntryForm::save()
{
    QString message;
    for (JalaliDateEdit* date : findChildren<JalaliDateEdit*>()) {
        if (!date->validate(&message)) {
            ShowError(message, this);
            date->setFocus();
            return false;
        }
    }
    if (!validate(&message)) {
        ShowError(message.isEmpty() ? QStringLiteral("اطلاعات کامل نيست") : message, this);
        return false;
    }
    QString error;
    const std::optional<QVariant> savedKey = saveRecord(&error);
    if (!savedKey) {
        ShowError(error, this);
        return false;
    }
    key_ = *savedKey;
    emit saved(key_);
    return true;
}

bool EntryForm::saveAndNew()
{
    if (!save())
        return false;
    startInsert();
    return true;
}

bool EntryForm::saveAndClose()
{
    if (!save())
        return false;
    accept();
    return true;
}

void EntryForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F9:
        saveAndNew();
        return;
    case Qt::Key_F10:
        saveAndClose();
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace orvak::ui::framework
