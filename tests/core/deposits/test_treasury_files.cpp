// The treasury files written from the registers: a fund request's rows with their
// credit notices and owners, a month's confirmed deposits; the dBASE table and the
// workbook read back by independent readers (dbfread, openpyxl); bad input refused
// with its message and nothing left behind.
#include "core/deposits/TreasuryFiles.h"
#include "core/util/CodePage1256.h"
#include "RequestOffice.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvak;
using namespace orvak::deposits;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The python program's standard output (its errors after it, so a failure shows).
QString python(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), program} + args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed() + QString::fromUtf8(p.readAllStandardError()).trimmed();
}

QJsonArray dbfRecords(const QString& path)
{
    const QString out = python(QStringLiteral("import sys, json, dbfread\n"
                                              "t = dbfread.DBF(sys.argv[1], encoding='cp1256')\n"
                                              "print(json.dumps({'fields': [[f.name, f.type, f.length] for f in t.fields], "
                                              "'rows': [dict(r) for r in t]}, ensure_ascii=False))\n"),
                               {path});
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_FALSE(o.isEmpty()) << out.toStdString();
    return o.value(QStringLiteral("rows")).toArray();
}

// A workbook with a sheet before "table1", whose header row names the columns in
// an order of its own, and two old rows.
void makeWorkbook(const QString& path)
{
    const QString out = python(QStringLiteral("import sys, openpyxl\n"
                                              "b = openpyxl.Workbook()\n"
                                              "info = b.active\n"
                                              "info.title = 'info'\n"
                                              "info['A1'] = 'kept'\n"
                                              "t = b.create_sheet('table1')\n"
                                              "t.append(['bestankar', 'radif_bodjeh', 'sepordehgozar', 'sepordeh_type', 'mozoo', 'ghabz_no', 'ghabz_date', 'bestan_no', 'bedehkar', 'other'])\n"
                                              "t.append([1, 'old', 'old', 'old', 'old', 'old', 'old', 'old', 2, 'x'])\n"
                                              "t.append([3, 'old2'])\n"
                                              "b.save(sys.argv[1])\n"
                                              "print('ok')\n"),
                               {path});
    ASSERT_EQ(out, QStringLiteral("ok"));
}

QString readWorkbook(const QString& path)
{
    return python(QStringLiteral("import sys, json, openpyxl\n"
                                 "b = openpyxl.load_workbook(sys.argv[1])\n"
                                 "print(json.dumps({'sheets': b.sheetnames, 'info': b['info']['A1'].value, "
                                 "'rows': [list(r) for r in b['table1'].iter_rows(values_only=True)]}, ensure_ascii=False))\n"),
                  {path});
}

QStringList folderEntries(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

struct TreasuryOffice : test::RequestOffice {
    QTemporaryDir out;
    int deposit1 = 0, deposit2 = 0;
    int req = 0;

    TreasuryOffice()
    {
        // A credit notice with its sending letter, and two deposits of the test year.
        EXPECT_TRUE(db::execSql(db(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESLETTERNO, BESLETTERDATE, BESDATE, BESAMOUNT) "
                                                     "VALUES (9001, '812', '77/خ', '1409/02/01', '1409/01/28', 3500)")));
        deposit1 = deposit(1500, 123456, {{QStringLiteral("ELAMBESIDX"), 9001}, {QStringLiteral("SEPROW"), 3},
                                          {QStringLiteral("TIKSUDMO"), QStringLiteral("P")}, {QStringLiteral("CHKNO"), 0}});
        deposit2 = deposit(2000, 77, {{QStringLiteral("SEPDATE"), QStringLiteral("1409/01/09")}, {QStringLiteral("SEPROW"), 4},
                                      {QStringLiteral("TIKSUDMO"), QStringLiteral("R")}, {QStringLiteral("CHKNO"), 5544}});
        req = request({{deposit1, 1500}, {deposit2, 1200}});
    }
    RequestFileInput requestInput(int layout, const QString& name = {})
    {
        RequestFileInput in;
        in.reqIdx = req;
        in.layout = layout;
        in.date = QStringLiteral("1409/02/05");
        in.folder = out.path();
        in.fileName = name.isEmpty() ? defaultRequestFileName(layout, in.date, QStringLiteral("T-1")) : name;
        return in;
    }
    ListFileInput listInput(int layout, const QString& name = {})
    {
        ListFileInput in;
        in.layout = layout;
        in.year = Year;
        in.month = 1;
        in.fileDate = QStringLiteral("1409/02/06");
        in.paidDate = QStringLiteral("1409/02/07");
        in.letterNo = QStringLiteral("55");
        in.letterDate = QStringLiteral("1409/02/06");
        in.folder = out.path();
        in.fileName = name.isEmpty() ? defaultListFileName(layout, Year, 1, in.agencyCode, in.fileDate) : name;
        return in;
    }
    QString ownerName() { return db::scalar(session->common(), QStringLiteral("SELECT NAME FROM TAFSILI WHERE CI = 0 AND CODE = :C"), {{QStringLiteral(":C"), owner}}).value_or({}).toString().trimmed(); }
};

} // namespace

