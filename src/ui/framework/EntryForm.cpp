#include "ui/framework/EntryForm.h"

#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

EntryForm::EntryForm(const QString& title, QWidget* parent, Buttons buttons)
    : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    layout->addStretch();
    buttons_ = new QHBoxLayout;
    if (buttons == Buttons::SaveAndNew)
        saveNew_ = new QPushButton(QStringLiteral("ذخيره و جديد(F9)"), this);
    saveClose_ = new QPushButton(QStringLiteral("ذخيره و خروج (F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    for (QPushButton* b : {saveNew_, saveClose_, leave}) {
        if (!b)
            continue;
        b->setAutoDefault(false);
        buttons_->addWidget(b);
    }
    layout->addLayout(buttons_);
    if (saveNew_)
        connect(saveNew_, &QPushButton::clicked, this, &EntryForm::saveAndNew);
    connect(saveClose_, &QPushButton::clicked, this, &EntryForm::saveAndClose);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* EntryForm::addButton(const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    buttons_->addWidget(b);
    return b;
}

void EntryForm::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    for (QPushButton* b : {saveNew_, saveClose_}) {
        if (b)
            b->setEnabled(!readOnly);
    }
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
        // Nothing to say when the screen has said it already, or the user said no.
        if (!error.isEmpty())
            ShowError(error, this);
        return false;
    }
    key_ = *savedKey;
    emit saved(key_);
    return true;
}

bool EntryForm::saveAndNew()
{
    if (!saveNew_ || readOnly_ || !save())
        return false;
    startInsert();
    return true;
}

bool EntryForm::saveAndClose()
{
    if (readOnly_ || !save())
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
