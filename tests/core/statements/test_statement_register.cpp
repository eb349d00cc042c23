#include "core/statements/BankMatching.h"
#include "core/statements/StatementLines.h"
#include "core/statements/StatementList.h"
#include "core/statements/StatementReader.h"
#include "support/DemoOffice.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::statements;
using startup::ScriptedPrompt;

namespace {

// The demo's refund account has no statement; 1409 holds no deposit.
constexpr int Account = 2;
constexpr int Year = 1409;

class StopAfter : public ScriptedPrompt {
public:
    explicit StopAfter(int calls)
        : ScriptedPrompt({}, true)
        , left_(calls)
    {
    }
    bool stopRequested() override { return --left_ < 0; }

private:
    int left_;
};

struct Office : test::DemoOffice {
    QTemporaryDir files;
    Office() { session->setCurrentUserCode(3); }

    QString file(const QString& name, const QStringList& lines)
    {
        const QString path = files.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((QStringLiteral("h1\nh2\nh3\nh4\nh5\n") + lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        return path;
    }
    ReadOutcome read(const QStringList& paths, ReadMode mode, ScriptedPrompt& p, int fromYear = Year, int fromMonth = 1, int toYear = Year,
                     int toMonth = 1)
    {
        ReadRequest r;
        r.account = Account;
        r.fromYear = fromYear;
        r.fromMonth = fromMonth;
        r.toYear = toYear;
        r.toMonth = toMonth;
        r.format = 5;
        r.files = paths;
        r.mode = mode;
        return StatementReader(*session).read(r, p);
    }
    qint64 count(const QString& sql, const QVariantMap& b = {})
    {
        return db::scalar(session->deposits(), sql, b).value_or(QVariant(-1)).toLongLong();
    }
    qint64 lines() { return count(QStringLiteral("SELECT COUNT(*) FROM SURATHESAB WHERE HESABNO = 2")); }
    int addDeposit(qint64 amount, const QString& chkDate, qint64 chkNo)
    {
        const int idx = int(count(QStringLiteral("SELECT MAX(IDX) + 1 FROM SEP_DAR")));
        EXPECT_TRUE(db::execSql(session->deposits(),
                                QStringLiteral("INSERT INTO SEP_DAR (IDX, MY, MM, TAFSILI, AMOUNT, AMOUNT_RAD, AMOUNT_MANDEH, SEPKIND, CHKDATE, CHKNO, "
                                               "ALTP, FROMOLDM) VALUES (:i, 1409, 1, 1, :a, 0, :a, 1, :d, :n, 0, 2)"),
                                {{QStringLiteral(":i"), idx}, {QStringLiteral(":a"), amount}, {QStringLiteral(":d"), chkDate}, {QStringLiteral(":n"), chkNo}}));
        return idx;
    }
    QString mark(int idx) { return db::scalar(session->deposits(), QStringLiteral("SELECT TIKSUDMO FROM SEP_DAR WHERE IDX = :i"), {{QStringLiteral(":i"), idx}}).value_or({}).toString(); }
};

// Format 5: date, time, description, branch, slip, debit, credit, balance, additional information.
const QStringList January = {
    QStringLiteral("1409/01/05,09:10,واريز نقدي,1007,111,0,1000000,11000000,9988"),
    QStringLiteral("1409/01/06,10:00,پرداخت پوز پايانه 77,0,222,0,2000000,13000000,"),
    QStringLiteral("1409/01/07,11:00,اصلاح برداشت تکراري,0,0,5000,0,12995000,"),
    QStringLiteral("1409/01/08,12:00,کارمزد,0,0,3000,0,12992000,"),
    QStringLiteral("1409/02/01,12:00,خارج از محدوده,0,9,0,7,12992007,"),
};

} // namespace

TEST(StatementRegister, ReadingStoresEveryColumnAsTheRulesSay)
{
    Office o;
    ScriptedPrompt p({}, true);
    const ReadOutcome out = o.read({o.file(QStringLiteral("a.csv"), January)}, ReadMode::Replace, p);
    ASSERT_TRUE(out) << p.text().toStdString();
    EXPECT_EQ(out.written, 4);
    EXPECT_EQ(out.outOfRange, 1);
    // The layout's column order is told before reading.
    EXPECT_TRUE(p.infos.value(0).startsWith(QStringLiteral("تاريخ\tساعت")));
    const auto first = db::firstRow(o.session->deposits(), QStringLiteral("SELECT * FROM SURATHESAB WHERE HESABNO = 2 AND ROW = 1"));
    ASSERT_TRUE(first);
    const std::pair<const char*, QVariant> columns[] = {
        {"CHKDATE", "09/01/05"}, {"CHKTIME", "09:10"}, {"DESCR", "واريز نقدي"}, {"FLAG", 1}, {"BANK", "صادرات"}, {"SHOBEH", 1007},
        {"SARPARASTI", 100},     {"OSTAN", 1},         {"ZARIB", 1},            {"SHENASEH", "9988"}, {"TRANSACTIONDATE", "1409/01/05"},
        {"AMOUNTBANK", 11000000}, {"AMOUNT", 1000000}, {"CHKNO", 111},
    };
    for (const auto& [column, value] : columns) {
        const QVariant stored = first->value(QString::fromLatin1(column));
        if (value.typeId() == QMetaType::Int)
            EXPECT_EQ(stored.toDouble(), value.toDouble()) << column;
        else
            EXPECT_EQ(stored.toString(), value.toString()) << column;
    }
    EXPECT_EQ(o.count(QStringLiteral("SELECT ZARIB FROM SURATHESAB WHERE HESABNO = 2 AND ROW = 3")), -1);   // a correction
    EXPECT_EQ(o.count(QStringLiteral("SELECT ZARIB FROM SURATHESAB WHERE HESABNO = 2 AND ROW = 4")), 0);
    const QString card = db::scalar(o.session->deposits(), QStringLiteral("SELECT DESCR FROM SURATHESAB WHERE HESABNO = 2 AND ROW = 2")).value_or({}).toString();
    EXPECT_TRUE(card.endsWith(QStringLiteral("*شاپرک*"))) << card.toStdString();

    // The list shows the correction under "برداشت اصلاحات"; a credit cannot change class.
    StatementFilter f;
    f.account = Account;
    f.kind = AmountKind::Corrections;
    EXPECT_EQ(statementTotals(*o.session, f)->debits, 1);
    ScriptedPrompt q({}, true);
    EXPECT_FALSE(StatementLines(*o.session).reclassify(Account, 1, true, q));
    EXPECT_EQ(q.infos.value(0), StatementLines::creditCannotChangeText());
    EXPECT_TRUE(StatementLines(*o.session).reclassify(Account, 4, true, q));
    EXPECT_EQ(statementTotals(*o.session, f)->debits, 2);
}

TEST(StatementRegister, ReplaceKeepsOneCopyAppendAsksBeforeDoubling)
{
    Office o;
    const QString path = o.file(QStringLiteral("a.csv"), January);
    ScriptedPrompt p({}, true);
    ASSERT_TRUE(o.read({path}, ReadMode::Replace, p));
    ASSERT_TRUE(o.read({path}, ReadMode::Replace, p));
    EXPECT_EQ(o.lines(), 4);
    // Append: the user is told how many are there already, and "no" writes nothing.
    ScriptedPrompt no({true, false});
    const ReadOutcome refused = o.read({path}, ReadMode::Append, no);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(no.questions.last().startsWith(QStringLiteral("4 سطر")));
    EXPECT_EQ(o.lines(), 4);
    ScriptedPrompt yes({}, true);
    EXPECT_EQ(o.read({path}, ReadMode::Append, yes).alreadyThere, 4);
    EXPECT_EQ(o.lines(), 8);
    EXPECT_EQ(o.count(QStringLiteral("SELECT MAX(ROW) FROM SURATHESAB WHERE HESABNO = 2")), 8);
}

TEST(StatementRegister, AFailingLineStopsTheRunAndTheLinesBeforeItStay)
{
    Office o;
    QStringList bad = January.mid(0, 2);
    bad << QStringLiteral("1409/01/09,12:00,x,0,0,0,12A00,1,");
    bad << January[3];
    ScriptedPrompt p({}, true);
    const ReadOutcome out = o.read({o.file(QStringLiteral("bad.csv"), bad), o.file(QStringLiteral("later.csv"), January)}, ReadMode::Replace, p);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.written, 2);
    EXPECT_TRUE(out.failure.contains(QStringLiteral("bad.csv"))) << out.failure.toStdString();
    EXPECT_TRUE(out.failure.contains(QStringLiteral("سطر 8"))) << out.failure.toStdString();
    EXPECT_EQ(o.lines(), 2);