TEST(TreasuryFiles, RequestLayout3CarriesTheCreditNoticeAndItsLetter)
{
    TreasuryOffice o;
    startup::ScriptedPrompt prompt;
    const WrittenFile w = TreasuryFiles(*o.session).writeRequestFile(o.requestInput(3), prompt);
    ASSERT_TRUE(w) << prompt.text().toStdString();
    EXPECT_EQ(w.count, 2);
    EXPECT_EQ(w.sum, 2700);
    EXPECT_EQ(prompt.infos.last(), fileCreatedText());
    const QList<QByteArray> lines = readAll(w.path).split('\n');
    ASSERT_EQ(lines.size(), 4);
    const QString account = o.session->office().refundBankAccount;
    EXPECT_EQ(lines[0], ("EO" + account.rightJustified(16).toLatin1() + "    2            2700\r"));
    EXPECT_EQ(util::decode1256(lines[1]), QStringLiteral("    1      77/خ1409/02/01    123456       8121409/01/28    3            1500\r"));
    // The second deposit has no credit notice: no letter, no dates.
    EXPECT_EQ(lines[2], "    2              /  /          77              /  /      4            1200\r");
}

TEST(TreasuryFiles, RequestDbaseTableIsMadeThenRefilledAndReadsBack)
{
    TreasuryOffice o;
    startup::ScriptedPrompt prompt;
    const WrittenFile w = TreasuryFiles(*o.session).writeRequestFile(o.requestInput(1), prompt);
    ASSERT_TRUE(w) << prompt.text().toStdString();
    EXPECT_TRUE(w.path.endsWith(QStringLiteral("DETAILHL.DBF")));
    const QJsonArray rows = dbfRecords(w.path);
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("BESTNO")).toInt(), 812);
    EXPECT_EQ(first.value(QStringLiteral("SERIAL")).toDouble(), 1.0);
    EXPECT_EQ(first.value(QStringLiteral("RIZNO")).toString(), QStringLiteral("123456"));
    // 1409/01/10: the year's last two digits, then month and day, a space for a leading zero.
    EXPECT_EQ(first.value(QStringLiteral("RIZDATE")).toString(), QStringLiteral("09 110"));
    EXPECT_EQ(first.value(QStringLiteral("DEPDATE")).toString(), QStringLiteral("09 110"));
    EXPECT_EQ(first.value(QStringLiteral("RIZDEP")).toDouble(), 1500.0);
    EXPECT_EQ(first.value(QStringLiteral("REMARK")).toString(), QStringLiteral("09/ 1/10           123456"));
    EXPECT_EQ(first.value(QStringLiteral("KHBESTNO")).toInt(), 812);
    EXPECT_TRUE(rows[1].toObject().value(QStringLiteral("BESTNO")).isNull());
    EXPECT_EQ(rows[1].toObject().value(QStringLiteral("RIZDATE")).toString(), QStringLiteral("09 1 9"));

    // Filled again from the list's deposits, the table keeps its fields and holds only the new records.
    const WrittenFile again = TreasuryFiles(*o.session).writeListFile(o.listInput(1), prompt);
    ASSERT_TRUE(again) << prompt.text().toStdString();
    const QJsonArray listed = dbfRecords(again.path);
    ASSERT_EQ(listed.size(), 1);   // only the confirmed deposit
    EXPECT_EQ(listed[0].toObject().value(QStringLiteral("SERIAL")).toDouble(), 3.0);
    EXPECT_EQ(folderEntries(o.out.path()), QStringList{QStringLiteral("DETAILHL.DBF")});
}

