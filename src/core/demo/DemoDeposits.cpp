// The deposits register over the window: the deposits themselves, the month lists
// sent to the treasury and its credit notices, the owners' release requests, the
// fund requests, the refunds and the petty-cash floats they were paid from.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/demo/DepositStream.h"

namespace orvak::demo {

namespace {

// The letter that sent a month's list to the treasury, and the day it went.
QString listLetterNo(const DemoContext& ctx, int year, int month) { return ctx.letterNo("ذ", 1000 + year % 100 * 20 + month); }
QString listSentDate(const DemoContext& ctx, const Deposit& d) { return ctx.cal.text(d.day - ctx.cal.jalali[d.day].day + 35); }
// The owner's letter asking for the release.
QString ownerLetterNo(int request, int owner) { return QStringLiteral("%1/%2").arg(100 + request % 800).arg(owner); }
int creditNoticeNo(int credit) { return 4000 + credit; }

// Every state of a fund request shows: a state the ages did not produce gets a
// request of its own, made in the last days from deposits still waiting.
void showEveryFundRequestState(DemoContext& ctx, const QList<Deposit>& waiting)
{
    DepositBooks& b = ctx.books;
    qsizetype next = 0;
    for (int state : {0, 1, 2}) {
        if (std::any_of(b.fundRequests.begin(), b.fundRequests.end(), [&](const FundRequest& f) { return f.state == state; }))
            continue;
        FundRequest fr{int(b.fundRequests.size()) + 1, ctx.todayIndex - 1 - state, state};
        for (; next < waiting.size() && fr.rows < 3; ++next) {
            Deposit d = waiting[next];
            if (!d.tafsilReq) {
                b.ownerRequests << OwnerRequest{int(b.ownerRequests.size()) + 1, d.owner, d.contract, fr.day - 3, d.amount};
                d.tafsilReq = b.ownerRequests.last().idx;
                d.released = true;
            }
            b.ownerRequests[d.tafsilReq - 1].answered = true;
            putInFundRequest(d, d.amount, fr, b.credits);
            ctx.adjusted.insert(d.idx, d);
        }
        b.fundRequests << fr;
    }
}

// A deposit's row in the register.
bool addRegisterRow(DemoContext& ctx, db::BulkInserter& sep, const Deposit& d)
{
    static const char* const descriptions[] = {"کسر حسن انجام کار صورت وضعيت موقت شماره", "صورت وضعيت قطعي شماره", "پنج درصد حسن انجام تعهدات",
                                               "تضمين نقدي شرکت در مناقصه", "تعديل شماره", "مابه التفاوت مطالح شماره"};
    const FundRequest* fr = d.fundReq ? &ctx.books.fundRequests[d.fundReq - 1] : nullptr;
    const int state = fr ? fr->state : -1;
    const qint64 rad = d.refunded;
    const CreditNotice* c = d.credit ? &ctx.books.credits[d.credit - 1] : nullptr;
    const QString sepdate = d.sepno ? ctx.cal.text(d.sepDay) : QString();
    sep.add(d.idx).add(d.sepno).add(sepdate).add(ctx.cal.text(d.day + (d.idx % 3))).add(d.plan).add(d.project).add(d.owner).add(d.contract)
        .add(double(d.amount)).add(d.kind).add(d.my).add(d.mm).add(d.seprow).add(d.tiksudmo).add(c ? QStringLiteral("1") : QString())
        .add(d.sndno).add(d.sndno ? d.sndrow : 0).add((QByteArray(descriptions[d.idx % 6]) + ' ' + QByteArray::number(d.idx % 17 + 1)).constData())
        .add(d.chkno).add(ctx.cal.text(d.day)).add(2).add(d.finalMark ? 1 : 0).add(d.sndyear).add(d.mosalsal).add(d.sepno).add(0)
        .add(d.sent ? listLetterNo(ctx, d.my, d.mm) : QString())
        .add(d.sent ? listSentDate(ctx, d) : QString())
        .add(d.credit).add(double(rad)).add(double(d.amount - rad)).add(d.tiksudmo == QLatin1String("P") ? 1 : 0).add(d.sent ? 1 : 0)
        .add(d.released ? 1 : 0).add(state >= 1 ? 1 : 0).add(state >= 3 ? 1 : 0).add(rad > 0 ? 1 : 0).add(d.pettyCash ? 1 : 0)
        .add(d.sepno ? 2 : 1).add(c ? creditNoticeNo(c->idx) : 0).add(d.taminKind);
    return ctx.insert(sep);
}

// A deposit's row in its fund request.
bool addRequestRow(DemoContext& ctx, db::BulkInserter& reqr, const Deposit& d)
{
    const CreditNotice& c = ctx.books.credits[d.credit - 1];
    reqr.add(d.fundReq).add(d.fundRow).add(d.owner).add(d.contract).add(d.idx).add(d.sepno).add(d.credit).add(ctx.cal.text(d.sepDay))
        .add(double(d.amount)).add(listLetterNo(ctx, d.my, d.mm)).add(listSentDate(ctx, d))
        .add(d.seprow).add(QString::number(creditNoticeNo(c.idx))).add(ctx.cal.text(c.day - 2)).add(double(c.amount)).add(double(d.requested))
        .add(QString()).add(ownerLetterNo(d.tafsilReq, d.owner)).add(ctx.cal.text(ctx.books.ownerRequests[d.tafsilReq - 1].day - 2))
        .add(ctx.books.fundRequests[d.fundReq - 1].state);
    return ctx.insert(reqr);
}

// A deposit's row in its refund.
bool addRefundRow(DemoContext& ctx, db::BulkInserter& radr1, const Deposit& d)
{
    radr1.add(d.refund).add(d.refundRow).add(d.owner).add(d.contract).add(d.idx).add(double(d.refunded))
        .add(d.refunded < d.amount ? "استرداد بخشي از سپرده" : "استرداد کامل سپرده").add(0).add(d.sepno)
        .add(d.sepno ? ctx.cal.text(d.sepDay) : QString()).add(d.fundReq).add(d.fundRow);
    return ctx.insert(radr1);
}

db::BulkInserter refundHeads(QSqlDatabase db)
{
    return db::BulkInserter(db, QStringLiteral("SEP_RADH"),
                            columns({"RAD_IDX", "RADDATE", "REQ_IDX", "TAFSILI", "PAYMAN", "RADKIND", "DESCR", "AMOUNT", "SNDCI", "SNDNO", "SNDDATE",
                                     "SNDROW", "SNDYER", "TIK_AZTANKHAH", "TANKHAH_IDX"}));
}

db::BulkInserter refundCheques(QSqlDatabase db)
{
    return db::BulkInserter(db, QStringLiteral("SEP_RADR2"),
                            columns({"RAD_IDX", "RAD_ROW", "TAFSILI", "PAYMAN", "CHKKIND", "AMOUNT", "DESCR", "CHKDATE", "SNDNO", "MY", "TARHNO",
                                     "PROJNO", "CHKNO"}));
}

// A refund's header and its one cheque, as its first deposit opens it: the amount
// is the sum of rows still to come, filled in by fillRefundAmounts.
bool addRefund(DemoContext& ctx, db::BulkInserter& radh, db::BulkInserter& radr2, const Refund& r)
{
    const int year = ctx.cal.jalali[r.day].year;
    radh.add(r.idx).add(ctx.cal.text(r.day)).add(r.request).add(r.owner).add(r.contract).add(r.kind)
        .add(r.petty ? u8("استرداد سپرده شرکت در مناقصه از محل تنخواه") : u8("استرداد سپرده طبق درخواست پيمانکار")).add(0.0)
        .add(0).add(9000 + r.idx).add(ctx.cal.text(r.day)).add(1).add(year).add(r.petty ? 1 : 0).add(r.petty ? r.tankhah : 0);
    radr2.add(r.idx).add(1).add(r.owner).add(r.contract).add(r.petty ? 1 : 0).add(0.0).add(u8("چک استرداد سپرده"))
        .add(ctx.cal.text(r.day)).add(9000 + r.idx).add(year).add(-1).add(-1).add(qint64(1200000 + r.idx));
    return ctx.insert(radh) && ctx.insert(radr2);
}

// Every row a deposit brings, in one walk over them: making a deposit costs more than
// holding one, so it is made once for all three tables.
bool writeDepositRows(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter sep(db, QStringLiteral("SEP_DAR"),
                         columns({"IDX", "SEPNO", "SEPDATE", "SABTDATE", "TARHNO", "PROJNO", "TAFSILI", "PAYMENT", "AMOUNT", "SEPKIND", "MY", "MM",
                                  "SEPROW", "TIKSUDMO", "TIKBESTANKARI", "SNDNO", "SNDROW", "DESCR", "CHKNO", "CHKDATE", "FROMOLDM", "ALTP", "SNDYER",
                                  "MOSALSAL", "YERSEPROW", "SAVABEGH", "ERSALVAJHKHAZANE_NO", "ERSALVAJHKHAZANE_DATE", "ELAMBESIDX", "AMOUNT_RAD",
                                  "AMOUNT_MANDEH", "CONTROLBANKOK", "TIK_ERSAL", "TIK_DARKHAST", "TIK_DARKHASTVJH", "TIK_DARKHASTVJHOK",
                                  "TIK_ESTERDAD", "TANKHAHSTATUS", "CONTROLTIK", "BESNO", "TAMINKIND"}));
    db::BulkInserter reqr(db, QStringLiteral("SEP_REQR"),
                          columns({"REQ_IDX", "REQ_ROW", "TAFSILNO", "PAYMANNO", "SEPIDX", "FISHNO", "BESIDX", "FISHDATE", "FISHAMOUNT",
                                   "ERSALLETTER", "ERSALLETTERDATE", "ERSAL_ROW", "BESTANKARINO", "BESTANKARIDATE", "PEIKAREH", "AMOUNT", "DESCR",
                                   "LETTERNO", "LETTERDATE", "REQSTATUSE"}));
    db::BulkInserter radr1(db, QStringLiteral("SEP_RADR1"),
                           columns({"RAD_IDX", "RAD_ROW", "TAFSILI", "PAYMAN", "SEPIDX", "AMOUNT", "DESCR", "RADIDX", "FISHNO", "FISHDATE", "REQIDX",
                                    "REQROW"}));
    db::BulkInserter radh = refundHeads(db);
    db::BulkInserter radr2 = refundCheques(db);
    DepositStream deposits(ctx, DepositStream::Everything);
    while (const Deposit* d = deposits.next()) {
        const Refund* opened = deposits.openedRefund();
        if (!addRegisterRow(ctx, sep, *d) || (d->fundReq && !addRequestRow(ctx, reqr, *d))
            || (opened && !addRefund(ctx, radh, radr2, *opened)) || (d->refunded > 0 && !addRefundRow(ctx, radr1, *d)))
            return false;
    }
    ctx.summary.deposits = sep.rows();
    ctx.summary.requestRows = reqr.rows();
    ctx.summary.refundRows = radr1.rows();
    return true;
}

bool writeCreditNotices(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter bes(db, QStringLiteral("BESTANKARI"),
                         columns({"IDXNO", "BESNO", "BESLETTERNO", "BESLETTERDATE", "BESDATE", "BESAMOUNT", "BANK", "ERSALLETTERNO",
                                  "ERSALLETTERDATE", "PARAMOUNT", "STATUS", "DEPNUM", "DEPPARNUM", "Y", "M"}));
    for (const CreditNotice& c : ctx.books.credits) {
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
    for (const OwnerRequest& t : ctx.books.ownerRequests) {
        treq.add(t.idx).add(t.owner).add(t.contract).add(ctx.cal.text(t.day)).add(ownerLetterNo(t.idx, t.owner))
            .add(ctx.cal.text(t.day - 2)).add(QString::number(20000 + t.idx)).add(ctx.cal.text(t.day)).add(double(t.amount)).add(t.answered ? 1 : 0)
            .add(u8("درخواست استرداد سپرده پس از تحويل موقت")).add(4);
        if (!ctx.insert(treq))
            return false;
    }

    db::BulkInserter reqh(db, QStringLiteral("SEP_REQH"),
                          columns({"REQ_IDX", "REQNO", "REQDATE", "LETTERNO", "LETTERDATE", "REQ_AMOUNT", "LETTERNO2", "LETTERDATE2", "ANS_AMOUNT",
                                   "REQSTATUSE", "ANS_CHKNO", "ACCNO", "TEDAD", "DESCR", "VARIZI_BESNO", "VARIZI_BESDATE"}));
    for (const FundRequest& f : ctx.books.fundRequests) {
        const bool paid = f.state >= 3;
        reqh.add(f.idx).add(QStringLiteral("%1-%2").arg(ctx.cal.jalali[f.day].year).arg(f.idx, 3, 10, QLatin1Char('0'))).add(ctx.cal.text(f.day))
            .add(ctx.letterNo("ذ", 3000 + f.idx)).add(ctx.cal.text(f.day)).add(double(f.amount)).add(paid ? ctx.letterNo("خ", 5000 + f.idx) : QString())
            .add(paid ? ctx.cal.text(f.day + 15) : QString()).add(paid ? double(f.amount) : 0.0).add(f.state).add(paid ? qint64(700000 + f.idx) : qint64(0))
            .add(f.idx).add(f.rows).add(u8("درخواست وجه سپرده هاي مسترد شدني")).add(paid ? QString::number(6000 + f.idx) : QString())
            .add(paid ? ctx.cal.text(f.day + 14) : QString());
        if (!ctx.insert(reqh))
            return false;
    }
    return true;
}

bool fillRefundAmounts(DemoContext& ctx, QSqlDatabase db)
{
    return ctx.exec(db, QStringLiteral("UPDATE SEP_RADH SET AMOUNT = (SELECT SUM(r.AMOUNT) FROM SEP_RADR1 r WHERE r.RAD_IDX = SEP_RADH.RAD_IDX)"))
        && ctx.exec(db, QStringLiteral("UPDATE SEP_RADR2 SET AMOUNT = (SELECT h.AMOUNT FROM SEP_RADH h WHERE h.RAD_IDX = SEP_RADR2.RAD_IDX)"));
}

bool writeFloats(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter tankhah(db, QStringLiteral("TANKHAH_TBL"),
                             columns({"IDX", "DARKHSTLTRNO", "DARKHSTLTRDATE", "DARKHSTAMOUNT", "KHAZANEHLTRNO", "KHAZANEHLTRDATE", "HAVALEHNO",
                                      "HAVALEHDATE", "HAVALEHAMOUNT", "AMOUNT_MANDEH", "DESCR"}));
    for (const Float& f : ctx.books.floats) {
        tankhah.add(f.idx).add(QString::number(800 + f.idx)).add(ctx.cal.text(f.day)).add(double(f.remitted)).add(QString::number(900 + f.idx))
            .add(ctx.cal.text(f.day + 5)).add(QString::number(31000 + f.idx)).add(ctx.cal.text(f.day + 7)).add(double(f.remitted))
            .add(double(f.remitted - f.spent)).add(u8("تنخواه گردان رد وجوه سپرده شرکت در مناقصه"));
        if (!ctx.insert(tankhah))
            return false;
    }
    return true;
}

// What the two control lists are there to catch, planted where a newcomer finds it:
// deposits refunded by hand without a fund request (beside the floats' refunds,
// which are never requested), and deposits of a paid request that nobody refunded
// yet. Picked and written in SQL after the stream, so the seeded draws stay as they
// were; every total they touch is made to agree again.
bool plantControlMismatches(DemoContext& ctx, QSqlDatabase db)
{
    struct Picked {
        int idx, owner, contract;
        qint64 sepno, amount;
        QString sepdate;
        int credit;
    };
    QList<Picked> free;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT IDX, TAFSILI, PAYMENT, SEPNO, AMOUNT, SEPDATE, ELAMBESIDX FROM SEP_DAR WHERE TIK_ERSAL = 1 AND ELAMBESIDX > 0 "
                                   "AND AMOUNT_RAD = 0 AND SEPKIND NOT IN (3, 20) AND NOT EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.SEPIDX = SEP_DAR.IDX) "
                                   "ORDER BY IDX LIMIT 5")))
            return ctx.fail(q.lastError().text());
        while (q.next())
            free.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).isNull() ? -1 : q.value(2).toInt(), q.value(3).toLongLong(),
                         qint64(q.value(4).toDouble()), q.value(5).toString(), q.value(6).toInt()});
    }
    const auto largest = [&](const char* sql) { return db::scalar(db, QString::fromLatin1(sql)).value_or(QVariant(0)).toInt(); };
    int rad = largest("SELECT COALESCE(MAX(RAD_IDX), 0) FROM SEP_RADH");
    // Three refunded by hand, the last of them in part.
    for (int i = 0; i < std::min<int>(3, int(free.size())); ++i) {
        const Picked& p = free[i];
        const qint64 amount = i == 2 ? (p.amount / 2000) * 1000 : p.amount;
        const QString day = ctx.cal.text(ctx.todayIndex - 40 + 7 * i);
        const QVariantMap v{{QStringLiteral(":R"), ++rad},      {QStringLiteral(":Day"), day},       {QStringLiteral(":O"), p.owner},
                            {QStringLiteral(":C"), p.contract}, {QStringLiteral(":A"), double(amount)}, {QStringLiteral(":D"), p.idx},
                            {QStringLiteral(":No"), p.sepno},   {QStringLiteral(":SD"), p.sepdate},  {QStringLiteral(":Y"), ctx.cal.jalali[ctx.todayIndex - 40 + 7 * i].year},
                            {QStringLiteral(":Ch"), qint64(1500000 + rad)},
                            {QStringLiteral(":T"), u8("استرداد مستقيم بدون درخواست وجه از خزانه")}};
        if (!ctx.exec(db, QStringLiteral("INSERT INTO SEP_RADH (RAD_IDX, RADDATE, REQ_IDX, TAFSILI, PAYMAN, RADKIND, DESCR, AMOUNT, SNDCI, SNDNO, SNDDATE, "
                                         "SNDROW, SNDYER, TIK_AZTANKHAH, TANKHAH_IDX) VALUES (:R, :Day, 0, :O, :C, 1, :T, :A, 0, 0, '', 0, 0, 0, 0)"),
                      v)
            || !ctx.exec(db, QStringLiteral("INSERT INTO SEP_RADR1 (RAD_IDX, RAD_ROW, TAFSILI, PAYMAN, SEPIDX, AMOUNT, DESCR, RADIDX, FISHNO, FISHDATE, REQIDX, "
                                            "REQROW) VALUES (:R, 1, :O, :C, :D, :A, :T, 0, :No, :SD, 0, 0)"),
                         v)
            || !ctx.exec(db, QStringLiteral("INSERT INTO SEP_RADR2 (RAD_IDX, RAD_ROW, TAFSILI, PAYMAN, CHKKIND, AMOUNT, DESCR, CHKDATE, SNDNO, MY, TARHNO, PROJNO, "
                                            "CHKNO) VALUES (:R, 1, :O, :C, 0, :A, :T, :Day, 0, :Y, -1, -1, :Ch)"),
                         v))
            return false;
    }
    // Two more put into the latest request the treasury has paid, never refunded.
    const int paid = largest("SELECT COALESCE(MAX(REQ_IDX), 0) FROM SEP_REQH WHERE REQSTATUSE = 3");
    if (paid > 0) {
        int row = db::scalar(db, QStringLiteral("SELECT COALESCE(MAX(REQ_ROW), 0) FROM SEP_REQR WHERE REQ_IDX = :R"), {{QStringLiteral(":R"), paid}})
                      .value_or(QVariant(0))
                      .toInt();
        for (int i = 3; i < int(free.size()); ++i) {
            const Picked& p = free[i];
            const QVariantMap v{{QStringLiteral(":R"), paid},      {QStringLiteral(":Row"), ++row}, {QStringLiteral(":O"), p.owner},
                                {QStringLiteral(":C"), p.contract}, {QStringLiteral(":D"), p.idx},  {QStringLiteral(":No"), p.sepno},
                                {QStringLiteral(":B"), p.credit},  {QStringLiteral(":SD"), p.sepdate}, {QStringLiteral(":A"), double(p.amount)},
                                {QStringLiteral(":T"), u8("درخواست شده و واريز شده، در انتظار استرداد")}};
            if (!ctx.exec(db, QStringLiteral("INSERT INTO SEP_REQR (REQ_IDX, REQ_ROW, TAFSILNO, PAYMANNO, SEPIDX, FISHNO, BESIDX, FISHDATE, FISHAMOUNT, ERSALLETTER, "
                                             "ERSALLETTERDATE, ERSAL_ROW, BESTANKARINO, BESTANKARIDATE, PEIKAREH, AMOUNT, DESCR, LETTERNO, LETTERDATE, REQSTATUSE) "
                                             "SELECT :R, :Row, :O, :C, :D, :No, :B, :SD, :A, d.ERSALVAJHKHAZANE_NO, d.ERSALVAJHKHAZANE_DATE, d.SEPROW, b.BESNO, "
                                             "b.BESDATE, b.BESAMOUNT, :A, :T, '', '', 3 FROM SEP_DAR d JOIN BESTANKARI b ON b.IDXNO = d.ELAMBESIDX WHERE d.IDX = :D"),
                          v)
                || !ctx.exec(db, QStringLiteral("UPDATE BESTANKARI SET PARAMOUNT = COALESCE(PARAMOUNT, 0) + :A, DEPPARNUM = COALESCE(DEPPARNUM, 0) + 1, STATUS = 2 "
                                                "WHERE IDXNO = :B"),
                             v))
                return false;
        }
        if (!ctx.exec(db, QStringLiteral("UPDATE SEP_REQH SET REQ_AMOUNT = (SELECT SUM(AMOUNT) FROM SEP_REQR r WHERE r.REQ_IDX = SEP_REQH.REQ_IDX), "
                                         "ANS_AMOUNT = (SELECT SUM(AMOUNT) FROM SEP_REQR r WHERE r.REQ_IDX = SEP_REQH.REQ_IDX), "
                                         "TEDAD = (SELECT COUNT(*) FROM SEP_REQR r WHERE r.REQ_IDX = SEP_REQH.REQ_IDX) WHERE REQ_IDX = :R"),
                      {{QStringLiteral(":R"), paid}}))
            return false;
    }
    QStringList ids;
    for (const Picked& p : free)
        ids << QString::number(p.idx);
    if (ids.isEmpty())
        return true;
    const QString in = QStringLiteral(" WHERE IDX IN (") + ids.join(QLatin1Char(',')) + QLatin1Char(')');
    return ctx.exec(db, QStringLiteral("UPDATE SEP_DAR SET AMOUNT_RAD = COALESCE((SELECT SUM(r.AMOUNT) FROM SEP_RADR1 r WHERE r.SEPIDX = SEP_DAR.IDX), 0), "
                                       "TIK_ESTERDAD = CASE WHEN EXISTS (SELECT 1 FROM SEP_RADR1 r WHERE r.SEPIDX = SEP_DAR.IDX) THEN 1 ELSE 0 END, "
                                       "TIK_DARKHASTVJH = CASE WHEN EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.SEPIDX = SEP_DAR.IDX) THEN 1 ELSE 0 END, "
                                       "TIK_DARKHASTVJHOK = CASE WHEN EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.SEPIDX = SEP_DAR.IDX) THEN 1 ELSE 0 END")
                            + in)
        && ctx.exec(db, QStringLiteral("UPDATE SEP_DAR SET AMOUNT_MANDEH = AMOUNT - AMOUNT_RAD") + in);
}

} // namespace

