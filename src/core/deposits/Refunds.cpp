#include "core/deposits/Refunds.h"

#include "core/deposits/DepositWork.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/RequestWork.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QSet>

namespace orvak::deposits {

using startup::Prompt;
using work::refused;
using work::Chunk;
using work::intOf;
using work::SureText;
using work::textOf;

namespace {

const QString Head = QStringLiteral("SEP_RADH");
const QString Rows = QStringLiteral("SEP_RADR1");
const QString Cheques = QStringLiteral("SEP_RADR2");
constexpr db::Store Store = db::Store::Deposits;


Refund headerFrom(const QSqlRecord& r)
{
    Refund h;
    h.radIdx = intOf(r, "RAD_IDX");
    h.radDate = textOf(r, "RADDATE");
    h.reqIdx = intOf(r, "REQ_IDX");
    h.tafsili = intOf(r, "TAFSILI", -1);
    h.payman = intOf(r, "PAYMAN", -1);
    h.radKind = intOf(r, "RADKIND");
    h.descr = textOf(r, "DESCR");
    h.amount = rialsOf(r.value(QStringLiteral("AMOUNT")));
    h.sndCi = intOf(r, "SNDCI");
    h.sndNo = intOf(r, "SNDNO");
    h.sndDate = textOf(r, "SNDDATE");
    h.sndRow = intOf(r, "SNDROW");
    h.sndYer = intOf(r, "SNDYER");
    h.tikAzTankhah = intOf(r, "TIK_AZTANKHAH");
    h.tankhahIdx = intOf(r, "TANKHAH_IDX");
    return h;
}

RefundRow rowFrom(const QSqlRecord& r)
{
    RefundRow x;
    x.radIdx = intOf(r, "RAD_IDX");
    x.radRow = intOf(r, "RAD_ROW");
    x.tafsili = intOf(r, "TAFSILI", -1);
    x.payman = intOf(r, "PAYMAN", -1);
    x.sepIdx = intOf(r, "SEPIDX");
    x.amount = rialsOf(r.value(QStringLiteral("AMOUNT")));
    x.descr = textOf(r, "DESCR");
    x.fishNo = r.value(QStringLiteral("FISHNO")).toLongLong();
    x.fishDate = textOf(r, "FISHDATE");
    x.reqIdx = intOf(r, "REQIDX");
    x.reqRow = intOf(r, "REQROW");
    return x;
}

IssuedCheque chequeFrom(const QSqlRecord& r)
{
    IssuedCheque c;
    c.radIdx = intOf(r, "RAD_IDX");
    c.radRow = intOf(r, "RAD_ROW");
    c.tafsili = intOf(r, "TAFSILI", -1);
    c.payman = intOf(r, "PAYMAN", -1);
    c.chkKind = intOf(r, "CHKKIND");
    c.amount = rialsOf(r.value(QStringLiteral("AMOUNT")));
    c.descr = textOf(r, "DESCR");
    c.chkDate = textOf(r, "CHKDATE");
    c.sndNo = intOf(r, "SNDNO");
    c.my = intOf(r, "MY");
    c.tarhNo = intOf(r, "TARHNO", -1);
    c.projNo = intOf(r, "PROJNO", -1);
    c.chkNo = r.value(QStringLiteral("CHKNO")).toLongLong();
    return c;
}

QVariantMap headerValues(const Refund& h)
{
    return {{QStringLiteral("RADDATE"), h.radDate},     {QStringLiteral("REQ_IDX"), h.reqIdx},
            {QStringLiteral("TAFSILI"), h.tafsili},     {QStringLiteral("PAYMAN"), h.payman},
            {QStringLiteral("RADKIND"), h.radKind},     {QStringLiteral("DESCR"), h.descr},
            {QStringLiteral("TIK_AZTANKHAH"), h.tikAzTankhah}, {QStringLiteral("TANKHAH_IDX"), h.tikAzTankhah ? h.tankhahIdx : 0}};
}

QVariantMap radBinds(int radIdx) { return {{QStringLiteral(":R"), radIdx}}; }

template <class T>
db::Fetched<QList<T>> readAll(QSqlDatabase db, const QString& sql, const QVariantMap& binds, T (*make)(const QSqlRecord&))
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, sql, binds, &why) || !q.exec())
        return db::Fetched<QList<T>>::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<T> out;
    while (q.next())
        out << make(q.record());
    if (q.lastError().isValid())
        return db::Fetched<QList<T>>::failure(q.lastError().text());
    return db::Fetched<QList<T>>::found(out);
}

