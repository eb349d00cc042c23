#include "ui/framework/EntryForm.h"
#include "ui/framework/Editors.h"
#include "ui/framework/FilterDialog.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/SortDialog.h"
#include "core/startup/Rights.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace orvak;
using namespace orvak::ui::framework;

namespace {

// A small register in an in-memory database.
QSqlDatabase memoryDb()
{
    const QString name = QStringLiteral("list-test");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.open();
    QSqlQuery q(db);
    q.exec(QStringLiteral("CREATE TABLE SEP_DAR (IDX INT, TAFSILI INT, OWNER TEXT, SEPDATE TEXT, AMOUNT FLOAT, KIND INT)"));
    const char* owners[] = {"شرکت پارس", "شرکت کيان", "علي احمدي", "شرکت البرز"};
    for (int i = 1; i <= 40; ++i) {
        q.prepare(QStringLiteral("INSERT INTO SEP_DAR VALUES (:i, :t, :o, :d, :a, :k)"));
        q.bindValue(QStringLiteral(":i"), i);
        q.bindValue(QStringLiteral(":t"), 1000 + i % 4);
        q.bindValue(QStringLiteral(":o"), QString::fromUtf8(owners[i % 4]));
        q.bindValue(QStringLiteral(":d"), QStringLiteral("1403/%1/10").arg(i % 12 + 1, 2, 10, QLatin1Char('0')));
        q.bindValue(QStringLiteral(":a"), 1000000.0 * i);
        q.bindValue(QStringLiteral(":k"), i % 3 + 1);
        q.exec();
    }
    return db;
}

ListFrame depositsList()
{
    ListFrame s;
    s.title = QStringLiteral("سپرده هاي دريافتي");
    s.database = [] { return memoryDb(); };
    s.sql = QStringLiteral("SELECT * FROM SEP_DAR WHERE (TAFSILI = :T OR -1 = :T)\nORDER BY IDX ASC");
    s.params = {{QStringLiteral(":T"), -1}};
    s.keyField = QStringLiteral("IDX");
    s.columns = {io::fieldColumn(QStringLiteral("IDX"), QStringLiteral("رديف"), 60, io::CellFormat::Integer),
                 io::fieldColumn(QStringLiteral("OWNER"), QStringLiteral("صاحب سپرده"), 200),
                 io::fieldColumn(QStringLiteral("SEPDATE"), QStringLiteral("تاريخ"), 90, io::CellFormat::JalaliDate),
                 io::fieldColumn(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 120, io::CellFormat::Amount, true),
                 io::computedColumn(QStringLiteral("نوع"), 80, [](const io::RowSet& r, int row) {
                     return QStringLiteral("نوع %1").arg(r.value(row, r.fieldIndex(QStringLiteral("KIND"))).toInt());
                 })};
    return s;
}

// Types text as a keyboard would, Persian digits included (QTest only knows ASCII).
void typeInto(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void closeNextBox(QString* text = nullptr)
{
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (text)
                *text = box->text();
            box->buttons().first()->click();
        }
    });
}

} // namespace

TEST(ListScreen, OpensWithTotalsAndPositionsOnAKey)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    EXPECT_EQ(list.model().rowCount(), 40);
    EXPECT_EQ(list.model().cellText(0, 3), QStringLiteral("1,000,000"));
    EXPECT_TRUE(list.totalsText().contains(io::isolateLtr(QStringLiteral("820,000,000")))) << list.totalsText().toStdString();
    ASSERT_TRUE(list.reopen(25));
    EXPECT_EQ(list.currentKey().toInt(), 25);
    list.setParameter(QStringLiteral(":T"), 1002);
    ASSERT_TRUE(list.reopen());
    EXPECT_EQ(list.model().rowCount(), 10);
}

TEST(ListScreen, TitleSortRewritesTheOrderAndRefusesComputedColumns)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    // A first click sorts ascending whatever direction the query's own order had.
    ASSERT_TRUE(list.sortByTitle(3));
    EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY [AMOUNT] ASC")));
    EXPECT_EQ(list.model().cellText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list.model().sortedColumn(), 3);
    EXPECT_EQ(list.model().headerData(3, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(), QColor(100, 250, 111));
    ASSERT_TRUE(list.sortByTitle(3));
    EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY [AMOUNT] DESC")));
    EXPECT_EQ(list.model().cellText(0, 0), QStringLiteral("40"));
    ASSERT_TRUE(list.sortByTitle(3));

    QString message;
    closeNextBox(&message);
    EXPECT_FALSE(list.sortByTitle(4));
    EXPECT_EQ(message, QStringLiteral("اين ستون قابل مرتب سازي نيست."));
    EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY [AMOUNT] ASC")));
}

