#pragma once
// Field editors of the entry screens: Jalali dates, amounts and codes with pickers.
#include "core/util/Jalali.h"

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QToolButton;

namespace orvak::ui::framework {

// A Jalali date "YYYY/MM/DD" typed into the mask 9999/99/99; empty shows
// "    /  /  ". Persian digits become ASCII digits as they are typed.
class JalaliDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit JalaliDateEdit(QWidget* parent = nullptr);
    bool isEmptyDate() const;
    // The date, or nullopt when empty or not a real date.
    std::optional<util::JalaliDate> date() const;
    void setDate(const QString& jalali);
    // False (with the message) when something was typed that is not a date.
    bool validate(QString* message = nullptr) const;
    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

// An amount in rials: "#,###" while not edited, digits only while edited.
class AmountEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit AmountEdit(QWidget* parent = nullptr);
    qint64 amount() const;
    void setAmount(qint64 amount);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFormatted();
};

// A code with its name beside it; F7 (or the button) opens the picker.
class CodeEdit : public QWidget {
    Q_OBJECT
public:
    using Lookup = std::function<std::optional<QString>(qint64 code)>;   // the name, or nullopt
    using Picker = std::function<std::optional<qint64>(QWidget* parent)>;
    CodeEdit(Lookup lookup, Picker picker, QWidget* parent = nullptr);
    std::optional<qint64> code() const;
    void setCode(std::optional<qint64> code);
    QString name() const;
    bool isKnown() const { return known_; }
    QLineEdit* editor() const { return edit_; }
    void pick();

signals:
    void codeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshName();

    Lookup lookup_;
    Picker picker_;
    QLineEdit* edit_ = nullptr;
    QLabel* name_ = nullptr;
    bool known_ = false;
};

// A line for a password: typed characters are not shown.
QLineEdit* passwordEdit(QWidget* parent);

} // namespace orvak::ui::framework
