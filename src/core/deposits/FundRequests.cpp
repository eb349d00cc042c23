#include "core/deposits/FundRequests.h"

#include "core/deposits/DepositWork.h"
#include "core/deposits/RequestWork.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QSet>
#include <cmath>

namespace orvak::deposits {

using startup::Prompt;
using work::refused;
using work::Chunk;
using work::intOf;
using work::SureText;
using work::textOf;

namespace {

const QString Head = QStringLiteral("SEP_REQH");
const QString Rows = QStringLiteral("SEP_REQR");
constexpr db::Store Store = db::Store::Deposits;


FundRequest headerFrom(const QSqlRecord& r)
{
    FundRequest h;
    h.reqIdx = intOf(r, "REQ_IDX");
    h.reqNo = textOf(r, "REQNO");
    h.reqDate = textOf(r, "REQDATE");
    h.letterNo = textOf(r, "LETTERNO");
    h.letterDate = textOf(r, "LETTERDATE");
    h.reqAmount = rialsOf(r.value(QStringLiteral("REQ_AMOUNT")));
    h.letterNo2 = textOf(r, "LETTERNO2");
    h.letterDate2 = textOf(r, "LETTERDATE2");
    h.ansAmount = rialsOf(r.value(QStringLiteral("ANS_AMOUNT")));
    h.state = intOf(r, "REQSTATUSE");
    h.ansChkNo = r.value(QStringLiteral("ANS_CHKNO")).toLongLong();
    h.accNo = intOf(r, "ACCNO");
    h.tedad = intOf(r, "TEDAD");
    h.descr = textOf(r, "DESCR");
    h.variziBesNo = textOf(r, "VARIZI_BESNO");
    h.variziBesDate = textOf(r, "VARIZI_BESDATE");
    return h;
}

FundRequestRow rowFrom(const QSqlRecord& r)
{
    FundRequestRow x;
    x.reqIdx = intOf(r, "REQ_IDX");
    x.reqRow = intOf(r, "REQ_ROW");
    x.tafsilNo = intOf(r, "TAFSILNO", -1);
    x.paymanNo = intOf(r, "PAYMANNO", -1);
    x.sepIdx = intOf(r, "SEPIDX");
    x.fishNo = r.value(QStringLiteral("FISHNO")).toLongLong();
    x.besIdx = intOf(r, "BESIDX");
    x.fishDate = textOf(r, "FISHDATE");
    x.fishAmount = rialsOf(r.value(QStringLiteral("FISHAMOUNT")));
    x.ersalLetter = textOf(r, "ERSALLETTER");
    x.ersalLetterDate = textOf(r, "ERSALLETTERDATE");
    x.ersalRow = intOf(r, "ERSAL_ROW");
    x.bestankariNo = textOf(r, "BESTANKARINO");
    x.bestankariDate = textOf(r, "BESTANKARIDATE");
    x.peikareh = rialsOf(r.value(QStringLiteral("PEIKAREH")));
    x.amount = rialsOf(r.value(QStringLiteral("AMOUNT")));
    x.descr = textOf(r, "DESCR");
    x.letterNo = textOf(r, "LETTERNO");
    x.letterDate = textOf(r, "LETTERDATE");
    x.reqStatuse = intOf(r, "REQSTATUSE");
    return x;
}

QVariantMap rowValues(const FundRequestRow& x)
{
    return {{QStringLiteral("REQ_IDX"), x.reqIdx},
            {QStringLiteral("REQ_ROW"), x.reqRow},
            {QStringLiteral("TAFSILNO"), x.tafsilNo},
            {QStringLiteral("PAYMANNO"), x.paymanNo},
            {QStringLiteral("SEPIDX"), x.sepIdx},
            {QStringLiteral("FISHNO"), x.fishNo},
            {QStringLiteral("BESIDX"), x.besIdx},
            {QStringLiteral("FISHDATE"), x.fishDate},
            {QStringLiteral("FISHAMOUNT"), double(x.fishAmount)},
            {QStringLiteral("ERSALLETTER"), x.ersalLetter},
            {QStringLiteral("ERSALLETTERDATE"), x.ersalLetterDate},
            {QStringLiteral("ERSAL_ROW"), x.ersalRow},
            {QStringLiteral("BESTANKARINO"), x.bestankariNo},
            {QStringLiteral("BESTANKARIDATE"), x.bestankariDate},
            {QStringLiteral("PEIKAREH"), double(x.peikareh)},
            {QStringLiteral("AMOUNT"), double(x.amount)},
            {QStringLiteral("DESCR"), x.descr},
            {QStringLiteral("LETTERNO"), x.letterNo},
            {QStringLiteral("LETTERDATE"), x.letterDate},
            {QStringLiteral("REQSTATUSE"), x.reqStatuse}};
}

// A credit notice as a request row copies it.
struct Notice {
    QString no, date;
    qint64 amount = 0;
};

// What a row copies from its deposit and the deposit's credit notice.
void copyDeposit(FundRequestRow& x, const Deposit& d, const Notice& n)
{
    x.sepIdx = d.idx;
    x.tafsilNo = d.tafsili;
    x.paymanNo = d.payment;
    x.fishNo = d.sepNo;
    x.fishDate = d.sepDate;
    x.fishAmount = d.amount;
    x.ersalLetter = d.ersalNo;
    x.ersalLetterDate = d.ersalDate;
    x.ersalRow = d.sepRow;
    x.besIdx = d.elamBesIdx;
    x.bestankariNo = n.no;
    x.bestankariDate = n.date;
    x.peikareh = n.amount;
}

std::optional<Notice> noticeIn(db::UnitOfWork& w, int idx)
{
    if (idx <= 0)
        return Notice{};
    const auto r = w.firstRow(QStringLiteral("SELECT BESNO, BESDATE, BESAMOUNT FROM {deposits}.BESTANKARI WHERE IDXNO = :I"), {{QStringLiteral(":I"), idx}});
    if (r.failed()) {
        w.fail(r.error());
        return std::nullopt;
    }
    if (!r)
        return Notice{};
    return Notice{r->value(0).toString().trimmed(), r->value(1).toString().trimmed(), rialsOf(r->value(2))};
}

// The stored request read inside the work; fails it when missing or final.
std::optional<FundRequest> changeable(db::UnitOfWork& w, int reqIdx)
{
    const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.SEP_REQH WHERE REQ_IDX = :R"), {{QStringLiteral(":R"), reqIdx}});
    if (r.failed()) {
        w.fail(r.error());
        return std::nullopt;
    }
    if (!r) {
        w.fail(QStringLiteral("درخواست وجه مورد نظر يافت نشد"));
        return std::nullopt;
    }
    const FundRequest h = headerFrom(*r);
    if (h.state == int(FundState::Final)) {
        w.fail(finalRequestText());
        return std::nullopt;
    }
    return h;
}

QString alreadyText(const QStringList& numbers)
{
    return QStringLiteral("اين سپرده قبلا با درخواست شماره ") + io::isolateLtr(numbers.join(QStringLiteral("، "))) + QStringLiteral(" درخواست شده است");
}

QVariantMap reqBinds(int reqIdx) { return {{QStringLiteral(":R"), reqIdx}}; }

bool totalsOf(db::UnitOfWork& w, int reqIdx) { return requestwork::syncRequestTotals(w, QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx)); }

bool marksOf(db::UnitOfWork& w, const QList<int>& deposits)
{
    for (qsizetype from = 0; from < deposits.size(); from += Chunk) {
        QVariantMap binds;
        const QString where = requestwork::inList(QStringLiteral("IDX"), deposits.mid(from, Chunk), binds, QStringLiteral(":d"));
        if (!requestwork::rewriteMarks(w, where, binds))
            return false;
    }
    return true;
}

} // namespace

