#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/GuaranteeDue.h"
#include "core/guarantees/GuaranteeOperations.h"
#include "core/guarantees/GuaranteeSearch.h"
#include "core/guarantees/Guarantees.h"
#include "core/io/BoundList.h"
#include "core/letters/GuaranteeLetters.h"
#include "core/letters/LetterSettings.h"
#include "core/startup/Login.h"
#include "core/util/Jalali.h"
#include "support/DemoOffice.h"
#include "support/PdfText.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <numeric>
#include <QTemporaryDir>
#include "core/util/Numbers.h"

using namespace orvak;
using namespace orvak::guarantees;
using startup::ScriptedPrompt;

namespace {

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

QString plusDays(const QString& jalali, int days) { return util::toJalali(util::toGregorian(*util::parseJalali(jalali)).addDays(days)).toText(); }

struct Office : test::DemoOffice {
    Guarantees reg{*session};
    GuaranteeOperations ops{*session};
    QString today;
    int party = 0, branch = 0;

    Office()
    {
        ScriptedPrompt quiet;
        EXPECT_TRUE(startup::logInAs(*session, QStringLiteral("3"), QStringLiteral("1234"), quiet));
        today = session->clock().todayJalali();
        party = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0")));
        branch = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM BANKBRANCHNAME")));
    }
    QSqlDatabase db() { return session->deposits(); }
    // A bank guarantee due in so many days, saved through the register.
    int add(int dueInDays, int type = 0, const QString& number = {})
    {
        Guarantee g = *reg.newGuarantee();
        g.tafsilNo = party;
        g.sudBankCode = guarantees::typeHasBranch(type) ? branch : -1;
        g.type = type;
        g.zno = number.isEmpty() ? QStringLiteral("T-%1").arg(g.idx) : number;
        g.sudDate = plusDays(today, -200);
        g.sarresid = plusDays(today, dueInDays);
        g.amount = 400'000'000;
        ScriptedPrompt yes({}, true);
        const auto saved = reg.save(g, true, yes);
        EXPECT_TRUE(saved) << yes.text().toStdString();
        return saved.value_or(0);
    }
    // Every column of the guarantee, as stored.
    QVariantMap row(int idx)
    {
        const auto r = db::firstRow(db(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :i"), {{QStringLiteral(":i"), idx}});
        QVariantMap m;
        if (r) {
            for (int i = 0; i < r->count(); ++i)
                m.insert(r->fieldName(i), r->value(i));
        }
        return m;
    }
    // A request letter of a history kind, through the letters' registration.
    int request(int idx, int kind, const QString& due = {}, std::optional<qint64> amount = {})
    {
        letters::LetterRequest r;
        r.guarantee = idx;
        r.kind = letterKindOfHistory(kind);
        r.input.newDue = due;
        r.input.newAmount = amount;
        ScriptedPrompt p;
        letters::GuaranteeLetters letters(*session);
        const auto letter = letters.prepare(r, p);
        EXPECT_TRUE(letter) << p.text().toStdString();
        if (!letter)
            return 0;
        return letters.registerRequest(*letter, r, QString(), p).value_or(0);
    }
    int status(int idx) { return row(idx).value(QStringLiteral("ZSTATUSE")).toInt(); }
    qint64 histories() { return count(db(), QStringLiteral("SELECT COUNT(*) FROM ZHIST")); }
};

Answer answerOn(const QString& date, const QString& due = {}, std::optional<qint64> amount = {})
{
    Answer a;
    a.letterNo = QStringLiteral("B-77");
    a.letterDate = date;
    a.due = due;
    a.amount = amount;
    return a;
}

} // namespace

// Each kind: the request status while the letter waits, the result after the answer
// with what the answer changes, and the withdrawal putting every column back.
TEST(GuaranteeOperations, EachKindMovesThroughItsStatusesAndTheWithdrawalRestoresEveryColumn)
{
    Office o;
    struct Case {
        int kind, request, result;
        bool newDue, newAmount;
        const char* flag;
    };
    const Case cases[] = {{OpExtension, 10, 1, true, false, "TAMDIDSTATUSE"},     {OpReduction, 11, 2, false, true, "TAGHLILSTATUSE"},
                          {OpCancellation, 12, 3, false, false, "EBTALSTATUSE"},  {OpSeizure, 14, 4, false, false, "ZABTSTATUSE"},
                          {OpReductionExtension, 13, 5, true, true, "TAMDIDSTATUSE"}, {OpConfirmation, 9, 8, false, false, "TAEIDSTATUSE"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const int idx = o.add(20);
        const QVariantMap before = o.row(idx);
        const QString due = plusDays(o.today, 200);
        const int row = o.request(idx, c.kind, c.newDue ? due : QString(), c.newAmount ? std::optional<qint64>(150'000'000) : std::nullopt);
        ASSERT_EQ(row, 1);
        EXPECT_EQ(o.status(idx), c.request);
        ScriptedPrompt p;
        ASSERT_TRUE(o.ops.answer(idx, row, answerOn(o.today), p)) << p.text().toStdString();
        const QVariantMap after = o.row(idx);
        EXPECT_EQ(after.value(QStringLiteral("ZSTATUSE")).toInt(), c.result);
        EXPECT_EQ(after.value(QStringLiteral("SARRESID")).toString(), c.newDue ? due : before.value(QStringLiteral("SARRESID")).toString());
        EXPECT_EQ(rialsOf(after.value(QStringLiteral("AMOUNT"))), c.newAmount ? 150'000'000 : 400'000'000);
        EXPECT_EQ(after.value(QString::fromLatin1(c.flag)).toInt(), 1);
        EXPECT_EQ(after.value(QStringLiteral("EBTALDATE")).toString(), c.kind == OpCancellation ? o.today : QString());
        // The initial values stay, so the register's markers show the change.
        EXPECT_EQ(after.value(QStringLiteral("SARRESID1")), before.value(QStringLiteral("SARRESID1")));
        const auto h = o.ops.letter(idx, row);
        ASSERT_TRUE(h);
        EXPECT_TRUE(h->answered());
        EXPECT_EQ(h->ansLetterNo, QStringLiteral("B-77"));

        ScriptedPrompt again;
        EXPECT_FALSE(o.ops.answer(idx, row, answerOn(o.today), again));
        EXPECT_EQ(again.infos, QStringList{alreadyAnsweredText()});

        ScriptedPrompt yes({true});
        ASSERT_TRUE(o.ops.withdraw(idx, row, yes)) << yes.text().toStdString();
        QVariantMap restored = o.row(idx);
        // The last letter's number and date stay on the guarantee as written.
        for (const char* kept : {"LETTERNO", "LETTERDATE"})
            restored.insert(QString::fromLatin1(kept), before.value(QString::fromLatin1(kept)));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const bool same = it.value().toString() == restored.value(it.key()).toString()
                              || (it.value().isNull() && restored.value(it.key()).toString().isEmpty())
                              || (restored.value(it.key()).isNull() && it.value().toString() == QStringLiteral("0"));
            EXPECT_TRUE(same) << it.key().toStdString() << ": " << it.value().toString().toStdString() << " -> "
                              << restored.value(it.key()).toString().toStdString();
        }
        EXPECT_FALSE(o.ops.letter(idx, row));
    }
}

TEST(GuaranteeOperations, RowsNumberOnWithdrawalsAreOfTheLastLetterOnlyAndScratchRowsNeverShow)
{
    Office o;
    const int idx = o.add(40);
    const QString due = plusDays(o.today, 300);
    EXPECT_EQ(o.request(idx, OpConfirmation), 1);
    ScriptedPrompt p;
    ASSERT_TRUE(o.ops.answer(idx, 1, answerOn(o.today), p));
    EXPECT_EQ(o.request(idx, OpExtension, due), 2);
    ASSERT_TRUE(o.ops.answer(idx, 2, answerOn(o.today), p));
    EXPECT_EQ(o.request(idx, OpConfirmation), 3);
    ASSERT_TRUE(o.ops.answer(idx, 3, answerOn(o.today), p));
    EXPECT_EQ(o.request(idx, OpExtension, plusDays(due, 90)), 4);

    // Only the last letter goes, even one not answered; none selected is told.
    ScriptedPrompt refused({true});
    EXPECT_FALSE(o.ops.withdraw(idx, 2, refused));
    EXPECT_EQ(refused.infos, QStringList{onlyLastText()});
    EXPECT_FALSE(o.ops.withdraw(idx, 0, refused));
    EXPECT_EQ(refused.infos.last(), nothingSelectedText());
    // No stops at the question.
    ScriptedPrompt no({false});
    EXPECT_FALSE(o.ops.withdraw(idx, 4, no));
    EXPECT_EQ(o.status(idx), 10);

    // A scratch row is hidden and goes with the next withdrawal.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO ZHIST (ZIDX, ROW, KIND, ANS) VALUES (:i, 99, 1, 100)"), {{QStringLiteral(":i"), idx}}));
    EXPECT_EQ(o.ops.history(idx)->size(), 4);
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(o.ops.withdraw(idx, 4, yes)) << yes.text().toStdString();
    EXPECT_EQ(o.status(idx), 8);   // back to the confirmed state the letter found
    EXPECT_EQ(o.row(idx).value(QStringLiteral("SARRESID")).toString(), due);
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZHIST WHERE ANS = 100")), 0);
    // The fifth letter after the fourth's deletion is row 4 again.
    EXPECT_EQ(o.request(idx, OpExtension, plusDays(due, 60)), 4);

    // An answered extension withdrawn: the due date and the flag come back.
    ASSERT_TRUE(o.ops.withdraw(idx, 4, yes));
    ASSERT_TRUE(o.ops.withdraw(idx, 3, yes));
    ASSERT_TRUE(o.ops.withdraw(idx, 2, yes));
    EXPECT_EQ(o.row(idx).value(QStringLiteral("SARRESID")).toString(), plusDays(o.today, 40));
    EXPECT_EQ(o.row(idx).value(QStringLiteral("TAMDIDSTATUSE")).toInt(), 0);
    EXPECT_EQ(o.row(idx).value(QStringLiteral("TAEIDSTATUSE")).toInt(), 1);

    // A letter without a previous state: told, and only the letter goes.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE ZHIST SET OLD_STATUSE = NULL WHERE ZIDX = :i AND ROW = 1"), {{QStringLiteral(":i"), idx}}));
    ScriptedPrompt told({}, true);
    ASSERT_TRUE(o.ops.withdraw(idx, 1, told));
    EXPECT_TRUE(told.infos.contains(noPreviousStateText()));
    EXPECT_EQ(o.status(idx), 8);
    ScriptedPrompt none({}, true);
    EXPECT_FALSE(o.ops.withdrawLast(idx, none));
    EXPECT_EQ(none.infos, QStringList{noLetterText()});
    EXPECT_TRUE(historyKindLabel(30).isEmpty());
}

TEST(GuaranteeOperations, BadAnswersAreToldAndChangeNothing)
{
    Office o;
    const int idx = o.add(30);
    const int ext = o.request(idx, OpExtension, plusDays(o.today, 120));
    const QVariantMap before = o.row(idx);
    const qint64 rows = o.histories();
    struct Case {
        const char* what;
        Answer answer;
        QString told;
    };
    const Case cases[] = {{"due before the current", answerOn(o.today, plusDays(o.today, 10)), dueNotLaterText()},
                          {"no answer date", answerOn(QStringLiteral("1405/13/40")), QStringLiteral("تاريخ نامه پاسخ درست نيست: 1405/13/40")},
                          {"no answer number", [&] { Answer a = answerOn(o.today); a.letterNo.clear(); return a; }(),
                           QStringLiteral("شماره نامه پاسخ وارد نشده است")}};
    for (const Case& c : cases) {
        ScriptedPrompt p;
        EXPECT_FALSE(o.ops.answer(idx, ext, c.answer, p)) << c.what;
        EXPECT_EQ(p.infos, QStringList{c.told}) << c.what;
    }
    ScriptedPrompt p;
    EXPECT_FALSE(o.ops.answer(idx, 9, answerOn(o.today), p));
    EXPECT_EQ(p.infos, QStringList{letterNotFoundText()});
    EXPECT_EQ(o.row(idx), before);
    EXPECT_EQ(o.histories(), rows);

    // A reduction above the current amount.
    const int other = o.add(30);
    const int red = o.request(other, OpReduction, {}, 100'000'000);
    ScriptedPrompt high;
    EXPECT_FALSE(o.ops.answer(other, red, answerOn(o.today, {}, 500'000'000), high));
    EXPECT_EQ(high.infos, QStringList{reductionTooLargeText()});
    EXPECT_EQ(o.status(other), 11);

    // A letter recorded with its answer, and a replacement's number put back.
    RecordedOperation op;
    op.kind = OpConfirmation;
    op.sentNo = QStringLiteral("S-1");
    op.sentDate = o.today;
    op.answer = answerOn(o.today);
    op.answer.newNumber = QStringLiteral("NEW-9");
    const QVariantMap plain = o.row(idx);
    ScriptedPrompt rec;
    const Outcome recorded = o.ops.record(idx, op, rec);
    ASSERT_TRUE(recorded) << rec.text().toStdString();
    EXPECT_EQ(o.row(idx).value(QStringLiteral("ZNO")).toString(), QStringLiteral("NEW-9"));
    EXPECT_EQ(o.row(idx).value(QStringLiteral("TZNO_NEW")).toString(), QStringLiteral("NEW-9"));
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(o.ops.withdraw(idx, recorded.changed, yes));
    EXPECT_EQ(o.row(idx).value(QStringLiteral("ZNO")), plain.value(QStringLiteral("ZNO")));
    EXPECT_TRUE(o.row(idx).value(QStringLiteral("TZNO_NEW")).toString().isEmpty());

    // The references change alone.
    ScriptedPrompt edit;
    ASSERT_TRUE(o.ops.editReferences(idx, ext, {QStringLiteral("L-5"), o.today, QStringLiteral("A-5"), o.today}, edit));
    EXPECT_EQ(o.ops.letter(idx, ext)->letterNo, QStringLiteral("L-5"));
    EXPECT_EQ(o.ops.letter(idx, ext)->ans, AnsPending);
    EXPECT_EQ(o.status(idx), 10);
}

TEST(GuaranteeDue, WindowsEndOnRealDates)
{
    struct Case {
        const char* start;
        int entry;
        const char* end;
    };
    // 1403/05/15 + 15 days is 1403/05/30 (Mordad has 31 days), never "1403/06/00".
    const Case cases[] = {{"1403/12/20", 1, "1404/01/05"}, {"1403/05/15", 1, "1403/05/30"}, {"1403/05/16", 1, "1403/05/31"},
                          {"1403/05/17", 1, "1403/06/01"}, {"1403/05/15", 2, "1403/06/15"}, {"1403/05/15", 3, "1403/06/30"},
                          {"1403/11/20", 4, "1404/01/20"}, {"1402/12/20", 1, "1403/01/06"}, {"1403/10/01", 6, "1404/01/01"}};
    for (const Case& c : cases)
        EXPECT_EQ(dueWindowEnd(QString::fromLatin1(c.start), c.entry).value_or(QString()), QString::fromLatin1(c.end)) << c.start << " + " << c.entry;
    // Every day of a year through every window gives a real date.
    for (int d = 0; d < 366; ++d) {
        const QString start = util::toJalali(util::toGregorian(util::JalaliDate{1403, 1, 1}).addDays(d)).toText();
        for (int e = 1; e <= 6; ++e) {
            const auto end = dueWindowEnd(start, e);
            ASSERT_TRUE(end && util::parseJalali(*end)) << start.toStdString() << " + " << e;
            EXPECT_GT(*end, start);
        }
    }
    EXPECT_EQ(dueWindowLabels().size(), 7);
    QString why;
    EXPECT_FALSE(dueList({QStringLiteral("1405/02/01"), QStringLiteral("1405/01/01")}, &why));
    EXPECT_EQ(why, endBeforeStartText());
    EXPECT_FALSE(dueList({QStringLiteral("1405/02/32"), QStringLiteral("1405/03/01")}, &why));
}

TEST(GuaranteeDue, TheListLeavesOutWhatNeedsNoLetterAndTheRunNumbersAcrossRuns)
{
    Office o;
    const int pending = o.add(1);
    const int extended = o.add(1);
    const int note = o.add(1, 11);
    const int later = o.add(2);
    ASSERT_TRUE(pending && extended && note && later);
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE ZEMANAT SET ZSTATUSE = 10 WHERE IDX = :a"), {{QStringLiteral(":a"), pending}}));
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE ZEMANAT SET ZSTATUSE = 1 WHERE IDX = :a"), {{QStringLiteral(":a"), extended}}));
    // Only the test's own: the demo's are moved out of the window.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE ZEMANAT SET SARRESID = '1399/01/01' WHERE IDX NOT IN (:a, :b, :c, :d)"),
                            {{QStringLiteral(":a"), pending}, {QStringLiteral(":b"), extended}, {QStringLiteral(":c"), note}, {QStringLiteral(":d"), later}}));
    const DueFilter window = defaultDueFilter(o.today);
    auto listed = [&] {
        io::BoundList bound(*o.session, *dueList(window));
        io::RowSet rows;
        EXPECT_TRUE(bound.fetchAll(rows, {}));
        std::vector<int> all(size_t(rows.rowCount()));
        std::iota(all.begin(), all.end(), 0);
        return idxOf(rows, all);
    };
    EXPECT_EQ(listed(), (QList<int>{extended, later}));
    EXPECT_EQ(dueTotals(*o.session, window)->count, 2);
    EXPECT_EQ(dueSoonCount(*o.session).value_or(-1), 2);