TEST(ListScreen, CtrlClicksAddColumnsToTheSortAndPlainClicksSortByOne)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    struct Step {
        int column;
        bool ctrl;
        const char* order;     // the query's ORDER BY after the click
        const char* titles;    // the titles of columns 1 to 3, as the header shows them
        int firstIdx;
    };
    // The owners in the order of their letters: البرز (3, 7, ...), پارس (4, 8, ...), کيان (1, 5, ...), علي (2, 6, ...).
    const Step steps[] = {
        {1, false, "[OWNER] ASC", "صاحب سپرده ▲1|تاريخ|مبلغ", 3},
        {3, true, "[OWNER] ASC, [AMOUNT] ASC", "صاحب سپرده ▲1|تاريخ|مبلغ ▲2", 3},
        {3, true, "[OWNER] ASC, [AMOUNT] DESC", "صاحب سپرده ▲1|تاريخ|مبلغ ▼2", 39},
        {2, true, "[OWNER] ASC, [AMOUNT] DESC, [SEPDATE] ASC", "صاحب سپرده ▲1|تاريخ ▲3|مبلغ ▼2", 39},
        {1, true, "[OWNER] DESC, [AMOUNT] DESC, [SEPDATE] ASC", "صاحب سپرده ▼1|تاريخ ▲3|مبلغ ▼2", 38},
        {3, false, "[AMOUNT] ASC", "صاحب سپرده|تاريخ|مبلغ ▲1", 1},
        {3, false, "[AMOUNT] DESC", "صاحب سپرده|تاريخ|مبلغ ▼1", 40},
        {1, false, "[OWNER] ASC", "صاحب سپرده ▲1|تاريخ|مبلغ", 3},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(list.sortByTitle(step.column, step.ctrl)) << step.order;
        EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY ") + QString::fromUtf8(step.order))) << list.currentSql().toStdString();
        QStringList titles;
        for (int c = 1; c <= 3; ++c)
            titles << list.model().headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(titles.join(QLatin1Char('|')), QString::fromUtf8(step.titles)) << step.order;
        EXPECT_EQ(list.model().cellText(0, 0).toInt(), step.firstIdx) << step.order;
        EXPECT_EQ(list.model().sortedColumn(), step.column);
    }
}

TEST(ListScreen, TheHeaderSortsOnAClickAndAddsOnACtrlClick)
{
    ListScreen list(depositsList());
    list.show();
    ASSERT_TRUE(list.reopen());
    QHeaderView* header = list.grid()->horizontalHeader();
    auto click = [header](int column, Qt::KeyboardModifiers keys) {
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, keys, centre);
    };
    click(1, Qt::NoModifier);
    click(3, Qt::ControlModifier);
    EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY [OWNER] ASC, [AMOUNT] ASC"))) << list.currentSql().toStdString();
    click(2, Qt::NoModifier);
    EXPECT_TRUE(list.currentSql().endsWith(QStringLiteral("ORDER BY [SEPDATE] ASC"))) << list.currentSql().toStdString();
}

TEST(ListScreen, FilterSortAndTheirRemoval)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    list.setFilterText(QStringLiteral("[OWNER] LIKE '%پارس%' و [AMOUNT] >= 10000000"));
    EXPECT_EQ(list.model().rowCount(), 8);   // 12, 16, ... 40
    EXPECT_TRUE(list.totalsText().contains(io::isolateLtr(QStringLiteral("208,000,000")))) << list.totalsText().toStdString();
    // Persian Kaf and Yeh typed either way find the same rows.
    list.setFilterText(QStringLiteral("[OWNER] = 'شركت كيان'"));
    EXPECT_EQ(list.model().rowCount(), 10);
    list.removeFilters();
    EXPECT_EQ(list.model().rowCount(), 40);

    QString message;
    closeNextBox(&message);
    list.setFilterText(QStringLiteral("[OWNER] = "));
    EXPECT_TRUE(message.startsWith(QStringLiteral("جمله بندي اشتباه است")));
    EXPECT_EQ(list.model().rowCount(), 40);

    TfrmSortDataSet sort(depositsList().columns);
    sort.choose(2, false);
    sort.choose(0, true);
    list.sortByKeys(sort.keys());
    EXPECT_EQ(list.model().cellText(0, 2), QStringLiteral("1403/12/10"));
    EXPECT_EQ(list.model().cellText(0, 0), QStringLiteral("11"));
    EXPECT_EQ(list.model().headerData(2, Qt::Horizontal).toString(), QStringLiteral("تاريخ ▼1"));
    EXPECT_EQ(list.model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("رديف ▲2"));
}