    // The stop button ends the run after the current line, keeping what was read.
    QStringList many;
    for (int i = 0; i < 500; ++i)
        many << QStringLiteral("1409/01/10,10:00,x,0,%1,0,1000,1,").arg(i);
    StopAfter stop(3);
    const ReadOutcome stopped = o.read({o.file(QStringLiteral("many.csv"), many)}, ReadMode::Replace, stop);
    ASSERT_TRUE(stopped);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_GT(stopped.written, 0);
    EXPECT_LT(stopped.written, 500);
    EXPECT_EQ(o.lines(), stopped.written);

    // A user who may not write changes nothing.
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("UPDATE PROGUSERS SET SEL2 = 1 WHERE PROGID = 3 AND UCODE = 3")));
    ScriptedPrompt r({}, true);
    EXPECT_FALSE(o.read({o.file(QStringLiteral("a.csv"), January)}, ReadMode::Replace, r));
    EXPECT_EQ(o.lines(), stopped.written);
}

TEST(StatementRegister, RangesAndBalancesHoldAcrossTheCentury)
{
    Office o;
    const QStringList lines = {QStringLiteral("1399/12/20,09:00,a,0,1,0,100,5000,"), QStringLiteral("1399/12/28,09:00,b,0,2,0,200,5200,"),
                               QStringLiteral("1400/01/05,09:00,c,0,3,0,300,5500,"), QStringLiteral("1400/02/05,09:00,d,0,4,0,400,5900,")};
    ScriptedPrompt p({}, true);
    const ReadOutcome out = o.read({o.file(QStringLiteral("c.csv"), lines)}, ReadMode::Replace, p, 1399, 12, 1400, 1);
    ASSERT_TRUE(out) << p.text().toStdString();
    EXPECT_EQ(out.written, 3);
    StatementFilter f;
    f.account = Account;
    f.from = QStringLiteral("1399/12/01");
    f.to = QStringLiteral("1400/01/31");
    f.order = StatementOrder::Date;
    EXPECT_EQ(statementTotals(*o.session, f)->credit, 600);
    // In calendar order: 1399 before 1400.
    QSqlQuery q(o.session->deposits());
    const io::ListDefinition d = statementLinesList(f);
    ASSERT_TRUE(db::prepareBound(q, d.sql, d.defaultParameters()) && q.exec());
    QStringList order;
    while (q.next())
        order << q.value(QStringLiteral("CHKDATE")).toString();
    EXPECT_EQ(order, (QStringList{"99/12/20", "99/12/28", "00/01/05"}));
    // The balance on a date between two statement dates is the earlier date's; none yet is "صفر".
    const std::pair<const char*, const char*> asked[] = {{"1399/12/25", "5,000"}, {"1400/01/01", "5,200"}, {"1400/03/01", "5,500"}, {"1399/01/01", "صفر"}};
    for (const auto& [date, balance] : asked) {
        const auto all = accountBalances(*o.session, QString::fromLatin1(date));
        ASSERT_TRUE(all) << all.error().toStdString();
        for (const AccountBalance& a : *all) {
            if (a.account == Account) {
                EXPECT_EQ(a.balanceText(), QString::fromUtf8(balance)) << date;
            }
        }
    }
}