    ASSERT_TRUE(letters::LetterSettings(*o.session).saveGuaranteeSettings({QStringLiteral("1"), QStringLiteral("700"), QStringLiteral("ت/"), QStringLiteral("/ذ"), {}},
                                                                          *std::make_unique<ScriptedPrompt>()));
    ExtensionRun::Choice choice;
    choice.months = 3;
    // The first run skips the first guarantee and is cancelled after the second.
    ExtensionRun first(*o.session, window, choice);
    ScriptedPrompt p;
    ASSERT_TRUE(first.start(p)) << p.text().toStdString();
    ASSERT_EQ(first.count(), 2);
    EXPECT_EQ(first.nextNumberText(), QStringLiteral("ت/701/ذ"));
    ASSERT_TRUE(first.preview(p));
    first.skip();
    EXPECT_EQ(first.nextNumberText(), QStringLiteral("ت/701/ذ"));
    std::vector<letters::LetterPage> pages;
    ASSERT_TRUE(first.issue(pages, p)) << p.text().toStdString();
    EXPECT_FALSE(pages.empty());
    EXPECT_EQ(first.issuedNumbers(), QStringList{QStringLiteral("ت/701/ذ")});
    EXPECT_EQ(o.status(later), 10);
    EXPECT_EQ(o.status(extended), 1);
    const auto h = GuaranteeOperations(*o.session).history(later);
    ASSERT_EQ(h->size(), 1);
    EXPECT_EQ(h->first().kind, OpExtension);
    EXPECT_EQ(h->first().ans, AnsPending);
    EXPECT_EQ(h->first().sarresid, *addMonths(plusDays(o.today, 2), 3));
    EXPECT_EQ(h->first().letterNo, QStringLiteral("ت/701/ذ"));
    EXPECT_FALSE(h->first().content.isEmpty());
    EXPECT_EQ(letters::LetterSettings(*o.session).guaranteeSettings()->lastNo, QStringLiteral("701"));
    EXPECT_EQ(listed(), QList<int>{extended});

