#pragma once
// One Jalali month to pick a day from, Saturday first. Qt's calendar widget lays
// its Jalali months out by a plain 33-year cycle, a day off from 1436 on; this one
// follows the program's own conversion.
#include "core/util/Jalali.h"

#include <QList>
#include <QWidget>

class QLabel;
class QToolButton;

namespace orvak::ui::framework {

class JalaliMonthView : public QWidget {
    Q_OBJECT
public:
    explicit JalaliMonthView(QWidget* parent = nullptr);
    // Shows the date's month with the day marked.
    void setDate(const util::JalaliDate& date);
    void showMonth(int year, int month);
    int shownYear() const { return year_; }
    int shownMonth() const { return month_; }
    // The button of a day of the shown month; nullptr outside it.
    QToolButton* dayButton(int day) const;

signals:
    void picked(const util::JalaliDate& date);

private:
    QLabel* title_ = nullptr;
    QList<QToolButton*> cells_;   // six weeks of seven days, Saturday first
    int year_ = 0;
    int month_ = 0;
    util::JalaliDate marked_;
};

} // namespace orvak::ui::framework