QStringList fundStateTexts()
{
    return {QStringLiteral("ثبت موقت بعنوان پيش نويس"), QStringLiteral("ارسال درخواست به خزانه"), QStringLiteral("ارسال درخواست+فايل به خزانه"),
            QStringLiteral("تاييد دريافتي از خزانه"), QStringLiteral("قطعي شده-غير قابل تغيير")};
}

QString fundStateText(int state) { return fundStateTexts().value(state); }

qint64 shareOf(qint64 amount, int percent)
{
    // Whole numbers throughout: amount * percent / 100, a half going to the even rial.
    const qint64 scaled = amount * percent;
    qint64 q = scaled / 100;
    const qint64 r = scaled % 100;
    if (r > 50 || (r == 50 && (q % 2) != 0))
        ++q;
    return q;
}

QString paidAboveRequestedText() { return QStringLiteral("مبلغ واريزي از مبلغ درخواستي ب يشتر است"); }
QString noRequestDateText() { return QStringLiteral("تاريخ درخواست مشخص نشده است"); }
QString finalRequestText() { return QStringLiteral("اين درخواست قطعي شده-غير قابل تغيير است"); }

FundRequests::FundRequests(startup::Session& session)
    : session_(session)
{
}

db::Fetched<FundRequest> FundRequests::read(int reqIdx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM SEP_REQH WHERE REQ_IDX = :R"), reqBinds(reqIdx));
    if (r.failed())
        return db::Fetched<FundRequest>::failure(r.error());
    if (r.empty())
        return db::Fetched<FundRequest>::none();
    return db::Fetched<FundRequest>::found(headerFrom(*r));
}