    // The second run starts after the first's last number.
    ExtensionRun second(*o.session, window, choice);
    ASSERT_TRUE(second.start(p));
    ASSERT_EQ(second.count(), 1);
    EXPECT_EQ(second.issueAll(pages, p), 1);
    EXPECT_EQ(second.issuedNumbers(), QStringList{QStringLiteral("ت/702/ذ")});
    EXPECT_TRUE(listed().isEmpty());

    // An extension up to a date before the current due date is refused.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE ZEMANAT SET ZSTATUSE = 0 WHERE IDX = :a"), {{QStringLiteral(":a"), later}}));
    choice.months = 0;
    choice.untilDate = o.today;
    ExtensionRun early(*o.session, window, choice);
    ASSERT_TRUE(early.start(p));
    ScriptedPrompt told;
    EXPECT_FALSE(early.issue(pages, told));
    EXPECT_EQ(early.position(), 0);
    EXPECT_EQ(letters::LetterSettings(*o.session).guaranteeSettings()->lastNo, QStringLiteral("702"));
}

TEST(GuaranteeSearch, EveryConditionNarrowsTheListAndItsTotals)
{
    Office o;
    const qint64 all = count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT"));
    auto found = [&](const SearchFilter& f) {
        QString why;
        const auto list = searchList(*o.session, f, &why);
        EXPECT_TRUE(list) << why.toStdString();
        const auto t = searchTotals(*o.session, f);
        EXPECT_TRUE(t);
        io::BoundList bound(*o.session, *list);
        io::RowSet rows;
        EXPECT_TRUE(bound.fetchAll(rows, {}));
        EXPECT_EQ(rows.rowCount(), t->count);
        return t->count;
    };
    auto where = [&](const QString& sql) { return count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ") + sql); };
    EXPECT_EQ(found({}), all);
    const int bankWithBranches = int(count(o.session->common(), QStringLiteral("SELECT MIN(BANKID) FROM BANKBRANCHNAME")));
    struct Case {
        const char* what;
        SearchFilter f;
        QString sql;
    };
    const QList<Case> cases = {
        {"nature", [] { SearchFilter s; s.nature = 1; return s; }(), QStringLiteral("ZKIND = 1")},
        {"type", [] { SearchFilter s; s.type = 0; return s; }(), QStringLiteral("ZTYPE = 0")},
        {"party", [&] { SearchFilter s; s.party = o.party; return s; }(), QStringLiteral("TAFSILNO = %1").arg(o.party)},
        {"branch", [&] { SearchFilter s; s.branch = o.branch; return s; }(), QStringLiteral("SUDBANKCODE = %1").arg(o.branch)},
        {"cancelled and seized", [] { SearchFilter s; s.statuses = {3, 4}; return s; }(), QStringLiteral("ZSTATUSE IN (3, 4)")},
        {"due from, no end", [] { SearchFilter s; s.dueFrom = QStringLiteral("1405/10/01"); return s; }(), QStringLiteral("SARRESID >= '1405/10/01'")},
        {"due range", [] { SearchFilter s; s.dueFrom = QStringLiteral("1405/10/01"); s.dueTo = QStringLiteral("1405/12/29"); return s; }(),
         QStringLiteral("SARRESID BETWEEN '1405/10/01' AND '1405/12/29'")},
        {"issued to", [] { SearchFilter s; s.issueTo = QStringLiteral("1405/01/01"); return s; }(), QStringLiteral("SUDDATE <= '1405/01/01'")},
        {"cancelled to", [] { SearchFilter s; s.cancelTo = QStringLiteral("1405/06/31"); return s; }(), QStringLiteral("EBTALDATE <= '1405/06/31'")},
        {"number", [] { SearchFilter s; s.number = QStringLiteral("30001"); return s; }(), QStringLiteral("ZNO LIKE '%30001%'")},
    };
    for (const Case& c : cases) {
        const qint64 expected = where(c.sql);
        EXPECT_GT(expected, 0) << c.what;
        EXPECT_EQ(found(c.f), expected) << c.what;
    }
    SearchFilter bank;
    bank.bank = bankWithBranches;
    QStringList branches;
    QSqlQuery q(o.session->common());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT CODE FROM BANKBRANCHNAME WHERE BANKID = %1").arg(bankWithBranches)));
    while (q.next())
        branches << q.value(0).toString();
    EXPECT_EQ(found(bank), where(QStringLiteral("SUDBANKCODE IN (%1)").arg(branches.join(QLatin1Char(',')))));
    // A bank with no branch finds nothing, whatever else is asked.
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("INSERT INTO BANKNAME (CODE, NAME) VALUES (9999, 'بانک بي شعبه')")));
    SearchFilter none;
    none.bank = 9999;
    EXPECT_EQ(found(none), 0);
    none.statuses = {0};
    EXPECT_EQ(found(none), 0);
    // A range ending before it starts, a date that is none, a status outside the list.
    QString why;
    SearchFilter bad;
    bad.dueFrom = QStringLiteral("1405/10/01");
    bad.dueTo = QStringLiteral("1405/01/01");
    EXPECT_FALSE(searchList(*o.session, bad, &why));
    bad = {};
    bad.issueFrom = QStringLiteral("1405/14/01");
    EXPECT_FALSE(searchList(*o.session, bad, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("تاريخ صدور")));
    bad = {};
    bad.statuses = {30};
    EXPECT_FALSE(searchList(*o.session, bad, &why));
}