TEST(ListScreen, FilterDialogBuildsTermsAndChecksThem)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    TfrmFilter dialog(list.model(), QString());
    dialog.addTerm(3, QStringLiteral("بين"), QStringLiteral("۵,۰۰۰,۰۰۰"), QStringLiteral("7000000"));
    dialog.addTerm(1, QStringLiteral("="), QStringLiteral("شرکت البرز"));
    EXPECT_EQ(dialog.text(), QStringLiteral("([AMOUNT] >= 5000000 AND [AMOUNT] <= 7000000) و [OWNER] = 'شرکت البرز'"));
    QString message;
    EXPECT_TRUE(dialog.check(&message));
    EXPECT_EQ(message, QStringLiteral("صحيح است"));
    dialog.setText(QStringLiteral("([AMOUNT] > 5"));
    EXPECT_FALSE(dialog.check(&message));
    EXPECT_TRUE(message.startsWith(QStringLiteral("جمله بندي اشتباه است")));
}

TEST(ListScreen, ExportsAndReport)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen());
    list.setFilterText(QStringLiteral("[KIND] = 1"));
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(list.exportTo(dir.filePath(QStringLiteral("list")), io::ExportFormat::Csv, &error)) << error.toStdString();
    QFile csv(dir.filePath(QStringLiteral("list.CSV")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 14);   // header and the 13 filtered rows
    EXPECT_TRUE(text.contains(QStringLiteral("نوع 1")));
    const io::ReportModel report = list.reportModel();
    EXPECT_EQ(report.rows.size(), 13u);
    EXPECT_EQ(report.wordsColumn, 3);
    EXPECT_TRUE(report.titleLines.last().contains(QStringLiteral("[KIND] = 1")));
    EXPECT_FALSE(list.exportTo(QStringLiteral("/no/such/folder/list"), io::ExportFormat::Xlsx, &error));
}

TEST(Editors, JalaliDateAndAmount)
{
    JalaliDateEdit date;
    date.show();
    typeInto(&date, QStringLiteral("۱۴۰۳۱۲۳۰"));
    ASSERT_TRUE(date.date().has_value()) << date.text().toStdString();
    EXPECT_EQ(date.date()->toText(), QStringLiteral("1403/12/30"));
    date.clear();
    QTest::keyClicks(&date, QStringLiteral("14021230"));   // 1402 is not a leap year
    QString message;
    EXPECT_FALSE(date.validate(&message));
    EXPECT_FALSE(message.isEmpty());
    date.clear();
    EXPECT_TRUE(date.isEmptyDate());
    EXPECT_TRUE(date.validate());

    AmountEdit amount;
    amount.show();
    amount.setFocus();
    typeInto(&amount, QStringLiteral("12a۳۴۵۶۷"));
    EXPECT_EQ(amount.amount(), 1234567);
    amount.clearFocus();
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&amount, &out);
    EXPECT_EQ(amount.text(), QStringLiteral("1,234,567"));
}

namespace {
class SampleForm : public EntryForm {
public:
    SampleForm()
        : EntryForm(QStringLiteral("نمونه"))
    {
        form()->addRow(QStringLiteral("تاريخ"), &date);
        form()->addRow(QStringLiteral("مبلغ"), &amount);
    }
    JalaliDateEdit date;
    AmountEdit amount;
    QList<qint64> saved;
    int cleared = 0;

protected:
    void clearFields() override
    {
        ++cleared;
        date.clear();
        amount.setAmount(0);
    }
    bool loadRecord(const QVariant& key) override
    {
        amount.setAmount(key.toLongLong());
        return true;
    }
    bool validate(QString* message) override
    {
        if (amount.amount() <= 0) {
            *message = QStringLiteral("اطلاعات کامل نيست");
            return false;
        }
        return true;
    }
    std::optional<QVariant> saveRecord(QString*) override
    {
        saved << amount.amount();
        return QVariant(int(saved.size()));
    }
};
} // namespace

