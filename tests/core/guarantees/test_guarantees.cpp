#include "core/accounting/VoucherWriter.h"
#include "core/accounting/Vouchers.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/guarantees/GuaranteeTexts.h"
#include "core/guarantees/Guarantees.h"
#include "core/io/BoundList.h"
#include "core/startup/Login.h"
#include "core/util/Jalali.h"
#include "support/DemoOffice.h"

using namespace orvak;
using namespace orvak::guarantees;
using startup::ScriptedPrompt;

namespace {

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

struct Office : test::DemoOffice {
    Guarantees reg{*session};
    int party = 0, other = 0, branch = 0;

    Office()
    {
        ScriptedPrompt quiet;
        EXPECT_TRUE(startup::logInAs(*session, QStringLiteral("3"), QStringLiteral("1234"), quiet));
        party = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0")));
        other = int(count(session->common(), QStringLiteral("SELECT MAX(CODE) FROM TAFSILI WHERE CI = 0")));
        branch = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM BANKBRANCHNAME")));
    }
    QSqlDatabase db() { return session->deposits(); }
    Guarantee fresh()
    {
        Guarantee g = *reg.newGuarantee();
        g.tafsilNo = party;
        g.sudBankCode = branch;
        g.zno = QStringLiteral("NEW-1");
        g.sudDate = QStringLiteral("1405/01/10");
        g.sarresid = QStringLiteral("1405/07/10");
        g.amount = 250'000'000;
        return g;
    }
    qint64 rows() { return count(db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT")); }
};

} // namespace

TEST(GuaranteeCodes, TablesDurationsAndTheAdvanceValueAsTheOfficeCountsThem)
{
    EXPECT_EQ(guaranteeTypes().size(), 22);
    EXPECT_EQ(guaranteeKinds().size(), 11);
    EXPECT_EQ(statusLabels().size(), 25);
    EXPECT_EQ(currencyNames().size(), 22);
    EXPECT_EQ(typeChoiceText(0), QStringLiteral("131000001) ضمانت نامه بانكي"));
    EXPECT_EQ(kindChoiceText(0), QStringLiteral("01)132000003: شركت در مناقصه"));
    EXPECT_EQ(typeLedger(12), QStringLiteral("131000003"));
    EXPECT_EQ(kindLedger(3), QStringLiteral("132000001"));
    EXPECT_TRUE(statusLabel(25).isEmpty());
    EXPECT_TRUE(statusLabel(-1).isEmpty());
    EXPECT_EQ(currencyWord(2), QStringLiteral("يورو"));
    for (int t = 0; t < 22; ++t)
        EXPECT_EQ(typeHasBranch(t), t == 0 || t == 1 || t == 11 || (t >= 13 && t <= 16)) << t;

    struct Case { const char* issued; int months; const char* due; };
    const Case cases[] = {{"1402/10/15", 3, "1403/01/15"}, {"1402/10/15", 9, "1403/07/15"}, {"1402/09/15", 3, "1402/12/15"},
                          {"1402/11/30", 3, "1403/02/30"}, {"1402/10/15", 24, "1404/10/15"},
                          // The day the month lacks becomes its last: Esfand 1402 has 29 days.
                          {"1402/09/30", 3, "1402/12/29"}, {"1403/06/31", 1, "1403/07/30"}};
    for (const Case& c : cases)
        EXPECT_EQ(addMonths(QString::fromLatin1(c.issued), c.months).value_or(QStringLiteral("-")), QString::fromLatin1(c.due)) << c.issued << "+" << c.months;
    EXPECT_FALSE(addMonths(QStringLiteral("1402/13/01"), 3));
    EXPECT_EQ(advanceValue(123'456'789, 80), 9'876'000);
    EXPECT_EQ(advanceValue(123'456'789, 145), 17'901'000);
    EXPECT_EQ(advanceValue(123'456'789, 200), 24'691'000);
    EXPECT_EQ(addDueWindow(QStringLiteral("1403/12/20"), 1).value_or(QString()), QStringLiteral("1404/01/05"));
    EXPECT_EQ(addDueWindow(QStringLiteral("1403/05/15"), 2).value_or(QString()), QStringLiteral("1403/06/15"));
}

TEST(Guarantees, TheSaveChecksInOrderAndAsksAboutAMissingNumberAndADuplicate)
{
    Office o;
    const qint64 before = o.rows();
    struct Refusal { const char* what; std::function<void(Guarantee&)> change; QString message; };
    const Refusal refusals[] = {
        {"due a day before issue", [](Guarantee& g) { g.sarresid = QStringLiteral("1405/01/09"); }, dueBeforeIssueText()},
        {"no amount", [](Guarantee& g) { g.amount = 0; }, noAmountText()},
        {"a bank guarantee without its bank", [](Guarantee& g) { g.sudBankCode = -1; }, noBankText()},
        {"a date that is no date", [](Guarantee& g) { g.sudDate = QStringLiteral("1405/13/40"); }, QStringLiteral("تاريخ صدور درست نيست: 1405/13/40")},
        {"a party nobody holds", [](Guarantee& g) { g.tafsilNo = 987654; }, QStringLiteral("کد تفضيلي يافت نشد")},
        {"a subject over 120 letters", [](Guarantee& g) { g.descr = QString(121, QChar(0x0628)); }, QStringLiteral("موضوع تضمين بيش از 120 حرف است")},
    };
    for (const Refusal& r : refusals) {
        Guarantee g = o.fresh();
        r.change(g);
        ScriptedPrompt prompt({}, true);
        EXPECT_FALSE(o.reg.save(g, true, prompt)) << r.what;
        EXPECT_TRUE(prompt.infos.contains(r.message)) << r.what << ": " << prompt.text().toStdString();
    }
    EXPECT_EQ(o.rows(), before);

    // The due date may be the issue date itself.
    Guarantee same = o.fresh();
    same.sarresid = same.sudDate;
    ScriptedPrompt yes({}, true);
    const auto kept = o.reg.save(same, true, yes);
    ASSERT_TRUE(kept) << yes.text().toStdString();
    const Guarantee stored = *o.reg.read(*kept);
    EXPECT_EQ(stored.amount1, stored.amount);
    EXPECT_EQ(stored.sarresid1, stored.sarresid);
    EXPECT_EQ(stored.status, StatusValid);

    // No number on a bank guarantee: issuance requested only when the user says so.
    Guarantee unnumbered = o.fresh();
    unnumbered.zno.clear();
    ScriptedPrompt no({false});
    EXPECT_FALSE(o.reg.save(unnumbered, true, no));
    EXPECT_EQ(no.questions, QStringList{issueRequestQuestion()});
    ScriptedPrompt agree({true});
    const auto requested = o.reg.save(unnumbered, true, agree);
    ASSERT_TRUE(requested);
    EXPECT_EQ(o.reg.read(*requested)->status, StatusIssueRequested);
    // A type from 2 on takes an empty number without a question (and keeps no branch).
    Guarantee note = o.fresh();
    note.zno.clear();
    note.type = 4;
    ScriptedPrompt silent;
    const auto pledged = o.reg.save(note, true, silent);
    ASSERT_TRUE(pledged) << silent.text().toStdString();
    EXPECT_TRUE(silent.questions.isEmpty());
    EXPECT_EQ(o.reg.read(*pledged)->sudBankCode, -1);

    // The same number for the same party is asked about on leaving and on saving; for
    // another party it is no duplicate.
    Guarantee twin = o.fresh();
    twin.idx = 0;
    ScriptedPrompt leave({false});
    EXPECT_FALSE(o.reg.confirmNumber(twin, leave));
    EXPECT_EQ(leave.questions, QStringList{duplicateLeaveQuestion()});
    ScriptedPrompt refuseTwin({false});
    EXPECT_FALSE(o.reg.save(twin, true, refuseTwin));
    EXPECT_EQ(refuseTwin.questions, QStringList{duplicateSaveQuestion()});
    twin.tafsilNo = o.other;
    EXPECT_FALSE(*o.reg.duplicateNumber(twin));
    // The same archive row only warns.
    ScriptedPrompt warned;
    Guarantee row = o.fresh();
    row.zpos = stored.zpos;
    o.reg.warnArchiveRow(row, warned);
    EXPECT_EQ(warned.infos, QStringList{archiveRepeatText()});
}

TEST(Guarantees, AnEditWritesItsColumnsAndCarriesEveryOtherAsItWas)
{
    Office o;
    ScriptedPrompt yes({}, true);
    const int idx = *o.reg.save(o.fresh(), true, yes);
    ASSERT_TRUE(db::execSql(o.db(),
                            QStringLiteral("UPDATE ZEMANAT SET ALTP = 7, ACCDETAIL3 = 'X-3', KUTAGNO = 'K12', AMOUNTMOJAZE = 55, "
                                           "AMOUNT1 = 900000000, SARRESID1 = '1405/04/10', LETTERNO = 'L-9', TAMDIDSTATUSE = 1 WHERE IDX = :i"),
                            {{QStringLiteral(":i"), idx}}));
    Guarantee g = *o.reg.read(idx);
    EXPECT_TRUE(g.extended());
    EXPECT_TRUE(g.reduced());
    g.amount = 300'000'000;
    g.descr = QStringLiteral("پنجاه درصد اول");
    ScriptedPrompt edit({}, true);
    ASSERT_TRUE(o.reg.save(g, false, edit)) << edit.text().toStdString();
    const auto r = db::firstRow(o.db(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :i"), {{QStringLiteral(":i"), idx}});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->value(QStringLiteral("AMOUNT")).toLongLong(), 300'000'000);
    EXPECT_EQ(r->value(QStringLiteral("DESCR")).toString(), QStringLiteral("پنجاه درصد اول"));
    EXPECT_EQ(r->value(QStringLiteral("ALTP")).toInt(), 7);
    EXPECT_EQ(r->value(QStringLiteral("ACCDETAIL3")).toString(), QStringLiteral("X-3"));
    EXPECT_EQ(r->value(QStringLiteral("KUTAGNO")).toString(), QStringLiteral("K12"));
    EXPECT_EQ(r->value(QStringLiteral("AMOUNTMOJAZE")).toInt(), 55);
    EXPECT_EQ(r->value(QStringLiteral("TAMDIDSTATUSE")).toInt(), 1);
    EXPECT_EQ(r->value(QStringLiteral("LETTERNO")).toString(), QStringLiteral("L-9"));
    // The initial amount and due date stay as the history left them.
    EXPECT_EQ(r->value(QStringLiteral("AMOUNT1")).toLongLong(), 900'000'000);
    EXPECT_EQ(r->value(QStringLiteral("SARRESID1")).toString(), QStringLiteral("1405/04/10"));
    EXPECT_EQ(test::historyCount(*o.session, QStringLiteral("TABLENAME = 'ZEMANAT'")), 2);
}

TEST(Guarantees, WritingNeedsTheWriteLevelAndTheEntrysBitsAndADeleteSparesALetteredOrBookedGuarantee)
{
    Office o;
    ScriptedPrompt yes({}, true);
    const int idx = *o.reg.save(o.fresh(), true, yes);
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("UPDATE PROGUSERS SET SEL2 = 1 WHERE PROGID = 3 AND UCODE = 3")));
    ScriptedPrompt refused({}, true);
    EXPECT_FALSE(o.reg.save(o.fresh(), true, refused));
    EXPECT_TRUE(refused.infos.contains(writeRefusalText()));
    EXPECT_FALSE(o.reg.remove(idx, refused));
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("UPDATE PROGUSERS SET SEL2 = 2 WHERE PROGID = 3 AND UCODE = 3")));

