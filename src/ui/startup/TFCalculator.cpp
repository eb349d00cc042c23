#include "ui/startup/TFCalculator.h"

#include "core/util/Arithmetic.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TFCalculator::TFCalculator(Session&, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ماشين حساب"));
    // Numbers are written left to right, as on any calculator.
    setLayoutDirection(Qt::LeftToRight);
    auto* layout = new QVBoxLayout(this);
    expression_ = new QLineEdit(this);
    expression_->setObjectName(QStringLiteral("expression"));
    expression_->setAlignment(Qt::AlignRight);
    result_ = new QLineEdit(this);
    result_->setObjectName(QStringLiteral("result"));
    result_->setReadOnly(true);
    result_->setAlignment(Qt::AlignRight);
    QFont big = result_->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    result_->setFont(big);
    layout->addWidget(expression_);
    layout->addWidget(result_);

    auto* keys = new QGridLayout;
    const QStringList pad{QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("÷"),
                          QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("×"),
                          QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("-"),
                          QStringLiteral("0"), QStringLiteral("."), QStringLiteral("("), QStringLiteral(")"),
                          QStringLiteral("C"), QStringLiteral("←"), QStringLiteral("="), QStringLiteral("+")};
    for (int i = 0; i < pad.size(); ++i) {
        auto* b = new QPushButton(pad[i], this);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        keys->addWidget(b, i / 4, i % 4);
        connect(b, &QPushButton::clicked, this, [this, key = pad[i]] {
            if (key == QLatin1String("="))
                calculate();
            else if (key == QLatin1String("C")) {
                expression_->clear();
                result_->clear();
            } else if (key == QStringLiteral("←"))
                expression_->backspace();
            else
                expression_->insert(key);
        });
    }
    layout->addLayout(keys);
    auto* copy = new QPushButton(QStringLiteral("کپي حاصل"), this);
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &TFCalculator::copyResult);
    layout->addWidget(copy);
    connect(expression_, &QLineEdit::returnPressed, this, &TFCalculator::calculate);
    resize(300, 360);
}

bool TFCalculator::calculate()
{
    QString why;
    const std::optional<double> value = util::evaluateArithmetic(expression_->text(), &why);
    if (!value) {
        last_.clear();
        result_->setText(why);
        return false;
    }
    last_ = util::formatArithmeticResult(*value);
    result_->setText(last_);
    result_->selectAll();
    return true;
}

void TFCalculator::copyResult()
{
    if (!last_.isEmpty())
        QGuiApplication::clipboard()->setText(last_);
}

void TFCalculator::keyPressEvent(QKeyEvent* event)
{
    // Enter works out the result rather than closing the box.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        calculate();
        return;
    }
    if (event->matches(QKeySequence::Copy) && !expression_->hasSelectedText()) {
        copyResult();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvak::ui::startup
