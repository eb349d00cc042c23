// The deposits register over the window: the deposits themselves, the month lists
// sent to the treasury and its credit notices, the owners' release requests, the
// fund requests, the refunds and the petty-cash floats they were paid from.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"

namespace orvak::demo {

using util::JalaliDate;

namespace {

// The entry of list filed under key, made (numbered from 1) the first time it is asked for.
template <class T, class Key, class Make>
T& entryFor(QList<T>& list, QHash<Key, int>& index, const Key& key, Make make)
{
    auto it = index.constFind(key);
    if (it == index.constEnd()) {
        list << make(int(list.size()) + 1);
        it = index.insert(key, int(list.size()));
    }
    return list[*it - 1];
}

void putInFundRequest(Deposit& d, qint64 amount, FundRequest& fr, QList<CreditNotice>& credits)
{
    d.requested = amount;
    d.fundReq = fr.idx;
    d.fundRow = ++fr.rows;
    fr.amount += amount;
    CreditNotice& c = credits[d.credit - 1];
    c.requested += amount;
    ++c.requestedCount;
}

void putInRefund(Deposit& d, qint64 amount, Refund& rf)
{
    rf.amount += amount;
    ++rf.rows;
    d.refunded = amount;
    d.refund = rf.idx;
}

// The letter that sent a month's list to the treasury, and the day it went.
QString listLetterNo(const DemoContext& ctx, int year, int month) { return ctx.letterNo("ذ", 1000 + year % 100 * 20 + month); }
QString listSentDate(const DemoContext& ctx, const Deposit& d) { return ctx.cal.text(d.day - ctx.cal.jalali[d.day].day + 35); }
// The owner's letter asking for the release.
QString ownerLetterNo(int request, int owner) { return QStringLiteral("%1/%2").arg(100 + request % 800).arg(owner); }
int creditNoticeNo(int credit) { return 4000 + credit; }

// Who paid in what and when; then the stages by age: matched and numbered, listed and
// sent, credited, requested, paid by the treasury, refunded.
void makeDeposits(DemoContext& ctx)
{
    const qint64 total = qint64(10000) * ctx.options.scale;
    ctx.deposits.reserve(size_t(total));
    QList<int> workdays;
    for (int d = ctx.windowStart; d <= ctx.todayIndex; ++d) {
        if (ctx.cal.days[d].dayOfWeek() != Qt::Friday)
            workdays << d;
    }
    // Deposits in date order: identifiers grow with time as they do in an office.
    for (qint64 i = 0; i < total; ++i) {
        Deposit dep;
        dep.idx = int(i + 1);
        dep.day = workdays[int(i * workdays.size() / total)];
        const Owner& o = ctx.owners[std::min(int(std::pow(ctx.rng.unit(), 1.6) * ctx.owners.size()), int(ctx.owners.size()) - 1)];
        dep.owner = o.code;
        const double r = ctx.rng.unit();
        dep.kind = r < 0.55 ? 1 : r < 0.70 ? 2 : r < 0.80 ? 3 : r < 0.84 ? 13 : r < 0.87 ? 14 : r < 0.90 ? 25 : r < 0.93 ? 20 : r < 0.96 ? 4 : r < 0.98 ? 18 : 23;
        if (!dep.tender() && !o.contracts.isEmpty()) {
            const Contract& c = ctx.contracts[o.contracts[ctx.rng.between(0, int(o.contracts.size()) - 1)] - 1];
            dep.contract = c.code;
            dep.plan = c.plan;
            dep.project = c.project;
        }
        dep.amount = dep.tender() ? ctx.rng.amount(5e7, 2e9) : ctx.rng.amount(8e6, 4.5e9);
        dep.chkno = ctx.rng.between64(100000, 99999999);
        dep.taminKind = ctx.rng.between(1, 3);
        ctx.deposits.push_back(dep);
    }
    QHash<int, int> receiptOfYear;
    QHash<QPair<int, int>, int> rowOfMonth;
    int serial = 0;
    for (Deposit& d : ctx.deposits) {
        const int age = ctx.todayIndex - d.day;
        const JalaliDate j = ctx.cal.jalali[d.day];
        d.my = j.year;
        d.mm = j.month;
        if (age < 20) {
            const double r = ctx.rng.unit();
            d.tiksudmo = r < 0.4 ? QString() : r < 0.6 ? QStringLiteral("R") : QStringLiteral("P");
            continue;
        }
        if (ctx.rng.chance(0.02)) {
            d.tiksudmo = QStringLiteral("O");   // never found on the statement
            continue;
        }
        d.tiksudmo = QStringLiteral("P");
        d.sepno = ++receiptOfYear[j.year];
        d.sepDay = d.day + ctx.rng.between(0, 3);
        d.mosalsal = ++serial;
        d.seprow = ++rowOfMonth[qMakePair(j.year, j.month)];
        d.sent = age >= 35;
        d.finalMark = age >= 90;
    }
}

// Credit notices: one per month list that was sent long enough ago.
void makeCreditNotices(DemoContext& ctx)
{
    QHash<QPair<int, int>, int> creditOfMonth;
    for (Deposit& d : ctx.deposits) {
        if (!d.sent || ctx.todayIndex - d.day < 50)
            continue;
        CreditNotice& c = entryFor(ctx.credits, creditOfMonth, qMakePair(d.my, d.mm), [&](int idx) {
            CreditNotice made{idx, d.my, d.mm};
            made.day = std::min(ctx.todayIndex - 5, d.day + 45);
            return made;
        });
        d.credit = c.idx;
        c.amount += d.amount;
        ++c.count;
    }
}

// Owners' release requests, fund requests, refunds, and the floats lost tenders are paid from.
void makeLife(DemoContext& ctx)
{
    QHash<QPair<int, int>, int> requestOf;    // (owner, month index) -> request
    QHash<int, int> fundRequestOfHalfMonth;
    QHash<QPair<int, int>, int> refundOf;     // (owner, day) -> refund
    for (Deposit& d : ctx.deposits) {
        const int age = ctx.todayIndex - d.day;
        // Lost tenders are paid back from the petty-cash float without waiting for the treasury.
        if (d.tender() && d.credit && age > 60 && ctx.rng.chance(0.7)) {
            const int refundDay = ctx.workingDay(d.day + 55, std::min(ctx.todayIndex, d.day + 80));
            const int quarter = refundDay / 90;
            while (ctx.floats.size() <= quarter - ctx.windowStart / 90) {
                const int fd = ctx.windowStart + int(ctx.floats.size()) * 90;
                ctx.floats << Float{int(ctx.floats.size()) + 1, fd};
            }
            Float& f = ctx.floats[quarter - ctx.windowStart / 90];
            // Float refunds are kept apart from refunds the treasury paid for.
            Refund& rf = entryFor(ctx.refunds, refundOf, qMakePair(d.owner, -refundDay - 1), [&](int idx) {
                Refund made{idx, d.owner, -1, refundDay, 3};
                made.petty = true;
                made.tankhah = f.idx;
                return made;
            });
            putInRefund(d, d.amount, rf);
            f.spent += d.amount;
            d.pettyCash = true;
            continue;
        }
        if (!d.credit || d.tender())
            continue;
        // The older the deposit, the likelier its owner has asked for it back.
        if (!ctx.rng.chance(std::min(0.75, (age - 50) / 300.0)))
            continue;
        const int askDay = ctx.workingDay(d.day + 50, std::min(ctx.todayIndex, d.day + 50 + age / 3));
        d.released = true;
        OwnerRequest& tr = entryFor(ctx.ownerRequests, requestOf, qMakePair(d.owner, askDay / 30),
                                    [&](int idx) { return OwnerRequest{idx, d.owner, d.contract, askDay}; });
        tr.amount += d.amount;
        d.tafsilReq = tr.idx;
        const int fundDay = askDay + ctx.rng.between(3, 20);
        if (fundDay > ctx.todayIndex - 2 || ctx.rng.chance(0.1))
            continue;   // still waiting for the fund request
        tr.answered = true;
        FundRequest& fr = entryFor(ctx.fundRequests, fundRequestOfHalfMonth, fundDay / 15, [&](int idx) {
            const int reqAge = ctx.todayIndex - fundDay;
            const int state = reqAge < 10 ? ctx.rng.between(0, 1) : reqAge < 25 ? ctx.rng.between(1, 2) : reqAge < 60 ? (ctx.rng.chance(0.5) ? 2 : 3) : (ctx.rng.chance(0.3) ? 3 : 4);
            return FundRequest{idx, fundDay, state};
        });
        // A few owners ask for half now and half later.
        putInFundRequest(d, ctx.rng.chance(0.12) ? (d.amount / 2000) * 1000 : d.amount, fr, ctx.credits);
        if (fr.state < 3 || !ctx.rng.chance(0.9))
            continue;
        const int refundDay = std::min(ctx.todayIndex, fr.day + ctx.rng.between(20, 40));
        Refund& rf = entryFor(ctx.refunds, refundOf, qMakePair(d.owner, refundDay), [&](int idx) {
            Refund made{idx, d.owner, d.contract, refundDay, d.kind == 2 ? 1 : 0};
            made.request = d.tafsilReq;
            return made;
        });
        putInRefund(d, d.requested, rf);
    }
    // Every state of a fund request shows: a state the ages did not produce gets a
    // request of its own, made in the last days from deposits still waiting.
    for (int state : {0, 1, 2}) {
        if (std::any_of(ctx.fundRequests.begin(), ctx.fundRequests.end(), [&](const FundRequest& f) { return f.state == state; }))
            continue;
        FundRequest fr{int(ctx.fundRequests.size()) + 1, ctx.todayIndex - 1 - state, state};
        for (Deposit& d : ctx.deposits) {
            if (fr.rows == 3)
                break;
            if (!d.credit || d.fundReq || d.refunded || d.tender())
                continue;
            if (!d.tafsilReq) {
                ctx.ownerRequests << OwnerRequest{int(ctx.ownerRequests.size()) + 1, d.owner, d.contract, fr.day - 3, d.amount};
                d.tafsilReq = ctx.ownerRequests.last().idx;
                d.released = true;
            }
            ctx.ownerRequests[d.tafsilReq - 1].answered = true;
            putInFundRequest(d, d.amount, fr, ctx.credits);
        }
        ctx.fundRequests << fr;
    }
    // Floats hold what their refunds took and a little more.
    for (Float& f : ctx.floats)
        f.remitted = ((f.spent * 12 / 10) / 1000000 + 50) * 1000000;
}

bool writeRegister(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter sep(db, QStringLiteral("SEP_DAR"),
                         columns({"IDX", "SEPNO", "SEPDATE", "SABTDATE", "TARHNO", "PROJNO", "TAFSILI", "PAYMENT", "AMOUNT", "SEPKIND", "MY", "MM",
                                  "SEPROW", "TIKSUDMO", "TIKBESTANKARI", "SNDNO", "SNDROW", "DESCR", "CHKNO", "CHKDATE", "FROMOLDM", "ALTP", "SNDYER",
                                  "MOSALSAL", "YERSEPROW", "SAVABEGH", "ERSALVAJHKHAZANE_NO", "ERSALVAJHKHAZANE_DATE", "ELAMBESIDX", "AMOUNT_RAD",
                                  "AMOUNT_MANDEH", "CONTROLBANKOK", "TIK_ERSAL", "TIK_DARKHAST", "TIK_DARKHASTVJH", "TIK_DARKHASTVJHOK",
                                  "TIK_ESTERDAD", "TANKHAHSTATUS", "CONTROLTIK", "BESNO", "TAMINKIND"}));
    const char* const descriptions[] = {"کسر حسن انجام کار صورت وضعيت موقت شماره", "صورت وضعيت قطعي شماره", "پنج درصد حسن انجام تعهدات",
                                        "تضمين نقدي شرکت در مناقصه", "تعديل شماره", "مابه التفاوت مطالح شماره"};
    for (const Deposit& d : ctx.deposits) {
        const FundRequest* fr = d.fundReq ? &ctx.fundRequests[d.fundReq - 1] : nullptr;
        const int state = fr ? fr->state : -1;
        const qint64 rad = d.refunded;
        const CreditNotice* c = d.credit ? &ctx.credits[d.credit - 1] : nullptr;
        const QString sepdate = d.sepno ? ctx.cal.text(d.sepDay) : QString();
        sep.add(d.idx).add(d.sepno).add(sepdate).add(ctx.cal.text(d.day + (d.idx % 3))).add(d.plan).add(d.project).add(d.owner).add(d.contract)
            .add(double(d.amount)).add(d.kind).add(d.my).add(d.mm).add(d.seprow).add(d.tiksudmo).add(c ? QStringLiteral("1") : QString())
            .add(d.sndno).add(d.sndno ? d.sndrow : 0).add(u8(descriptions[d.idx % 6]) + QLatin1Char(' ') + QString::number(d.idx % 17 + 1))
            .add(d.chkno).add(ctx.cal.text(d.day)).add(2).add(d.finalMark ? 1 : 0).add(d.sndyear).add(d.mosalsal).add(d.sepno).add(0)
            .add(d.sent ? listLetterNo(ctx, d.my, d.mm) : QString())
            .add(d.sent ? listSentDate(ctx, d) : QString())
            .add(d.credit).add(double(rad)).add(double(d.amount - rad)).add(d.tiksudmo == QLatin1String("P") ? 1 : 0).add(d.sent ? 1 : 0)
            .add(d.released ? 1 : 0).add(state >= 1 ? 1 : 0).add(state >= 3 ? 1 : 0).add(rad > 0 ? 1 : 0).add(d.pettyCash ? 1 : 0)
            .add(d.sepno ? 2 : 1).add(c ? creditNoticeNo(c->idx) : 0).add(d.taminKind);
        if (!ctx.insert(sep))
            return false;
    }
    ctx.summary.deposits = sep.rows();
    return true;
}

bool writeCreditNotices(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter bes(db, QStringLiteral("BESTANKARI"),
                         columns({"IDXNO", "BESNO", "BESLETTERNO", "BESLETTERDATE", "BESDATE", "BESAMOUNT", "BANK", "ERSALLETTERNO",
                                  "ERSALLETTERDATE", "PARAMOUNT", "STATUS", "DEPNUM", "DEPPARNUM", "Y", "M"}));
    for (const CreditNotice& c : ctx.credits) {
        bes.add(c.idx).add(QString::number(creditNoticeNo(c.idx))).add(ctx.letterNo("خ", 700 + c.idx)).add(ctx.cal.text(c.day)).add(ctx.cal.text(c.day - 2))
            .add(double(c.amount)).add(3).add(listLetterNo(ctx, c.y, c.m)).add(ctx.cal.text(c.day - 10)).add(double(c.requested))
            .add(c.requested > 0 ? 2 : 1).add(std::min(c.count, 32767)).add(std::min(c.requestedCount, 32767)).add(c.y).add(c.m);
        if (!ctx.insert(bes))
            return false;
    }
    return true;
}

bool writeRequests(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter treq(db, QStringLiteral("SEP_TAFSILREQ"),
                          columns({"REQ_IDX", "TAFSILNO", "PAYMANNO", "REQSABTDATE", "INLETTERNO", "INLETTERDATE", "ANDNO", "ANDDATE", "OK_AMOUNT",
                                   "REQSTATUSE", "DESCR", "UID"}));
    for (const OwnerRequest& t : ctx.ownerRequests) {
        treq.add(t.idx).add(t.owner).add(t.contract).add(ctx.cal.text(t.day)).add(ownerLetterNo(t.idx, t.owner))
            .add(ctx.cal.text(t.day - 2)).add(QString::number(20000 + t.idx)).add(ctx.cal.text(t.day)).add(double(t.amount)).add(t.answered ? 1 : 0)
            .add(u8("درخواست استرداد سپرده پس از تحويل موقت")).add(4);
        if (!ctx.insert(treq))
            return false;
    }

    db::BulkInserter reqh(db, QStringLiteral("SEP_REQH"),
                          columns({"REQ_IDX", "REQNO", "REQDATE", "LETTERNO", "LETTERDATE", "REQ_AMOUNT", "LETTERNO2", "LETTERDATE2", "ANS_AMOUNT",
                                   "REQSTATUSE", "ANS_CHKNO", "ACCNO", "TEDAD", "DESCR", "VARIZI_BESNO", "VARIZI_BESDATE"}));
    for (const FundRequest& f : ctx.fundRequests) {
        const bool paid = f.state >= 3;
        reqh.add(f.idx).add(QStringLiteral("%1-%2").arg(ctx.cal.jalali[f.day].year).arg(f.idx, 3, 10, QLatin1Char('0'))).add(ctx.cal.text(f.day))
            .add(ctx.letterNo("ذ", 3000 + f.idx)).add(ctx.cal.text(f.day)).add(double(f.amount)).add(paid ? ctx.letterNo("خ", 5000 + f.idx) : QString())
            .add(paid ? ctx.cal.text(f.day + 15) : QString()).add(paid ? double(f.amount) : 0.0).add(f.state).add(paid ? qint64(700000 + f.idx) : qint64(0))
            .add(f.idx).add(f.rows).add(u8("درخواست وجه سپرده هاي مسترد شدني")).add(paid ? QString::number(6000 + f.idx) : QString())
            .add(paid ? ctx.cal.text(f.day + 14) : QString());
        if (!ctx.insert(reqh))
            return false;
    }

    db::BulkInserter reqr(db, QStringLiteral("SEP_REQR"),
                          columns({"REQ_IDX", "REQ_ROW", "TAFSILNO", "PAYMANNO", "SEPIDX", "FISHNO", "BESIDX", "FISHDATE", "FISHAMOUNT",
                                   "ERSALLETTER", "ERSALLETTERDATE", "ERSAL_ROW", "BESTANKARINO", "BESTANKARIDATE", "PEIKAREH", "AMOUNT", "DESCR",
                                   "LETTERNO", "LETTERDATE", "REQSTATUSE"}));
    for (const Deposit& d : ctx.deposits) {
        if (!d.fundReq)
            continue;
        const CreditNotice& c = ctx.credits[d.credit - 1];
        reqr.add(d.fundReq).add(d.fundRow).add(d.owner).add(d.contract).add(d.idx).add(d.sepno).add(d.credit).add(ctx.cal.text(d.sepDay))
            .add(double(d.amount)).add(listLetterNo(ctx, d.my, d.mm)).add(listSentDate(ctx, d))
            .add(d.seprow).add(QString::number(creditNoticeNo(c.idx))).add(ctx.cal.text(c.day - 2)).add(double(c.amount)).add(double(d.requested))
            .add(QString()).add(ownerLetterNo(d.tafsilReq, d.owner)).add(ctx.cal.text(ctx.ownerRequests[d.tafsilReq - 1].day - 2))
            .add(ctx.fundRequests[d.fundReq - 1].state);
        if (!ctx.insert(reqr))
            return false;
    }
    ctx.summary.requestRows = reqr.rows();
    return true;
}

bool writeRefunds(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter radr1(db, QStringLiteral("SEP_RADR1"),
                           columns({"RAD_IDX", "RAD_ROW", "TAFSILI", "PAYMAN", "SEPIDX", "AMOUNT", "DESCR", "RADIDX", "FISHNO", "FISHDATE", "REQIDX",
                                    "REQROW"}));
    QHash<int, int> rowOfRefund;
    for (const Deposit& d : ctx.deposits) {
        if (d.refunded <= 0)
            continue;
        const int idx = d.refund;
        radr1.add(idx).add(++rowOfRefund[idx]).add(d.owner).add(d.contract).add(d.idx).add(double(d.refunded))
            .add(d.refunded < d.amount ? u8("استرداد بخشي از سپرده") : u8("استرداد کامل سپرده")).add(0).add(d.sepno)
            .add(d.sepno ? ctx.cal.text(d.sepDay) : QString()).add(d.fundReq).add(d.fundRow);
        if (!ctx.insert(radr1))
            return false;
    }
    ctx.summary.refundRows = radr1.rows();

    db::BulkInserter radh(db, QStringLiteral("SEP_RADH"),
                          columns({"RAD_IDX", "RADDATE", "REQ_IDX", "TAFSILI", "PAYMAN", "RADKIND", "DESCR", "AMOUNT", "SNDCI", "SNDNO", "SNDDATE",
                                   "SNDROW", "SNDYER", "TIK_AZTANKHAH", "TANKHAH_IDX"}));
    db::BulkInserter radr2(db, QStringLiteral("SEP_RADR2"),
                           columns({"RAD_IDX", "RAD_ROW", "TAFSILI", "PAYMAN", "CHKKIND", "AMOUNT", "DESCR", "CHKDATE", "SNDNO", "MY", "TARHNO",
                                    "PROJNO", "CHKNO"}));
    for (const Refund& r : ctx.refunds) {
        const int year = ctx.cal.jalali[r.day].year;
        radh.add(r.idx).add(ctx.cal.text(r.day)).add(r.request).add(r.owner).add(r.contract).add(r.kind)
            .add(r.petty ? u8("استرداد سپرده شرکت در مناقصه از محل تنخواه") : u8("استرداد سپرده طبق درخواست پيمانکار")).add(double(r.amount))
            .add(0).add(9000 + r.idx).add(ctx.cal.text(r.day)).add(1).add(year).add(r.petty ? 1 : 0).add(r.petty ? r.tankhah : 0);
        radr2.add(r.idx).add(1).add(r.owner).add(r.contract).add(r.petty ? 1 : 0).add(double(r.amount)).add(u8("چک استرداد سپرده"))
            .add(ctx.cal.text(r.day)).add(9000 + r.idx).add(year).add(-1).add(-1).add(qint64(1200000 + r.idx));
        if (!ctx.insert(radh) || !ctx.insert(radr2))
            return false;
    }

    db::BulkInserter tankhah(db, QStringLiteral("TANKHAH_TBL"),
                             columns({"IDX", "DARKHSTLTRNO", "DARKHSTLTRDATE", "DARKHSTAMOUNT", "KHAZANEHLTRNO", "KHAZANEHLTRDATE", "HAVALEHNO",
                                      "HAVALEHDATE", "HAVALEHAMOUNT", "AMOUNT_MANDEH", "DESCR"}));
    for (const Float& f : ctx.floats) {
        tankhah.add(f.idx).add(QString::number(800 + f.idx)).add(ctx.cal.text(f.day)).add(double(f.remitted)).add(QString::number(900 + f.idx))
            .add(ctx.cal.text(f.day + 5)).add(QString::number(31000 + f.idx)).add(ctx.cal.text(f.day + 7)).add(double(f.remitted))
            .add(double(f.remitted - f.spent)).add(u8("تنخواه گردان رد وجوه سپرده شرکت در مناقصه"));
        if (!ctx.insert(tankhah))
            return false;
    }
    return true;
}

} // namespace

void planDeposits(DemoContext& ctx)
{
    makeDeposits(ctx);
    makeCreditNotices(ctx);
    makeLife(ctx);
}

bool addDeposits(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    return ctx.inTransaction(db, [&] {
        return writeRegister(ctx, db) && writeCreditNotices(ctx, db) && writeRequests(ctx, db) && writeRefunds(ctx, db);
    });
}

} // namespace orvak::demo
