#include "support/TestSupport.h"
#include "ui/framework/JalaliMonthView.h"

#include <QGridLayout>
#include <QToolButton>
#include <gtest/gtest.h>
#include <optional>

using namespace orvak;
using ui::framework::JalaliMonthView;

// Months laid out by the program's calendar: the 30th of Esfand only in its leap
// years (1436 is one, where Qt's own calendar has none), day 1 under its weekday.
TEST(JalaliMonthView, MonthsFollowTheOfficialCalendar)
{
    struct Case { int year, month, days, firstColumn; };   // column 0 is Saturday
    const Case cases[] = {{1436, 12, 30, 3}, {1437, 1, 31, 5}, {1437, 12, 29, 5}, {1403, 12, 30, 4}, {1403, 7, 30, 1}};
    JalaliMonthView view;
    auto* grid = view.findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    for (const Case& c : cases) {
        view.showMonth(c.year, c.month);
        int enabled = 0;
        for (QToolButton* b : view.findChildren<QToolButton*>())
            enabled += b->isEnabled() && !b->text().isEmpty();
        EXPECT_EQ(enabled, c.days) << c.year << '/' << c.month;
        ASSERT_NE(view.dayButton(c.days), nullptr);
        EXPECT_EQ(view.dayButton(c.days)->text(), QString::number(c.days));
        EXPECT_EQ(view.dayButton(c.days + 1), nullptr);
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(view.dayButton(1)), &row, &column, &rows, &columns);
        EXPECT_EQ(column, c.firstColumn) << c.year << '/' << c.month;
    }
}

TEST(JalaliMonthView, PickingADayAndTurningTheMonth)
{
    JalaliMonthView view;
    view.setDate({1436, 12, 10});
    EXPECT_TRUE(view.dayButton(10)->isChecked());
    std::optional<util::JalaliDate> picked;
    QObject::connect(&view, &JalaliMonthView::picked, [&](const util::JalaliDate& d) { picked = d; });
    view.dayButton(30)->click();
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->toText(), QStringLiteral("1436/12/30"));
    // The arrows: left goes forward a month, across the year's end.
    for (QToolButton* b : view.findChildren<QToolButton*>()) {
        if (b->arrowType() == Qt::LeftArrow)
            b->click();
    }
    EXPECT_EQ(view.shownYear(), 1437);
    EXPECT_EQ(view.shownMonth(), 1);
}