// The deposits named, the refund's total and the floats follow; no float may be
// spent beyond what was remitted.
bool follow(db::UnitOfWork& w, int radIdx, const QList<int>& deposits, const QList<int>& floats)
{
    if (radIdx > 0 && !requestwork::syncRefundTotals(w, QStringLiteral("RAD_IDX = :R"), radBinds(radIdx)))
        return false;
    for (qsizetype from = 0; from < deposits.size(); from += Chunk) {
        QVariantMap binds;
        const QString where = requestwork::inList(QStringLiteral("IDX"), deposits.mid(from, Chunk), binds, QStringLiteral(":d"));
        if (!requestwork::syncDeposits(w, where, binds))
            return false;
    }
    QList<int> touched;
    for (int f : floats) {
        if (f > 0 && !touched.contains(f))
            touched << f;
    }
    if (touched.isEmpty())
        return true;
    QVariantMap binds;
    if (!requestwork::syncFloats(w, requestwork::inList(QStringLiteral("IDX"), touched, binds, QStringLiteral(":f")), binds))
        return false;
    for (int f : touched) {
        const std::optional<qint64> left = requestwork::floatBalance(w, f);
        if (!left)
            return false;
        if (*left < 0)
            return w.fail(QStringLiteral("مانده تنخواه شماره %1 براي اين استرداد کافي نيست (کسري %2 ريال)").arg(f).arg(util::FormatAmount(-*left)));
    }
    return true;
}

std::optional<Refund> storedHeader(db::UnitOfWork& w, int radIdx)
{
    const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.SEP_RADH WHERE RAD_IDX = :R"), radBinds(radIdx));
    if (r.failed()) {
        w.fail(r.error());
        return std::nullopt;
    }
    if (!r) {
        w.fail(QStringLiteral("استرداد مورد نظر يافت نشد"));
        return std::nullopt;
    }
    return headerFrom(*r);
}

QList<int> depositsOf(db::UnitOfWork& w, int radIdx, bool* ok)
{
    QList<int> out;
    *ok = requestwork::eachRow(w, QStringLiteral("SELECT DISTINCT SEPIDX FROM {deposits}.SEP_RADR1 WHERE RAD_IDX = :R"), radBinds(radIdx),
                               [&](const QSqlRecord& r) { out << r.value(0).toInt(); });
    return out;
}

QString amountText(qint64 v) { return io::isolateLtr(v == 0 ? QStringLiteral("0") : util::FormatAmount(v)); }

} // namespace

QStringList refundKindTexts()
{
    return {QStringLiteral("استرداد  5 درصد اول"),
            QStringLiteral("استرداد 5 درصد دوم"),
            QStringLiteral("استرداد در قبال ضمانتنامه کسور وجه الضمان"),
            QStringLiteral("استرداد واريز نقدي شرکت در مناقصه"),
            QStringLiteral("برگشت ضمانتنامه نقدي"),
            QStringLiteral("استرداد بدهي پيمانکاران طي نامه دادگستري و ..."),
            QStringLiteral("بابت کسر پيش پرداخت")};
}

QStringList chequeKindTexts()
{
    return {QStringLiteral("چک در وجه صاحب سپرده بابت استرداد سپرده"),
            QStringLiteral("چک در وجه صاحب سپرده بابت استرداد ضمانتنامه نقدي"),
            QStringLiteral("چک در وجه صاحب سپرده بابت ضمانتنامه کسور وجه الضمان"),
            QStringLiteral("چک در وجه صاحب سپرده بابت صورت وضعيت پرداخت نشده"),
            QStringLiteral("چک در وجه کارفرما(دستگاه اجرائي)بابت تسويه پيش پرداخت جاري/سنواتي"),
            QStringLiteral("چک در وجه سازمان تامين اجتماعي بابت بدهي اعلامي"),
            QStringLiteral("چک در وجه دارائي بابت بدهي مالياتي"),
            QStringLiteral("چک درآمدهاي متفرقه خزانه بابت صورت وضعيت منفي"),
            QStringLiteral("چک در وجه افراد حقيقي/حقوقي بابت مطالبات"),
            QStringLiteral("چک در وجه خزانه بابت برگشت قسمتي از سپرده")};
}

QString chequeKindText(int kind) { return kind >= 0 ? chequeKindTexts().value(kind) : QString(); }

QString alreadyRefundedText() { return QStringLiteral("اين سپرده قبلا استرداد شده است"); }
QString refundHasRecordsText() { return QStringLiteral("اين سپرده داراي سوابق مي باشد و نميتواند  حذف گردد"); }

Refunds::Refunds(startup::Session& session)
    : session_(session)
{
}

db::Fetched<Refund> Refunds::read(int radIdx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM SEP_RADH WHERE RAD_IDX = :R"), radBinds(radIdx));
    if (r.failed())
        return db::Fetched<Refund>::failure(r.error());
    if (r.empty())
        return db::Fetched<Refund>::none();
    return db::Fetched<Refund>::found(headerFrom(*r));
}

Refund Refunds::newRefund() const
{
    Refund h;
    h.radDate = session_.clock().todayJalali();
    return h;
}

db::Fetched<qint64> Refunds::proposedKey() const
{
    QString why;
    const auto key = db::largestPlusOne(session_.deposits(), Head, QStringLiteral("RAD_IDX"), {}, {}, &why);
    return key ? db::Fetched<qint64>::found(*key) : db::Fetched<qint64>::failure(why);
}