db::Fetched<QList<FundRequestRow>> FundRequests::rows(int reqIdx) const
{
    using Result = db::Fetched<QList<FundRequestRow>>;
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, QStringLiteral("SELECT * FROM SEP_REQR WHERE REQ_IDX = :R ORDER BY REQ_ROW"), reqBinds(reqIdx), &why) || !q.exec())
        return Result::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<FundRequestRow> rows;
    while (q.next())
        rows << rowFrom(q.record());
    if (q.lastError().isValid())
        return Result::failure(q.lastError().text());
    return Result::found(rows);
}

db::Fetched<OpenedRequest> FundRequests::open(int reqIdx) const
{
    using Result = db::Fetched<OpenedRequest>;
    const auto h = read(reqIdx);
    if (!h)
        return h.failed() ? Result::failure(h.error()) : Result::none();
    const auto r = rows(reqIdx);
    if (!r)
        return Result::failure(r.error());
    OpenedRequest o{*h, *r, {}};
    for (const FundRequestRow& x : o.rows) {
        o.sums.sum += x.amount;
        ++o.sums.count;
    }
    return Result::found(o);
}

db::Fetched<FundRequest> FundRequests::newRequest() const
{
    QString why;
    const auto key = db::largestPlusOne(session_.deposits(), Head, QStringLiteral("REQ_IDX"), {}, {}, &why);
    if (!key)
        return db::Fetched<FundRequest>::failure(why);
    FundRequest h;
    h.reqIdx = int(*key);
    h.reqNo = QString::number(*key);
    h.reqDate = session_.clock().todayJalali();
    return db::Fetched<FundRequest>::found(h);
}

std::optional<int> FundRequests::save(const FundRequest& request, bool insert, Prompt& prompt)
{
    return writeHeader(request, insert, FundState::Draft, prompt);
}

std::optional<int> FundRequests::changeState(const FundRequest& request, FundState state, Prompt& prompt)
{
    if (state == FundState::Final) {
        prompt.info(finalRequestText());
        return std::nullopt;
    }
    return writeHeader(request, false, state, prompt);
}

std::optional<int> FundRequests::writeHeader(const FundRequest& request, bool insert, FundState state, Prompt& prompt)
{
    FundRequest h = request;
    const std::optional<QString> date = work::dateOf(h.reqDate);
    if (!date || date->isEmpty()) {
        prompt.info(date ? noRequestDateText() : QStringLiteral("تاريخ درخواست درست نيست: ") + h.reqDate);
        return std::nullopt;
    }
    h.reqDate = *date;
    const std::pair<QString*, const char*> dates[] = {{&h.letterDate, "تاريخ نامه ارسالي درست نيست"},
                                                      {&h.letterDate2, "تاريخ نامه تائيد واريزي درست نيست"},
                                                      {&h.variziBesDate, "تاريخ بستانکاري واريزي درست نيست"}};
    for (const auto& [d, message] : dates) {
        const std::optional<QString> read = work::dateOf(*d);
        if (!read) {
            prompt.info(QString::fromUtf8(message) + QStringLiteral(": ") + *d);
            return std::nullopt;
        }
        *d = *read;
    }
    for (const QString* t : {&h.reqNo, &h.letterNo, &h.letterNo2, &h.variziBesNo}) {
        if (t->size() > 15) {
            prompt.info(QStringLiteral("شماره ها حداکثر 15 حرف است: ") + *t);
            return std::nullopt;
        }
    }
    if (h.descr.size() > 120) {
        prompt.info(QStringLiteral("توضيحات بيش از 120 حرف است"));
        return std::nullopt;
    }
    if (h.ansAmount < 0 || h.ansChkNo < 0 || h.accNo < 0) {
        prompt.info(QStringLiteral("مبلغ واريزي، شماره چک و شماره رديف منفي نمي شوند"));
        return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;

    int saved = h.reqIdx;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!insert && !changeable(w, h.reqIdx))
            return false;
        qint64 requested = 0;
        if (!insert) {
            const auto sum = w.scalar(QStringLiteral("SELECT COALESCE(SUM(AMOUNT), 0) FROM {deposits}.SEP_REQR WHERE REQ_IDX = :R"), reqBinds(h.reqIdx));
            if (!sum)
                return w.fail(sum.error());
            requested = rialsOf(*sum);
        }
        // The amounts as numbers: "9,000" against "10,000" is less, whatever the text says.
        if (h.ansAmount > requested)
            return w.fail(paidAboveRequestedText());
        QVariantMap values{{QStringLiteral("REQNO"), h.reqNo},
                           {QStringLiteral("REQDATE"), h.reqDate},
                           {QStringLiteral("LETTERNO"), h.letterNo},
                           {QStringLiteral("LETTERDATE"), h.letterDate},
                           {QStringLiteral("LETTERNO2"), h.letterNo2},
                           {QStringLiteral("LETTERDATE2"), h.letterDate2},
                           {QStringLiteral("ANS_AMOUNT"), double(h.ansAmount)},
                           {QStringLiteral("REQSTATUSE"), int(state)},
                           {QStringLiteral("ANS_CHKNO"), h.ansChkNo},
                           {QStringLiteral("ACCNO"), h.accNo},
                           {QStringLiteral("DESCR"), h.descr},
                           {QStringLiteral("VARIZI_BESNO"), h.variziBesNo},
                           {QStringLiteral("VARIZI_BESDATE"), h.variziBesDate}};
        if (insert) {
            const auto key = w.nextKey(Store, Head, QStringLiteral("REQ_IDX"));
            if (!key)
                return false;
            saved = int(*key);
            values.insert(QStringLiteral("REQ_IDX"), saved);
            values.insert(QStringLiteral("REQ_AMOUNT"), 0.0);
            values.insert(QStringLiteral("TEDAD"), 0);
            o.changed = 1;
            return w.insert(Store, Head, values);
        }
        int changed = 0;
        if (!w.update(Store, Head, values, QStringLiteral("REQ_IDX = :R"), reqBinds(h.reqIdx), &changed))
            return false;
        o.changed = changed;
        // The rows carry the state too; the deposits' marks follow every request of theirs.
        return w.update(Store, Rows, QStringLiteral("REQSTATUSE = :S"), QStringLiteral("REQ_IDX = :R AND COALESCE(REQSTATUSE, -1) <> :S"),
                        {{QStringLiteral(":R"), h.reqIdx}, {QStringLiteral(":S"), int(state)}})
            && totalsOf(w, h.reqIdx) && requestwork::rewriteMarksOfRequest(w, h.reqIdx);
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome FundRequests::remove(int reqIdx, Prompt& prompt)
{
    if (reqIdx <= 0)
        return refused(prompt, work::NothingEnteredText);
    const auto h = read(reqIdx);
    if (!h)
        return refused(prompt, h.failed() ? h.error() : work::NothingEnteredText);
    if (h->state == int(FundState::Final))
        return refused(prompt, finalRequestText());
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!changeable(w, reqIdx))
            return false;
        const auto refunded = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_RADR1 WHERE REQIDX = :R"), reqBinds(reqIdx));
        if (!refunded)
            return w.fail(refunded.error());
        if (refunded->toInt() > 0)
            return w.fail(QStringLiteral("سپرده هاي اين درخواست استرداد شده است و درخواست نمي تواند حذف شود"));
        // Back to draft first, so that the deposits keep only what other requests hold.
        int rows = 0;
        return w.update(Store, Head, QStringLiteral("REQSTATUSE = 0"), QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx))
            && requestwork::rewriteMarksOfRequest(w, reqIdx) && w.remove(Store, Rows, QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx), &rows)
            && w.remove(Store, Head, QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx), &o.changed) && (o.kept = rows, true);
    });
}

