#include "core/startup/ConnectionStrings.h"
#include "core/db/mssql/OdbcString.h"
#include "core/db/mssql/SqlServerStatements.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace orvak::startup;
using namespace orvak::db;

namespace {
ConnectionSettings settings(int mode)
{
    ConnectionSettings s;
    s.serverName = QStringLiteral("SRV\\SQL2008");
    s.sqlPassword = QStringLiteral("p;w}d");
    s.connectionMode = mode;
    return s;
}
} // namespace

TEST(ConnectionStrings, EveryModeAsTheFamilyBuildsIt)
{
    const QString tail = QStringLiteral(";Persist Security Info=True;User ID=orvak;Initial Catalog=orvak;Data Source=SRV\\SQL2008");
    EXPECT_EQ(connectionString(settings(1), QStringLiteral("ORVAK275")),
              QStringLiteral("Provider=sqloledb;Data Source=SRV\\SQL2008;Initial Catalog=ORVAK275;User Id=orvak;Password=p;w}d"));
    EXPECT_EQ(connectionString(settings(2), QStringLiteral("X")), QStringLiteral("Provider=SQLNCLI.1;Password=p;w}d") + tail);
    EXPECT_EQ(connectionString(settings(3), QStringLiteral("X")), QStringLiteral("Provider=SQLNCLI10.1;Password=p;w}d") + tail);
    EXPECT_EQ(connectionString(settings(4), QStringLiteral("X")), QStringLiteral("Provider=SQLOLEDB.1;Password=p;w}d") + tail);
    // The common database: modes 2 and 3 keep the fixed catalogue, 4 takes the mode-1 form.
    EXPECT_TRUE(commonConnectionString(settings(3), QStringLiteral("ORVAK275")).startsWith(QStringLiteral("Provider=SQLNCLI10.1;Password=")));
    EXPECT_TRUE(commonConnectionString(settings(4), QStringLiteral("ORVAK275")).startsWith(QStringLiteral("Provider=sqloledb;")));
    EXPECT_TRUE(commonConnectionString(settings(4), QStringLiteral("ORVAK275")).contains(QStringLiteral("Initial Catalog=ORVAK275;")));

    EXPECT_EQ(depositConnectionString(settings(1), QStringLiteral("ORVAKSEP275C0")),
              QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Password=\"p;w}d\";User ID=orvak;Initial Catalog=ORVAKSEP275C0;"
                             "Data Source=SRV\\SQL2008;Use Procedure for Prepare=1;Auto Translate=False;Packet Size=4096;"
                             "Workstation ID=localhost;Use Encryption for Data=False;Tag with column collation when possible=False"));
    EXPECT_EQ(databaseParameters(settings(1), QStringLiteral("ORVAK")),
              (QStringList{QStringLiteral("DATABASE NAME=ORVAK"), QStringLiteral("SERVER NAME=SRV\\SQL2008"),
                           QStringLiteral("USER NAME=orvak"), QStringLiteral("PASSWORD=p;w}d")}));
    EXPECT_FALSE(maskPassword(connectionString(settings(1), QStringLiteral("X")), QStringLiteral("p;w}d")).contains(QStringLiteral("p;w}d")));
}

