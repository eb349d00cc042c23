#include "core/deposits/FundRequests.h"
#include "core/deposits/OwnerRequests.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/BoundList.h"
#include "core/io/Report.h"
#include "RequestOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;
using test::RequestOffice;

TEST(FundRequests, SharesAreRoundedToWholeRialsHalvesToEven)
{
    const std::tuple<qint64, int, qint64> cases[] = {
        {1001, 50, 500}, {1003, 50, 502}, {1001, 25, 250}, {1001, 75, 751}, {1000, 25, 250}, {2, 25, 0}, {6, 25, 2}, {0, 75, 0},
    };
    for (const auto& [amount, percent, share] : cases)
        EXPECT_EQ(shareOf(amount, percent), share) << amount << " " << percent;
}

// The marks follow every request of a deposit: sending, confirming and sending back
// to draft rewrite them on each deposit of the request, and a mark another request
// still holds stays.
TEST(FundRequests, StateChangesRewriteTheMarksOfTheirDeposits)
{
    RequestOffice o;
    const int a = o.deposit(10'000);
    const int b = o.deposit(20'000);
    const int first = o.request({{a, 10'000}, {b, 5'000}}, QStringLiteral("R-1"));
    ScriptedPrompt yes({}, true);
    // The second request asks about b, requested once already.
    auto row = FundRequests(*o.session).rowFor(o.request({}, QStringLiteral("R-2")), b);
    ASSERT_TRUE(row);
    FundRequestRow r = *row;
    r.amount = 15'000;
    ASSERT_TRUE(FundRequests(*o.session).saveRow(r, true, yes)) << yes.text().toStdString();
    const int second = r.reqIdx;
    ASSERT_EQ(yes.questions.size(), 1);
    EXPECT_EQ(yes.questions.first(), QStringLiteral("اين سپرده قبلا با درخواست شماره ") + io::isolateLtr(QStringLiteral("R-1"))
                                         + QStringLiteral("درخواست شده است . آيا ميخواهيد ادامه دهيد؟"));

    using M = std::pair<int, int>;
    struct Step {
        int request;
        FundState state;
        qint64 paidIn;
        M a, b;
    };
    const Step steps[] = {
        {first, FundState::Draft, 0, {0, 0}, {0, 0}},
        {first, FundState::Sent, 0, {1, 0}, {1, 0}},
        {first, FundState::Confirmed, 15'000, {1, 1}, {1, 1}},
        {second, FundState::SentWithFile, 0, {1, 1}, {1, 1}},
        {first, FundState::Draft, 0, {0, 0}, {1, 0}},   // b stays requested: the second request holds it
        {second, FundState::Draft, 0, {0, 0}, {0, 0}},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(o.toState(s.request, s.state, s.paidIn));
        EXPECT_EQ(o.marks(a), s.a) << int(s.state);
        EXPECT_EQ(o.marks(b), s.b) << int(s.state);
        EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_REQR WHERE REQ_IDX = :r AND REQSTATUSE <> :s"),
                          {{QStringLiteral(":r"), s.request}, {QStringLiteral(":s"), int(s.state)}}),
                  0);
    }
}

TEST(FundRequests, ThePaidInAmountIsComparedAsANumber)
{
    RequestOffice o;
    const int r = o.request({{o.deposit(10'000), 10'000}});
    FundRequests requests(*o.session);
    const std::pair<qint64, bool> cases[] = {{9'000, true}, {10'000, true}, {10'001, false}};
    for (const auto& [paid, accepted] : cases) {
        FundRequest h = *requests.read(r);
        h.ansAmount = paid;
        ScriptedPrompt p({}, true);
        EXPECT_EQ(requests.changeState(h, FundState::Confirmed, p).has_value(), accepted) << paid;
        if (!accepted) {
            EXPECT_EQ(p.infos, QStringList{paidAboveRequestedText()});
            EXPECT_EQ(requests.read(r)->ansAmount, 10'000);   // as the last accepted save left it
        }
    }
}

// REQ_AMOUNT and TEDAD are the rows' sum and count after every change of rows, and
// "تعيين مبلغ همه" repairs them where another program left them otherwise.
TEST(FundRequests, TheAmountAndCountAreAlwaysTheRows)
{
    RequestOffice o;
    FundRequests requests(*o.session);
    const int x = o.deposit(1'000), y = o.deposit(2'000), z = o.deposit(4'000);
    const int r = o.request({{x, 1'000}, {y, 500}});
    auto header = [&] { return std::pair{requests.read(r)->reqAmount, requests.read(r)->tedad}; };
    EXPECT_EQ(header(), (std::pair<qint64, int>{1'500, 2}));

    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(requests.addDeposits(r, {{z, 0}, {y, 1'000}}, yes)) << yes.text().toStdString();
    EXPECT_EQ(yes.questions.first(), QStringLiteral("همه اين سپرده ها با شماره درخواست انتخاب شده، درخواست مي شوند، مطمئن هستيد؟"));
    EXPECT_EQ(header(), (std::pair<qint64, int>{1'500 + 4'000 + 1'000, 4}));   // z at its balance
    ASSERT_TRUE(requests.removeRow(r, 1, yes));
    EXPECT_EQ(header(), (std::pair<qint64, int>{5'500, 3}));
    EXPECT_EQ(o.marks(x), (std::pair{0, 0}));

    const int empty = o.request({}, QStringLiteral("E-1"));
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_REQH SET REQ_AMOUNT = 77, TEDAD = 3")));
    ASSERT_TRUE(requests.setAllAmounts(yes));
    EXPECT_EQ(requests.read(empty)->reqAmount, 0);
    EXPECT_EQ(requests.read(empty)->tedad, 0);
    EXPECT_EQ(header(), (std::pair<qint64, int>{5'500, 3}));
}

TEST(FundRequests, ARowCopiesItsDepositAndCreditNotice)
{
    RequestOffice o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE, BESAMOUNT) VALUES (9001, '4777', '1409/02/01', 987654)")));
    const int d = o.deposit(30'000, 512,
                            {{QStringLiteral("ELAMBESIDX"), 9001},
                             {QStringLiteral("ERSALVAJHKHAZANE_NO"), QStringLiteral("1041/ذ")},
                             {QStringLiteral("ERSALVAJHKHAZANE_DATE"), QStringLiteral("1409/01/30")},
                             {QStringLiteral("SEPROW"), 17}});
    const int r = o.request({{d, 7'500}});
    const auto row = FundRequests(*o.session).readRow(r, 1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->sepIdx, d);
    EXPECT_EQ(row->tafsilNo, o.owner);
    EXPECT_EQ(row->fishNo, 512);
    EXPECT_EQ(row->fishDate, QStringLiteral("1409/01/10"));
    EXPECT_EQ(row->fishAmount, 30'000);
    EXPECT_EQ(row->ersalLetter, QStringLiteral("1041/ذ"));
    EXPECT_EQ(row->ersalLetterDate, QStringLiteral("1409/01/30"));
    EXPECT_EQ(row->ersalRow, 17);
    EXPECT_EQ(row->besIdx, 9001);
    EXPECT_EQ(row->bestankariNo, QStringLiteral("4777"));
    EXPECT_EQ(row->bestankariDate, QStringLiteral("1409/02/01"));
    EXPECT_EQ(row->peikareh, 987'654);
    EXPECT_EQ(row->amount, 7'500);

    // The notice's total read again after it changed.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE BESTANKARI SET BESAMOUNT = 1000000 WHERE IDXNO = 9001")));
    ScriptedPrompt p;
    ASSERT_TRUE(FundRequests(*o.session).refreshCreditTotals(r, p));
    EXPECT_EQ(FundRequests(*o.session).readRow(r, 1)->peikareh, 1'000'000);
}

TEST(FundRequests, AReceiptNumberFindsOneDepositOrSaysWhy)
{
    RequestOffice o;
    const int one = o.deposit(1'000, 880001);
    o.deposit(1'000, 880002);
    o.deposit(1'000, 880002);
    FundRequests requests(*o.session);
    struct Case {
        qint64 no;
        int owner;
        std::optional<int> found;
        const char* message;
    };
    const Case cases[] = {
        {880001, -1, one, ""},
        {880001, o.owner, one, ""},
        {880009, -1, std::nullopt, "شماره قبض در اطلاعات سپرده هاي دريافتي يافت نشد"},
        {880001, o.owner + 100000, std::nullopt, "شماره قبض در اطلاعات سپرده هاي دريافتي پيمانکار/قرارداد فوق يافت نشد"},
        {880002, -1, std::nullopt, "اين شماره قبض بيش از يک بار در اطلاعات سپرده هاي دريافتي آمده است؛ سپرده را از فهرست سپرده هاي دريافتي انتخاب کنيد"},
    };
    for (const Case& c : cases) {
        ScriptedPrompt p;
        EXPECT_EQ(requests.depositOfReceipt(c.no, c.owner, -1, p), c.found) << c.no;
        EXPECT_EQ(p.text(), QString::fromUtf8(c.message)) << c.no;
    }
}

// What is refused leaves the request as it was.
TEST(FundRequests, BadInputIsRefusedAndChangesNothing)
{
    RequestOffice o;
    FundRequests requests(*o.session);
    const int d = o.deposit(10'000);
    const int r = o.request({{d, 10'000}});
    const qint64 before = o.audit();

    FundRequest undated = *requests.read(r);
    undated.reqDate = QString::fromUtf16(util::EmptyDateText);
    ScriptedPrompt p1;
    EXPECT_FALSE(requests.save(undated, false, p1));
    EXPECT_EQ(p1.text(), noRequestDateText());

    FundRequestRow tooMuch = *requests.rowFor(r, d);
    tooMuch.amount = 10'001;
    ScriptedPrompt p2({}, true);
    EXPECT_FALSE(requests.saveRow(tooMuch, true, p2));
    EXPECT_EQ(p2.infos, QStringList{QStringLiteral("مبلغ درخواستي از مبلغ سپرده بيشتر است")});

    // A final request is not changed, nor deleted.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_REQH SET REQSTATUSE = 4 WHERE REQ_IDX = :r"), {{QStringLiteral(":r"), r}}));
    const qint64 finalAudit = o.audit();
    ScriptedPrompt p3({}, true);
    EXPECT_FALSE(requests.save(*requests.read(r), false, p3));
    EXPECT_FALSE(requests.removeRow(r, 1, p3));
    EXPECT_FALSE(requests.remove(r, p3));
    EXPECT_EQ(p3.infos.size(), 3);
    for (const QString& said : p3.infos)
        EXPECT_EQ(said, finalRequestText());
    EXPECT_EQ(o.audit(), finalAudit);
    EXPECT_EQ(before, finalAudit);
    EXPECT_EQ(requests.read(r)->tedad, 1);
}

// Deleting a request takes its rows with it (none is left pointing at nothing) and
// its deposits keep only what other requests hold; one that refunds name stays.
TEST(FundRequests, DeletingARequestTakesItsRowsAndKeepsRefundedOnes)
{
    RequestOffice o;
    const int a = o.deposit(10'000), b = o.deposit(10'000);
    const int gone = o.request({{a, 10'000}, {b, 10'000}});
    const int kept = o.request({{b, 10'000}}, QStringLiteral("K"));
    ASSERT_TRUE(o.toState(gone, FundState::Sent));
    ASSERT_TRUE(o.toState(kept, FundState::Sent));
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(FundRequests(*o.session).remove(gone, yes)) << yes.text().toStdString();
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_REQR WHERE REQ_IDX = :r"), {{QStringLiteral(":r"), gone}}), 0);
    EXPECT_EQ(o.marks(a), (std::pair{0, 0}));
    EXPECT_EQ(o.marks(b), (std::pair{1, 0}));

    ASSERT_TRUE(o.toState(kept, FundState::Confirmed, 10'000));
    ASSERT_TRUE(Refunds(*o.session).refundRequest(kept, QStringLiteral("1409/03/01"), yes));
    ScriptedPrompt p({}, true);
    EXPECT_FALSE(FundRequests(*o.session).remove(kept, p));
    EXPECT_EQ(p.infos, QStringList{QStringLiteral("سپرده هاي اين درخواست استرداد شده است و درخواست نمي تواند حذف شود")});
}

TEST(FundRequests, OwnersRequestsNeedAnOwner)
{
    RequestOffice o;
    OwnerRequests requests(*o.session);
    OwnerRequest q;
    q.reqSabtDate = QStringLiteral("1409/01/12");
    ScriptedPrompt p;
    EXPECT_FALSE(requests.save(q, true, p));
    EXPECT_EQ(p.text(), QStringLiteral("اطلاعات كامل نيست"));
    q.tafsilNo = o.owner;
    q.okAmount = 2'500'000;
    const auto saved = requests.save(q, true, p);
    ASSERT_TRUE(saved) << p.text().toStdString();
    EXPECT_EQ(requests.read(*saved)->okAmount, 2'500'000);
    EXPECT_EQ(requests.read(*saved)->uid, 3);
}

// The row list of one request reads the rows of that request, by its own state filter.
TEST(FundRequests, TheRowListShowsOneRequestOrEvery)
{
    RequestOffice o;
    const int r = o.request({{o.deposit(1'000), 1'000}, {o.deposit(2'000), 2'000}});
    io::ListDefinition one = fundRequestRowsList(true);
    QVariantMap params = one.defaultParameters();
    params.insert(QStringLiteral(":Req"), r);
    io::RowSet rows;
    QString why;
    ASSERT_TRUE(rows.open(o.db(), one.sql, params, &why)) << why.toStdString();
    rows.fetchAll();
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(io::fieldValue(rows, 1, QStringLiteral("ROWKEY")).toLongLong(), requestRowKey(r, 2));
    params.insert(QStringLiteral(":State"), 1);   // sent: none yet
    io::RowSet sent;
    ASSERT_TRUE(sent.open(o.db(), one.sql, params, &why)) << why.toStdString();
    sent.fetchAll();
    EXPECT_EQ(sent.rowCount(), 0);
}