db::Fetched<RowSums> FundRequests::rowSums(int reqIdx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT COALESCE(SUM(AMOUNT), 0), COUNT(*) FROM SEP_REQR WHERE REQ_IDX = :R"),
                                reqBinds(reqIdx));
    if (!r)
        return db::Fetched<RowSums>::failure(r.failed() ? r.error() : QStringLiteral("جمع درخواست خوانده نشد"));
    return db::Fetched<RowSums>::found({rialsOf(r->value(0)), r->value(1).toInt()});
}

QString FundRequests::rowSumsText(const RowSums& sums) const
{
    return QStringLiteral("جمع كل صورت ريز سپرده هاي درخواستي") + QLatin1Char(' ') + io::isolateLtr(sums.sum ? util::FormatAmount(sums.sum) : QStringLiteral("0"))
        + QStringLiteral("    ") + QStringLiteral(" تعداد ") + io::isolateLtr(QString::number(sums.count));
}

std::optional<int> FundRequests::depositOfReceipt(qint64 receiptNo, int owner, int contract, Prompt& prompt) const
{
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    const QVariantMap binds{{QStringLiteral(":No"), receiptNo}, {QStringLiteral(":Owner"), owner}, {QStringLiteral(":Contract"), contract}};
    if (!db::prepareBound(q,
                          QStringLiteral("SELECT IDX FROM SEP_DAR WHERE SEPNO = :No AND (:Owner = -1 OR TAFSILI = :Owner) "
                                         "AND (:Contract = -1 OR PAYMENT = :Contract) ORDER BY IDX"),
                          binds, &why)
        || !q.exec()) {
        prompt.info(why.isEmpty() ? q.lastError().text() : why);
        return std::nullopt;
    }
    QList<int> found;
    while (q.next())
        found << q.value(0).toInt();
    if (found.isEmpty()) {
        prompt.info(owner == -1 && contract == -1 ? QStringLiteral("شماره قبض در اطلاعات سپرده هاي دريافتي يافت نشد")
                                                  : QStringLiteral("شماره قبض در اطلاعات سپرده هاي دريافتي پيمانکار/قرارداد فوق يافت نشد"));
        return std::nullopt;
    }
    if (found.size() > 1) {
        prompt.info(QStringLiteral("اين شماره قبض بيش از يک بار در اطلاعات سپرده هاي دريافتي آمده است؛ سپرده را از فهرست سپرده هاي دريافتي انتخاب کنيد"));
        return std::nullopt;
    }
    return found.first();
}

