#include "core/startup/ConnectionFiles.h"
#include "core/startup/ParadoxTable.h"
#include "support/TestSupport.h"
#include "core/util/Scramble.h"

#include <QFile>
extern "C" {
#include <paradox.h>
}
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::startup;
using namespace orvak::db;

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(ParadoxTable, EmptyConnectionTableShape)
{
    const QByteArray b = emptyConnectionTable();
    ASSERT_EQ(b.size(), 2048);
    EXPECT_EQ(quint8(b[0]), 50);        // record size
    EXPECT_EQ(quint8(b[4]), 2);         // non-indexed table
    EXPECT_EQ(quint8(b[5]), 2);         // 2 KB blocks
    EXPECT_EQ(quint8(b[0x39]), 0x0C);   // Paradox 7
    EXPECT_TRUE(b.contains("SERVER.DB"));
    EXPECT_TRUE(b.contains("DBWINUS0"));
    const auto t = readParadoxTable(b);
    ASSERT_TRUE(t.has_value());
    ASSERT_EQ(t->fields.size(), 2);
    EXPECT_EQ(t->fields[0].name, QByteArray("#"));
    EXPECT_EQ(t->fields[0].size, 30);
    EXPECT_EQ(t->fields[1].name, QByteArray("@"));
    EXPECT_EQ(t->fields[1].size, 20);
    EXPECT_TRUE(t->records.isEmpty());
}

TEST(ParadoxTable, ManyRecordsSpanBlocksAndBadBytesAreRefused)
{
    ParadoxTable t;
    t.tableName = "T.DB";
    t.languageDriver = "DBWINUS0";
    t.fields = {{"A", 10}, {"B", 5}};
    for (int i = 0; i < 300; ++i)
        t.records << QList<QByteArray>{QByteArray::number(i), "x"};
    const auto back = readParadoxTable(writeParadoxTable(t));
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->records.size(), 300);
    EXPECT_EQ(back->records[299][0], QByteArray("299"));

    for (const QByteArray& bad : {QByteArray(), QByteArray("SERVER"), QByteArray(2048, '\xFF'), emptyConnectionTable().left(100)})
        EXPECT_FALSE(readParadoxTable(bad).has_value());
    QByteArray truncated = writeParadoxTable(t);
    truncated.chop(1000);
    EXPECT_FALSE(readParadoxTable(truncated).has_value());
}

TEST(ConnectionFile, MissingFileIsWrittenEmptyAndSavedSettingsReadBack)
{
    QTemporaryDir dir;
    ConnectionSettings s;
    EXPECT_EQ(ReadConnectionFile(dir.path(), 275, s), ConnectionFileState::NoServer);
    EXPECT_EQ(readAll(connectionFilePath(dir.path())), emptyConnectionTable());

    ASSERT_TRUE(SaveConnectionFile(dir.path(), 275, QStringLiteral("SRV01"), QStringLiteral("رمز-123")));
    const QByteArray stored = readAll(connectionFilePath(dir.path()));
    EXPECT_FALSE(stored.contains("123"));   // never in clear
    ConnectionSettings read;
    ASSERT_EQ(ReadConnectionFile(dir.path(), 275, read), ConnectionFileState::Ready);
    EXPECT_EQ(read.serverName, QStringLiteral("SRV01"));
    EXPECT_EQ(read.sqlPassword, QStringLiteral("رمز-123"));
    EXPECT_EQ(read.connectionMode, 1);

    // Another installation's keys do not open the password.
    ConnectionSettings other;
    ReadConnectionFile(dir.path(), 276, other);
    EXPECT_NE(other.sqlPassword, QStringLiteral("رمز-123"));

    writeAll(modeFilePath(dir.path()), "3\r\n");
    ASSERT_EQ(ReadConnectionFile(dir.path(), 275, read), ConnectionFileState::Ready);
    EXPECT_EQ(read.connectionMode, 3);

    // A password that would not fit the field is refused, not cut.
    EXPECT_FALSE(SaveConnectionFile(dir.path(), 275, QStringLiteral("SRV01"), QString(21, QLatin1Char('p'))));
    EXPECT_FALSE(SaveConnectionFile(dir.path(), 275, QString(31, QLatin1Char('s')), QStringLiteral("x")));
}

TEST(ConnectionFile, LongStoredPasswordIsCutAndCorruptFileIsReported)
{
    QTemporaryDir dir;
    ParadoxTable t;
    t.tableName = "SERVER.DB";
    t.languageDriver = "DBWINUS0";
    t.fields = {{"#", 30}, {"@", 40}};
    const QByteArray clear(35, 'k');
    t.records << QList<QByteArray>{"SRV", *orvak::util::ScrambleBytes(clear.left(30), 275, 100000 - 275) + QByteArray(5, 'z')};
    writeAll(connectionFilePath(dir.path()), writeParadoxTable(t));
    ConnectionSettings s;
    ASSERT_EQ(ReadConnectionFile(dir.path(), 275, s), ConnectionFileState::Ready);
    EXPECT_EQ(s.sqlPassword, QString(30, QLatin1Char('k')));

    writeAll(connectionFilePath(dir.path()), "not a table");
    QString error;
    EXPECT_EQ(ReadConnectionFile(dir.path(), 275, s, &error), ConnectionFileState::Unreadable);
    EXPECT_FALSE(error.isEmpty());
}

TEST(ConnectionFile, ChosenYearAndBackupFolder)
{
    QTemporaryDir dir;
    EXPECT_FALSE(readChosenYear(dir.path()).has_value());
    ASSERT_TRUE(writeChosenYear(dir.path(), 1402));
    EXPECT_EQ(readChosenYear(dir.path()), std::optional<int>(1402));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("SelYCSep.INI"))), QByteArray("0\r\n1402\r\n"));
    ASSERT_TRUE(writeLastBackupFolder(dir.path(), QStringLiteral("D:\\پشتيبان")));
    EXPECT_EQ(readLastBackupFolder(dir.path()), QStringLiteral("D:\\پشتيبان"));
}

TEST(ParadoxTable, AnotherParadoxReaderReadsTheConnectionTable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SaveConnectionFile(dir.path(), 275, QStringLiteral("SRV-01"), QStringLiteral("p@ss")));
    pxdoc_t* doc = PX_new();
    ASSERT_GE(PX_open_file(doc, QFile::encodeName(connectionFilePath(dir.path())).constData()), 0);
    EXPECT_EQ(PX_get_num_fields(doc), 2);
    ASSERT_EQ(PX_get_num_records(doc), 1);
    pxfield_t* fields = PX_get_fields(doc);
    EXPECT_STREQ(fields[0].px_fname, "#");
    EXPECT_EQ(fields[0].px_flen, 30);
    EXPECT_STREQ(fields[1].px_fname, "@");
    EXPECT_EQ(fields[1].px_flen, 20);
    pxval_t** values = PX_retrieve_record(doc, 0);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(QByteArray(values[0]->value.str.val, values[0]->value.str.len), QByteArray("SRV-01"));
    const QByteArray stored(values[1]->value.str.val, values[1]->value.str.len);
    EXPECT_EQ(*orvak::util::ScrambleBytes(stored, 275, 100000 - 275), QByteArray("p@ss"));
    for (int i = 0; i < 2; ++i) {
        if (values[i]->value.str.val)
            doc->free(doc, values[i]->value.str.val);
        doc->free(doc, values[i]);
    }
    doc->free(doc, values);
    PX_close(doc);
    PX_delete(doc);
}
