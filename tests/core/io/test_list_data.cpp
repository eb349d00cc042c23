#include "core/io/FilterExpression.h"
#include "core/io/ListData.h"
#include "support/TestSupport.h"

#include <QSqlQuery>
#include <QStringDecoder>
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
    struct Case { const char* sql; QList<SortField> fields; const char* expected; };
    const Case cases[] = {
        {"SELECT * FROM T\nORDER BY K", {{"NAME", true}}, "SELECT * FROM T\nORDER BY [NAME] ASC"},
        {"SELECT * FROM T\norder by [NAME] ASC", {{"NAME", false}}, "SELECT * FROM T\norder by [NAME] DESC"},
        {"SELECT * FROM T\nORDER BY [CLASSCODE] DESC", {{"CLASSCODE", true}, {"K", false}}, "SELECT * FROM T\nORDER BY [CLASSCODE] ASC, [K] DESC"},
        {"SELECT * FROM T WHERE 1=1", {{"K", true}}, "SELECT * FROM T WHERE 1=1"},
        {"SELECT * FROM T\nORDER BY K", {}, "SELECT * FROM T\nORDER BY K"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orderedSql(QString::fromUtf8(c.sql), c.fields), QString::fromUtf8(c.expected)) << c.sql;
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

TEST(ListData, ColumnsKeepEachValueAsItReadsAndWidenWhenOneDoesNotFit)
{
    // One column per case, its values in the order they are read; nullptr for NULL.
    struct Case {
        const char* values;   // a SELECT's VALUES list of one column
        bool numeric;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {"(NULL), (NULL), (7)", true, {nullptr, nullptr, "7"}},
        {"(1), (2.5), (NULL), (3)", true, {"1", "2.500", nullptr, "3"}},
        {"(1), ('12'), (2)", true, {"1", "12", "2"}},   // text that reads as a whole number
        {"(0.1), ('x'), (2)", false, {"0.1", "x", "2"}},
        {"(NULL), ('شرکت كيان'), (''), (NULL), ('یک')", false, {nullptr, "شرکت كيان", "", nullptr, "یک"}},
    };
    for (const Case& c : cases) {
        RowSet rows;
        QString error;
        ASSERT_TRUE(rows.open(db(), QStringLiteral("SELECT * FROM (VALUES %1)").arg(QString::fromUtf8(c.values)), {}, &error, 1)) << error.toStdString();
        rows.fetchAll();
        ASSERT_EQ(size_t(rows.rowCount()), c.texts.size()) << c.values;
        EXPECT_EQ(rows.isNumeric(0), c.numeric) << c.values;
        for (int r = 0; r < rows.rowCount(); ++r) {
            const QString expected = QString::fromUtf8(c.texts[size_t(r)]);
            EXPECT_EQ(rows.isNull(r, 0), c.texts[size_t(r)] == nullptr) << c.values << " row " << r;
            EXPECT_EQ(rows.text(r, 0), expected) << c.values << " row " << r;
            if (!c.numeric) {
                EXPECT_EQ(rows.textView(r, 0), expected) << c.values << " row " << r;
            }
        }
    }
}

TEST(ListData, RowsTakeLittleMoreThanTheirValues)
{
    // 2,000 rows of a whole number and a Persian text of 20 letters: 8 + 40 bytes of
    // values a row.
    RowSet rows;
    rows.setFieldNames({QStringLiteral("K"), QStringLiteral("NAME")});
    const QString name = QStringLiteral("سپرده حسن انجام کار ");
    ASSERT_EQ(name.size(), 20);
    for (int i = 0; i < 2000; ++i)
        rows.appendRow({i, name});
    EXPECT_EQ(rows.textView(1999, 1), name);
    EXPECT_LE(rows.bytesHeld(), qint64(2000 * 48 * 3 / 2));
}

TEST(ListData, AReadingThatFailsAfterTheFirstRowsSaysSo)
{
    RowSet rows;
    QString error;
    // abs() of the smallest integer fails at the step that reaches the third row.
    ASSERT_TRUE(rows.open(db(), QStringLiteral("SELECT CASE WHEN K = 3 THEN abs(K - 9223372036854775807 - 4) ELSE K END FROM T"), {}, &error, 1));
    EXPECT_TRUE(rows.failure().isEmpty());
    rows.fetchAll();
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_FALSE(rows.failure().isEmpty());
}

TEST(ListData, TextsReadAsQtDecodesTheirBytes)
{
    // Texts and blobs of every kind of byte run, well formed or not, past a block of
    // rows: each cell reads exactly as Qt's UTF-8 decoder gives it.
    QSqlDatabase d = db();
    QSqlQuery q(d);
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE BYTES (N INT, B)")));
    std::vector<QByteArray> cells = {
        "a", "", "0123456789abcdefXYZ", QStringLiteral("سپرده‌ها ۱۴۰۵/۰۱/۰۱").toUtf8(),
        "\xEF\xBB\xBF" "A", "A\xEF\xBB\xBF" "B", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xD8", "\xE2\x80",
        "\x80" "abc", "\xF0\x9F\x98\x80", "\xF4\x90\x80\x80", "\xFE\xFF", "\xEF\xBF\xBF", "\xEF\xB7\x90",
        QByteArray("A\0B", 3), "\xE2\x80\x8C\xD8\xB3",
    };
    const unsigned char alphabet[] = {0x41, 0x00, 0x80, 0xBF, 0xC2, 0xD8, 0xDF, 0xE0, 0xE2, 0xED, 0xEF, 0xF0, 0xF4, 0xFF, 0xA0, 0x9F, 0xBB, 0xB3};
    quint32 seed = 12345;
    while (cells.size() < 5000) {
        QByteArray b;
        seed = seed * 1103515245 + 12345;
        const int size = int((seed >> 16) % 24);
        for (int i = 0; i < size; ++i) {
            seed = seed * 1103515245 + 12345;
            b += char(alphabet[(seed >> 16) % sizeof(alphabet)]);
        }
        cells.push_back(b);
    }
    ASSERT_TRUE(d.transaction());
    ASSERT_TRUE(q.prepare(QStringLiteral("INSERT INTO BYTES VALUES (?, ?)")));
    for (size_t i = 0; i < cells.size(); ++i) {
        q.addBindValue(int(i));
        q.addBindValue(i < 19 ? QVariant(QString::fromLatin1("")) : QVariant(cells[i]));   // replaced below
        ASSERT_TRUE(q.exec());
    }
    ASSERT_TRUE(d.commit());
    // The first cells as text (their bytes as they are), the rest as blobs.
    QSqlQuery text(d);
    for (size_t i = 0; i < 19; ++i)
        ASSERT_TRUE(text.exec(QStringLiteral("UPDATE BYTES SET B = CAST(X'%1' AS TEXT) WHERE N = %2").arg(QString::fromLatin1(cells[i].toHex())).arg(i)));

    RowSet rows;
    QString error;
    ASSERT_TRUE(rows.open(d, QStringLiteral("SELECT B FROM BYTES ORDER BY N"), {}, &error, 7)) << error.toStdString();
    rows.fetchAll();
    ASSERT_EQ(size_t(rows.rowCount()), cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString expected = decoder.decode(cells[i]);
        EXPECT_EQ(rows.textView(int(i), 0), expected) << "row " << i << " bytes " << cells[i].toHex().toStdString();
    }
}