std::optional<QString> Refunds::badHeader(Refund& h) const
{
    const std::optional<QString> date = work::dateOf(h.radDate);
    if (!date)
        return QStringLiteral("تاريخ استرداد درست نيست: ") + h.radDate;
    if (date->isEmpty())
        return QStringLiteral("تاريخ استرداد مشخص نشده است");
    h.radDate = *date;
    if (h.tafsili <= 0)
        return QStringLiteral("اطلاعات كامل نيست: صاحب سپرده");
    if (h.radKind < 0 || h.radKind >= refundKindTexts().size())
        return QStringLiteral("علت استرداد را انتخاب کنيد");
    if (h.descr.size() > 120)
        return QStringLiteral("توضيحات بيش از 120 حرف است");
    if (h.tikAzTankhah && h.tankhahIdx <= 0)
        return QStringLiteral("شماره تنخواه را انتخاب کنيد");
    if (!h.tikAzTankhah)
        h.tankhahIdx = 0;
    if (h.reqIdx < 0)
        h.reqIdx = 0;
    return std::nullopt;
}

bool Refunds::ensureHeader(db::UnitOfWork& w, Refund& h)
{
    // The named float and owner's request must be there.
    if (h.tikAzTankhah) {
        const auto f = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.TANKHAH_TBL WHERE IDX = :F"), {{QStringLiteral(":F"), h.tankhahIdx}});
        if (!f || f->toInt() == 0)
            return w.fail(f.failed() ? f.error() : QStringLiteral("تنخواه مورد نظر يافت نشد"));
    }
    if (h.reqIdx > 0) {
        const auto q = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_TAFSILREQ WHERE REQ_IDX = :Q"), {{QStringLiteral(":Q"), h.reqIdx}});
        if (!q || q->toInt() == 0)
            return w.fail(q.failed() ? q.error() : QStringLiteral("درخواست صاحب سپرده يافت نشد"));
    }
    if (h.radIdx > 0)
        return storedHeader(w, h.radIdx).has_value();
    const auto key = w.nextKey(Store, Head, QStringLiteral("RAD_IDX"));
    if (!key)
        return false;
    h.radIdx = int(*key);
    QVariantMap values = headerValues(h);
    values.insert(QStringLiteral("RAD_IDX"), h.radIdx);
    values.insert(QStringLiteral("AMOUNT"), 0.0);
    values.insert(QStringLiteral("SNDCI"), 0);
    values.insert(QStringLiteral("SNDNO"), 0);
    values.insert(QStringLiteral("SNDDATE"), QString());
    values.insert(QStringLiteral("SNDROW"), 0);
    values.insert(QStringLiteral("SNDYER"), 0);
    return w.insert(Store, Head, values);
}

std::optional<int> Refunds::save(const Refund& refund, Prompt& prompt)
{
    Refund h = refund;
    if (const auto bad = badHeader(h)) {
        prompt.info(*bad);
        return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (h.radIdx <= 0) {
            o.changed = 1;
            return ensureHeader(w, h);
        }
        const std::optional<Refund> before = storedHeader(w, h.radIdx);
        if (!before || !ensureHeader(w, h))
            return false;
        if (!w.update(Store, Head, headerValues(h), QStringLiteral("RAD_IDX = :R"), radBinds(h.radIdx), &o.changed))
            return false;
        bool ok = false;
        const QList<int> deposits = depositsOf(w, h.radIdx, &ok);
        return ok && follow(w, h.radIdx, deposits, {before->tankhahIdx, h.tankhahIdx});
    });
    if (!out)
        return std::nullopt;
    return h.radIdx;
}

Outcome Refunds::remove(int radIdx, Prompt& prompt)
{
    if (radIdx <= 0)
        return refused(prompt, work::NothingEnteredText);
    const auto t = totals(radIdx);
    if (!t)
        return refused(prompt, t.failed() ? t.error() : work::NothingEnteredText);
    const auto cheques = this->cheques(radIdx);
    if (!cheques)
        return refused(prompt, cheques.error());
    if (t->count > 0 || !cheques->isEmpty())
        return refused(prompt, refundHasRecordsText());
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto held = w.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM {deposits}.SEP_RADR1 WHERE RAD_IDX = :R) + "
                                                  "(SELECT COUNT(*) FROM {deposits}.SEP_RADR2 WHERE RAD_IDX = :R)"),
                                   radBinds(radIdx));
        if (!held)
            return w.fail(held.error());
        if (held->toInt() > 0)
            return w.fail(refundHasRecordsText());
        const std::optional<Refund> h = storedHeader(w, radIdx);
        return h && w.remove(Store, Head, QStringLiteral("RAD_IDX = :R"), radBinds(radIdx), &o.changed) && follow(w, 0, {}, {h->tankhahIdx});
    });
}

db::Fetched<QList<RefundRow>> Refunds::rows(int radIdx) const
{
    return readAll<RefundRow>(session_.deposits(), QStringLiteral("SELECT * FROM SEP_RADR1 WHERE RAD_IDX = :R ORDER BY RAD_ROW"), radBinds(radIdx), rowFrom);
}

db::Fetched<QList<IssuedCheque>> Refunds::cheques(int radIdx) const
{
    return readAll<IssuedCheque>(session_.deposits(), QStringLiteral("SELECT * FROM SEP_RADR2 WHERE RAD_IDX = :R ORDER BY RAD_ROW"), radBinds(radIdx),
                                 chequeFrom);
}