TEST(TreasuryFiles, AReceiptNumberTooLongForTheDbaseFieldRefusesTheTable)
{
    TreasuryOffice o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_REQR SET FISHNO = 12345678 WHERE REQ_IDX = :R AND REQ_ROW = 2"), {{QStringLiteral(":R"), o.req}}));
    startup::ScriptedPrompt prompt;
    EXPECT_FALSE(TreasuryFiles(*o.session).writeRequestFile(o.requestInput(1), prompt));
    EXPECT_TRUE(prompt.text().contains(QStringLiteral("RIZNO"))) << prompt.text().toStdString();
    EXPECT_TRUE(folderEntries(o.out.path()).isEmpty());
}

TEST(TreasuryFiles, WorkbookSheetTable1IsEmptiedAndFilledOtherSheetsKept)
{
    TreasuryOffice o;
    const QString book = o.out.filePath(QStringLiteral("MAZ.xlsx"));
    makeWorkbook(book);
    startup::ScriptedPrompt prompt;
    const WrittenFile w = TreasuryFiles(*o.session).writeRequestFile(o.requestInput(6, QStringLiteral("MAZ.xlsx")), prompt);
    ASSERT_TRUE(w) << prompt.text().toStdString();
    const QJsonObject back = QJsonDocument::fromJson(readWorkbook(book).toUtf8()).object();
    ASSERT_FALSE(back.isEmpty()) << readWorkbook(book).toStdString();
    EXPECT_EQ(back.value(QStringLiteral("sheets")).toArray(), (QJsonArray{QStringLiteral("info"), QStringLiteral("table1")}));
    EXPECT_EQ(back.value(QStringLiteral("info")).toString(), QStringLiteral("kept"));
    const QJsonArray rows = back.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 3);   // the header row and the request's two rows
    EXPECT_EQ(rows[0].toArray()[0].toString(), QStringLiteral("bestankar"));
    const QJsonArray first = rows[1].toArray();
    EXPECT_EQ(first[0].toDouble(), 1500.0);   // the deposit's amount under "bestankar"
    EXPECT_EQ(first[1].toString(), o.session->office().agencyRow);
    EXPECT_EQ(first[2].toString(), o.ownerName());
    EXPECT_EQ(first[4].toString(), QStringLiteral("سپرده حسن انجام کار"));
    EXPECT_EQ(first[5].toString(), QStringLiteral("123456"));
    EXPECT_EQ(first[6].toString(), QStringLiteral("090110"));
    EXPECT_EQ(first[7].toString(), QStringLiteral("812"));
    EXPECT_TRUE(first[8].isNull());
    EXPECT_TRUE(first[9].isNull());
    EXPECT_EQ(rows[2].toArray()[0].toDouble(), 2000.0);
    EXPECT_EQ(folderEntries(o.out.path()), QStringList{QStringLiteral("MAZ.xlsx")});
}

TEST(TreasuryFiles, ListLayout3WritesTheConfirmedDepositsOfTheMonth)
{
    TreasuryOffice o;
    startup::ScriptedPrompt prompt;
    const WrittenFile w = TreasuryFiles(*o.session).writeListFile(o.listInput(3), prompt);
    ASSERT_TRUE(w) << prompt.text().toStdString();
    EXPECT_EQ(w.count, 1);
    EXPECT_EQ(w.sum, 1500);
    const QList<QByteArray> lines = readAll(w.path).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith("        551409/02/06140901    1            1500\r")) << lines[0].constData();
    const QString row = util::decode1256(lines[1]);
    EXPECT_TRUE(row.startsWith(QStringLiteral("    1    1234561409/01/10            1500          1409/01/05"))) << row.toStdString();
    EXPECT_TRUE(row.endsWith(QString(45, QLatin1Char(' ')) + o.session->office().city + QStringLiteral("\r")));

    // Layout 2 says its own message; the amount kinds change what is summed.
    ListFileInput two = o.listInput(2);
    EXPECT_TRUE(TreasuryFiles(*o.session).writeListFile(two, prompt));
    EXPECT_EQ(prompt.infos.last(), listFileCreatedText());
    two.amount = ListAmount::NotRequested;
    const auto notRequested = TreasuryFiles(*o.session).listContent(two);
    ASSERT_TRUE(notRequested);
    EXPECT_EQ(notRequested->sum, 0);   // the confirmed deposit is requested whole
}

