#include "ui/framework/Editors.h"

#include "core/util/Numbers.h"
#include "ui/framework/JalaliMonthView.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace orvak::ui::framework {

namespace {

// A key typed with a Persian or Arabic-Indic digit, as the ASCII digit.
std::unique_ptr<QKeyEvent> asciiDigitKey(QKeyEvent* e)
{
    const QString t = e->text();
    if (t.size() != 1)
        return nullptr;
    const QString ascii = util::normalizeDigits(t);
    if (ascii == t)
        return nullptr;
    return std::make_unique<QKeyEvent>(e->type(), Qt::Key_0 + (ascii[0].unicode() - u'0'), e->modifiers(), ascii);
}

} // namespace

JalaliDateEdit::JalaliDateEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setInputMask(QStringLiteral("9999/99/99;_"));
    setLayoutDirection(Qt::LeftToRight);
    setAlignment(Qt::AlignCenter);
    setMaximumWidth(110);
    setToolTip(QStringLiteral("تاريخ به صورت 1403/01/15 ؛ F4 تقويم"));
}

bool JalaliDateEdit::isEmptyDate() const
{
    QString digits = text();
    digits.remove(QLatin1Char('/')).remove(QLatin1Char(' ')).remove(QLatin1Char('_'));
    return digits.isEmpty();
}

std::optional<util::JalaliDate> JalaliDateEdit::date() const
{
    if (isEmptyDate())
        return std::nullopt;
    return util::parseJalali(text());
}

void JalaliDateEdit::setDate(const QString& jalali)
{
    const auto d = util::parseJalali(jalali);
    setText(d ? d->toText() : QString());
}

bool JalaliDateEdit::validate(QString* message) const
{
    if (isEmptyDate() || date())
        return true;
    // Named by its field where the screen gave it a name.
    if (message)
        *message = accessibleName().isEmpty() ? QStringLiteral("تاريخ وارد شده معتبر نيست: %1").arg(text())
                                              : QStringLiteral("تاريخ وارد شده معتبر نيست (%1): %2").arg(accessibleName(), text());
    return false;
}

void JalaliDateEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4) {
        showCalendar();
        return;
    }
    if (auto ascii = asciiDigitKey(event)) {
        QLineEdit::keyPressEvent(ascii.get());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void JalaliDateEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString ascii = util::normalizeDigits(event->commitString());
    if (ascii != event->commitString()) {
        QInputMethodEvent copy(event->preeditString(), event->attributes());
        copy.setCommitString(ascii, event->replacementStart(), event->replacementLength());
        QLineEdit::inputMethodEvent(&copy);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void JalaliDateEdit::showCalendar()
{
    QDialog popup(this, Qt::Popup);
    auto* layout = new QVBoxLayout(&popup);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* calendar = new JalaliMonthView(&popup);
    calendar->setDate(date().value_or(util::toJalali(QDate::currentDate())));
    layout->addWidget(calendar);
    connect(calendar, &JalaliMonthView::picked, &popup, [&](const util::JalaliDate& d) {
        setText(d.toText());
        popup.accept();
    });
    popup.move(mapToGlobal(QPoint(0, height())));
    popup.exec();
}

AmountEdit::AmountEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignCenter);
    setLayoutDirection(Qt::LeftToRight);
}

qint64 AmountEdit::amount() const { return util::parseAmount(text()).value_or(0); }

void AmountEdit::setAmount(qint64 amount)
{
    setText(QString::number(amount));
    if (!hasFocus())
        showFormatted();
}

void AmountEdit::showFormatted() { setText(util::FormatAmount(amount())); }

void AmountEdit::focusInEvent(QFocusEvent* event)
{
    const qint64 a = amount();
    setText(a == 0 ? QString() : QString::number(a));
    QLineEdit::focusInEvent(event);
}

void AmountEdit::focusOutEvent(QFocusEvent* event)
{
    showFormatted();
    QLineEdit::focusOutEvent(event);
}

void AmountEdit::keyPressEvent(QKeyEvent* event)
{
    if (auto ascii = asciiDigitKey(event)) {
        QLineEdit::keyPressEvent(ascii.get());
        return;
    }
    // Digits only; editing and navigation keys pass.
    const QString t = event->text();
    if (t.size() == 1 && t[0].isPrint() && !t[0].isDigit())
        return;
    QLineEdit::keyPressEvent(event);
}

CodeEdit::CodeEdit(Lookup lookup, Picker picker, QWidget* parent)
    : QWidget(parent)
    , lookup_(std::move(lookup))
    , picker_(std::move(picker))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    edit_ = new QLineEdit(this);
    edit_->setMaximumWidth(90);
    edit_->setLayoutDirection(Qt::LeftToRight);
    edit_->installEventFilter(this);
    auto* button = new QToolButton(this);
    button->setText(QStringLiteral("..."));
    button->setToolTip(QStringLiteral("انتخاب (F7)"));
    name_ = new QLabel(this);
    name_->setMinimumWidth(180);
    name_->setFrameShape(QFrame::StyledPanel);
    row->addWidget(edit_);
    row->addWidget(button);
    row->addWidget(name_, 1);
    connect(button, &QToolButton::clicked, this, &CodeEdit::pick);
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        refreshName();
        emit codeChanged();
    });
}

std::optional<qint64> CodeEdit::code() const { return util::parseWholeNumber(edit_->text()); }

void CodeEdit::setCode(std::optional<qint64> code) { edit_->setText(code ? QString::number(*code) : QString()); }

QString CodeEdit::name() const { return name_->text(); }

void CodeEdit::refreshName()
{
    const auto c = code();
    const std::optional<QString> n = c && lookup_ ? lookup_(*c) : std::nullopt;
    known_ = n.has_value();
    name_->setText(n.value_or(c ? QStringLiteral("کد تعريف نشده است") : QString()));
}

void CodeEdit::pick()
{
    if (!picker_)
        return;
    if (const auto chosen = picker_(this))
        setCode(*chosen);
}

bool CodeEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_F7) {
            pick();
            return true;
        }
        if (auto ascii = asciiDigitKey(e)) {
            edit_->insert(ascii->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QLineEdit* passwordEdit(QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    return e;
}

} // namespace orvak::ui::framework