db::Fetched<RefundTotals> Refunds::totals(int radIdx) const
{
    const auto r = db::firstRow(session_.deposits(),
                                QStringLiteral("SELECT (SELECT COALESCE(SUM(AMOUNT), 0) FROM SEP_RADR1 WHERE RAD_IDX = :R), "
                                               "(SELECT COUNT(*) FROM SEP_RADR1 WHERE RAD_IDX = :R), "
                                               "(SELECT COALESCE(SUM(AMOUNT), 0) FROM SEP_RADR2 WHERE RAD_IDX = :R)"),
                                radBinds(radIdx));
    if (!r)
        return db::Fetched<RefundTotals>::failure(r.failed() ? r.error() : QStringLiteral("جمع ها خوانده نشد"));
    return db::Fetched<RefundTotals>::found({rialsOf(r->value(0)), r->value(1).toInt(), rialsOf(r->value(2))});
}

db::Fetched<RefundFigures> Refunds::figures(int owner, int floatIdx, bool withBank) const
{
    RefundFigures f;
    if (withBank && session_.AccountingDbOpen()) {
        const QString code = requestwork::ledgerCode(session_, requestwork::Ledger::RefundBank);
        const auto b = db::scalar(session_.accounting(),
                                  QStringLiteral("SELECT COALESCE(SUM(BED), 0) - COALESCE(SUM(BES), 0) FROM SNDROW WHERE KOL = :K AND MOIN = :M"),
                                  {{QStringLiteral(":K"), code.left(3).toInt()}, {QStringLiteral(":M"), code.mid(3, 5).toInt()}});
        if (b.failed())
            return db::Fetched<RefundFigures>::failure(b.error());
        f.bankBalance = b ? rialsOf(*b) : 0;
    }
    if (floatIdx > 0) {
        const auto left = db::scalar(session_.deposits(), QStringLiteral("SELECT AMOUNT_MANDEH FROM TANKHAH_TBL WHERE IDX = :F"),
                                     {{QStringLiteral(":F"), floatIdx}});
        if (left.failed())
            return db::Fetched<RefundFigures>::failure(left.error());
        if (left)
            f.floatBalance = rialsOf(*left);
    }
    if (owner > 0) {
        const auto unpaid = db::scalar(session_.deposits(),
                                       QStringLiteral("SELECT COALESCE(SUM(q.AMOUNT), 0) FROM SEP_REQR q WHERE q.TAFSILNO = :O AND NOT EXISTS "
                                                      "(SELECT 1 FROM SEP_RADR1 r WHERE r.REQIDX = q.REQ_IDX AND r.REQROW = q.REQ_ROW)"),
                                       {{QStringLiteral(":O"), owner}});
        if (unpaid.failed())
            return db::Fetched<RefundFigures>::failure(unpaid.error());
        f.requestedUnpaid = unpaid ? rialsOf(*unpaid) : 0;
    }
    return db::Fetched<RefundFigures>::found(f);
}

std::optional<int> Refunds::addRow(const Refund& refund, const NewRow& row, Prompt& prompt)
{
    Refund h = refund;
    if (const auto bad = badHeader(h)) {
        prompt.info(*bad);
        return std::nullopt;
    }
    if (row.sepIdx <= 0) {
        prompt.info(work::NothingEnteredText);
        return std::nullopt;
    }
    if (row.amount <= 0) {
        prompt.info(QStringLiteral("اطلاعات كامل نيست: مبلغ استرداد"));
        return std::nullopt;
    }
    if (row.descr.size() > 120) {
        prompt.info(QStringLiteral("توضيحات بيش از 120 حرف است"));
        return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!ensureHeader(w, h))
            return false;
        const std::optional<Deposit> d = work::row(w, row.sepIdx);
        if (!d)
            return false;
        // What is left of the deposit now, from its refund rows (not the stored balance).
        const auto taken = w.scalar(QStringLiteral("SELECT COALESCE(SUM(AMOUNT), 0), COUNT(*) FROM {deposits}.SEP_RADR1 WHERE SEPIDX = :D"),
                                    {{QStringLiteral(":D"), row.sepIdx}});
        if (!taken)
            return w.fail(taken.error());
        const qint64 left = d->amount - rialsOf(*taken);
        if (left <= 0)
            return w.fail(alreadyRefundedText());
        if (row.amount > left)
            return w.fail(QStringLiteral("مبلغ استرداد %1 ريال از مانده سپرده شناسه %2 (%3 ريال) بيشتر است")
                              .arg(amountText(row.amount))
                              .arg(row.sepIdx)
                              .arg(amountText(left)));
        if (row.reqIdx > 0) {
            const QVariantMap q{{QStringLiteral(":Q"), row.reqIdx}, {QStringLiteral(":Row"), row.reqRow}};
            const auto named = w.scalar(QStringLiteral("SELECT SEPIDX FROM {deposits}.SEP_REQR WHERE REQ_IDX = :Q AND REQ_ROW = :Row"), q);
            if (!named || named->toInt() != row.sepIdx)
                return w.fail(named.failed() ? named.error() : QStringLiteral("رديف درخواست وجه اين سپرده يافت نشد"));
            const auto twice = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_RADR1 WHERE REQIDX = :Q AND REQROW = :Row"), q);
            if (!twice)
                return w.fail(twice.error());
            if (twice->toInt() > 0)
                return w.fail(QStringLiteral("اين رديف درخواست وجه قبلا استرداد شده است"));
        }
        const auto next = w.nextKey(Store, Rows, QStringLiteral("RAD_ROW"), QStringLiteral("RAD_IDX = :R"), radBinds(h.radIdx));
        if (!next)
            return false;
        const QVariantMap values{{QStringLiteral("RAD_IDX"), h.radIdx},     {QStringLiteral("RAD_ROW"), int(*next)},
                                 {QStringLiteral("TAFSILI"), d->tafsili},  {QStringLiteral("PAYMAN"), d->payment},
                                 {QStringLiteral("SEPIDX"), d->idx},       {QStringLiteral("AMOUNT"), double(row.amount)},
                                 {QStringLiteral("DESCR"), row.descr},     {QStringLiteral("RADIDX"), 0},
                                 {QStringLiteral("FISHNO"), d->sepNo},     {QStringLiteral("FISHDATE"), d->sepDate},
                                 {QStringLiteral("REQIDX"), row.reqIdx > 0 ? row.reqIdx : 0}, {QStringLiteral("REQROW"), row.reqIdx > 0 ? row.reqRow : 0}};
        o.changed = 1;
        return w.insert(Store, Rows, values) && follow(w, h.radIdx, {d->idx}, {h.tankhahIdx});
    });
    if (!out)
        return std::nullopt;
    return h.radIdx;
}

