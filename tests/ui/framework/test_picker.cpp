#include "ui/framework/Picker.h"

#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::framework;

namespace {

QSqlDatabase partiesDb()
{
    const QString name = QStringLiteral("picker-test");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.open();
    QSqlQuery q(db);
    q.exec(QStringLiteral("CREATE TABLE TAFSILI (CODE INT, NAME TEXT)"));
    q.exec(QStringLiteral("INSERT INTO TAFSILI VALUES (101, 'شرکت پارس'), (102, 'علي پور'), (103, 'شرکت البرز')"));
    return db;
}

ListScreen* partiesList()
{
    ListFrame s;
    s.title = QStringLiteral("حسابهاي تفصيلي");
    s.database = [] { return partiesDb(); };
    s.sql = QStringLiteral("SELECT * FROM TAFSILI\nORDER BY CODE");
    s.keyField = QStringLiteral("CODE");
    s.columns = {io::fieldColumn(QStringLiteral("CODE"), QStringLiteral("کد"), 60, io::CellFormat::Integer),
                 io::fieldColumn(QStringLiteral("NAME"), QStringLiteral("نام"), 200)};
    return new ListScreen(s);
}

PickRequest request()
{
    return {{QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"), QStringLiteral("NAME"), {}};
}

} // namespace

TEST(Picker, EnterHandsBackTheCurrentRowAndTheSelection)
{
    PickerDialog dialog(partiesList(), request());
    ASSERT_TRUE(dialog.screen().reopen(102));
    QTest::keyClick(dialog.screen().grid(), Qt::Key_Return);
    ASSERT_TRUE(dialog.result());
    EXPECT_EQ(dialog.result()->current.value(QStringLiteral("CODE")).toInt(), 102);
    EXPECT_EQ(dialog.result()->current.value(QStringLiteral("NAME")).toString(), QStringLiteral("علي پور"));
    EXPECT_EQ(dialog.result()->rowCount, 3);
    EXPECT_EQ(dialog.result()->selectedCodes, QStringLiteral("0"));   // one row is no selection
    EXPECT_FALSE(dialog.result()->listChanged);

    PickerDialog several(partiesList(), request());
    ASSERT_TRUE(several.screen().reopen());
    QTableView* grid = several.screen().grid();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    grid->selectionModel()->select(grid->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const auto r = several.currentResult();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->selectedCodes, QStringLiteral("101,103"));
    EXPECT_EQ(r->selectedPairs, QStringLiteral("101,شرکت پارس,103,شرکت البرز"));
}

TEST(Picker, AWarningThatRefusesKeepsItOpenAndAReopenMarksTheListChanged)
{
    PickRequest r = request();
    int asked = 0;
    r.beforeReturn = [&](const PickResult&, QWidget*) { return ++asked > 1; };
    PickerDialog dialog(partiesList(), r);
    ASSERT_TRUE(dialog.screen().reopen(101));
    dialog.continueWithCurrent();
    EXPECT_FALSE(dialog.result());
    ASSERT_TRUE(dialog.screen().reopen(101));   // as after a row saved through the list
    dialog.continueWithCurrent();
    ASSERT_TRUE(dialog.result());
    EXPECT_TRUE(dialog.result()->listChanged);
}