db::Fetched<FundRequestRow> FundRequests::rowFor(int reqIdx, int depositIdx) const
{
    using Result = db::Fetched<FundRequestRow>;
    const auto d = ReceivedDeposits(session_).read(depositIdx);
    if (!d)
        return d.failed() ? Result::failure(d.error()) : Result::none();
    Notice n;
    if (d->elamBesIdx > 0) {
        const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT BESNO, BESDATE, BESAMOUNT FROM BESTANKARI WHERE IDXNO = :I"),
                                    {{QStringLiteral(":I"), d->elamBesIdx}});
        if (r.failed())
            return Result::failure(r.error());
        if (r)
            n = {r->value(0).toString().trimmed(), r->value(1).toString().trimmed(), rialsOf(r->value(2))};
    }
    QString why;
    const auto next = db::largestPlusOne(session_.deposits(), Rows, QStringLiteral("REQ_ROW"), QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx), &why);
    if (!next)
        return Result::failure(why);
    FundRequestRow x;
    x.reqIdx = reqIdx;
    x.reqRow = int(*next);
    copyDeposit(x, *d, n);
    x.amount = d->amountMandeh;
    return Result::found(x);
}

db::Fetched<FundRequestRow> FundRequests::readRow(int reqIdx, int reqRow) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM SEP_REQR WHERE REQ_IDX = :R AND REQ_ROW = :Row"),
                                {{QStringLiteral(":R"), reqIdx}, {QStringLiteral(":Row"), reqRow}});
    if (r.failed())
        return db::Fetched<FundRequestRow>::failure(r.error());
    if (r.empty())
        return db::Fetched<FundRequestRow>::none();
    return db::Fetched<FundRequestRow>::found(rowFrom(*r));
}

db::Fetched<QStringList> FundRequests::requestedIn(int depositIdx, int exceptReq) const
{
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q,
                          QStringLiteral("SELECT DISTINCT r.REQ_IDX, h.REQNO FROM SEP_REQR r LEFT JOIN SEP_REQH h ON h.REQ_IDX = r.REQ_IDX "
                                         "WHERE r.SEPIDX = :D AND r.REQ_IDX <> :R ORDER BY r.REQ_IDX"),
                          {{QStringLiteral(":D"), depositIdx}, {QStringLiteral(":R"), exceptReq}}, &why)
        || !q.exec())
        return db::Fetched<QStringList>::failure(why.isEmpty() ? q.lastError().text() : why);
    QStringList numbers;
    while (q.next()) {
        const QString no = q.value(1).toString().trimmed();
        numbers << (no.isEmpty() ? q.value(0).toString() : no);
    }
    return db::Fetched<QStringList>::found(numbers);
}