TEST(StatementRegister, MatchingMarksAddsRecordsAndUndoes)
{
    // The matcher alone: the first open deposit of the amount, the criteria narrowing it.
    const QList<MonthLine> month = {{1, "1409/01/05", "09:00", true, 1000, 111, {}, {}}, {2, "1409/01/06", "09:00", true, 1000, 222, {}, {}},
                                    {3, "1409/01/07", "09:00", true, 500, 333, {}, {}},  {4, "1409/01/08", "09:00", false, 700, 0, {}, {}}};
    const QList<OpenDeposit> open = {{10, 1000, "1409/01/06", 222, {}}, {11, 1000, "1409/01/01", 999, "O"}};
    const MonthMatch loose = matchMonth(month, open, {}, {});
    EXPECT_EQ(loose.lines, (QList<LineMatch>{{1, LineOutcome::Matched, 10, {}}, {2, LineOutcome::Matched, 11, "O"}, {3, LineOutcome::NotFound, 0, {}},
                                             {4, LineOutcome::Debit, 0, {}}}));
    const MonthMatch strict = matchMonth(month, open, {true, true}, {});
    EXPECT_EQ(strict.lines[0].outcome, LineOutcome::NotFound);
    EXPECT_EQ(strict.lines[1].deposit, 10);

    Office o;
    const int a = o.addDeposit(1000000, QStringLiteral("1409/01/05"), 111);
    const int b = o.addDeposit(2000000, QStringLiteral("1409/01/01"), 5);
    ScriptedPrompt p({}, true);
    ASSERT_TRUE(o.read({o.file(QStringLiteral("a.csv"), January)}, ReadMode::Replace, p));
    BankMatching m(*o.session);
    MatchRequest r{Account, Year, 1, {true, false}};
    const auto plan = m.plan(r);
    ASSERT_TRUE(plan) << plan.error().toStdString();
    EXPECT_EQ(plan->match.matched, 1);
    EXPECT_EQ(plan->match.notFound, 1);
    const qint64 before = o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR"));
    // Nothing is written before the user has seen the plan and said yes.
    ScriptedPrompt no({false});
    EXPECT_FALSE(m.run(r, no));
    EXPECT_TRUE(no.questions.value(0).contains(QStringLiteral("سپرده هاي تطبيق داده شده (تائيد شده P): 1")));
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")), before);
    ScriptedPrompt yes({}, true);
    const MatchOutcome done = m.run(r, yes);
    ASSERT_TRUE(done) << yes.text().toStdString();
    EXPECT_EQ(o.mark(a), QStringLiteral("P"));
    EXPECT_NE(o.mark(b), QStringLiteral("P"));   // a different date
    const auto added = db::firstRow(o.session->deposits(), QStringLiteral("SELECT * FROM SEP_DAR WHERE TIKSUDMO = 'R' AND MY = 1409"));
    ASSERT_TRUE(added);
    EXPECT_EQ(added->value(QStringLiteral("AMOUNT")).toLongLong(), 2000000);
    EXPECT_EQ(added->value(QStringLiteral("CHKDATE")).toString(), QStringLiteral("1409/01/06"));
    EXPECT_EQ(added->value(QStringLiteral("CHKNO")).toLongLong(), 222);
    EXPECT_EQ(added->value(QStringLiteral("TAFSILI")).toInt(), -1);
    EXPECT_EQ(added->value(QStringLiteral("FROMOLDM")).toInt(), 2);
    EXPECT_EQ(added->value(QStringLiteral("MM")).toInt(), 1);
    // A second run finds nothing new: the lines were taken.
    const auto again = m.plan(r);
    EXPECT_EQ(again->match.alreadyMatched, 2);
    EXPECT_EQ(again->match.notFound, 0);
    // A re-read of the same file with "replace" does not make them new either.
    ASSERT_TRUE(o.read({o.file(QStringLiteral("a.csv"), January)}, ReadMode::Replace, p));
    EXPECT_EQ(m.plan(r)->match.alreadyMatched, 2);

    // The undo is refused once the added deposit has an owner, then goes back to the state before.
    const int addedIdx = added->value(QStringLiteral("IDX")).toInt();
    ASSERT_TRUE(db::execSql(o.session->deposits(), QStringLiteral("UPDATE SEP_DAR SET TAFSILI = 1 WHERE IDX = :i"), {{QStringLiteral(":i"), addedIdx}}));
    ScriptedPrompt u({}, true);
    EXPECT_FALSE(m.undoLast(Account, u));
    EXPECT_EQ(o.mark(a), QStringLiteral("P"));
    ASSERT_TRUE(db::execSql(o.session->deposits(), QStringLiteral("UPDATE SEP_DAR SET TAFSILI = -1 WHERE IDX = :i"), {{QStringLiteral(":i"), addedIdx}}));
    ASSERT_TRUE(m.undoLast(Account, u)) << u.text().toStdString();
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")), before);
    EXPECT_TRUE(o.mark(a).trimmed().isEmpty());
    EXPECT_EQ(m.plan(r)->match.matched, 1);
}
