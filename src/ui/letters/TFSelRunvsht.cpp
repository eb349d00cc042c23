#include "ui/letters/TFSelRunvsht.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/letters/LetterEditor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace orvak::ui::letters {

namespace l = orvak::letters;

TFSelRunvsht::TFSelRunvsht(orvak::startup::Session& session, const QList<int>& chosen, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("انتخاب رونوشت نامه ها"));
    auto* box = new QVBoxLayout(this);
    list = new QListWidget(this);
    box->addWidget(list);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("تأييد"), this);
    auto* add = new QPushButton(QStringLiteral("جديد"), this);
    auto* edit = new QPushButton(QStringLiteral("ويرايش"), this);
    auto* remove = new QPushButton(QStringLiteral("حذف"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج"), this);
    for (QPushButton* b : {ok, add, edit, remove, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    box->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TFSelRunvsht::confirm);
    connect(add, &QPushButton::clicked, this, [this] { editCopy(true); });
    connect(edit, &QPushButton::clicked, this, [this] { editCopy(false); });
    connect(remove, &QPushButton::clicked, this, &TFSelRunvsht::removeCopy);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    reload();
    for (int c : chosen)
        setTicked(c, true);
    resize(520, 380);
}

void TFSelRunvsht::reload()
{
    const QList<int> kept = chosen();
    list->clear();
    const auto copies = l::LetterTemplates(session_).copyRecipients();
    if (!copies) {
        framework::ShowInfo(copies.failed() ? copies.error() : QString(), this);
        return;
    }
    for (const l::CopyRecipient& c : *copies) {
        QTextDocument d;
        d.setHtml(c.text);
        auto* item = new QListWidgetItem(QStringLiteral("%1) %2: %3").arg(c.idx).arg(c.title, d.toPlainText().simplified()), list);
        item->setData(Qt::UserRole, c.idx);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(kept.contains(c.idx) ? Qt::Checked : Qt::Unchecked);
    }
}

QList<int> TFSelRunvsht::chosen() const
{
    QList<int> out;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->data(Qt::UserRole).toInt();
    }
    return out;
}

void TFSelRunvsht::setTicked(int idx, bool ticked)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toInt() == idx)
            list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

bool TFSelRunvsht::confirm()
{
    framework::MessagePrompt prompt(this);
    if (!l::LetterTemplates::copiesAllowed(chosen(), prompt))
        return false;
    accept();
    return true;
}

bool TFSelRunvsht::editCopy(bool insert)
{
    l::CopyRecipient c;
    if (!insert) {
        QListWidgetItem* item = list->currentItem();
        if (!item)
            return false;
        const auto all = l::LetterTemplates(session_).copyRecipients({item->data(Qt::UserRole).toInt()});
        if (!all || all->isEmpty())
            return false;
        c = all->first();
    }
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("رونوشت"));
    auto* box = new QFormLayout(&dialog);
    auto* titleEdit = new QLineEdit(c.title, &dialog);
    titleEdit->setMaxLength(100);
    auto* text = new LetterEditor(&dialog);
    text->setHtml(c.text);
    box->addRow(QStringLiteral("عنوان"), titleEdit);
    box->addRow(QStringLiteral("متن رونوشت"), text);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->addRow(ok);
    framework::MessagePrompt prompt(&dialog);
    connect(ok, &QDialogButtonBox::accepted, &dialog, [&] {
        c.title = titleEdit->text();
        c.text = text->html();
        if (l::LetterTemplates(session_).saveCopy(c, insert, prompt))
            dialog.accept();
    });
    connect(ok, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(640, 360);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    reload();
    return true;
}

bool TFSelRunvsht::removeCopy()
{
    QListWidgetItem* item = list->currentItem();
    if (!item)
        return false;
    framework::MessagePrompt prompt(this);
    if (!l::LetterTemplates(session_).removeCopy(item->data(Qt::UserRole).toInt(), prompt))
        return false;
    reload();
    return true;
}

} // namespace orvak::ui::letters