TEST(EntryForm, KeysSaveAndNewSaveAndCloseAndRefuseBadInput)
{
    SampleForm f;
    QVariant savedKey;
    QObject::connect(&f, &EntryForm::saved, [&](const QVariant& k) { savedKey = k; });
    f.startInsert();
    f.show();
    f.amount.setAmount(5000);
    QTest::keyClick(&f, Qt::Key_F9);
    EXPECT_EQ(f.saved, QList<qint64>{5000});
    EXPECT_EQ(f.cleared, 2);           // cleared again for the next record
    EXPECT_EQ(savedKey.toInt(), 1);
    EXPECT_FALSE(f.key().isValid());   // a new record is being typed

    QString message;
    closeNextBox(&message);
    QTest::keyClick(&f, Qt::Key_F10);   // nothing typed
    EXPECT_EQ(message, QStringLiteral("اطلاعات کامل نيست"));
    EXPECT_TRUE(f.isVisible());

    f.amount.setAmount(7000);
    f.date.setText(QStringLiteral("1402/12/30"));
    closeNextBox(&message);
    QTest::keyClick(&f, Qt::Key_F10);
    EXPECT_TRUE(message.contains(QStringLiteral("1402/12/30")));
    EXPECT_EQ(f.saved.size(), 1);

    f.date.clear();
    QTest::keyClick(&f, Qt::Key_F10);
    EXPECT_EQ(f.saved.size(), 2);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

namespace {
// A list with the three list-button commands and one that does not write.
struct CommandedList {
    QStringList ran;
    std::unique_ptr<ListScreen> list;
    CommandedList()
    {
        ListFrame s = depositsList();
        auto note = [this](const QString& what) { return [this, what](ListScreen&) { ran << what; }; };
        s.commands = {{QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), note(QStringLiteral("insert")), false, true, startup::AccessInsert},
                      {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), note(QStringLiteral("edit")), true, true, startup::AccessEditOwn},
                      {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete), note(QStringLiteral("delete")), true, true, startup::AccessDelete},
                      {QStringLiteral("چاپ"), QKeySequence(Qt::Key_F8), note(QStringLiteral("print")), false, false, 0}};
        list = std::make_unique<ListScreen>(s);
        EXPECT_TRUE(list->reopen());
        list->show();
    }
    // The key as the user presses it; the refusal box, if any, is closed and returned.
    QString press(Qt::Key key)
    {
        // A closed box leaves no window active: the list is brought back first.
        list->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(list.get()));
        list->grid()->setFocus();
        QString message;
        closeNextBox(&message);
        QTest::keyClick(list->grid(), key);
        QApplication::processEvents();
        return message;
    }
    QString click(int command)
    {
        QString message;
        closeNextBox(&message);
        list->commandButton(command)->click();
        QApplication::processEvents();
        return message;
    }
};
} // namespace

TEST(ListScreen, ButtonsAndKeysAnswerToTheAccessBitsTheyAreGiven)
{
    CommandedList c;
    // Every bit until told otherwise.
    EXPECT_TRUE(c.press(Qt::Key_Insert).isEmpty());
    EXPECT_TRUE(c.press(Qt::Key_Delete).isEmpty());
    EXPECT_EQ(c.ran, (QStringList{QStringLiteral("insert"), QStringLiteral("delete")}));

    c.ran.clear();
    c.list->setAccess(startup::AccessView | startup::AccessEditOwn);
    EXPECT_EQ(c.press(Qt::Key_Insert), startup::refusalText());
    EXPECT_EQ(c.press(Qt::Key_Delete), startup::refusalText());
    EXPECT_EQ(c.click(0), startup::refusalText());
    EXPECT_EQ(c.click(2), startup::refusalText());
    EXPECT_TRUE(c.press(Qt::Key_F2).isEmpty());
    EXPECT_TRUE(c.press(Qt::Key_F8).isEmpty());
    EXPECT_EQ(c.ran, (QStringList{QStringLiteral("edit"), QStringLiteral("print")}));
    closeNextBox();
    EXPECT_FALSE(c.list->runCommand(2));
}

TEST(ListScreen, AReadOnlyListHasNoWritingCommandThatWorksByButtonOrKey)
{
    CommandedList c;
    c.list->setReadOnly(true);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(c.list->commandButton(i)->isEnabled()) << i;
    EXPECT_TRUE(c.list->commandButton(3)->isEnabled());
    EXPECT_EQ(c.press(Qt::Key_Insert), startup::refusalText());
    EXPECT_EQ(c.press(Qt::Key_F2), startup::refusalText());
    EXPECT_EQ(c.press(Qt::Key_Delete), startup::refusalText());
    EXPECT_TRUE(c.press(Qt::Key_F8).isEmpty());
    EXPECT_EQ(c.ran, QStringList{QStringLiteral("print")});

    c.list->setReadOnly(false);
    EXPECT_TRUE(c.press(Qt::Key_Delete).isEmpty());
    EXPECT_EQ(c.ran.last(), QStringLiteral("delete"));
}

TEST(ListScreen, TheEntryFormOfAListWithoutTheBitsOnlyShows)
{
    ListScreen list(depositsList());
    ASSERT_TRUE(list.reopen(3));
    list.setAccess(startup::AccessView);
    SampleForm form;
    QString message;
    closeNextBox(&message);
    list.runEntryForm(form, true);
    EXPECT_EQ(message, startup::refusalText());
    EXPECT_EQ(form.cleared, 0);   // never started
    QTimer::singleShot(0, &form, [&form] {
        EXPECT_TRUE(form.isReadOnly());
        form.reject();
    });
    list.runEntryForm(form, false);
    EXPECT_EQ(form.amount.amount(), 3);
}
