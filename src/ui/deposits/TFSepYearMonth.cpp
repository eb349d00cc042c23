#include "ui/deposits/TFSepYearMonth.h"

#include "ui/framework/MessageBoxes.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::deposits {

TFSepYearMonth::TFSepYearMonth(const QStringList& monthNames, YearMonth current, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ويرايش سال و ماه"));
    auto* form = new QFormLayout(this);
    year = new QLineEdit(QString::number(current.year), this);
    year->setMaxLength(4);
    year->setLayoutDirection(Qt::LeftToRight);
    month = new QComboBox(this);
    month->addItems(monthNames);
    month->setCurrentIndex(qBound(0, current.month - 1, int(monthNames.size()) - 1));
    form->addRow(QStringLiteral("سال"), year);
    form->addRow(QStringLiteral("ماه"), month);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("تاييد"), this);
    auto* leave = new QPushButton(QStringLiteral("انصراف"), this);
    buttons->addWidget(ok);
    buttons->addWidget(leave);
    form->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        QString message;
        if (chosen(&message))
            accept();
        else
            framework::ShowError(message, this);
    });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<YearMonth> TFSepYearMonth::chosen(QString* message) const
{
    const std::optional<int> y = util::parseTolerantInt(year->text());
    if (!y || *y < 1300 || *y > 1500) {
        if (message)
            *message = QStringLiteral("سال مالي درست وارد نشده است");
        return std::nullopt;
    }
    return YearMonth{*y, month->currentIndex() + 1};
}

std::optional<YearMonth> askYearMonth(const QStringList& monthNames, YearMonth current, QWidget* parent)
{
    TFSepYearMonth dialog(monthNames, current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace orvak::ui::deposits
