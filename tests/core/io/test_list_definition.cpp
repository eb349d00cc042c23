#include "core/CoreLists.h"
#include "core/db/Db.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"
#include "core/startup/Backup.h"
#include "core/startup/StartupLists.h"
#include "core/startup/Users.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::io;
using orvak::test::TempInstallation;

TEST(ListDefinition, CodeTextsAndParameterValues)
{
    const CodeTexts& kinds = startup::employmentKinds();
    EXPECT_EQ(kinds.texts(), (QStringList{QStringLiteral("رسمي"), QStringLiteral("پيماني"), QStringLiteral("قراردادي"), QStringLiteral("شرکتي"),
                                          QStringLiteral("ساعتي")}));
    struct Code { const CodeTexts* codes; QVariant code; const char* text; };
    const Code codes[] = {
        {&kinds, 2, "قراردادي"},
        {&kinds, QVariant(), "رسمي"},   // NULL reads as 0
        {&kinds, 9, ""},
        {&startup::userStates(), 1, "مجاز"},
        {&startup::userStates(), 0, "مسدود"},
        {&startup::backupKinds(), 0, "ايجاد نسخه پشتيبان"},
        {&startup::backupKinds(), 1, "بازخواني از نسخه پشتيبان"},
    };
    for (const Code& c : codes)
        EXPECT_EQ(c.codes->textOf(c.code), QString::fromUtf8(c.text)) << c.code.toString().toStdString();
    startup::BackupHistoryRow restored;
    restored.kind = 1;
    EXPECT_EQ(restored.kindText(), QStringLiteral("بازخواني از نسخه پشتيبان"));

    struct Value { QVariant declared; const char* text; std::optional<QVariant> expected; };
    const Value values[] = {
        {3, "12", QVariant(12)},
        {3, "۱۲", QVariant(12)},
        {3, "abc", std::nullopt},
        {3, "99999999999", std::nullopt},   // beyond an int parameter
        {qint64(1), "99999999999", QVariant(qint64(99999999999))},
        {QStringLiteral("x"), "متن", QVariant(QStringLiteral("متن"))},
        {1.5, "۲.۵", QVariant(2.5)},
        {1.5, "1e300", std::nullopt},   // no exponents, infinities or nan in an amount
        {1.5, "inf", std::nullopt},
        {1.5, "nan", std::nullopt},
    };
    for (const Value& v : values) {
        const std::optional<QVariant> got = parameterValue({QStringLiteral(":P"), v.declared}, QString::fromUtf8(v.text));
        ASSERT_EQ(got.has_value(), v.expected.has_value()) << v.text;
        if (got) {
            EXPECT_EQ(*got, *v.expected) << v.text;
        }
    }
}

TEST(ListDefinition, CatalogueNamesEveryListOnceAndEachRunsOnAFreshInstallation)
{
    const QStringList names = orvak::coreLists().names();
    EXPECT_TRUE(names.contains(QStringLiteral("program-users")));
    EXPECT_TRUE(names.contains(QStringLiteral("backup-history")));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    EXPECT_FALSE(orvak::coreLists().find(QStringLiteral("no-such-list")));

    TempInstallation t;
    t.create();
    for (const ListDefinition& d : orvak::coreLists().all()) {
        if (d.database != ListDatabase::Common)
            continue;
        BoundList bound(*t.session, d);
        RowSet rows;
        QString why;
        ASSERT_TRUE(bound.fetchAll(rows, {}, &why)) << d.name.toStdString() << ": " << why.toStdString();
        // A misspelt field would show an empty column, not an error.
        for (const ListField& c : d.columns)
            EXPECT_GE(rows.fieldIndex(c.field), 0) << d.name.toStdString() << " " << c.field.toStdString();
        EXPECT_GE(rows.fieldIndex(d.keyField), 0) << d.name.toStdString();
    }
}

