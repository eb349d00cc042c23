#include "core/accounting/VoucherWriter.h"

#include "core/util/Jalali.h"

#include <algorithm>

namespace orvak::accounting {

namespace {

using db::Store;

template <class T>
QVariant valueOr(const std::optional<T>& v)
{
    return v ? QVariant::fromValue(*v) : QVariant(QMetaType::fromType<T>());
}

QString incomplete() { return QStringLiteral("اطلاعات کامل نيست"); }

QString notFound(int number) { return QStringLiteral("سند شماره %1 يافت نشد").arg(number); }

thread_local PostingRecorder* innermost = nullptr;

} // namespace

PostingRecorder::PostingRecorder(RowWritten onRow)
    : outer_(innermost)
    , onRow_(std::move(onRow))
{
    innermost = this;
}

PostingRecorder::~PostingRecorder() { innermost = outer_; }

PostingRecorder* PostingRecorder::current() { return innermost; }

std::optional<PostedVoucher> PostingRecorder::last() const
{
    if (postings_.isEmpty())
        return std::nullopt;
    return postings_.last();
}

VoucherWriter::VoucherWriter(startup::Session& session)
    : session_(session)
{
}

QString VoucherWriter::check(const VoucherPosting& p) const
{
    if (!session_.AccountingDbOpen())
        return Vouchers(session_).missingText();
    if (p.number < 0)
        return QStringLiteral("شماره سند درست نيست: %1").arg(p.number);
    if (p.date.trimmed().isEmpty() || p.lines.isEmpty())
        return incomplete();
    const std::optional<util::JalaliDate> date = util::parseJalali(p.date);
    if (!date)
        return QStringLiteral("تاريخ سند درست نيست: %1").arg(p.date);
    // A voucher dated in another year would sit in the wrong year's books.
    const int year = accountingYear(session_);
    if (date->year != year)
        return QStringLiteral("تاريخ سند %1 در سال مالي %2 نيست").arg(date->toText()).arg(year);
    for (qsizetype i = 0; i < p.lines.size(); ++i) {
        const VoucherLine& l = p.lines[i];
        const qsizetype n = i + 1;
        if (l.kol <= 0)
            return incomplete() + QStringLiteral(": کد حساب کل رديف %1").arg(n);
        if (l.debit < 0 || l.credit < 0 || (l.debit == 0) == (l.credit == 0))
            return QStringLiteral("رديف %1: يکي از مبالغ بدهكار يا بستانكار (و فقط يکي) بايد مثبت باشد").arg(n);
        if (l.debit > LargestAmount || l.credit > LargestAmount)
            return QStringLiteral("رديف %1: مبلغ بيش از حد مجاز است").arg(n);
        if (l.description.size() > 160)
            return QStringLiteral("رديف %1: شرح بيش از 160 حرف است").arg(n);
        if (!l.chequeDate.isEmpty() && !util::parseJalali(l.chequeDate))
            return QStringLiteral("رديف %1: تاريخ چک درست نيست: %2").arg(n).arg(l.chequeDate);
    }
    return {};
}

std::optional<PostedVoucher> VoucherWriter::post(db::UnitOfWork& w, const VoucherPosting& p)
{
    if (const QString why = check(p); !why.isEmpty()) {
        w.fail(why);
        return std::nullopt;
    }
    PostedVoucher posted;
    posted.year = accountingYear(session_);
    if (p.number > 0) {
        posted.number = p.number;
    } else {
        const std::optional<qint64> next = w.nextKey(Store::Accounting, QStringLiteral("SNDHEAD"), QStringLiteral("SNDNO"));
        if (!next)
            return std::nullopt;
        posted.number = int(*next);
    }
    const QVariantMap key{{QStringLiteral(":PSndNo"), posted.number}};
    const db::Fetched<QVariant> existing = w.scalar(QStringLiteral("Select SNDNO From {accounting}.SNDHEAD Where SndNo=:PSndNo"), key);
    if (existing.failed())
        return std::nullopt;
    const bool haveHead = existing.has_value();
    // Clearing the earlier content takes the voucher's rows; its head stays as it is.
    if (p.clearEarlier && !w.remove(Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("SndNo=:PSndNo"), key))
        return std::nullopt;
    if (!haveHead) {
        if (!w.insert(Store::Accounting, QStringLiteral("SNDHEAD"),
                      {{QStringLiteral("SNDNO"), posted.number},
                       {QStringLiteral("SNDDATE"), util::parseJalali(p.date)->toText()},
                       {QStringLiteral("DESCR"), p.description},
                       {QStringLiteral("KIND"), p.kind},
                       {QStringLiteral("STATE"), p.state},
                       {QStringLiteral("USERID"), session_.currentUserCode()}}))
            return std::nullopt;
        posted.headCreated = true;
    }
    PostingRecorder* recorder = PostingRecorder::current();
    const db::Fetched<QVariant> last = w.scalar(QStringLiteral("Select Max(ROW) From {accounting}.SNDROW Where SndNo=:PSndNo"), key);
    if (last.failed())
        return std::nullopt;
    int row = (last && !last->isNull()) ? last->toInt() : 0;
    for (const VoucherLine& l : p.lines) {
        ++row;
        const QVariantMap values{
            {QStringLiteral("SNDNO"), posted.number},
            {QStringLiteral("ROW"), row},
            {QStringLiteral("KOL"), l.kol},
            {QStringLiteral("MOIN"), l.moin},
            {QStringLiteral("TAFSIL"), valueOr(l.tafsil)},
            {QStringLiteral("TAFSIL2"), valueOr(l.tafsil2)},
            {QStringLiteral("PROJEH"), valueOr(l.project)},
            {QStringLiteral("TARHNO"), valueOr(l.plan)},
            {QStringLiteral("ACCENTER"), valueOr(l.centre)},
            {QStringLiteral("DESCR"), l.description},
            {QStringLiteral("BED"), l.debit},
            {QStringLiteral("BES"), l.credit},
            {QStringLiteral("REFNO"), l.inclusion},
            {QStringLiteral("CHKNO"), valueOr(l.chequeNo)},
            {QStringLiteral("CHKDAT"), l.chequeDate.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(util::parseJalali(l.chequeDate)->toText())},
            {QStringLiteral("TAMINKIND"), valueOr(l.fundingKind)},
            {QStringLiteral("ACCOUNT"), l.account.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(l.account)},
        };
        if (!w.insert(Store::Accounting, QStringLiteral("SNDROW"), values))
            return std::nullopt;
        posted.rows << row;
        if (recorder)
            recorder->rowWritten(posted.number, row);
    }
    if (recorder)
        recorder->heard(posted);
    return posted;
}

std::optional<PostedVoucher> VoucherWriter::post(const VoucherPosting& p, QString* error)
{
    // Refused before a transaction is begun.
    if (const QString why = check(p); !why.isEmpty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    std::optional<PostedVoucher> posted;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        posted = post(w, p);
        return posted.has_value();
    }, error);
    if (!ok)
        return std::nullopt;
    return posted;
}

