#include "core/accounting/VoucherWriter.h"
#include "core/basedata/ContractCreditSources.h"
#include "core/basedata/ContractLists.h"
#include "core/basedata/ContractNamedList.h"
#include "core/basedata/Contracts.h"
#include "core/accounting/Vouchers.h"
#include "core/db/Db.h"
#include "core/startup/Program.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::basedata;

namespace {

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

qint64 contracts(startup::Session& s) { return count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE CI = 0")); }

Contract draft()
{
    Contract c;
    c.values = {{QStringLiteral("PAYMENTNO"), QStringLiteral("1405/77")}, {QStringLiteral("PAYMENTDATE"), QStringLiteral("1405/02/10")},
                {QStringLiteral("TAFSIL"), 1001}, {QStringLiteral("AMOUNT"), QStringLiteral("۱,۲۵۰,۰۰۰,۰۰۰")},
                {QStringLiteral("EZAFEHKAR"), QStringLiteral("300,000,000")}};
    c.creditSources = {1, 2};
    return c;
}

qint64 saved(startup::Session& s, const Contract& c)
{
    startup::CollectingPrompt prompt;
    const std::optional<qint64> code = Contracts(s).save(c, true, prompt);
    EXPECT_TRUE(code) << prompt.text().toStdString();
    return code.value_or(0);
}

} // namespace

TEST(Contracts, SaveFillsTheDescriptionReadsAmountsAndKeepsTheTickedSources)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 next = count(s.common(), QStringLiteral("SELECT MAX(CODE) + 1 FROM PAYMENTS WHERE CI = 0"));
    EXPECT_EQ(Contracts(s).proposedCode().value_or(0), next);
    Contract c = draft();
    c.hasSupplement = true;
    const qint64 code = saved(s, c);
    EXPECT_EQ(code, next);
    db::Fetched<Contract> back = Contracts(s).read(code);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text(QStringLiteral("DESCR")), QStringLiteral("ق 1405/77 تاريخ 1405/02/10"));
    EXPECT_EQ(back->text(QStringLiteral("AMOUNT")), QStringLiteral("1250000000"));
    EXPECT_EQ(back->text(QStringLiteral("AMOUNTFINAL")), QStringLiteral("0"));
    EXPECT_EQ(back->creditSources, (QList<int>{1, 2}));
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT TIKMOTAMAM FROM PAYMENTS WHERE CODE = :c AND CI = 0"), {{QStringLiteral(":c"), code}}), 2);

    // Unticking every source and the supplement.
    Contract edit = *back;
    edit.creditSources.clear();
    edit.hasSupplement = false;
    startup::CollectingPrompt prompt;
    ASSERT_TRUE(Contracts(s).save(edit, false, prompt)) << prompt.text().toStdString();
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PAYMAN_ETE WHERE id = :c AND CI = 0"), {{QStringLiteral(":c"), code}}), 0);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT TIKMOTAMAM FROM PAYMENTS WHERE CODE = :c AND CI = 0"), {{QStringLiteral(":c"), code}}), 1);
}

