#include "core/deposits/OwnerRequests.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/DepositWork.h"

namespace orvak::deposits {

namespace {

const QString Table = QStringLiteral("SEP_TAFSILREQ");
using work::SureText;

OwnerRequest requestFrom(const QSqlRecord& r)
{
    OwnerRequest q;
    q.reqIdx = r.value(QStringLiteral("REQ_IDX")).toInt();
    q.tafsilNo = r.value(QStringLiteral("TAFSILNO")).isNull() ? -1 : r.value(QStringLiteral("TAFSILNO")).toInt();
    q.paymanNo = r.value(QStringLiteral("PAYMANNO")).isNull() ? -1 : r.value(QStringLiteral("PAYMANNO")).toInt();
    q.reqSabtDate = r.value(QStringLiteral("REQSABTDATE")).toString().trimmed();
    q.inLetterNo = r.value(QStringLiteral("INLETTERNO")).toString().trimmed();
    q.inLetterDate = r.value(QStringLiteral("INLETTERDATE")).toString().trimmed();
    q.andNo = r.value(QStringLiteral("ANDNO")).toString().trimmed();
    q.andDate = r.value(QStringLiteral("ANDDATE")).toString().trimmed();
    q.okAmount = rialsOf(r.value(QStringLiteral("OK_AMOUNT")));
    q.reqStatuse = r.value(QStringLiteral("REQSTATUSE")).toInt();
    q.descr = r.value(QStringLiteral("DESCR")).toString().trimmed();
    q.uid = r.value(QStringLiteral("UID")).toInt();
    return q;
}

} // namespace

QStringList answerTexts() { return {QStringLiteral("همه"), QStringLiteral("پاسخ داده شده"), QStringLiteral("پاسخ داده نشده")}; }

OwnerRequests::OwnerRequests(startup::Session& session)
    : session_(session)
{
}

db::Fetched<OwnerRequest> OwnerRequests::read(int reqIdx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM SEP_TAFSILREQ WHERE REQ_IDX = :Idx"), {{QStringLiteral(":Idx"), reqIdx}});
    if (r.failed())
        return db::Fetched<OwnerRequest>::failure(r.error());
    if (r.empty())
        return db::Fetched<OwnerRequest>::none();
    return db::Fetched<OwnerRequest>::found(requestFrom(*r));
}

db::Fetched<qint64> OwnerRequests::proposedKey() const
{
    QString why;
    const auto key = db::largestPlusOne(session_.deposits(), Table, QStringLiteral("REQ_IDX"), {}, {}, &why);
    return key ? db::Fetched<qint64>::found(*key) : db::Fetched<qint64>::failure(why);
}

std::optional<int> OwnerRequests::save(const OwnerRequest& request, bool insert, startup::Prompt& prompt)
{
    OwnerRequest q = request;
    if (q.tafsilNo <= 0) {
        prompt.info(QStringLiteral("اطلاعات كامل نيست"));
        return std::nullopt;
    }
    const std::pair<QString*, const char*> dates[] = {{&q.reqSabtDate, "تاريخ ثبت درخواست درست نيست"},
                                                      {&q.inLetterDate, "تاريخ نامه وارده درست نيست"},
                                                      {&q.andDate, "تاريخ ثبت دفتر انديکاتور درست نيست"}};
    for (const auto& [date, message] : dates) {
        const std::optional<QString> read = work::dateOf(*date);
        if (!read) {
            prompt.info(QString::fromUtf8(message) + QStringLiteral(": ") + *date);
            return std::nullopt;
        }
        *date = *read;
    }
    if (q.okAmount < 0) {
        prompt.info(QStringLiteral("مبلغ تائيد شده درست نيست"));
        return std::nullopt;
    }
    for (const auto& [code, kind, message] : {std::tuple{q.tafsilNo, basedata::Lookup::DetailByCode, "کد تفضيلي يافت نشد"},
                                              std::tuple{q.paymanNo, basedata::Lookup::ContractByCode, "کد قرارداد يافت نشد"}}) {
        if (code == -1)
            continue;
        const auto found = basedata::lookup(session_, kind, code);
        if (!found) {
            prompt.info(found.failed() ? found.error() : QString::fromUtf8(message));
            return std::nullopt;
        }
    }
    if (q.inLetterNo.size() > 20 || q.andNo.size() > 20 || q.descr.size() > 250) {
        prompt.info(QStringLiteral("شماره نامه و شماره انديکاتور حداکثر 20 حرف و شرح حداکثر 250 حرف است"));
        return std::nullopt;
    }
    int saved = q.reqIdx;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        QVariantMap values{{QStringLiteral("TAFSILNO"), q.tafsilNo},
                           {QStringLiteral("PAYMANNO"), q.paymanNo},
                           {QStringLiteral("REQSABTDATE"), q.reqSabtDate},
                           {QStringLiteral("INLETTERNO"), q.inLetterNo},
                           {QStringLiteral("INLETTERDATE"), q.inLetterDate},
                           {QStringLiteral("ANDNO"), q.andNo},
                           {QStringLiteral("ANDDATE"), q.andDate},
                           {QStringLiteral("OK_AMOUNT"), double(q.okAmount)},
                           {QStringLiteral("REQSTATUSE"), q.reqStatuse},
                           {QStringLiteral("DESCR"), q.descr}};
        if (insert) {
            const auto key = w.nextKey(db::Store::Deposits, Table, QStringLiteral("REQ_IDX"));
            if (!key)
                return false;
            saved = int(*key);
            values.insert(QStringLiteral("REQ_IDX"), saved);
            values.insert(QStringLiteral("UID"), session_.currentUserCode());
            o.changed = 1;
            return w.insert(db::Store::Deposits, Table, values);
        }
        return w.update(db::Store::Deposits, Table, values, QStringLiteral("REQ_IDX = :Idx"), {{QStringLiteral(":Idx"), q.reqIdx}}, &o.changed)
            && (o.changed == 1 || w.fail(QStringLiteral("درخواست مورد نظر يافت نشد")));
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome OwnerRequests::remove(int reqIdx, startup::Prompt& prompt)
{
    if (reqIdx <= 0)
        return work::refused(prompt, work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QVariantMap binds{{QStringLiteral(":Idx"), reqIdx}};
        // A refund that answers the request would lose what it answers.
        const auto answered = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_RADH WHERE REQ_IDX = :Idx"), binds);
        if (!answered)
            return w.fail(answered.error());
        if (answered->toInt() > 0)
            return w.fail(QStringLiteral("استرداد سپرده به اين درخواست پاسخ داده است و درخواست نمي تواند حذف شود"));
        return w.remove(db::Store::Deposits, Table, QStringLiteral("REQ_IDX = :Idx"), binds, &o.changed)
            && (o.changed == 1 || w.fail(QStringLiteral("درخواست مورد نظر يافت نشد")));
    });
}

} // namespace orvak::deposits