Outcome Refunds::removeRow(int radIdx, int radRow, Prompt& prompt)
{
    if (radIdx <= 0 || radRow <= 0)
        return refused(prompt, work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    const QVariantMap binds{{QStringLiteral(":R"), radIdx}, {QStringLiteral(":Row"), radRow}};
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<Refund> h = storedHeader(w, radIdx);
        if (!h)
            return false;
        const auto deposit = w.scalar(QStringLiteral("SELECT SEPIDX FROM {deposits}.SEP_RADR1 WHERE RAD_IDX = :R AND RAD_ROW = :Row"), binds);
        if (!deposit)
            return w.fail(deposit.failed() ? deposit.error() : work::NothingEnteredText);
        return w.remove(Store, Rows, QStringLiteral("RAD_IDX = :R AND RAD_ROW = :Row"), binds, &o.changed)
            && follow(w, radIdx, {deposit->toInt()}, {h->tankhahIdx});
    });
}

Outcome Refunds::discard(int radIdx, Prompt& prompt)
{
    if (radIdx <= 0)
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<Refund> h = storedHeader(w, radIdx);
        if (!h)
            return false;
        bool ok = false;
        const QList<int> deposits = depositsOf(w, radIdx, &ok);
        return ok && w.remove(Store, Rows, QStringLiteral("RAD_IDX = :R"), radBinds(radIdx), &o.changed)
            && w.remove(Store, Cheques, QStringLiteral("RAD_IDX = :R"), radBinds(radIdx))
            && w.remove(Store, Head, QStringLiteral("RAD_IDX = :R"), radBinds(radIdx)) && follow(w, 0, deposits, {h->tankhahIdx});
    });
}

std::optional<int> Refunds::saveCheque(const Refund& refund, const IssuedCheque& cheque, bool insert, Prompt& prompt)
{
    Refund h = refund;
    IssuedCheque c = cheque;
    if (const auto bad = badHeader(h)) {
        prompt.info(*bad);
        return std::nullopt;
    }
    const std::optional<QString> date = work::dateOf(c.chkDate);
    if (!date) {
        prompt.info(QStringLiteral("تاريخ چک درست نيست: ") + c.chkDate);
        return std::nullopt;
    }
    c.chkDate = *date;
    if (c.amount <= 0) {
        prompt.info(QStringLiteral("اطلاعات كامل نيست: مبلغ چک"));
        return std::nullopt;
    }
    if (c.chkKind < 0 || c.chkKind >= chequeKindTexts().size()) {
        prompt.info(QStringLiteral("نوع چک را انتخاب کنيد"));
        return std::nullopt;
    }
    if (c.chkNo < 0 || c.descr.size() > 120) {
        prompt.info(QStringLiteral("شماره چک فقط از رقم تشکيل مي شود و توضيح حداکثر 120 حرف است"));
        return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!ensureHeader(w, h))
            return false;
        c.radIdx = h.radIdx;
        QVariantMap values{{QStringLiteral("TAFSILI"), c.tafsili},  {QStringLiteral("PAYMAN"), c.payman}, {QStringLiteral("CHKKIND"), c.chkKind},
                           {QStringLiteral("AMOUNT"), double(c.amount)}, {QStringLiteral("DESCR"), c.descr}, {QStringLiteral("CHKDATE"), c.chkDate},
                           {QStringLiteral("SNDNO"), c.sndNo},      {QStringLiteral("MY"), c.my},          {QStringLiteral("TARHNO"), c.tarhNo},
                           {QStringLiteral("PROJNO"), c.projNo},    {QStringLiteral("CHKNO"), c.chkNo}};
        o.changed = 1;
        if (insert) {
            const auto next = w.nextKey(Store, Cheques, QStringLiteral("RAD_ROW"), QStringLiteral("RAD_IDX = :R"), radBinds(h.radIdx));
            if (!next)
                return false;
            values.insert(QStringLiteral("RAD_IDX"), h.radIdx);
            values.insert(QStringLiteral("RAD_ROW"), int(*next));
            return w.insert(Store, Cheques, values);
        }
        int changed = 0;
        return w.update(Store, Cheques, values, QStringLiteral("RAD_IDX = :R AND RAD_ROW = :Row"),
                        {{QStringLiteral(":R"), h.radIdx}, {QStringLiteral(":Row"), c.radRow}}, &changed)
            && (changed == 1 || w.fail(QStringLiteral("چک مورد نظر يافت نشد")));
    });
    if (!out)
        return std::nullopt;
    return h.radIdx;
}