std::optional<int> FundRequests::saveRow(const FundRequestRow& row, bool insert, Prompt& prompt)
{
    FundRequestRow x = row;
    if (x.sepIdx <= 0) {
        prompt.info(QStringLiteral("اطلاعات كامل نيست: سپرده را انتخاب کنيد"));
        return std::nullopt;
    }
    if (x.amount <= 0) {
        prompt.info(QStringLiteral("اطلاعات كامل نيست: مبلغ درخواستي"));
        return std::nullopt;
    }
    const std::optional<QString> letter = work::dateOf(x.letterDate);
    if (!letter) {
        prompt.info(QStringLiteral("تاريخ نامه درخواست درست نيست: ") + x.letterDate);
        return std::nullopt;
    }
    x.letterDate = *letter;
    if (x.descr.size() > 120 || x.letterNo.size() > 15) {
        prompt.info(QStringLiteral("ملاحظات حداکثر 120 حرف و شماره نامه حداکثر 15 حرف است"));
        return std::nullopt;
    }
    const auto header = read(x.reqIdx);
    if (!header) {
        prompt.info(header.failed() ? header.error() : QStringLiteral("درخواست وجه مورد نظر يافت نشد"));
        return std::nullopt;
    }
    if (header->state == int(FundState::Final)) {
        prompt.info(finalRequestText());
        return std::nullopt;
    }
    if (insert) {
        const auto others = requestedIn(x.sepIdx, x.reqIdx);
        if (others.failed()) {
            prompt.info(others.error());
            return std::nullopt;
        }
        if (!others->isEmpty()
            && !prompt.ask(QStringLiteral("اين سپرده قبلا با درخواست شماره ") + io::isolateLtr(others->join(QStringLiteral("، ")))
                           + QStringLiteral("درخواست شده است . آيا ميخواهيد ادامه دهيد؟")))
            return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;

    int saved = x.reqRow;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<FundRequest> h = changeable(w, x.reqIdx);
        if (!h)
            return false;
        const std::optional<Deposit> d = work::row(w, x.sepIdx);
        if (!d)
            return false;
        if (x.amount > d->amount)
            return w.fail(QStringLiteral("مبلغ درخواستي از مبلغ سپرده بيشتر است"));
        const std::optional<Notice> n = noticeIn(w, d->elamBesIdx);
        if (!n)
            return false;
        copyDeposit(x, *d, *n);
        x.reqStatuse = h->state;
        QList<int> deposits{x.sepIdx};
        if (insert) {
            const auto key = w.nextKey(Store, Rows, QStringLiteral("REQ_ROW"), QStringLiteral("REQ_IDX = :R"), reqBinds(x.reqIdx));
            if (!key)
                return false;
            saved = x.reqRow = int(*key);
            if (!w.insert(Store, Rows, rowValues(x)))
                return false;
        } else {
            const auto before = w.scalar(QStringLiteral("SELECT SEPIDX FROM {deposits}.SEP_REQR WHERE REQ_IDX = :R AND REQ_ROW = :Row"),
                                         {{QStringLiteral(":R"), x.reqIdx}, {QStringLiteral(":Row"), x.reqRow}});
            if (!before)
                return w.fail(before.failed() ? before.error() : QStringLiteral("رديف درخواست يافت نشد"));
            if (before->toInt() != x.sepIdx)
                deposits << before->toInt();
            QVariantMap values = rowValues(x);
            values.remove(QStringLiteral("REQ_IDX"));
            values.remove(QStringLiteral("REQ_ROW"));
            if (!w.update(Store, Rows, values, QStringLiteral("REQ_IDX = :R AND REQ_ROW = :Row"),
                          {{QStringLiteral(":R"), x.reqIdx}, {QStringLiteral(":Row"), x.reqRow}}))
                return false;
        }
        o.changed = 1;
        return totalsOf(w, x.reqIdx) && marksOf(w, deposits);
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome FundRequests::removeRow(int reqIdx, int reqRow, Prompt& prompt)
{
    if (reqIdx <= 0 || reqRow <= 0)
        return refused(prompt, work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    const QVariantMap binds{{QStringLiteral(":R"), reqIdx}, {QStringLiteral(":Row"), reqRow}};
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!changeable(w, reqIdx))
            return false;
        const auto refunded = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_RADR1 WHERE REQIDX = :R AND REQROW = :Row"), binds);
        if (!refunded)
            return w.fail(refunded.error());
        if (refunded->toInt() > 0)
            return w.fail(QStringLiteral("اين رديف استرداد شده است و نمي تواند حذف شود"));
        const auto deposit = w.scalar(QStringLiteral("SELECT SEPIDX FROM {deposits}.SEP_REQR WHERE REQ_IDX = :R AND REQ_ROW = :Row"), binds);
        if (!deposit)
            return w.fail(deposit.failed() ? deposit.error() : QStringLiteral("رديف درخواست يافت نشد"));
        return w.remove(Store, Rows, QStringLiteral("REQ_IDX = :R AND REQ_ROW = :Row"), binds, &o.changed) && totalsOf(w, reqIdx)
            && marksOf(w, {deposit->toInt()});
    });
}

Outcome FundRequests::renumberRow(int reqIdx, int reqRow, int newRow, Prompt& prompt)
{
    if (newRow <= 0)
        return refused(prompt, QStringLiteral("شماره رديف درست نيست"));
    if (newRow == reqRow)
        return work::cancelled();
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    const QVariantMap binds{{QStringLiteral(":R"), reqIdx}, {QStringLiteral(":Row"), reqRow}, {QStringLiteral(":New"), newRow}};
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (!changeable(w, reqIdx))
            return false;
        const auto taken = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_REQR WHERE REQ_IDX = :R AND REQ_ROW = :New"), binds);
        if (!taken)
            return w.fail(taken.error());
        if (taken->toInt() > 0)
            return w.fail(QStringLiteral("اين شماره رديف در درخواست وجود دارد"));
        return w.update(Store, Rows, QStringLiteral("REQ_ROW = :New"), QStringLiteral("REQ_IDX = :R AND REQ_ROW = :Row"), binds, &o.changed)
            && (o.changed == 1 || w.fail(QStringLiteral("رديف درخواست يافت نشد")))
            && w.update(Store, QStringLiteral("SEP_RADR1"), QStringLiteral("REQROW = :New"), QStringLiteral("REQIDX = :R AND REQROW = :Row"), binds);
    });
}