TEST(ListDefinition, TsvAndReportOfADeclaredList)
{
    TempInstallation t;
    t.create();
    startup::Session& s = *t.session;
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("CREATE TABLE T_LIST (ID INT, WHO INT, D TEXT, AMOUNT FLOAT, KIND INT, NOTE TEXT)")));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO T_LIST VALUES (1, 3, '1403/01/05', 1500000.4, 1, 'a\tb'), "
                                                       "(2, 99, '    /  /  ', 250000, 7, NULL), (3, 3, '1403/02/01', 10, 0, 'x')")));
    ListDefinition d;
    d.name = QStringLiteral("t-list");
    d.title = QStringLiteral("آزمايشي");
    d.sql = QStringLiteral("SELECT * FROM T_LIST WHERE ID <= :Last\nORDER BY ID");
    d.parameters = {{QStringLiteral(":Last"), 2}};
    d.columns = {dataField(QStringLiteral("ID"), QStringLiteral("رديف"), 50, CellFormat::Integer),
                 lookupField(QStringLiteral("WHO"), QStringLiteral("کاربر"), 100,
                             [](io::ListSource& source) {
                                 LookupTable names;
                                 for (auto [code, name] : startup::userNames(source.listDatabase(ListDatabase::Common)).asKeyValueRange())
                                     names.insert(code, name);
                                 return names;
                             }),
                 dataField(QStringLiteral("D"), QStringLiteral("تاريخ"), 80, CellFormat::JalaliDate),
                 dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 100, CellFormat::Amount, true),
                 codeField(QStringLiteral("KIND"), QStringLiteral("نوع"), 80, CodeTexts{{{0, QStringLiteral("صفر")}, {1, QStringLiteral("يک")}}, QStringLiteral("ساير")}),
                 dataField(QStringLiteral("NOTE"), QStringLiteral("شرح"), 100)};
    d.columns[5].visible = false;
    ASSERT_TRUE(d.hasTotals());

    BoundList bound(s, d);
    EXPECT_TRUE(bound.columns()[1].isComputed());
    EXPECT_TRUE(bound.columns()[4].isComputed());
    RowSet rows;
    ASSERT_TRUE(bound.fetchAll(rows, {}));
    QString text;
    QTextStream out(&text);
    writeTsv(out, bound.columns(), rows);
    const QString name = startup::userNames(s.common()).value(3);
    ASSERT_FALSE(name.isEmpty());
    EXPECT_EQ(text, QStringLiteral("رديف\tکاربر\tتاريخ\tمبلغ\tنوع\n"
                                   "1\t%1\t1403/01/05\t1500000\tيک\n"
                                   "2\t\t\t250000\tساير\n"
                                   "\n"
                                   "مبلغ\t1750000\n")
                      .arg(name));

    // A caller's value replaces the default; the hidden column's text keeps to one line.
    ASSERT_TRUE(bound.fetchAll(rows, {{QStringLiteral(":Last"), 3}}));
    EXPECT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(plainText(fieldColumn(QStringLiteral("NOTE"), {}, 10), rows, 0), QStringLiteral("a b"));

    const ReportModel report = reportOfTable(exportTableOf(d.title, bound.columns(), rows), {QStringLiteral("فيلتر: x")});
    EXPECT_EQ(report.titleLines.value(0), d.title);
    EXPECT_EQ(report.titleLines.value(2), QStringLiteral("فيلتر: x"));
    ASSERT_EQ(report.columns.size(), 5u);   // the visible ones
    EXPECT_EQ(report.wordsColumn, 3);
    EXPECT_EQ(report.rows[0][3], QStringLiteral("1,500,000"));
    EXPECT_DOUBLE_EQ(report.amounts[1][3], 250000);

    ListDefinition broken = d;
    broken.sql = QStringLiteral("SELECT * FROM NO_SUCH_TABLE");
    BoundList failing(s, broken);
    QString why;
    EXPECT_FALSE(failing.fetchAll(rows, {}, &why));
    EXPECT_FALSE(why.isEmpty());
}
