#include "core/io/FilterExpression.h"
#include "core/io/ListData.h"
#include "support/TestSupport.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvak::io;

namespace {
QSqlDatabase db()
{
    const QString name = QStringLiteral("list-data-test");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    d.setDatabaseName(QStringLiteral(":memory:"));
    d.open();
    QSqlQuery q(d);
    q.exec(QStringLiteral("CREATE TABLE T (K INT, V, NAME TEXT)"));
    q.exec(QStringLiteral("INSERT INTO T VALUES (1, 10, 'الف'), (2, NULL, NULL), (3, 'x12', 'ج'), (4, 2.5, 'د')"));
    return d;
}
} // namespace

TEST(ListData, OrderByRewrite)
{
    struct Case { const char* sql; const char* field; const char* expected; };
    const Case cases[] = {
        {"SELECT * FROM T\nORDER BY K", "NAME", "SELECT * FROM T\nORDER BY [NAME] ASC"},
        {"SELECT * FROM T\norder by [NAME] ASC", "NAME", "SELECT * FROM T\norder by [NAME] DESC"},
        {"SELECT * FROM T\nORDER BY [CLASSCODE] DESC", "CLASSCODE", "SELECT * FROM T\nORDER BY [CLASSCODE] ASC"},
        {"SELECT * FROM T WHERE 1=1", "K", "SELECT * FROM T WHERE 1=1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resortedSql(QString::fromUtf8(c.sql), QString::fromLatin1(c.field)), QString::fromUtf8(c.expected)) << c.sql;
    EXPECT_EQ(withoutOrderBy(QStringLiteral("SELECT * FROM T WHERE A = 1\nORDER BY K DESC")), QStringLiteral("SELECT * FROM T WHERE A = 1"));
}

TEST(ListData, RowsParametersMixedKindsAndErrors)
{
    RowSet rows;
    QString error;
    ASSERT_TRUE(rows.open(db(), QStringLiteral("SELECT * FROM T WHERE (K = :k OR -1 = :k) ORDER BY K"), {{QStringLiteral(":k"), -1}}, &error, 2));
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_TRUE(rows.canFetchMore());
    rows.fetchAll();
    EXPECT_EQ(rows.rowCount(), 4);
    // The V column starts as numbers and meets text: it keeps every value as shown.
    const int v = rows.fieldIndex(QStringLiteral("v"));
    EXPECT_EQ(rows.text(0, v), QStringLiteral("10"));
    EXPECT_TRUE(rows.isNull(1, v));
    EXPECT_EQ(rows.text(2, v), QStringLiteral("x12"));
    EXPECT_EQ(rows.text(3, v), QStringLiteral("2.5"));
    EXPECT_EQ(rows.text(0, rows.fieldIndex(QStringLiteral("NAME"))), QStringLiteral("الف"));

    ASSERT_TRUE(rows.open(db(), QStringLiteral("SELECT * FROM T WHERE K = :k"), {{QStringLiteral("k"), 3}}));
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_FALSE(rows.open(db(), QStringLiteral("SELECT * FROM NOSUCH"), {}, &error));
    EXPECT_FALSE(error.isEmpty());

    const auto sums = sumsOver(db(), QStringLiteral("SELECT * FROM T WHERE K <> :k\nORDER BY K"), {{QStringLiteral(":k"), 2}}, {QStringLiteral("K")});
    ASSERT_TRUE(sums.has_value());
    EXPECT_EQ((*sums)[0], 8.0);
}