TEST(Contracts, BadInputIsRefusedWithItsReasonAndNothingIsWritten)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    struct Case {
        const char* column;
        QVariant value;
        const char* message;
    };
    const Case cases[] = {
        {"AMOUNT", QStringLiteral("يک ميليون"), "مبلغ وارد شده درست نيست (مبلغ اوليه پيمان): يک ميليون"},
        {"AMOUNTFINAL", QStringLiteral("12e5"), "مبلغ وارد شده درست نيست (مبلغ نهائي پيمان): 12e5"},
        {"PAYMENTDATE", QStringLiteral("1405/13/40"), "تاريخ وارد شده درست نيست (تاريخ قرارداد): 1405/13/40"},
        {"DATEFINAL", QStringLiteral("' OR 1=1 --"), "تاريخ وارد شده درست نيست (تا تاريخ): ' OR 1=1 --"},
        {"TAFSIL", 999999, "طرف قرارداد: کد يافت نشد 999999"},
        {"PROJNO", 99999, "پروژه: کد يافت نشد 99999"},
        {"MODAT", QStringLiteral("دو"), "مدت درست نيست: دو"},
        {"DARSADBIMEHKARF", QStringLiteral("5%"), "نرخ بيمه سهم کارفرما درست نيست: 5%"},
    };
    const qint64 before = contracts(s);
    for (const Case& c : cases) {
        Contract bad = draft();
        bad.values.insert(QString::fromLatin1(c.column), c.value);
        startup::CollectingPrompt prompt;
        EXPECT_FALSE(Contracts(s).save(bad, true, prompt)) << c.column;
        EXPECT_EQ(prompt.text(), QString::fromUtf8(c.message)) << c.column;
    }
    Contract taken = draft();
    taken.code = 1;
    startup::CollectingPrompt prompt;
    EXPECT_FALSE(Contracts(s).save(taken, true, prompt));
    EXPECT_EQ(prompt.text(), QStringLiteral("اين کد قرارداد قبلا استفاده شده است"));
    EXPECT_TRUE(*Contracts(s).codeUsed(1));
    EXPECT_EQ(contracts(s), before);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE PAYMENTNO = '1405/77'")), 0);

    // The split takes known plans and their own projects only.
    const qint64 code = saved(s, draft());
    const qint64 otherProject = count(s.common(), QStringLiteral("SELECT MIN(PROJNO) FROM PROJEH WHERE TARHNO <> 1 AND CI = 0"));
    const struct { int plan, project; const char* amount; QString message; } splits[] = {
        {999, 1, "1000", QStringLiteral("برنامه: کد يافت نشد 999")},
        {1, int(otherProject), "1000", QStringLiteral("پروژه %1 از اين برنامه نيست").arg(otherProject)},
        {1, 1, "هزار", QStringLiteral("مبلغ وارد شده درست نيست: هزار")},
    };
    for (const auto& c : splits) {
        startup::CollectingPrompt why;
        EXPECT_FALSE(Contracts(s).addSplit(code, c.plan, c.project, QString::fromUtf8(c.amount), why));
        EXPECT_EQ(why.text(), c.message);
    }
    EXPECT_TRUE(Contracts(s).splits(code)->isEmpty());

    // Searched words are text, never part of the statement.
    for (ContractSearch by : {ContractSearch::Number, ContractSearch::Code, ContractSearch::Description, ContractSearch::Party, ContractSearch::Plan,
                              ContractSearch::Project}) {
        const db::Fetched<QList<qint64>> found = Contracts(s).search(by, QStringLiteral("' OR '1'='1"));
        ASSERT_TRUE(found) << int(by);
        EXPECT_TRUE(found->isEmpty()) << int(by);
    }
    EXPECT_EQ(Contracts(s).search(ContractSearch::Party, QStringLiteral("۱۰۰۱"))->size(),
              count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE TAFSIL = 1001 AND CI = 0")));
}

TEST(Contracts, AFailedStepLeavesTheContractAsItWas)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 code = saved(s, draft());
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("CREATE TRIGGER refuse_ete BEFORE INSERT ON PAYMAN_ETE BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    Contract edit = *Contracts(s).read(code);
    edit.values.insert(QStringLiteral("DESCR"), QStringLiteral("شرح تازه"));
    edit.creditSources = {3};
    startup::CollectingPrompt prompt;
    EXPECT_FALSE(Contracts(s).save(edit, false, prompt));
    EXPECT_FALSE(prompt.text().isEmpty());
    const db::Fetched<Contract> back = Contracts(s).read(code);
    EXPECT_EQ(back->text(QStringLiteral("DESCR")), QStringLiteral("ق 1405/77 تاريخ 1405/02/10"));
    EXPECT_EQ(back->creditSources, (QList<int>{1, 2}));
}