void planDeposits(DemoContext& ctx)
{
    // Each round of draws starts where the one before left the generator: the rounds
    // before the life are walked once only to learn where.
    ctx.rounds.basics = ctx.rng;
    ctx.rounds.stages = DepositStream::walkedThrough(ctx, DepositStream::Basics);
    ctx.rounds.life = DepositStream::walkedThrough(ctx, DepositStream::Stages);
    DepositStream deposits(ctx, DepositStream::Life, &ctx.books);
    QList<Deposit> waiting;   // three for each of the three states that may be missing
    while (const Deposit* d = deposits.next()) {
        if (waiting.size() < 3 * 3 && d->credit && !d->fundReq && !d->refunded && !d->tender())
            waiting << *d;
    }
    ctx.rng = deposits.generator(DepositStream::Life);
    showEveryFundRequestState(ctx, waiting);
    // Floats hold what their refunds took and a little more.
    for (Float& f : ctx.books.floats)
        f.remitted = ((f.spent * 12 / 10) / 1000000 + 50) * 1000000;
}

bool addDeposits(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    return ctx.inTransaction(db, [&] {
        return writeDepositRows(ctx, db) && writeCreditNotices(ctx, db) && writeRequests(ctx, db) && fillRefundAmounts(ctx, db)
            && writeFloats(ctx, db) && plantControlMismatches(ctx, db);
    });
}

} // namespace orvak::demo