    // A letter in the history keeps it; a scratch row does not.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO ZHIST (ZIDX, ROW, KIND, ANS) VALUES (:i, 1, 1, 2), (:i, 2, 1, 100)"),
                            {{QStringLiteral(":i"), idx}}));
    ScriptedPrompt kept({}, true);
    EXPECT_FALSE(o.reg.remove(idx, kept));
    EXPECT_TRUE(kept.questions.isEmpty());
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("DELETE FROM ZHIST WHERE ZIDX = :i AND ROW = 1"), {{QStringLiteral(":i"), idx}}));
    ScriptedPrompt no({false});
    EXPECT_FALSE(o.reg.remove(idx, no));
    EXPECT_TRUE(o.reg.read(idx));
    ScriptedPrompt sure({true});
    EXPECT_TRUE(o.reg.remove(idx, sure)) << sure.text().toStdString();
    EXPECT_TRUE(o.reg.read(idx).empty());
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZHIST WHERE ZIDX = :i"), {{QStringLiteral(":i"), idx}}), 0);

    // The accountant of the demo has no delete bit on any entry.
    ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(*o.session, QStringLiteral("4"), QStringLiteral("1111"), quiet));
    const int another = int(count(o.db(), QStringLiteral("SELECT MIN(IDX) FROM ZEMANAT WHERE IDX NOT IN (SELECT ZIDX FROM ZHIST)")));
    ScriptedPrompt noBit({}, true);
    EXPECT_FALSE(o.reg.remove(another, noBit));
    EXPECT_TRUE(o.reg.read(another));
}

