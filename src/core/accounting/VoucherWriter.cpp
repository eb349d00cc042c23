#include "core/accounting/VoucherWriter.h"

#include "core/util/Jalali.h"

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

} // namespace

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
    bool haveHead = existing.has_value();
    if (haveHead && p.clearEarlier) {
        if (!w.remove(Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("SndNo=:PSndNo"), key)
            || !w.remove(Store::Accounting, QStringLiteral("SNDHEAD"), QStringLiteral("SndNo=:PSndNo"), key))
            return std::nullopt;
        haveHead = false;
    }
    if (!haveHead
        && !w.insert(Store::Accounting, QStringLiteral("SNDHEAD"),
                     {{QStringLiteral("SNDNO"), posted.number},
                      {QStringLiteral("SNDDATE"), util::parseJalali(p.date)->toText()},
                      {QStringLiteral("DESCR"), p.description},
                      {QStringLiteral("KIND"), p.kind},
                      {QStringLiteral("STATE"), p.state},
                      {QStringLiteral("USERID"), session_.currentUserCode()}}))
        return std::nullopt;
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
    }
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

} // namespace orvak::accounting
