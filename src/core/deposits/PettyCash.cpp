#include "core/deposits/PettyCash.h"

#include "core/deposits/DepositWork.h"
#include "core/deposits/RequestWork.h"

namespace orvak::deposits {

namespace {

const QString Table = QStringLiteral("TANKHAH_TBL");
constexpr db::Store Store = db::Store::Deposits;

PettyFloat floatFrom(const QSqlRecord& r)
{
    auto text = [&r](const char* c) { return r.value(QString::fromLatin1(c)).toString().trimmed(); };
    PettyFloat f;
    f.idx = r.value(QStringLiteral("IDX")).toInt();
    f.darkhstLtrNo = text("DARKHSTLTRNO");
    f.darkhstLtrDate = text("DARKHSTLTRDATE");
    f.darkhstAmount = rialsOf(r.value(QStringLiteral("DARKHSTAMOUNT")));
    f.khazanehLtrNo = text("KHAZANEHLTRNO");
    f.khazanehLtrDate = text("KHAZANEHLTRDATE");
    f.havalehNo = text("HAVALEHNO");
    f.havalehDate = text("HAVALEHDATE");
    f.havalehAmount = rialsOf(r.value(QStringLiteral("HAVALEHAMOUNT")));
    f.amountMandeh = rialsOf(r.value(QStringLiteral("AMOUNT_MANDEH")));
    f.descr = text("DESCR");
    return f;
}

} // namespace

PettyCash::PettyCash(startup::Session& session)
    : session_(session)
{
}

db::Fetched<PettyFloat> PettyCash::read(int idx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM TANKHAH_TBL WHERE IDX = :I"), {{QStringLiteral(":I"), idx}});
    if (r.failed())
        return db::Fetched<PettyFloat>::failure(r.error());
    if (r.empty())
        return db::Fetched<PettyFloat>::none();
    return db::Fetched<PettyFloat>::found(floatFrom(*r));
}

db::Fetched<qint64> PettyCash::proposedKey() const
{
    QString why;
    const auto key = db::largestPlusOne(session_.deposits(), Table, QStringLiteral("IDX"), {}, {}, &why);
    return key ? db::Fetched<qint64>::found(*key) : db::Fetched<qint64>::failure(why);
}

std::optional<int> PettyCash::save(const PettyFloat& pettyFloat, bool insert, startup::Prompt& prompt)
{
    PettyFloat f = pettyFloat;
    const std::pair<QString*, const char*> dates[] = {{&f.darkhstLtrDate, "تاريخ نامه درخواست درست نيست"},
                                                      {&f.khazanehLtrDate, "تاريخ نامه خزانه درست نيست"},
                                                      {&f.havalehDate, "تاريخ حواله درست نيست"}};
    for (const auto& [date, message] : dates) {
        const std::optional<QString> read = work::dateOf(*date);
        if (!read) {
            prompt.info(QString::fromUtf8(message) + QStringLiteral(": ") + *date);
            return std::nullopt;
        }
        *date = *read;
    }
    if (f.darkhstAmount < 0 || f.havalehAmount < 0) {
        prompt.info(QStringLiteral("مبلغ ها منفي نمي شوند"));
        return std::nullopt;
    }
    for (const QString* t : {&f.darkhstLtrNo, &f.khazanehLtrNo, &f.havalehNo}) {
        if (t->size() > 10) {
            prompt.info(QStringLiteral("شماره نامه و حواله حداکثر 10 حرف است: ") + *t);
            return std::nullopt;
        }
    }
    if (f.descr.size() > 120) {
        prompt.info(QStringLiteral("توضيحات بيش از 120 حرف است"));
        return std::nullopt;
    }
    if (!ReceivedDeposits(session_).mayWrite(prompt))
        return std::nullopt;
    int saved = f.idx;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        QVariantMap values{{QStringLiteral("DARKHSTLTRNO"), f.darkhstLtrNo},   {QStringLiteral("DARKHSTLTRDATE"), f.darkhstLtrDate},
                           {QStringLiteral("DARKHSTAMOUNT"), double(f.darkhstAmount)}, {QStringLiteral("KHAZANEHLTRNO"), f.khazanehLtrNo},
                           {QStringLiteral("KHAZANEHLTRDATE"), f.khazanehLtrDate}, {QStringLiteral("HAVALEHNO"), f.havalehNo},
                           {QStringLiteral("HAVALEHDATE"), f.havalehDate},     {QStringLiteral("HAVALEHAMOUNT"), double(f.havalehAmount)},
                           {QStringLiteral("DESCR"), f.descr}};
        if (insert) {
            const auto key = w.nextKey(Store, Table, QStringLiteral("IDX"));
            if (!key)
                return false;
            saved = int(*key);
            values.insert(QStringLiteral("IDX"), saved);
            values.insert(QStringLiteral("AMOUNT_MANDEH"), double(f.havalehAmount));
            if (!w.insert(Store, Table, values))
                return false;
        } else if (!w.update(Store, Table, values, QStringLiteral("IDX = :I"), {{QStringLiteral(":I"), f.idx}}, &o.changed)
                   || (o.changed == 0 && !w.fail(QStringLiteral("تنخواه مورد نظر يافت نشد")))) {
            return false;
        }
        o.changed = 1;
        const QVariantMap key{{QStringLiteral(":I"), saved}};
        if (!requestwork::syncFloats(w, QStringLiteral("IDX = :I"), key))
            return false;
        const std::optional<qint64> left = requestwork::floatBalance(w, saved);
        if (!left)
            return false;
        return *left >= 0 || w.fail(QStringLiteral("مبلغ حواله از استردادهاي پرداخت شده از اين تنخواه کمتر است"));
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome PettyCash::remove(int idx, startup::Prompt& prompt)
{
    if (idx <= 0)
        return work::refused(prompt, work::NothingEnteredText);
    if (!ReceivedDeposits(session_).mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(QStringLiteral(" مطمئن هستيـــد ؟ ")))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QVariantMap binds{{QStringLiteral(":I"), idx}};
        const auto used = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_RADH WHERE TANKHAH_IDX = :I AND COALESCE(TIK_AZTANKHAH, 0) = 1"), binds);
        if (!used)
            return w.fail(used.error());
        if (used->toInt() > 0)
            return w.fail(QStringLiteral("از اين تنخواه استرداد پرداخت شده است و تنخواه نمي تواند حذف شود"));
        return w.remove(Store, Table, QStringLiteral("IDX = :I"), binds, &o.changed)
            && (o.changed == 1 || w.fail(QStringLiteral("تنخواه مورد نظر يافت نشد")));
    });
}

} // namespace orvak::deposits