TEST(Guarantees, TheBookingVoucherDebitsTheTypeAndCreditsTheNatureAndItsRejectionClearsTheReferences)
{
    Office o;
    ScriptedPrompt yes({}, true);
    Guarantee g = o.fresh();
    g.type = 12;   // insurer's guarantee, 131000003
    g.kind = 1;    // performance, 132000002
    const int idx = *o.reg.save(g, true, yes);
    accounting::PostingRecorder recorder;
    const QString date = QStringLiteral("1405/09/10");
    const Outcome booked = o.reg.book(idx, {0, date}, yes);
    ASSERT_TRUE(booked) << yes.text().toStdString();
    const Guarantee after = *o.reg.read(idx);
    EXPECT_EQ(after.sndNo, booked.voucher);
    EXPECT_EQ(after.sndSudDate, date);
    EXPECT_EQ(after.sndYer, 1405);
    const auto rows = accounting::Vouchers(*o.session).rows(booked.voucher);
    ASSERT_TRUE(rows);
    qint64 debit = 0, credit = 0;
    for (const accounting::VoucherRow& r : *rows) {
        if (r.row == after.sndRow) {
            EXPECT_EQ(r.kol, 131);
            EXPECT_EQ(r.moin, 3);
        }
        debit += r.debit;
        credit += r.credit;
    }
    EXPECT_EQ(debit, g.amount);
    EXPECT_EQ(credit, g.amount);
    ScriptedPrompt again({}, true);
    EXPECT_FALSE(o.reg.book(idx, {0, date}, again));

    ASSERT_TRUE(recorder.last());
    QString why;
    ASSERT_TRUE(accounting::VoucherWriter(*o.session).reject(*recorder.last(), &Guarantees::clearVoucherReferences, &why)) << why.toStdString();
    const Guarantee cleared = *o.reg.read(idx);
    EXPECT_EQ(cleared.sndNo, 0);
    EXPECT_TRUE(cleared.sndSudDate.isEmpty());
    // A booked guarantee is not deleted until its voucher goes.
    const Outcome rebooked = o.reg.book(idx, {0, date}, yes);
    ASSERT_TRUE(rebooked);
    ScriptedPrompt sure({true});
    EXPECT_FALSE(o.reg.remove(idx, sure));
}