bool VoucherWriter::confirm(int number, QString* error, int state)
{
    if (!session_.AccountingDbOpen()) {
        if (error)
            *error = Vouchers(session_).missingText();
        return false;
    }
    return session_.inWork([&](db::UnitOfWork& w) {
        int changed = 0;
        if (!w.update(Store::Accounting, QStringLiteral("SNDHEAD"), QStringLiteral("state=:statuse"), QStringLiteral("SndNo=:PSndNo"),
                      {{QStringLiteral(":statuse"), state}, {QStringLiteral(":PSndNo"), number}}, &changed))
            return false;
        // A voucher already in that state changes nothing; one that is missing is an error.
        if (changed == 0) {
            const db::Fetched<QVariant> there = w.scalar(QStringLiteral("Select SNDNO From {accounting}.SNDHEAD Where SndNo=:PSndNo"),
                                                         {{QStringLiteral(":PSndNo"), number}});
            if (!there)
                return there.failed() ? false : w.fail(notFound(number));
        }
        return true;
    }, error);
}

bool VoucherWriter::reject(int number, QString* error)
{
    if (!session_.AccountingDbOpen()) {
        if (error)
            *error = Vouchers(session_).missingText();
        return false;
    }
    return session_.inWork([&](db::UnitOfWork& w) {
        const QVariantMap key{{QStringLiteral(":PSndNo"), number}};
        int heads = 0;
        if (!w.remove(Store::Accounting, QStringLiteral("SNDHEAD"), QStringLiteral("SndNo=:PSndNo"), key, &heads)
            || !w.remove(Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("SndNo=:PSndNo"), key))
            return false;
        return heads > 0 || w.fail(notFound(number));
    }, error);
}