TEST(Contracts, TheVoucherPostsBothRowsAndRecordsTheYearOfItsBooks)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 code = saved(s, draft());
    const int year = accounting::accountingYear(s);
    ASSERT_NE(year, 1390);
    QString why;
    const auto posted = Contracts(s).postVoucher(code, ContractAmount::Initial, {0, QStringLiteral("%1/03/01").arg(year), false, {}}, &why);
    ASSERT_TRUE(posted) << why.toStdString();
    const db::Fetched<Contract> c = Contracts(s).read(code);
    EXPECT_EQ(c->voucherNo, posted->number);
    EXPECT_EQ(c->voucherYear, year);

    QSqlQuery q(s.accounting());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT KOL, MOIN, TAFSIL, TAFSIL2, BED, BES, DESCR, PROJEH, TARHNO, CHKNO FROM SNDROW WHERE SNDNO = %1 ORDER BY ROW").arg(posted->number)));
    const QString text = QStringLiteral("- قرارداد شماره 1405/77 تاريخ 1405/02/10 ثبت كنترل قراردادها ");
    const struct { int kol; qint64 debit, credit; } rows[] = {{910, 1250000000, 0}, {920, 0, 1250000000}};
    for (const auto& r : rows) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), r.kol);
        EXPECT_EQ(q.value(1).toInt(), 1);
        EXPECT_EQ(q.value(2).toInt(), 1001);
        EXPECT_EQ(q.value(3).toLongLong(), code);
        EXPECT_EQ(q.value(4).toLongLong(), r.debit);
        EXPECT_EQ(q.value(5).toLongLong(), r.credit);
        EXPECT_EQ(q.value(6).toString(), text);
        EXPECT_TRUE(q.value(7).isNull() && q.value(8).isNull() && q.value(9).isNull());
    }
    EXPECT_FALSE(q.next());
    EXPECT_EQ(count(s.accounting(), QStringLiteral("SELECT KIND * 10 + STATE FROM SNDHEAD WHERE SNDNO = :n"), {{QStringLiteral(":n"), posted->number}}), 11);

    // The change amount, on the ledgers the options name, into its own columns.
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO TbOptions (PROGID, CODE, OPTNAME, OPTVALUE) VALUES (:p, 901, 'PaymanControlKol1', '101'), (:p, 902, 'PaymanControlKol2', '۱۰۲')"),
                            {{QStringLiteral(":p"), startup::ProgID}}));
    const auto change = Contracts(s).postVoucher(code, ContractAmount::Change, {0, QStringLiteral("%1/03/02").arg(year), false, {}}, &why);
    ASSERT_TRUE(change) << why.toStdString();
    EXPECT_EQ(Contracts(s).read(code)->changeVoucherYear, year);
    EXPECT_EQ(count(s.accounting(), QStringLiteral("SELECT SUM(KOL) FROM SNDROW WHERE SNDNO = :n AND BES + BED = 300000000"), {{QStringLiteral(":n"), change->number}}), 203);

    // A date outside the books posts nothing and records nothing.
    const qint64 vouchers = count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDHEAD"));
    EXPECT_FALSE(Contracts(s).postVoucher(code, ContractAmount::Initial, {0, QStringLiteral("1390/01/01"), false, {}}, &why));
    EXPECT_EQ(count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDHEAD")), vouchers);
    EXPECT_EQ(Contracts(s).read(code)->voucherNo, posted->number);

    // Rejected, the change voucher goes with the contract's reference to it; the
    // initial amount's reference stays.
    ASSERT_TRUE(accounting::VoucherWriter(s).reject(*change, Contracts(s).voucherReferences(code, ContractAmount::Change), &why)) << why.toStdString();
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE CODE = :c AND SNDNO25 IS NULL AND SNDYEAR25 IS NULL"), {{QStringLiteral(":c"), code}}), 1);
    EXPECT_EQ(Contracts(s).read(code)->voucherNo, posted->number);
    EXPECT_TRUE(accounting::Vouchers(s).head(change->number).empty());
}

