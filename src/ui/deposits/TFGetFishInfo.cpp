#include "ui/deposits/TFGetFishInfo.h"

#include "core/deposits/ReceiptSerialCheck.h"
#include "core/util/Numbers.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace orvak::ui::deposits {

namespace {

qint64 numberOf(const QLineEdit* e) { return util::parseWholeNumber(util::normalizeDigits(e->text()).trimmed()).value_or(0); }

QLineEdit* numberField(QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    // Up to 18 digits: every such number fits 64 bits.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9\u06F0-\u06F9\u0660-\u0669]{0,18}")), e));
    return e;
}

} // namespace

TFGetFishInfo::TFGetFishInfo(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("تعيين شماره سريال قبض سپرده"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    first = numberField(this);
    last = numberField(this);
    next = numberField(this);
    series = new QLineEdit(this);
    book = new QLineEdit(this);
    date = new framework::JalaliDateEdit(this);
    changeDate = new QCheckBox(QStringLiteral("تاريخ قبض سپرده هم تغيير کند"), this);
    dateFromCheque = new QCheckBox(QStringLiteral("تاريخ قبض سپرده همان تاريخ چک باشد."), this);
    form->addRow(QStringLiteral("اولين شماره قبض سپرده"), first);
    form->addRow(QStringLiteral("آخرين شماره قبض سپرده"), last);
    form->addRow(QStringLiteral("سري قبض سپرده"), series);
    form->addRow(QStringLiteral("شماره دسته قبض"), book);
    form->addRow(QStringLiteral("شماره بعدي"), next);
    form->addRow(QStringLiteral("تاريخ قبض سپرده"), date);
    form->addRow(changeDate);
    form->addRow(dateFromCheque);
    auto* buttons = new QHBoxLayout;
    auto* go = new QPushButton(QStringLiteral("ادامه(F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج"), this);
    go->setAutoDefault(false);
    leave->setAutoDefault(false);
    buttons->addWidget(go);
    buttons->addWidget(leave);
    form->addRow(buttons);
    connect(go, &QPushButton::clicked, this, [this] { proceed(); });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    connect(first, &QLineEdit::editingFinished, this, [this] { firstLeft(); });
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] { proceed(); });
}

orvak::deposits::ReceiptSerial TFGetFishInfo::serial() const
{
    orvak::deposits::ReceiptSerial s;
    s.first = numberOf(first);
    s.last = numberOf(last);
    s.next = numberOf(next);
    s.series = series->text().trimmed();
    s.book = book->text().trimmed();
    s.date = date->isEmptyDate() ? QString() : date->text();
    s.changeDate = changeDate->isChecked();
    s.dateFromCheque = dateFromCheque->isChecked();
    return s;
}

void TFGetFishInfo::firstLeft() { next->setText(QString::number(orvak::deposits::nextAfterFirst(serial()))); }

bool TFGetFishInfo::proceed()
{
    const QString why = orvak::deposits::checkReceiptSerial(serial());
    if (!why.isEmpty()) {
        framework::ShowError(why, this);
        return false;
    }
    QString bad;
    if (!date->isEmptyDate() && !date->validate(&bad)) {
        framework::ShowError(bad, this);
        return false;
    }
    accept();
    return true;
}

} // namespace orvak::ui::deposits