Outcome FundRequests::addDeposits(int reqIdx, const QList<Wanted>& deposits, Prompt& prompt)
{
    if (deposits.isEmpty())
        return refused(prompt, work::NothingEnteredText);
    const auto header = read(reqIdx);
    if (!header)
        return refused(prompt, header.failed() ? header.error() : QStringLiteral("درخواست وجه مورد نظر يافت نشد"));
    if (header->state == int(FundState::Final))
        return refused(prompt, finalRequestText());
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    if (!prompt.ask(QStringLiteral("همه اين سپرده ها با شماره درخواست انتخاب شده، درخواست مي شوند، مطمئن هستيد؟")))
        return work::cancelled();

    QStringList told;
    Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        told.clear();
        const std::optional<FundRequest> h = changeable(w, reqIdx);
        if (!h)
            return false;
        QList<int> ids;
        for (const Wanted& x : deposits)
            ids << x.depositIdx;
        // The deposits, the other requests that name them and the credit notices, read at once.
        QHash<int, Deposit> found;
        QHash<int, QStringList> elsewhere;
        for (qsizetype from = 0; from < ids.size(); from += Chunk) {
            QVariantMap binds;
            const QString in = requestwork::inList(QStringLiteral("IDX"), ids.mid(from, Chunk), binds, QStringLiteral(":d"));
            if (!requestwork::eachRow(w, QStringLiteral("SELECT * FROM {deposits}.SEP_DAR WHERE ") + in, binds,
                                      [&](const QSqlRecord& r) { found.insert(r.value(QStringLiteral("IDX")).toInt(), depositFrom(r)); }))
                return false;
            QVariantMap rb{{QStringLiteral(":R"), reqIdx}};
            const QString rin = requestwork::inList(QStringLiteral("r.SEPIDX"), ids.mid(from, Chunk), rb, QStringLiteral(":d"));
            if (!requestwork::eachRow(w,
                                      QStringLiteral("SELECT DISTINCT r.SEPIDX, r.REQ_IDX, h.REQNO FROM {deposits}.SEP_REQR r LEFT JOIN {deposits}.SEP_REQH h "
                                                     "ON h.REQ_IDX = r.REQ_IDX WHERE r.REQ_IDX <> :R AND ")
                                          + rin + QStringLiteral(" ORDER BY r.SEPIDX, r.REQ_IDX"),
                                      rb, [&](const QSqlRecord& r) {
                                          const QString no = r.value(2).toString().trimmed();
                                          elsewhere[r.value(0).toInt()] << (no.isEmpty() ? r.value(1).toString() : no);
                                      }))
                return false;
        }
        QHash<int, Notice> notices;
        if (!requestwork::eachRow(w, QStringLiteral("SELECT IDXNO, BESNO, BESDATE, BESAMOUNT FROM {deposits}.BESTANKARI"), {}, [&](const QSqlRecord& r) {
                notices.insert(r.value(0).toInt(), {r.value(1).toString().trimmed(), r.value(2).toString().trimmed(), rialsOf(r.value(3))});
            }))
            return false;
        const auto first = w.nextKey(Store, Rows, QStringLiteral("REQ_ROW"), QStringLiteral("REQ_IDX = :R"), reqBinds(reqIdx));
        if (!first)
            return false;
        int next = int(*first);
        QSet<int> added;
        for (const Wanted& x : deposits) {
            const auto d = found.constFind(x.depositIdx);
            if (d == found.cend())
                return w.fail(QStringLiteral("سپرده شناسه %1 يافت نشد").arg(x.depositIdx));
            const qint64 amount = x.amount > 0 ? std::min(x.amount, d->amount) : d->amountMandeh;
            // Nothing left to ask for, or already in this request from this walk.
            if (amount <= 0 || added.contains(x.depositIdx)) {
                ++o.kept;
                continue;
            }
            if (const auto e = elsewhere.constFind(x.depositIdx); e != elsewhere.cend())
                told << QStringLiteral("%1: ").arg(x.depositIdx) + alreadyText(*e);
            FundRequestRow row;
            row.reqIdx = reqIdx;
            row.reqRow = next++;
            copyDeposit(row, *d, notices.value(d->elamBesIdx));
            row.amount = amount;
            row.descr = x.descr.left(120);
            row.reqStatuse = h->state;
            if (!w.insert(Store, Rows, rowValues(row)))
                return false;
            added.insert(x.depositIdx);
            ++o.changed;
        }
        return totalsOf(w, reqIdx) && requestwork::rewriteMarksOfRequest(w, reqIdx);
    });
    if (out && !told.isEmpty())
        prompt.info(told.join(QLatin1Char('\n')));
    return out;
}