// The two printed lists read back: the headers and a guarantee's number whole, the
// grand total; the by-branch list with a sub-total for each branch.
TEST(GuaranteeSearch, ThePrintedListsReadBackWithTheirTotals)
{
    Office o;
    SearchFilter f;
    f.bank = int(count(o.session->common(), QStringLiteral("SELECT MIN(BANKID) FROM BANKBRANCHNAME")));
    f.order = SearchOrder::Branch;
    const auto list = searchList(*o.session, f);
    ASSERT_TRUE(list);
    io::BoundList bound(*o.session, *list);
    io::RowSet rows;
    ASSERT_TRUE(bound.fetchAll(rows, {}));
    std::vector<int> all(size_t(rows.rowCount()));
    std::iota(all.begin(), all.end(), 0);
    const QList<int> idx = idxOf(rows, all);
    ASSERT_GT(idx.size(), 1);
    const qint64 total = searchTotals(*o.session, f)->amount;
    QTemporaryDir out;
    const auto plain = searchReport(*o.session, idx);
    ASSERT_TRUE(plain);
    const QString a = out.filePath(QStringLiteral("list.pdf"));
    QString why;
    ASSERT_TRUE(io::writeReportPdf(*plain, a, &why)) << why.toStdString();
    const QString first = test::pdfLines(a, 1).join(QLatin1Char('\n'));
    for (const char* word : {"فهرست ضمانت نامه هاي بانكي و ساير تضمين ها", "فرم شماره 2", "شماره تضمين", "بانك تضمين دهنده", "مبلغ تضمين"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(word))) << word;
    const auto g = o.reg.read(idx.first());
    EXPECT_TRUE(first.contains(g->zno)) << first.toStdString();
    QString whole;
    for (int p = 1; p <= 20; ++p)
        whole += test::pdfLines(a, p).join(QLatin1Char('\n'));
    EXPECT_TRUE(whole.contains(QStringLiteral("جمع كل")) || whole.contains(QStringLiteral("جمع کل")));
    EXPECT_TRUE(whole.contains(util::FormatAmount(total))) << total;

    const auto grouped = searchReportByBranch(*o.session, idx);
    ASSERT_TRUE(grouped);
    EXPECT_EQ(grouped->groupColumn, 3);
    const QString b = out.filePath(QStringLiteral("branches.pdf"));
    ASSERT_TRUE(io::writeReportPdf(*grouped, b, &why)) << why.toStdString();
    QString byBranch;
    for (int p = 1; p <= 20; ++p)
        byBranch += test::pdfLines(b, p).join(QLatin1Char('\n'));
    EXPECT_TRUE(byBranch.contains(QStringLiteral("فهرست تضمينات به تفکيک شعب")));
    EXPECT_TRUE(byBranch.contains(util::FormatAmount(total)));
}