TEST(ConnectionStrings, OdbcFormBracesEveryValue)
{
    EXPECT_EQ(odbcConnectionString(QStringLiteral("SRV"), QStringLiteral("ORVAK"), QStringLiteral("orvak"), QStringLiteral("p;w}d"),
                                   QStringLiteral("SQL Server")),
              QStringLiteral("DRIVER={SQL Server};SERVER={SRV};DATABASE={ORVAK};UID={orvak};PWD={p;w}}d}"));
    EXPECT_TRUE(odbcConnectionString(QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("u"), QStringLiteral("p"),
                                     QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"))
                    .endsWith(QStringLiteral(";TDS_Version=7.3;ClientCharset=UTF-8")));
}

TEST(SqlServerStatements, FacilitiesAsIssued)
{
    using namespace orvak::db::mssql;
    EXPECT_EQ(databaseExists(QStringLiteral("orvak275")),
              QStringLiteral("SELECT UPPER(name) FROM master.dbo.sysdatabases WHERE UPPER(name) = 'ORVAK275'"));
    EXPECT_EQ(loginExists(QStringLiteral("orvak")),
              QStringLiteral("select loginname  from master.dbo.syslogins where loginname = N'orvak'"));
    EXPECT_EQ(createDatabase(QStringLiteral("ORVAKSEP275C0")), QStringLiteral("create database ORVAKSEP275C0"));
    EXPECT_EQ(setCompatibility80(QStringLiteral("ORVAK")), QStringLiteral("EXEC dbo.sp_dbcmptlevel @dbname=ORVAK, @new_cmptlevel=80"));
    EXPECT_EQ(tableExists(QStringLiteral("O'X")),
              QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME = 'O''X'"));
    EXPECT_EQ(serverVersion(), QStringLiteral("select @@version as SQLVer"));
    EXPECT_EQ(backupText(QStringLiteral("ORVAKSEPC0"), QStringLiteral("D:\\BK\\a.BAK")),
              QStringLiteral("BACKUP DATABASE ORVAKSEPC0  TO DISK ='D:\\BK\\a.BAK'"));
    EXPECT_EQ(restoreText(QStringLiteral("ORVAKSEPC0"), QStringLiteral("D:\\a.BAK"), QStringLiteral("ORVAK_Data"), QStringLiteral("ORVAK_Log"),
                          QStringLiteral("D:\\DATA\\")),
              QStringLiteral("RESTORE DATABASE ORVAKSEPC0  FROM DISK ='D:\\a.BAK' WITH REPLACE,MOVE \"ORVAK_Data\" TO "
                             "\"D:\\DATA\\ORVAKSEPC0_DATA.MDF\", REPLACE,MOVE \"ORVAK_Log\" TO \"D:\\DATA\\ORVAKSEPC0_LOG.LDF\""));
    EXPECT_TRUE(backupStatement(QStringLiteral("X")).endsWith(QStringLiteral("TO DISK = :file")));
    EXPECT_EQ(labelledBackupStatement(QStringLiteral("ORVAK")), QStringLiteral("BACKUP DATABASE ORVAK  TO DISK = :file WITH DESCRIPTION = :label"));
    EXPECT_EQ(restoreHeaderStatement(), QStringLiteral("RESTORE HEADERONLY FROM DISK = :file"));
    EXPECT_EQ(singleUserStatement(QStringLiteral("ORVAKSEPC0")), QStringLiteral("ALTER DATABASE ORVAKSEPC0 SET SINGLE_USER WITH NO_WAIT"));
    EXPECT_EQ(multiUserStatement(QStringLiteral("ORVAKSEPC0")), QStringLiteral("ALTER DATABASE ORVAKSEPC0 SET MULTI_USER"));
    EXPECT_TRUE(isSafeName(QStringLiteral("ORVAKC275C0Y1403")));
    for (const char* bad : {"", "ORVAK;DROP", "a b", "x'y", "[x]"})
        EXPECT_FALSE(isSafeName(QString::fromLatin1(bad))) << bad;
}

TEST(SqlServerStatements, CreationScriptReplacesEveryPlaceholder)
{
    const QStringList script = {QStringLiteral("CREATE DATABASE DBNAME ON (NAME = DBNAME_Data, FILENAME = 'DBPATH\\DBNAME_Data.MDF')"),
                                QStringLiteral("@RUN"), QStringLiteral("ALTER DATABASE DBNAME SET RECOVERY SIMPLE"),
                                QStringLiteral("@RUN"), QStringLiteral("@END"), QStringLiteral("never run")};
    const QStringList statements = orvak::db::mssql::creationStatements(script, QStringLiteral("ORVAK"), QStringLiteral("D:\\DATA\\"));
    ASSERT_EQ(statements.size(), 2);
    EXPECT_EQ(statements[0].trimmed(), QStringLiteral("CREATE DATABASE ORVAK ON (NAME = ORVAK_Data, FILENAME = 'D:\\DATA\\ORVAK_Data.MDF')"));
    EXPECT_EQ(statements[1].trimmed(), QStringLiteral("ALTER DATABASE ORVAK SET RECOVERY SIMPLE"));
    const QStringList standard = orvak::db::mssql::creationStatements(orvak::db::mssql::defaultCreationScript(),
                                                                           QStringLiteral("ORVAK"), QStringLiteral("D:\\DATA"));
    ASSERT_EQ(standard.size(), 1);
    EXPECT_TRUE(standard[0].contains(QStringLiteral("COLLATE SQL_Latin1_General_CP1256_CI_AS")));
    EXPECT_TRUE(standard[0].contains(QStringLiteral("D:\\DATA\\ORVAK_Log.LDF")));
}

TEST(SqlServerStatements, QuotesInFoldersAndFilesAreDoubledAndNamesChecked)
{
    using namespace orvak::db::mssql;
    const QStringList made = creationStatements(defaultCreationScript(), QStringLiteral("ORVAK"), QStringLiteral("D:\\O'Brien\\"));
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].contains(QStringLiteral("FILENAME = N'D:\\O''Brien\\ORVAK_Data.MDF'"))) << made[0].toStdString();
    EXPECT_TRUE(made[0].contains(QStringLiteral("FILENAME = N'D:\\O''Brien\\ORVAK_Log.LDF'")));
    EXPECT_FALSE(made[0].contains(QStringLiteral("O'Brien")));

    EXPECT_EQ(backupText(QStringLiteral("ORVAK"), QStringLiteral("D:\\O'Brien\\a.BAK")),
              QStringLiteral("BACKUP DATABASE ORVAK  TO DISK ='D:\\O''Brien\\a.BAK'"));
    EXPECT_EQ(restoreFileListText(QStringLiteral("D:\\O'B.BAK")), QStringLiteral("RESTORE FILELISTONLY FROM DISK ='D:\\O''B.BAK'"));
    const QString restore = restoreText(QStringLiteral("ORVAK"), QStringLiteral("D:\\O'B.BAK"), QStringLiteral("a\"b"),
                                        QStringLiteral("L"), QStringLiteral("D:\\Say \"x\""));
    EXPECT_TRUE(restore.contains(QStringLiteral("FROM DISK ='D:\\O''B.BAK' WITH")));
    EXPECT_TRUE(restore.contains(QStringLiteral("MOVE \"a\"\"b\" TO \"D:\\Say \"\"x\"\"\\ORVAK_DATA.MDF\"")));

    // Names go into the text bare: one that is not a plain name gives no statement.
    struct Case { const char* what; QString text; };
    const QString bad = QStringLiteral("ORVAK]; DROP DATABASE X; --");
    const Case refused[] = {
        {"create", createDatabase(bad)},
        {"attach", attachDatabase(bad)},
        {"compatibility", setCompatibility80(bad)},
        {"backup", backupStatement(bad)},
        {"restore", restoreStatement(bad)},
        {"creation script", creationStatements(defaultCreationScript(), bad, QStringLiteral("D:\\DATA")).join(QString())},
        {"folder with a line break", creationStatements(defaultCreationScript(), QStringLiteral("ORVAK"), QStringLiteral("D:\\A\nGO")).join(QString())},
    };
    for (const Case& c : refused)
        EXPECT_TRUE(c.text.isEmpty()) << c.what << ": " << c.text.toStdString();
    EXPECT_EQ(attachDatabase(QStringLiteral("ORVAK")), QStringLiteral("CREATE DATABASE ORVAK ON (FILENAME = :file) FOR ATTACH"));
    EXPECT_EQ(loginExists(QStringLiteral("o'rvak")), QStringLiteral("select loginname  from master.dbo.syslogins where loginname = N'o''rvak'"));
}