Outcome Refunds::removeCheque(int radIdx, int radRow, Prompt& prompt)
{
    if (radIdx <= 0 || radRow <= 0)
        return refused(prompt, work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        return w.remove(Store, Cheques, QStringLiteral("RAD_IDX = :R AND RAD_ROW = :Row"), {{QStringLiteral(":R"), radIdx}, {QStringLiteral(":Row"), radRow}},
                        &o.changed)
            && (o.changed == 1 || w.fail(QStringLiteral("چک مورد نظر يافت نشد")));
    });
}

Outcome Refunds::refundRequest(int reqIdx, const QString& date, Prompt& prompt)
{
    const std::optional<QString> when = work::dateOf(date);
    if (!when)
        return refused(prompt, QStringLiteral("تاريخ استرداد درست نيست: ") + date);
    const QString radDate = when->isEmpty() ? session_.clock().todayJalali() : *when;
    const auto request = FundRequests(session_).read(reqIdx);
    if (!request)
        return refused(prompt, request.failed() ? request.error() : work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    if (!prompt.ask(QStringLiteral("همه سپرده هاي اين درخواست استرداد مي شوند، مطمئن هستيد")))
        return work::cancelled();
    QStringList skipped;
    Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        skipped.clear();
        struct Wanted {
            int row, deposit, owner, contract;
            qint64 amount, fishNo;
            QString fishDate;
            bool found, refunded;
        };
        QList<Wanted> rows;
        QHash<int, qint64> left;   // what each deposit still holds, as the walk takes from it
        if (!requestwork::eachRow(
                w,
                QStringLiteral("SELECT q.REQ_ROW, q.SEPIDX, q.TAFSILNO, q.PAYMANNO, q.AMOUNT, d.SEPNO, d.SEPDATE, d.IDX, d.AMOUNT, "
                               "(SELECT COALESCE(SUM(r.AMOUNT), 0) FROM {deposits}.SEP_RADR1 r WHERE r.SEPIDX = q.SEPIDX), "
                               "(SELECT COUNT(*) FROM {deposits}.SEP_RADR1 r WHERE r.REQIDX = q.REQ_IDX AND r.REQROW = q.REQ_ROW), d.TAFSILI, d.PAYMENT "
                               "FROM {deposits}.SEP_REQR q LEFT JOIN {deposits}.SEP_DAR d ON d.IDX = q.SEPIDX WHERE q.REQ_IDX = :Q ORDER BY q.REQ_ROW"),
                {{QStringLiteral(":Q"), reqIdx}}, [&](const QSqlRecord& r) {
                    const int deposit = r.value(1).toInt();
                    const bool found = !r.value(7).isNull();
                    rows.append({r.value(0).toInt(), deposit, r.value(11).isNull() ? r.value(2).toInt() : r.value(11).toInt(),
                                 r.value(12).isNull() ? -1 : r.value(12).toInt(), rialsOf(r.value(4)), r.value(5).toLongLong(),
                                 r.value(6).toString().trimmed(), found, r.value(10).toInt() > 0});
                    if (found && !left.contains(deposit))
                        left.insert(deposit, rialsOf(r.value(8)) - rialsOf(r.value(9)));
                }))
            return false;
        if (rows.isEmpty())
            return w.fail(work::NothingEnteredText);
        const auto first = w.nextKey(Store, Head, QStringLiteral("RAD_IDX"));
        if (!first)
            return false;
        int next = int(*first);
        const QString descr = (QStringLiteral("استرداد جمعي درخواست وجه شماره ") + request->reqNo).left(120);
        for (const Wanted& x : rows) {
            if (!x.found || x.refunded || x.amount <= 0 || left.value(x.deposit) < x.amount) {
                skipped << QStringLiteral("سپرده با کد  ") + QString::number(x.deposit)
                        + QStringLiteral(" قبلا استرداد شده و يا مبلغ درخواستي بيشتر از مبلغ مانده ي سپرده است");
                ++o.kept;
                continue;
            }
            left[x.deposit] -= x.amount;
            const int rad = next++;
            if (!w.insert(Store, Head,
                          {{QStringLiteral("RAD_IDX"), rad},      {QStringLiteral("RADDATE"), radDate},     {QStringLiteral("REQ_IDX"), 0},
                           {QStringLiteral("TAFSILI"), x.owner},  {QStringLiteral("PAYMAN"), x.contract},   {QStringLiteral("RADKIND"), 0},
                           {QStringLiteral("DESCR"), descr},      {QStringLiteral("AMOUNT"), double(x.amount)}, {QStringLiteral("SNDCI"), 0},
                           {QStringLiteral("SNDNO"), 0},          {QStringLiteral("SNDDATE"), QString()},  {QStringLiteral("SNDROW"), 0},
                           {QStringLiteral("SNDYER"), 0},         {QStringLiteral("TIK_AZTANKHAH"), 0},    {QStringLiteral("TANKHAH_IDX"), 0}})
                || !w.insert(Store, Rows,
                             {{QStringLiteral("RAD_IDX"), rad},     {QStringLiteral("RAD_ROW"), 1},         {QStringLiteral("TAFSILI"), x.owner},
                              {QStringLiteral("PAYMAN"), x.contract}, {QStringLiteral("SEPIDX"), x.deposit}, {QStringLiteral("AMOUNT"), double(x.amount)},
                              {QStringLiteral("DESCR"), descr},     {QStringLiteral("RADIDX"), 0},          {QStringLiteral("FISHNO"), x.fishNo},
                              {QStringLiteral("FISHDATE"), x.fishDate}, {QStringLiteral("REQIDX"), reqIdx}, {QStringLiteral("REQROW"), x.row}}))
                return false;
            ++o.changed;
            prompt.progress(QStringLiteral("استرداد جمعي سپرده ها"), o.changed + o.kept, int(rows.size()));
        }
        return requestwork::syncDeposits(w, QStringLiteral("IDX IN (SELECT SEPIDX FROM {deposits}.SEP_REQR WHERE REQ_IDX = :Q)"),
                                         {{QStringLiteral(":Q"), reqIdx}});
    });
    if (out && !skipped.isEmpty())
        prompt.info(skipped.join(QLatin1Char('\n')));
    return out;
}

