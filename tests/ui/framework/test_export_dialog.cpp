#include "ui/framework/ListScreen.h"
#include "ui/framework/ShowFileDialog.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::framework;

namespace {

ListFrame smallList(int menuVariant)
{
    const QString name = QStringLiteral("export-dialog-test");
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TABLE SEP_DAR (IDX INT, OWNER TEXT, AMOUNT FLOAT)"));
        for (int i = 1; i <= 12; ++i)
            q.exec(QStringLiteral("INSERT INTO SEP_DAR VALUES (%1, 'شرکت پارس %1', %2)").arg(i).arg(1000000.0 * i));
    }
    ListFrame f;
    f.title = QStringLiteral("سپرده هاي دريافتي");
    f.database = [name] { return QSqlDatabase::database(name); };
    f.sql = QStringLiteral("SELECT * FROM SEP_DAR\nORDER BY IDX ASC");
    f.keyField = QStringLiteral("IDX");
    f.menuVariant = menuVariant;
    f.columns = {io::fieldColumn(QStringLiteral("IDX"), QStringLiteral("رديف"), 60, io::CellFormat::Integer),
                 io::fieldColumn(QStringLiteral("OWNER"), QStringLiteral("صاحب سپرده"), 200),
                 io::fieldColumn(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 120, io::CellFormat::Amount, true)};
    return f;
}

QString zipEntry(const QString& path, const QString& entry)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), QStringLiteral("import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))"), path, entry});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// Each export entry opens its save dialog on its own type, and a name typed without
// an extension gets that type's: "ارسال با اکسل(XLSX)" writes the complete workbook,
// whose title names the list's period and whose header row carries an autofilter.
TEST(ExportDialog, EachEntryOpensOnItsOwnTypeAndTheWorkbookNamesThePeriod)
{
    struct Case {
        int menuVariant;
        QString entry, filter, written;
    };
    const Case cases[] = {
        {1, QStringLiteral("ارسال با اکسل(XLSX)"), QStringLiteral("فايل اکسل کامل (*.XLSX)"), QStringLiteral("list.XLSX")},
        {2, QStringLiteral("ارسال به فايل"), QStringLiteral("فايل متن (*.txt)"), QStringLiteral("list.txt")},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ListScreen list(smallList(c.menuVariant));
        list.setTitleDetail([] { return QStringLiteral("آذر 1405"); });
        ASSERT_TRUE(list.reopen());
        QAction* entry = nullptr;
        for (QAction* a : list.contextMenu()->actions()) {
            if (a->text() == c.entry)
                entry = a;
        }
        ASSERT_TRUE(entry) << c.entry.toStdString();

        QString offered;
        bool shown = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* save = qobject_cast<QFileDialog*>(w)) {
                offered = save->selectedNameFilter();
                save->selectFile(dir.filePath(QStringLiteral("list")));
                static_cast<QDialog*>(save)->accept();   // QFileDialog keeps its own accept protected
            } else if (auto* done = qobject_cast<TfrmShowFile*>(w)) {
                shown = true;
                done->accept();
            }
        });
        poll.start();
        entry->trigger();
        poll.stop();

        EXPECT_EQ(offered, c.filter);
        EXPECT_TRUE(shown);
        const QString path = dir.filePath(c.written);
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        if (c.menuVariant == 1) {
            const QString sheet = zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml"));
            EXPECT_TRUE(sheet.contains(QStringLiteral("<autoFilter ref=\"A4:C16\"/>"))) << sheet.left(600).toStdString();
            EXPECT_TRUE(sheet.contains(QStringLiteral("سپرده هاي دريافتي - آذر 1405")));
            EXPECT_TRUE(zipEntry(path, QStringLiteral("xl/workbook.xml")).contains(QStringLiteral("_xlnm._FilterDatabase")));
        }
    }
}