TEST(TreasuryFiles, BadInputIsRefusedWithItsMessageAndNothingIsLeftBehind)
{
    TreasuryOffice o;
    TreasuryFiles files(*o.session);
    struct Case {
        const char* what;
        std::function<WrittenFile(startup::Prompt&)> run;
        QString message;
    };
    const int empty = o.request({}, QStringLiteral("T-2"));
    const QList<Case> cases{
        {"no layout", [&](startup::Prompt& p) { return files.writeRequestFile(o.requestInput(0, QStringLiteral("a.txt")), p); }, noLayoutText()},
        {"no list layout", [&](startup::Prompt& p) { return files.writeListFile(o.listInput(0, QStringLiteral("a.txt")), p); }, noLayoutText()},
        {"no request date",
         [&](startup::Prompt& p) {
             RequestFileInput in = o.requestInput(3);
             in.date.clear();
             return files.writeRequestFile(in, p);
         },
         noRequestDateText()},
        {"missing folder",
         [&](startup::Prompt& p) {
             RequestFileInput in = o.requestInput(3);
             in.folder = o.out.filePath(QStringLiteral("nowhere"));
             return files.writeRequestFile(in, p);
         },
         noFolderText()},
        {"request without rows",
         [&](startup::Prompt& p) {
             RequestFileInput in = o.requestInput(3);
             in.reqIdx = empty;
             return files.writeRequestFile(in, p);
         },
         emptyRequestText()},
        {"list without the letter number",
         [&](startup::Prompt& p) {
             ListFileInput in = o.listInput(3);
             in.letterNo = QStringLiteral(" \t");
             return files.writeListFile(in, p);
         },
         noLetterNoText()},
        {"month without deposits",
         [&](startup::Prompt& p) {
             ListFileInput in = o.listInput(5);
             in.month = 7;
             return files.writeListFile(in, p);
         },
         emptyListText()},
        {"workbook missing", [&](startup::Prompt& p) { return files.writeRequestFile(o.requestInput(6, QStringLiteral("none.xlsx")), p); }, {}},
    };
    for (const Case& c : cases) {
        startup::ScriptedPrompt prompt;
        const WrittenFile w = c.run(prompt);
        EXPECT_FALSE(w) << c.what;
        if (!c.message.isEmpty())
            EXPECT_EQ(w.message, c.message) << c.what;
        EXPECT_EQ(prompt.infos.value(0), w.message) << c.what;
        EXPECT_FALSE(w.message.isEmpty()) << c.what;
    }
    EXPECT_TRUE(folderEntries(o.out.path()).isEmpty());
}

