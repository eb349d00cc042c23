#include "ui/framework/JalaliMonthView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

namespace {

constexpr int kWeeks = 6;

// Qt numbers Monday 1 .. Sunday 7; the week here begins on Saturday.
int columnOf(const QDate& date) { return (date.dayOfWeek() + 1) % 7; }

} // namespace

JalaliMonthView::JalaliMonthView(QWidget* parent)
    : QWidget(parent)
{
    setLayoutDirection(Qt::RightToLeft);   // also in the popup of the left-to-right date editor
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    // Right to left: the right arrow goes back a month.
    auto* previous = new QToolButton(this);
    previous->setArrowType(Qt::RightArrow);
    auto* next = new QToolButton(this);
    next->setArrowType(Qt::LeftArrow);
    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    head->addWidget(previous);
    head->addWidget(title_, 1);
    head->addWidget(next);
    layout->addLayout(head);

    auto* grid = new QGridLayout;
    static const char16_t* const weekdays[] = {u"ش", u"ي", u"د", u"س", u"چ", u"پ", u"ج"};
    for (int c = 0; c < 7; ++c) {
        auto* label = new QLabel(QString::fromUtf16(weekdays[c]), this);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, 0, c);
    }
    for (int i = 0; i < kWeeks * 7; ++i) {
        auto* cell = new QToolButton(this);
        cell->setAutoRaise(true);
        cell->setCheckable(true);
        cell->setMinimumWidth(30);
        grid->addWidget(cell, 1 + i / 7, i % 7);
        connect(cell, &QToolButton::clicked, this, [this, cell] {
            emit picked(util::JalaliDate{year_, month_, cell->text().toInt()});
        });
        cells_ << cell;
    }
    layout->addLayout(grid);

    connect(previous, &QToolButton::clicked, this, [this] { month_ == 1 ? showMonth(year_ - 1, 12) : showMonth(year_, month_ - 1); });
    connect(next, &QToolButton::clicked, this, [this] { month_ == 12 ? showMonth(year_ + 1, 1) : showMonth(year_, month_ + 1); });
}

void JalaliMonthView::setDate(const util::JalaliDate& date)
{
    marked_ = date;
    showMonth(date.year, date.month);
}

void JalaliMonthView::showMonth(int year, int month)
{
    const QDate first = util::JalaliToGregorian(year, month, 1);
    if (!first.isValid())
        return;
    year_ = year;
    month_ = month;
    title_->setText(util::jalaliMonthName(month) + QLatin1Char(' ') + QString::number(year));
    const int offset = columnOf(first);
    const int length = util::jalaliMonthLength(year, month);
    for (int i = 0; i < cells_.size(); ++i) {
        const int day = i - offset + 1;
        const bool inMonth = day >= 1 && day <= length;
        cells_[i]->setText(inMonth ? QString::number(day) : QString());
        cells_[i]->setEnabled(inMonth);
        cells_[i]->setChecked(inMonth && marked_ == util::JalaliDate{year, month, day});
    }
}

QToolButton* JalaliMonthView::dayButton(int day) const
{
    if (day < 1 || day > util::jalaliMonthLength(year_, month_))
        return nullptr;
    return cells_.value(columnOf(util::JalaliToGregorian(year_, month_, 1)) + day - 1);
}

} // namespace orvak::ui::framework