Outcome FundRequests::setAllAmounts(Prompt& prompt)
{
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    Outcome out = work::run(session_, prompt,
                            [&](db::UnitOfWork& w, Outcome& o) { return requestwork::syncRequestTotals(w, QStringLiteral("1 = 1"), {}, &o.changed); });
    if (out)
        prompt.info(QStringLiteral("انجام شد"));
    return out;
}

Outcome FundRequests::refreshCreditTotals(int reqIdx, Prompt& prompt)
{
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return work::writeRefused();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QString total = QStringLiteral("(SELECT b.BESAMOUNT FROM {deposits}.BESTANKARI b WHERE b.IDXNO = SEP_REQR.BESIDX)");
        return w.update(Store, Rows, w.resolve(QStringLiteral("PEIKAREH = ") + total),
                        QStringLiteral("(:R = -1 OR REQ_IDX = :R) AND BESIDX IN (SELECT IDXNO FROM {deposits}.BESTANKARI) "
                                       "AND REQ_IDX NOT IN (SELECT REQ_IDX FROM {deposits}.SEP_REQH WHERE REQSTATUSE = 4) "
                                       "AND COALESCE(PEIKAREH, -1) <> ")
                            + total,
                        reqBinds(reqIdx), &o.changed);
    });
}

Outcome FundRequests::issuePaymentVoucher(int reqIdx, const VoucherChoice& voucher, Prompt& prompt)
{
    if (!session_.AccountingDbOpen())
        return refused(prompt, accounting::Vouchers(session_).missingText());
    const auto h = read(reqIdx);
    if (!h)
        return refused(prompt, h.failed() ? h.error() : work::NothingEnteredText);
    if (h->state < int(FundState::Confirmed) || h->ansAmount <= 0)
        return refused(prompt, QStringLiteral("دريافت وجه اين درخواست از خزانه هنوز تائيد نشده است"));
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
    const QString bank = requestwork::ledgerCode(session_, requestwork::Ledger::RefundBank);
    const QString treasury = requestwork::ledgerCode(session_, requestwork::Ledger::Treasury);
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        accounting::VoucherPosting p;
        p.number = voucher.number;
        p.date = voucher.date;
        p.clearEarlier = voucher.clearEarlier;
        p.state = 1;
        p.description = (QStringLiteral("واريز درخواست وجه شماره") + QLatin1Char(' ') + h->reqNo + QStringLiteral("  تاريخ ") + h->reqDate).left(160);
        const QString chequeDate = h->variziBesDate.isEmpty() ? h->letterDate2 : h->variziBesDate;
        auto pair = [&](qint64 amount, std::optional<int> owner, std::optional<int> plan, std::optional<int> project) {
            for (const bool debit : {true, false}) {
                accounting::VoucherLine l = requestwork::lineOn(debit ? bank : treasury);
                l.tafsil = owner;
                l.plan = plan;
                l.project = project;
                if (h->ansChkNo > 0)
                    l.chequeNo = h->ansChkNo;
                l.chequeDate = chequeDate;
                l.description = p.description;
                (debit ? l.debit : l.credit) = amount;
                p.lines << l;
            }
        };
        qint64 requested = 0;
        QList<std::tuple<qint64, int, int, int>> rows;
        if (!requestwork::eachRow(w,
                                  QStringLiteral("SELECT r.AMOUNT, r.TAFSILNO, d.TARHNO, d.PROJNO FROM {deposits}.SEP_REQR r "
                                                 "LEFT JOIN {deposits}.SEP_DAR d ON d.IDX = r.SEPIDX WHERE r.REQ_IDX = :R ORDER BY r.REQ_ROW"),
                                  reqBinds(reqIdx), [&](const QSqlRecord& r) {
                                      rows.append({rialsOf(r.value(0)), r.value(1).isNull() ? -1 : r.value(1).toInt(),
                                                   r.value(2).isNull() ? -1 : r.value(2).toInt(), r.value(3).isNull() ? -1 : r.value(3).toInt()});
                                      requested += std::get<0>(rows.last());
                                  }))
            return false;
        auto given = [](int code) { return code > 0 ? std::optional<int>(code) : std::nullopt; };
        // Row by row when the treasury paid what was asked; a part paid is one amount.
        if (requested == h->ansAmount && !rows.isEmpty()) {
            for (const auto& [amount, owner, plan, project] : rows) {
                if (amount > 0)
                    pair(amount, given(owner), given(plan), given(project));
            }
        } else {
            pair(h->ansAmount, std::nullopt, std::nullopt, std::nullopt);
        }
        prompt.progress(p.description, 0, int(p.lines.size()));
        const auto posted = accounting::VoucherWriter(session_).post(w, p);
        if (!posted)
            return false;
        o.voucher = posted->number;
        o.changed = int(p.lines.size());
        return true;
    });
}

} // namespace orvak::deposits
