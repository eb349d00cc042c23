#include "core/basedata/CodingTransfer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::basedata;
using startup::ScriptedPrompt;

namespace {

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

void exec(QSqlDatabase db, const QString& sql)
{
    QString why;
    ASSERT_TRUE(db::execSql(db, sql, {}, &why)) << why.toStdString() << " " << sql.toStdString();
}

struct Office : test::DemoOffice {
    Office() { session->setCurrentUserCode(3); }
    TransferResult run(AccountingKind k)
    {
        ScriptedPrompt p({}, true);
        return CodingTransfer(*session).fromAccounting(k, 1405, p);
    }
};

// A party the common chart lacks, one of the same name with new account numbers,
// one of another name; run twice, the second inserts and changes nothing.
TEST(CodingTransfer, DetailAccountsTwice)
{
    Office o;
    const auto known = db::firstRow(o.session->common(), QStringLiteral("SELECT CODE, NAME FROM TAFSILI WHERE CI = 0 ORDER BY CODE"));
    const auto other = db::firstRow(o.session->common(), QStringLiteral("SELECT CODE, NAME FROM TAFSILI WHERE CI = 0 ORDER BY CODE DESC"));
    QSqlDatabase acc = o.session->accounting();
    exec(acc, QStringLiteral("DELETE FROM TAFSILI"));
    exec(acc, QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, HESABJARI, HESABMOSHTARAK) VALUES (990001, 'شرکت تازه', '111', '222')"));
    exec(acc, QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, HESABJARI, HESABMOSHTARAK) VALUES (%1, '%2', '0101', '0202')")
                  .arg(known->value(0).toInt()).arg(known->value(1).toString().trimmed()));
    exec(acc, QStringLiteral("INSERT INTO TAFSILI (CODE, NAME) VALUES (%1, 'نام ديگر')").arg(other->value(0).toInt()));
    const TransferResult first = o.run(AccountingKind::DetailAccounts);
    ASSERT_TRUE(first) << first.message.toStdString();
    EXPECT_EQ(first.read, 3);
    EXPECT_EQ(first.inserted, 1);
    EXPECT_EQ(first.updated, 1);
    EXPECT_EQ(first.conflicts, 1);
    EXPECT_EQ(first.message, QStringLiteral("1 کد تغيير کرده است "));
    EXPECT_EQ(first.left, QStringList{QStringLiteral("%1 - نام ديگر").arg(other->value(0).toInt())});
    EXPECT_EQ(first.right, QStringList{QStringLiteral("%1 - %2").arg(other->value(0).toInt()).arg(other->value(1).toString().trimmed())});
    EXPECT_EQ(count(o.session->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE CODE = 990001 AND CI = 0 AND HESABJARI = '111'")), 1);
    EXPECT_EQ(db::scalar(o.session->common(), QStringLiteral("SELECT HESABJARI FROM TAFSILI WHERE CI = 0 AND CODE = %1").arg(known->value(0).toInt()))
                  ->toString().trimmed(), QStringLiteral("0101"));
    // The conflicting party keeps the common name.
    EXPECT_EQ(db::scalar(o.session->common(), QStringLiteral("SELECT NAME FROM TAFSILI WHERE CI = 0 AND CODE = %1").arg(other->value(0).toInt()))
                  ->toString().trimmed(), other->value(1).toString().trimmed());
    const qint64 history = test::historyCount(*o.session);
    const TransferResult second = o.run(AccountingKind::DetailAccounts);
    EXPECT_EQ(second.inserted, 0);
    EXPECT_EQ(second.updated, 0);
    EXPECT_EQ(second.conflicts, 1);
    EXPECT_EQ(test::historyCount(*o.session), history);
}

// Project 7 under plan 3 of 1405 becomes 1405 × 10000 + 7 under 1405 × 10000 + 3; a
// nameless common project takes the name, and the project numbered as the source
// (without the year) is left alone.
TEST(CodingTransfer, ProjectsWithTheYearInTheirNumber)
{
    Office o;
    QSqlDatabase acc = o.session->accounting();
    QSqlDatabase common = o.session->common();
    exec(acc, QStringLiteral("DELETE FROM PROJEH"));
    exec(acc, QStringLiteral("INSERT INTO PROJEH (PROJNO, CODP, NAMEP, KIND, TARHNO) VALUES (7, 'P7', 'پروژه هفت', 1, 3)"));
    exec(acc, QStringLiteral("INSERT INTO PROJEH (PROJNO, CODP, NAMEP, KIND, TARHNO) VALUES (8, 'P8', 'پروژه هشت', 1, 3)"));
    exec(common, QStringLiteral("DELETE FROM PROJEH WHERE CI = 0 AND PROJNO IN (8, 14050007, 14050008)"));
    exec(common, QStringLiteral("INSERT INTO PROJEH (CI, PROJNO, NAMEP) VALUES (0, 14050008, NULL)"));
    exec(common, QStringLiteral("INSERT INTO PROJEH (CI, PROJNO, TARHNO, NAMEP) VALUES (0, 8, 99, 'پروژه محلي')"));
    const TransferResult first = o.run(AccountingKind::Projects);
    ASSERT_TRUE(first) << first.message.toStdString();
    EXPECT_EQ(first.inserted, 1);
    EXPECT_EQ(first.updated, 1);
    EXPECT_EQ(first.message, QStringLiteral("اطلاعات منتقل شد"));
    const auto seven = db::firstRow(common, QStringLiteral("SELECT TARHNO, NAMEP, SAL_MOF FROM PROJEH WHERE CI = 0 AND PROJNO = 14050007"));
    ASSERT_TRUE(seven);
    EXPECT_EQ(seven->value(0).toLongLong(), 14050003);
    EXPECT_EQ(seven->value(1).toString().trimmed(), QStringLiteral("پروژه هفت"));
    EXPECT_EQ(seven->value(2).toInt(), 1405);
    EXPECT_EQ(db::scalar(common, QStringLiteral("SELECT NAMEP FROM PROJEH WHERE CI = 0 AND PROJNO = 14050008"))->toString().trimmed(), QStringLiteral("پروژه هشت"));
    const auto local = db::firstRow(common, QStringLiteral("SELECT TARHNO, NAMEP FROM PROJEH WHERE CI = 0 AND PROJNO = 8"));
    EXPECT_EQ(local->value(0).toInt(), 99);
    EXPECT_EQ(local->value(1).toString().trimmed(), QStringLiteral("پروژه محلي"));
    const TransferResult second = o.run(AccountingKind::Projects);
    EXPECT_EQ(second.inserted + second.updated, 0);
}

TEST(CodingTransfer, ContractsPlansAndSectionsTwice)
{
    Office o;
    QSqlDatabase acc = o.session->accounting();
    QSqlDatabase common = o.session->common();
    exec(acc, QStringLiteral("DELETE FROM PAYMENTS"));
    exec(acc, QStringLiteral("DELETE FROM TARH"));
    exec(acc, QStringLiteral("INSERT INTO PAYMENTS (CODE, PAYMENTNO, AMOUNT, TAFSILNO, PAYMENTYEAR) VALUES (880001, 'ق-1', 5000000, 1, 1405)"));
    exec(acc, QStringLiteral("INSERT INTO TARH (CODE, CODT, NAMET, KIND, SAL) VALUES (770001, 'T1', 'طرح نمونه', 1, 1405)"));
    for (AccountingKind k : {AccountingKind::Contracts, AccountingKind::Plans}) {
        EXPECT_EQ(o.run(k).inserted, 1);
        EXPECT_EQ(o.run(k).inserted, 0);
    }
    EXPECT_EQ(count(common, QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE CODE = 880001 AND TAFSIL = 1")), 1);
    EXPECT_EQ(count(common, QStringLiteral("SELECT COUNT(*) FROM TARH WHERE CODE = 770001 AND CI = 0 AND SAL_MOF = 1405")), 1);

    exec(common, QStringLiteral("INSERT INTO TAFSILI (CI, CODE, NAME, NID) VALUES (2, 995001, 'طرف بخش جاري', '123')"));
    exec(common, QStringLiteral("INSERT INTO PROJEH (CI, PROJNO, NAMEP) VALUES (2, 995002, 'پروژه بخش جاري')"));
    exec(common, QStringLiteral("INSERT INTO PAYMENTS (CI, CODE, PAYMENTNO) VALUES (2, 995003, 'ق-2')"));
    ScriptedPrompt p({}, true);
    CodingTransfer t(*o.session);
    EXPECT_FALSE(t.betweenSections(SectionKind::DetailAccounts, -1, p));
    const std::pair<SectionKind, const char*> absent[] = {
        {SectionKind::DetailAccounts, "SELECT COUNT(*) FROM TAFSILI a WHERE CI = 2 AND NOT EXISTS (SELECT 1 FROM TAFSILI b WHERE b.CI = 0 AND b.CODE = a.CODE)"},
        {SectionKind::Projects, "SELECT COUNT(*) FROM PROJEH a WHERE CI = 2 AND NOT EXISTS (SELECT 1 FROM PROJEH b WHERE b.CI = 0 AND b.PROJNO = a.PROJNO)"},
        {SectionKind::Contracts, "SELECT COUNT(*) FROM PAYMENTS a WHERE CI = 2 AND NOT EXISTS (SELECT 1 FROM PAYMENTS b WHERE b.CI = 0 AND b.CODE = a.CODE)"}};
    for (const auto& [k, sql] : absent) {
        const qint64 expected = count(common, QString::fromUtf8(sql));
        EXPECT_GE(expected, 1);
        const TransferResult first = t.betweenSections(k, 2, p);
        ASSERT_TRUE(first) << first.message.toStdString();
        EXPECT_EQ(first.inserted, expected);
        EXPECT_EQ(count(common, QString::fromUtf8(sql)), 0);
        EXPECT_EQ(t.betweenSections(k, 2, p).inserted, 0);
    }
    EXPECT_EQ(count(common, QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE CI = 0 AND CODE = 995001 AND NID = '123'")), 1);
    EXPECT_EQ(count(common, QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE CI = 0 AND PROJNO = 995002")), 1);
    EXPECT_EQ(count(common, QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE CI = 0 AND CODE = 995003")), 1);
}

} // namespace