TEST(TreasuryFiles, AnUnencodableNameOrADamagedFileLeavesTheOldFileAsItWas)
{
    TreasuryOffice o;
    TreasuryFiles files(*o.session);
    startup::ScriptedPrompt prompt;
    // A text file written once, then a name the code page cannot hold: the old file stays.
    ASSERT_TRUE(files.writeRequestFile(o.requestInput(3), prompt));
    const QString text = o.out.filePath(defaultRequestFileName(3, QStringLiteral("1409/02/05"), {}));
    const QByteArray before = readAll(text);
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("UPDATE TAFSILI SET NAME = :N WHERE CI = 0 AND CODE = :C"),
                            {{QStringLiteral(":N"), QStringLiteral("شرکت \u4E2D")}, {QStringLiteral(":C"), o.owner}}));
    const WrittenFile refused = files.writeRequestFile(o.requestInput(2, QStringLiteral("Esterdad.TXT")), prompt);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.message.contains(QStringLiteral("\u4E2D"))) << refused.message.toStdString();
    EXPECT_TRUE(refused.message.contains(QStringLiteral("1256")));
    EXPECT_EQ(readAll(text), before);
    // UTF-8 of layout 4 takes the name.
    EXPECT_TRUE(files.writeRequestFile(o.requestInput(4, QStringLiteral("utf8.TXT")), prompt));
    EXPECT_TRUE(QString::fromUtf8(readAll(o.out.filePath(QStringLiteral("utf8.TXT")))).contains(QStringLiteral("شرکت \u4E2D")));

    // A damaged dBASE table and a damaged workbook are told and kept as they were.
    const QByteArray junk = "\x03" + QByteArray(40, 'x');
    for (const QString& name : {QStringLiteral("DETAILHL.DBF"), QStringLiteral("bad.xlsx")}) {
        QFile f(o.out.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name.endsWith(QStringLiteral("xlsx")) ? QByteArray("PK\x03\x04 broken") : junk);
        f.close();
        startup::ScriptedPrompt p;
        const WrittenFile w = files.writeRequestFile(o.requestInput(name.endsWith(QStringLiteral("xlsx")) ? 6 : 1, name), p);
        EXPECT_FALSE(w) << name.toStdString();
        EXPECT_FALSE(w.message.isEmpty());
        EXPECT_EQ(readAll(o.out.filePath(name)).size(), name.endsWith(QStringLiteral("xlsx")) ? 11 : junk.size());
    }
    EXPECT_EQ(folderEntries(o.out.path()).size(), 4);   // the text file, utf8.TXT and the two damaged ones, no temporary files

    // A name that is a folder cannot be written; a read-only folder neither (unless we are root).
    QDir(o.out.path()).mkdir(QStringLiteral("sub"));
    startup::ScriptedPrompt p2;
    EXPECT_FALSE(files.writeRequestFile(o.requestInput(3, QStringLiteral("sub")), p2));
    if (::geteuid() != 0) {
        QTemporaryDir ro;
        QFile::setPermissions(ro.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        RequestFileInput in = o.requestInput(3);
        in.folder = ro.path();
        startup::ScriptedPrompt p3;
        EXPECT_FALSE(files.writeRequestFile(in, p3));
        EXPECT_TRUE(p3.text().contains(QStringLiteral("فايل قابل نوشتن نيست")));
        QFile::setPermissions(ro.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST(TreasuryFiles, DefaultNamesAndPaths)
{
    EXPECT_EQ(defaultRequestFileName(2, QStringLiteral("1404/05/20"), {}), QStringLiteral("S_1404_05_20.TXT"));
    EXPECT_EQ(defaultRequestFileName(3, QStringLiteral("1404/05/20"), {}), QStringLiteral("Esterdad.TXT"));
    EXPECT_EQ(defaultRequestFileName(5, QStringLiteral("1404/05/20"), {}), QStringLiteral("DAR.CSV"));
    EXPECT_EQ(defaultRequestFileName(7, QStringLiteral("1404/05/20"), {}), QStringLiteral("DARKHAST-1404-05.TXT"));
    EXPECT_EQ(defaultRequestFileName(8, QStringLiteral("1404/05/20"), QStringLiteral("12/7")), QStringLiteral("DARKHAST-12-7_1404-05.TXT"));
    EXPECT_TRUE(defaultRequestFileName(6, QStringLiteral("1404/05/20"), {}).isEmpty());
    EXPECT_EQ(defaultListFileName(1, 1404, 5, DefaultAgencyCode, {}), QStringLiteral("DETAILHL.DBF"));
    EXPECT_EQ(defaultListFileName(2, 1404, 5, DefaultAgencyCode, QStringLiteral("1404/06/03")), QStringLiteral("V_127661_1404_05_03.TXT"));
    EXPECT_EQ(defaultListFileName(3, 1404, 5, {}, {}), QStringLiteral("Daryaft.TXT"));
    EXPECT_EQ(defaultListFileName(5, 1404, 5, {}, {}), QStringLiteral("ERSAL.CSV"));
    EXPECT_EQ(defaultListFileName(7, 1404, 5, {}, {}), QStringLiteral("ERSALI-1404-05.TXT"));
    EXPECT_EQ(treasuryPath(QStringLiteral("C:\\Send\\"), QStringLiteral("a.TXT")), QStringLiteral("C:/Send/a.TXT"));
    EXPECT_EQ(treasuryPath(QStringLiteral("/x/Send"), QStringLiteral("a.TXT")), QStringLiteral("/x/Send/a.TXT"));
}