TEST(Guarantees, TheSubjectListIsSeededOnceWithTheFiveStandardTexts)
{
    Office o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("DELETE FROM ZEMDESCR")));
    GuaranteeSubjects subjects(*o.session);
    ScriptedPrompt p;
    ASSERT_TRUE(subjects.seedWhenEmpty(p));
    EXPECT_EQ(*subjects.texts(), GuaranteeSubjects::standardTexts());
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT MIN(CODE) * 10 + MAX(CODE) FROM ZEMDESCR")), 15);
    ASSERT_TRUE(subjects.seedWhenEmpty(p));
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMDESCR")), 5);
    ArchiveFolders folders(*o.session);
    ScriptedPrompt told;
    EXPECT_FALSE(folders.save({0, QString(), 0}, true, told));
    EXPECT_TRUE(told.infos.contains(QStringLiteral("اطلاعات كامل نيست"))) << told.text().toStdString();
}

TEST(GuaranteeList, TheLiveListLeavesOutCancelledAndSeizedAndItsTotalsFollowTheConditions)
{
    Office o;
    auto rowsOf = [&](const GuaranteeFilter& f) {
        io::BoundList bound(*o.session, *guaranteeList(f));
        io::RowSet rows;
        QString why;
        EXPECT_TRUE(bound.fetchAll(rows, {}, &why)) << why.toStdString();
        return rows;
    };
    const qint64 all = count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT"));
    const qint64 hidden = count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZSTATUSE IN (3, 4)"));
    ASSERT_GT(hidden, 0);
    struct Case { bool cancelled, seized; qint64 expected; };
    const Case cases[] = {{false, false, all - hidden},
                          {true, false, all - count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZSTATUSE = 4"))},
                          {true, true, all}};
    for (const Case& c : cases) {
        GuaranteeFilter f;
        f.showCancelled = c.cancelled;
        f.showSeized = c.seized;
        EXPECT_EQ(rowsOf(f).rowCount(), c.expected);
        const auto t = guaranteeTotals(*o.session, f);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->count, c.expected);
    }
    // A chosen status shows its rows, cancelled ones too.
    GuaranteeFilter cancelled;
    cancelled.status = StatusCancelled;
    EXPECT_EQ(rowsOf(cancelled).rowCount(), count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZSTATUSE = 3")));

    // The free condition binds its value: a quote is searched as itself.
    GuaranteeFilter free;
    free.condition = FreeCondition{QStringLiteral("ZNO"), QStringLiteral("="), QStringLiteral("x' OR '1'='1")};
    EXPECT_EQ(rowsOf(free).rowCount(), 0);
    free.condition = FreeCondition{QStringLiteral("AMOUNT"), QStringLiteral(">="), QStringLiteral("1,000,000,000")};
    EXPECT_EQ(guaranteeTotals(*o.session, free)->count,
              count(o.db(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE AMOUNT >= 1000000000 AND ZSTATUSE NOT IN (3, 4)")));
    QString why;
    free.condition = FreeCondition{QStringLiteral("AMOUNT; DROP TABLE ZEMANAT"), QStringLiteral("="), QStringLiteral("1")};
    EXPECT_FALSE(guaranteeList(free, &why));
    EXPECT_FALSE(why.isEmpty());
    GuaranteeFilter badDate;
    badDate.dueFrom = QStringLiteral("1405/02/31x");
    EXPECT_FALSE(guaranteeList(badDate, &why));

    // The summed totals of the rows the grid shows.
    const io::RowSet rows = rowsOf({});
    std::vector<int> two{0, 1};
    const GuaranteeTotals t = guaranteeTotals(rows, two);
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(t.amount, rialsOf(io::fieldValue(rows, 0, QStringLiteral("AMOUNT"))) + rialsOf(io::fieldValue(rows, 1, QStringLiteral("AMOUNT"))));

    // The party summary: live rows with their initial amounts, the cancelled apart.
    const int party = io::fieldValue(rows, 0, QStringLiteral("TAFSILNO")).toInt();
    const auto s = o.reg.partySummary(party);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->cancelledAmount, count(o.db(), QStringLiteral("SELECT COALESCE(SUM(AMOUNT), 0) FROM ZEMANAT WHERE TAFSILNO = :p AND ZSTATUSE = 3"),
                                        {{QStringLiteral(":p"), party}}));
}