TEST(Contracts, DeleteIsRefusedWhileHeldAndOtherwiseTakesTheSatellites)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 held = count(s.deposits(), QStringLiteral("SELECT MIN(PAYMENT) FROM SEP_DAR WHERE PAYMENT > 0"));
    startup::CollectingPrompt yes(true);
    EXPECT_FALSE(Contracts(s).remove(held, yes));
    EXPECT_EQ(yes.text(), QStringLiteral("اين قرارداد در سپرده ها بکار رفته است و نميتواند حذف گردد."));
    EXPECT_TRUE(Contracts(s).read(held));

    const qint64 code = saved(s, draft());
    ASSERT_TRUE(db::execSql(s.accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, TAFSIL2) VALUES (999999, 1, :c)"), {{QStringLiteral(":c"), code}}));
    startup::CollectingPrompt again(true);
    EXPECT_FALSE(Contracts(s).remove(code, again));
    EXPECT_EQ(again.text(), QStringLiteral("اين قرارداد در اسناد حسابداري بکار رفته است و نميتواند حذف گردد."));
    ASSERT_TRUE(db::execSql(s.accounting(), QStringLiteral("DELETE FROM SNDROW WHERE SNDNO = 999999")));

    startup::CollectingPrompt quiet(true);
    ASSERT_TRUE(Contracts(s).addSplit(code, 1, 1, QStringLiteral("500,000"), quiet)) << quiet.text().toStdString();
    ContractDeduction k;
    k.contract = code;
    k.kind = 1;
    k.contractorPercent = QStringLiteral("10");
    ASSERT_TRUE(Contracts(s).saveDeduction(k, true, quiet)) << quiet.text().toStdString();
    ContractLetter l;
    l.contract = code;
    l.date = QStringLiteral("1405/03/01");
    EXPECT_EQ(Contracts(s).saveLetter(l, true, quiet).value_or(0), 1);
    EXPECT_EQ(Contracts(s).saveLetter(l, true, quiet).value_or(0), 2);
    ASSERT_TRUE(Contracts(s).remove(code, quiet)) << quiet.text().toStdString();
    EXPECT_EQ(quiet.questions.last(), QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟"));
    for (const char* sql : {"SELECT COUNT(*) FROM PAYMAN_ETE WHERE id = :c", "SELECT COUNT(*) FROM PAYMAN_TP WHERE PaymanCode = :c",
                            "SELECT COUNT(*) FROM PAYMAN_KOSURAT WHERE CODE_PAY = :c", "SELECT COUNT(*) FROM PAYMAN_LETTERS WHERE LtrID = :c",
                            "SELECT COUNT(*) FROM PAYMENTS WHERE CODE = :c"})
        EXPECT_EQ(count(s.common(), QString::fromLatin1(sql), {{QStringLiteral(":c"), code}}), 0) << sql;
}

TEST(Contracts, InsuranceKindsPutTheirRates)
{
    struct Case { int kind, organisation; std::optional<std::pair<double, double>> rates; };
    const Case cases[] = {{1, 1323, {{5, 6.6}}},  {2, 1323, {{12, 15.6}}}, {3, 1323, {{0, 7.0 / 0.9}}}, {3, 275, {{0, 7.8}}},
                          {4, 500, {{0, 100.0 / 6}}}, {5, 1, {{5, 5}}},     {InsuranceSevenKind, 275, std::nullopt}};
    for (const Case& c : cases) {
        const std::optional<InsuranceRates> r = insuranceRates(c.kind, c.organisation);
        ASSERT_EQ(r.has_value(), c.rates.has_value()) << c.kind;
        if (r) {
            EXPECT_DOUBLE_EQ(r->employer, c.rates->first) << c.kind;
            EXPECT_NEAR(r->total, c.rates->second, 1e-9) << c.kind;
        }
    }
}

TEST(Contracts, TransferUnitPartyAndLookupsOfTheListAndOtherScreens)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 code = saved(s, draft());
    startup::CollectingPrompt prompt;
    EXPECT_FALSE(Contracts(s).setTransferUnit(code, 3, prompt));
    EXPECT_TRUE(Contracts(s).setTransferUnit(code, 2, prompt));
    EXPECT_EQ(Contracts(s).read(code)->number(QStringLiteral("TRANSFERUNIT")), 2);
    EXPECT_FALSE(Contracts(s).changeParty(code, 999999, prompt));
    EXPECT_TRUE(Contracts(s).changeParty(code, 1002, prompt)) << prompt.text().toStdString();

    const db::Fetched<Contract> byNumber = Contracts(s).byNumber(QStringLiteral("1405/77"), 1002);
    ASSERT_TRUE(byNumber);
    EXPECT_EQ(byNumber->code, code);
    EXPECT_EQ(Contracts(s).byDescription(byNumber->values.value(QStringLiteral("DESCR")).toString(), 1002)->code, code);
    EXPECT_TRUE(Contracts(s).byNumber(QStringLiteral("1405/77"), 1001).empty());
}

TEST(Contracts, ShortListsAreKeptWhileAContractNamesThem)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    Contract c = draft();
    c.values.insert(QStringLiteral("MOJRI"), 1);
    c.creditSources = {3};
    saved(s, c);
    ContractNamedList executors(s, ContractNamedList::Executors);
    startup::CollectingPrompt yes(true);
    EXPECT_FALSE(executors.remove(1, yes));
    EXPECT_FALSE(ContractCreditSources(s).remove(3, yes));
    EXPECT_EQ(yes.infos, QStringList(2, QStringLiteral("اين مورد در قراردادها بکار رفته است و نميتواند حذف گردد.")));

    NamedRow added;
    added.name = QStringLiteral("معاونت عمراني");
    const std::optional<qint64> next = executors.save(added, true, yes);
    EXPECT_EQ(next.value_or(0), 3);
    EXPECT_TRUE(executors.remove(*next, yes));
}
