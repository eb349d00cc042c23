#include "core/io/ZipArchive.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::io;
using orvak::test::fileBytes;
using orvak::test::writeBytes;

namespace {

// Half text, half noise: something to deflate and something that does not shrink.
QByteArray sample()
{
    QByteArray bytes = QByteArray("SQLite format 3").repeated(20000);
    QByteArray noise(300000, Qt::Uninitialized);
    QRandomGenerator gen(7);
    for (char& c : noise)
        c = char(gen.bounded(256));
    return bytes + noise;
}

} // namespace

TEST(ZipArchive, RoundTripIsAStandardArchive)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.BAK"));
    const QString archive = dir.filePath(QStringLiteral("a.BAK.zip"));
    const QByteArray content = sample();
    ASSERT_TRUE(writeBytes(file, content));
    QString why;
    ASSERT_TRUE(zipOneFile(file, QStringLiteral("ORVAK_ORVAKSEPC0_14031010.BAK"), archive, &why)) << why.toStdString();
    EXPECT_TRUE(isZipArchive(archive));
    EXPECT_FALSE(isZipArchive(file));
    EXPECT_LT(QFileInfo(archive).size(), content.size());
    EXPECT_FALSE(QFile::exists(archive + QStringLiteral(".part")));
    EXPECT_EQ(QFile::permissions(archive) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());

    // Any archive tool takes it.
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (!unzip.isEmpty()) {
        QProcess p;
        p.start(unzip, {QStringLiteral("-t"), archive});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
        p.start(unzip, {QStringLiteral("-p"), archive});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.readAllStandardOutput(), content);
    }

    const QString back = dir.filePath(QStringLiteral("back"));
    const Unzipped u = unzipOneFile(archive, back);
    EXPECT_EQ(u.outcome, UnzipOutcome::Done);
    EXPECT_EQ(u.entry, QStringLiteral("ORVAK_ORVAKSEPC0_14031010.BAK"));
    EXPECT_EQ(fileBytes(back), content);
}

TEST(ZipArchive, DamagedOrForeignArchivesLeaveNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.BAK"));
    ASSERT_TRUE(writeBytes(file, sample()));
    const QString good = dir.filePath(QStringLiteral("good.zip"));
    QString why;
    ASSERT_TRUE(zipOneFile(file, QStringLiteral("a.BAK"), good, &why));
    const QByteArray archive = fileBytes(good);

    QByteArray flipped = archive;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);   // inside the compressed data
    QByteArray twoFiles;
    {
        // Written by the system's zip tool when there is one: a sound archive of two files.
        const QString zip = QStandardPaths::findExecutable(QStringLiteral("zip"));
        if (!zip.isEmpty()) {
            ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("b.txt")), "b"));
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.start(zip, {QStringLiteral("-q"), QStringLiteral("two.zip"), QStringLiteral("a.BAK"), QStringLiteral("b.txt")});
            ASSERT_TRUE(p.waitForFinished(60000));
            twoFiles = fileBytes(dir.filePath(QStringLiteral("two.zip")));
        }
    }
    struct Case {
        const char* what;
        QByteArray bytes;
        UnzipOutcome outcome;
    };
    QList<Case> cases{
        {"cut in half", archive.left(archive.size() / 2), UnzipOutcome::Damaged},
        {"a byte changed", flipped, UnzipOutcome::Damaged},
        {"not an archive", QByteArray("PK\x03\x04 but nothing else"), UnzipOutcome::Damaged},
        {"empty", QByteArray(), UnzipOutcome::Damaged},
    };
    if (!twoFiles.isEmpty())
        cases << Case{"two files", twoFiles, UnzipOutcome::Foreign};
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("case.zip"));
        ASSERT_TRUE(writeBytes(path, c.bytes));
        const QString target = dir.filePath(QStringLiteral("out"));
        EXPECT_EQ(unzipOneFile(path, target).outcome, c.outcome) << c.what;
        EXPECT_FALSE(QFile::exists(target)) << c.what;
    }
}

TEST(ZipArchive, AFailedWriteKeepsTheOldArchive)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("a.zip"));
    ASSERT_TRUE(writeBytes(archive, "old"));
    QString why;
    EXPECT_FALSE(zipOneFile(dir.filePath(QStringLiteral("missing.BAK")), QStringLiteral("a.BAK"), archive, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(fileBytes(archive), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.zip")});
}