Outcome Refunds::issueVoucher(int radIdx, const VoucherChoice& voucher, Prompt& prompt)
{
    if (!session_.AccountingDbOpen())
        return refused(prompt, accounting::Vouchers(session_).missingText());
    const auto h = read(radIdx);
    if (!h)
        return refused(prompt, h.failed() ? h.error() : work::NothingEnteredText);
    if (h->sndNo > 0)
        return refused(prompt, QStringLiteral("براي اين استرداد قبلا سند حسابداري شماره %1 صادر شده است").arg(h->sndNo));
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    accounting::Vouchers books(session_);
    if (voucher.number > 0 && !voucher.clearEarlier) {
        const auto rows = books.rows(voucher.number);
        if (rows.failed())
            return refused(prompt, rows.error());
        if (rows && !prompt.ask(QStringLiteral("سند فوق در سيستم حسابداري داراي اطلاعات مي باشد.")))
            return work::cancelled();
    }
    const QString depositsCode = requestwork::ledgerCode(session_, requestwork::Ledger::Deposits);
    const QString bankCode = requestwork::ledgerCode(session_, requestwork::Ledger::RefundBank);
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<Refund> stored = storedHeader(w, radIdx);
        if (!stored)
            return false;
        if (stored->sndNo > 0)
            return w.fail(QStringLiteral("براي اين استرداد قبلا سند حسابداري شماره %1 صادر شده است").arg(stored->sndNo));
        const int section = session_.SectionCode().toInt();
        QString ownerName, ownerAccount, contractNo;
        const auto owner = w.firstRow(QStringLiteral("SELECT NAME, HESABJARI FROM {common}.TAFSILI WHERE CODE = :C AND CI = :CI"),
                                      {{QStringLiteral(":C"), stored->tafsili}, {QStringLiteral(":CI"), section}});
        if (owner.failed())
            return w.fail(owner.error());
        if (owner) {
            ownerName = owner->value(0).toString().trimmed();
            ownerAccount = owner->value(1).toString().trimmed();
        }
        if (stored->payman > 0) {
            const auto c = w.scalar(QStringLiteral("SELECT PAYMENTNO FROM {common}.PAYMENTS WHERE CODE = :C AND CI = :CI"),
                                    {{QStringLiteral(":C"), stored->payman}, {QStringLiteral(":CI"), section}});
            if (c.failed())
                return w.fail(c.error());
            contractNo = c ? c->toString().trimmed() : QString();
        }
        struct Line {
            RefundRow row;
            int plan, project;
        };
        QList<Line> lines;
        if (!requestwork::eachRow(w,
                                  QStringLiteral("SELECT r.*, d.TARHNO AS D_TARHNO, d.PROJNO AS D_PROJNO FROM {deposits}.SEP_RADR1 r "
                                                 "LEFT JOIN {deposits}.SEP_DAR d ON d.IDX = r.SEPIDX WHERE r.RAD_IDX = :R ORDER BY r.RAD_ROW"),
                                  radBinds(radIdx), [&](const QSqlRecord& r) {
                                      lines.append({rowFrom(r), intOf(r, "D_TARHNO", -1), intOf(r, "D_PROJNO", -1)});
                                  }))
            return false;
        if (lines.isEmpty())
            return w.fail(work::NothingEnteredText);
        QList<IssuedCheque> cheques;
        if (!requestwork::eachRow(w, QStringLiteral("SELECT * FROM {deposits}.SEP_RADR2 WHERE RAD_IDX = :R ORDER BY RAD_ROW"), radBinds(radIdx),
                                  [&](const QSqlRecord& r) { cheques << chequeFrom(r); }))
            return false;
        qint64 total = 0, paid = 0;
        for (const Line& l : lines)
            total += l.row.amount;
        for (const IssuedCheque& c : cheques)
            paid += c.amount;
        if (!cheques.isEmpty() && paid != total)
            return w.fail(QStringLiteral("جمع چک ها (%1 ريال) با جمع سپرده هاي استردادي (%2 ريال) برابر نيست").arg(amountText(paid), amountText(total)));

        auto given = [](int code) { return code > 0 ? std::optional<int>(code) : std::nullopt; };
        accounting::VoucherPosting p;
        p.number = voucher.number;
        p.date = voucher.date;
        p.clearEarlier = voucher.clearEarlier;
        p.state = 1;
        // A tender's cash deposit goes back under its own title.
        p.description = stored->radKind == 3 ? QStringLiteral("سند استرداد سپرده شرکت در مناقصه") : QStringLiteral("سند استرداد سپرده");
        for (const Line& l : lines) {
            accounting::VoucherLine d = requestwork::lineOn(depositsCode);
            d.tafsil = given(l.row.tafsili);
            d.tafsil2 = given(l.row.payman);
            d.plan = given(l.plan);
            d.project = given(l.project);
            d.description = (QStringLiteral(" استرداد قبض سپرده ") + QString::number(l.row.fishNo) + QStringLiteral(" تاريخ ") + l.row.fishDate).left(160);
            d.debit = l.row.amount;
            p.lines << d;
        }
        const QString bankText = (QStringLiteral("در وجه خودتان جهت واريز به حساب") + QLatin1Char(' ') + ownerAccount + QStringLiteral(" به نام ") + ownerName
                                  + QStringLiteral(" بابت  آزادسازي سپرده هاي  ") + refundKindTexts().value(stored->radKind)
                                  + (contractNo.isEmpty() ? QString() : QStringLiteral(" قرارداد ") + contractNo))
                                     .left(160);
        auto bankLine = [&](qint64 amount, qint64 chequeNo, const QString& chequeDate, int plan, int project) {
            accounting::VoucherLine b = requestwork::lineOn(bankCode);
            b.tafsil = given(stored->tafsili);
            b.tafsil2 = given(stored->payman);
            b.plan = given(plan);
            b.project = given(project);
            if (chequeNo > 0)
                b.chequeNo = chequeNo;
            b.chequeDate = chequeDate;
            b.description = bankText;
            b.credit = amount;
            p.lines << b;
        };
        if (cheques.isEmpty())
            bankLine(total, 0, stored->radDate, -1, -1);
        for (const IssuedCheque& c : cheques)
            bankLine(c.amount, c.chkNo, c.chkDate, c.tarhNo, c.projNo);
        // A deposit released against a guarantee: the guarantee taken in is booked in
        // the memorandum accounts.
        if (stored->radKind == 2) {
            accounting::VoucherLine in = requestwork::lineOn(requestwork::ledgerCode(session_, requestwork::Ledger::GuaranteeIn));
            in.tafsil = given(stored->tafsili);
            in.description = QStringLiteral("ضمانتنامه کسور وجه الضمان در قبال استرداد سپرده");
            in.debit = total;
            accounting::VoucherLine out = requestwork::lineOn(requestwork::ledgerCode(session_, requestwork::Ledger::GuaranteeOut));
            out.tafsil = in.tafsil;
            out.description = in.description;
            out.credit = total;
            p.lines << in << out;
        }
        prompt.progress(p.description, 0, int(p.lines.size()));
        const auto posted = accounting::VoucherWriter(session_).post(w, p);
        if (!posted)
            return false;
        o.voucher = posted->number;
        // The deposit rows carry the treasury's deposit codes in two of the newer chart's levels.
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!w.update(db::Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("ACCDETAIL5 = :A5, ACCDETAIL6 = :A6"),
                          QStringLiteral("SNDNO = :No AND ROW = :Row"),
                          {{QStringLiteral(":A5"), QStringLiteral("125001401")}, {QStringLiteral(":A6"), QStringLiteral("127000006")},
                           {QStringLiteral(":No"), posted->number}, {QStringLiteral(":Row"), posted->rows.value(int(i))}}))
                return false;
        }
        return w.update(Store, Head, QStringLiteral("SNDCI = :Ci, SNDNO = :No, SNDDATE = :Date, SNDROW = :Row, SNDYER = :Year"), QStringLiteral("RAD_IDX = :R"),
                        {{QStringLiteral(":Ci"), section},
                         {QStringLiteral(":No"), posted->number},
                         {QStringLiteral(":Date"), voucher.date},
                         {QStringLiteral(":Row"), posted->rows.value(0)},
                         {QStringLiteral(":Year"), posted->year},
                         {QStringLiteral(":R"), radIdx}},
                        &o.changed);
    });
}

bool Refunds::clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted)
{
    return accounting::clearRowReferences(w, db::Store::Deposits, QStringLiteral("SEP_RADH"), QStringLiteral("SNDNO"), QStringLiteral("SNDROW"),
                                          QStringLiteral("SNDYER"), posted);
}

} // namespace orvak::deposits