bool VoucherWriter::reject(const PostedVoucher& posted, const ClearReferences& clearReferences, QString* error)
{
    auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!session_.AccountingDbOpen())
        return refuse(Vouchers(session_).missingText());
    // The rows are in the books of the year they were posted in.
    if (posted.year != accountingYear(session_))
        return refuse(QStringLiteral("سند شماره %1 در سال مالي %2 صادر شده است").arg(posted.number).arg(posted.year));
    if (posted.rows.isEmpty() && !posted.headCreated)
        return refuse(notFound(posted.number));
    return session_.inWork([&](db::UnitOfWork& w) {
        const QVariantMap key{{QStringLiteral(":PSndNo"), posted.number}};
        if (!posted.rows.isEmpty()) {
            // A posting's rows are one run after the rows the voucher held.
            const auto [first, last] = std::minmax_element(posted.rows.begin(), posted.rows.end());
            QVariantMap binds = key;
            binds.insert(QStringLiteral(":PFirst"), *first);
            binds.insert(QStringLiteral(":PLast"), *last);
            if (!w.remove(Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("SndNo=:PSndNo AND ROW>=:PFirst AND ROW<=:PLast"), binds))
                return false;
        }
        if (clearReferences && !clearReferences(w, posted))
            return w.ok() ? w.fail(QStringLiteral("مراجع سند پاک نشد")) : false;
        if (!posted.headCreated)
            return true;
        const db::Fetched<QVariant> left = w.scalar(QStringLiteral("Select Count(*) From {accounting}.SNDROW Where SndNo=:PSndNo"), key);
        if (!left)
            return w.fail(left.failed() ? left.error() : notFound(posted.number));
        return left->toLongLong() > 0 || w.remove(Store::Accounting, QStringLiteral("SNDHEAD"), QStringLiteral("SndNo=:PSndNo"), key);
    }, error);
}

bool clearRowReferences(db::UnitOfWork& w, db::Store store, const QString& table, const QString& numberColumn, const QString& rowColumn,
                        const QString& yearColumn, const PostedVoucher& posted)
{
    QVariantMap binds{{QStringLiteral(":RNo"), posted.number}, {QStringLiteral(":RYear"), posted.year}};
    QString where = QStringLiteral("%1 = :RNo AND %2 = :RYear").arg(numberColumn, yearColumn);
    QString set = QStringLiteral("%1 = NULL, %2 = NULL").arg(numberColumn, yearColumn);
    if (!rowColumn.isEmpty()) {
        if (posted.rows.isEmpty())
            return true;
        const auto [first, last] = std::minmax_element(posted.rows.begin(), posted.rows.end());
        binds.insert(QStringLiteral(":RFirst"), *first);
        binds.insert(QStringLiteral(":RLast"), *last);
        where += QStringLiteral(" AND %1 >= :RFirst AND %1 <= :RLast").arg(rowColumn);
        set += QStringLiteral(", %1 = NULL").arg(rowColumn);
    }
    return w.update(store, table, set, where, binds);
}

} // namespace orvak::accounting
