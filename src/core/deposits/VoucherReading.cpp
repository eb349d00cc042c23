#include "core/deposits/VoucherReading.h"

#include "core/accounting/Vouchers.h"
#include "core/db/UnitOfWork.h"
#include "core/util/Numbers.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>

namespace orvak::deposits {

namespace {

// The work table's description is shorter than a voucher row's.
constexpr int DescriptionLength = 120;

std::optional<int> optionalInt(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

QString likeWord(const QString& word) { return QLatin1Char('%') + word.trimmed() + QLatin1Char('%'); }

// The pattern of one word of an "either" pair: an empty word takes its partner's, so
// that a pair matches everything only when both are empty (otherwise one word alone
// would never narrow the reading).
QString pairWord(const QString& word, const QString& partner)
{
    return likeWord(word.trimmed().isEmpty() ? partner : word);
}

bool isTicked(ReadSide side, qint64 debit, qint64 credit)
{
    switch (side) {
    case ReadSide::Both:
        return true;
    case ReadSide::Debit:
        return debit > 0;
    case ReadSide::Credit:
        return credit > 0;
    }
    return false;
}

std::optional<int> typedNumber(const QString& text)
{
    const QString t = util::normalizeDigits(text).trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const std::optional<qint64> n = util::parseWholeNumber(t);
    if (!n || *n < 0 || *n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*n);
}

// The first and last voucher of a span of dates; an empty range when none lies in it.
db::Fetched<VoucherRange> rangeOfDates(accounting::Vouchers& vouchers, const QString& from, const QString& to)
{
    const db::Fetched<int> first = vouchers.firstOnOrAfter(from);
    const db::Fetched<int> last = vouchers.lastOnOrBefore(to);
    if (first.failed() || last.failed())
        return db::Fetched<VoucherRange>::failure(first.failed() ? first.error() : last.error());
    if (!first || !last)
        return db::Fetched<VoucherRange>::found({1, 0});
    return db::Fetched<VoucherRange>::found({*first, *last});
}

} // namespace

QStringList rangeKindTexts()
{
    return {QStringLiteral("همه اسناد"), QStringLiteral("محدوده شماره سند"), QStringLiteral("محدوده تاريخ سند"),
            QStringLiteral("محدوده ماه"), QStringLiteral("دوره متمم"), QStringLiteral("از فروردين لغايت اسفند")};
}

QStringList readSideTexts() { return {QStringLiteral("بدهکار"), QStringLiteral("بستانکار"), QStringLiteral("بد/بس")}; }

QStringList readingMonthTexts()
{
    QStringList texts;
    for (int m = 1; m <= 12; ++m)
        texts << util::jalaliMonthName(m);
    for (int m = 1; m <= ReadingMonths - 12; ++m)
        texts << util::jalaliMonthName(m) + QStringLiteral(" متمم");
    return texts;
}

QString ReadingMonth::firstDay() const { return QStringLiteral("%1/%2/01").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')); }
QString ReadingMonth::lastDay() const { return QStringLiteral("%1/%2/31").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')); }

ReadingMonth readingMonth(int year, int monthIndex)
{
    const int month = monthIndex + 1;
    return month > 12 ? ReadingMonth{year + 1, month - 12} : ReadingMonth{year, month};
}

VoucherReading::VoucherReading(startup::Session& session)
    : session_(session)
{
}

QString VoucherReading::check(const ReadingCriteria& c)
{
    if (c.kol <= 0)
        return QStringLiteral("حساب مشخص نشده است");
    if (c.monthIndex < 0 || c.monthIndex >= ReadingMonths)
        return QStringLiteral("ماه مشخص نشده است");
    if (c.rangeKind == RangeKind::NumberRange) {
        if ((!c.from.trimmed().isEmpty() && !typedNumber(c.from)) || (!c.to.trimmed().isEmpty() && !typedNumber(c.to)))
            return QStringLiteral("شماره سند نادرست است");
    }
    if (c.rangeKind == RangeKind::DateRange) {
        if (!util::parseJalali(util::normalizeDigits(c.from).trimmed()) || !util::parseJalali(util::normalizeDigits(c.to).trimmed()))
            return QStringLiteral("تاريخ نادرست است");
    }
    return {};
}

bool VoucherReading::selectYear(const ReadingCriteria& c, startup::Prompt& prompt)
{
    if (accounting::accountingYear(session_) == c.year && session_.AccountingDbOpen()
        && session_.accountingDbName().compare(startup::Session::accountingDbNameFor(session_.installationNumber(), c.section, c.year),
                                               Qt::CaseInsensitive) == 0)
        return true;
    return session_.OpenAccountingYear(c.year, c.section, prompt);
}

db::Fetched<VoucherRange> VoucherReading::voucherRange(const ReadingCriteria& c)
{
    accounting::Vouchers vouchers(session_);
    const ReadingMonth month = readingMonth(c.year, c.monthIndex);
    auto dates = [&](const QString& from, const QString& to) { return rangeOfDates(vouchers, from, to); };
    switch (c.rangeKind) {
    case RangeKind::AllVouchers: {
        const db::Fetched<int> last = vouchers.lastNumber();
        if (last.failed())
            return db::Fetched<VoucherRange>::failure(last.error());
        return db::Fetched<VoucherRange>::found({0, last.value_or(-1)});
    }
    case RangeKind::DateRange:
        return dates(util::normalizeDigits(c.from).trimmed(), util::normalizeDigits(c.to).trimmed());
    case RangeKind::Supplement:
        return dates(ReadingMonth{c.year + 1, 1}.firstDay(), ReadingMonth{c.year + 1, ReadingMonths - 12}.lastDay());
    case RangeKind::WholeYear:
        return dates(ReadingMonth{c.year, 1}.firstDay(), ReadingMonth{c.year, 12}.lastDay());
    case RangeKind::NumberRange:
    case RangeKind::MonthRange:
        break;
    }
    const std::optional<int> from = typedNumber(c.from);
    const std::optional<int> to = typedNumber(c.to);
    if (c.rangeKind == RangeKind::NumberRange && from.value_or(0) != 0 && to.value_or(0) != 0)
        return db::Fetched<VoucherRange>::found({*from, *to});
    db::Fetched<VoucherRange> r = dates(month.firstDay(), month.lastDay());
    if (!r || c.rangeKind != RangeKind::NumberRange)
        return r;
    // A typed end that is not zero replaces the month's.
    VoucherRange typed = *r;
    if (from.value_or(0) != 0)
        typed.from = *from;
    if (to.value_or(0) != 0)
        typed.to = *to;
    return db::Fetched<VoucherRange>::found(typed);
}

std::optional<ReadingSummary> VoucherReading::read(const ReadingCriteria& c, startup::Prompt& prompt, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<ReadingSummary> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (const QString why = check(c); !why.isEmpty())
        return fail(why);
    // Without the year's accounting database (the session has said so) nothing is read.
    const bool open = selectYear(c, prompt);
    ReadingSummary summary;
    summary.range = {1, 0};
    if (open) {
        const db::Fetched<VoucherRange> range = voucherRange(c);
        if (range.failed())
            return fail(range.error());
        summary.range = *range;
    }

    // The party's row: the row itself when it is on account 21006 (a voucher paying
    // several contractors holds one such row each), else the voucher's first one.
    const QString select = QStringLiteral(
        "SELECT r.SNDNO, r.ROW, r.CHKNO, r.CHKDAT, r.DESCR, r.BED, r.BES, p.TAFSIL, p.TAFSIL2, p.TAMINKIND, "
        "p.ACCDETAIL1, p.ACCDETAIL2, p.ACCDETAIL3, p.ACCDETAIL4, p.ACCDETAIL5, p.ACCDETAIL6, p.ACCDETAIL7 "
        "FROM {accounting}.SNDROW r LEFT JOIN {accounting}.SNDROW p ON p.SNDNO = r.SNDNO AND p.ROW = "
        "CASE WHEN r.ACCOUNT = '21006' THEN r.ROW "
        "ELSE (SELECT MIN(x.ROW) FROM {accounting}.SNDROW x WHERE x.SNDNO = r.SNDNO AND x.ACCOUNT = '21006') END "
        "WHERE r.SNDNO >= :PFrom AND r.SNDNO <= :PTo AND r.KOL = :PKol AND (r.MOIN = :PMoin OR -1 = :PMoin) "
        "AND (r.DESCR LIKE :PW1 OR r.DESCR LIKE :PW2) AND (r.DESCR LIKE :PW3 OR r.DESCR LIKE :PW4) "
        "AND (r.CHKNO = :PChk OR -1 = :PChk) ORDER BY r.SNDNO, r.ROW");
    const QVariantMap binds{{QStringLiteral(":PFrom"), summary.range.from}, {QStringLiteral(":PTo"), summary.range.to},
                            {QStringLiteral(":PKol"), c.kol},               {QStringLiteral(":PMoin"), c.moin},
                            {QStringLiteral(":PW1"), pairWord(c.words[0], c.words[1])}, {QStringLiteral(":PW2"), pairWord(c.words[1], c.words[0])},
                            {QStringLiteral(":PW3"), pairWord(c.words[2], c.words[3])}, {QStringLiteral(":PW4"), pairWord(c.words[3], c.words[2])},
                            {QStringLiteral(":PChk"), c.chequeNo}};

    QString why;
    const bool done = session_.inWork([&](db::UnitOfWork& w) {
        if (!w.exec(QStringLiteral("DELETE FROM {deposits}.TEMPREADSND")))
            return false;
        if (!open || summary.range.empty())
            return true;
        QSqlQuery q(w.connection());
        q.setForwardOnly(true);
        QString bad;
        if (!db::prepareBound(q, w.resolve(select), binds, &bad) || !q.exec())
            return w.fail(bad.isEmpty() ? q.lastError().text() : bad);
        QSqlQuery ins(w.connection());
        if (!ins.prepare(w.resolve(QStringLiteral(
                "INSERT INTO {deposits}.TEMPREADSND (ROW, SNDNO, SNDROW, TAFSIL, CHKDATE, TIK, DESCR, TAFSIL2, ACCDETAIL1, ACCDETAIL2, "
                "ACCDETAIL3, ACCDETAIL4, ACCDETAIL5, ACCDETAIL6, ACCDETAIL7, TAMINKIND, CHKNO, BED, BES) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))))
            return w.fail(ins.lastError().text());
        int n = 0;
        while (q.next()) {
            const qint64 debit = accounting::rials(q.value(5));
            const qint64 credit = accounting::rials(q.value(6));
            const bool tick = isTicked(c.side, debit, credit);
            const QVariantList values{++n,
                                      q.value(0),
                                      q.value(1),
                                      q.value(7),
                                      q.value(3).toString().trimmed(),
                                      tick ? QStringLiteral("X") : QString(),
                                      q.value(4).toString().trimmed().left(DescriptionLength),
                                      q.value(8),
                                      q.value(10), q.value(11), q.value(12), q.value(13), q.value(14), q.value(15), q.value(16),
                                      q.value(9),
                                      q.value(2),
                                      debit,
                                      credit};
            for (int i = 0; i < values.size(); ++i)
                ins.bindValue(i, values[i]);
            if (!ins.exec())
                return w.fail(ins.lastError().text());
            summary.rows = n;
            summary.ticked += tick ? 1 : 0;
            summary.debit += debit;
            summary.credit += credit;
            if (n % 500 == 0)
                prompt.progress(QStringLiteral("خواندن اطلاعات سپرده ها از اسناد"), n, n + 500);
        }
        return q.lastError().isValid() ? w.fail(q.lastError().text()) : true;
    }, &why);
    if (!done)
        return fail(why);
    const db::Fetched<int> before = alreadyTransferred(c.year);
    if (before.failed())
        return fail(before.error());
    summary.alreadyTransferred = before.value_or(0);
    return summary;
}

db::Fetched<QList<ReadRow>> VoucherReading::rows()
{
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT ROW, SNDNO, SNDROW, TAFSIL, TAFSIL2, TAMINKIND, CHKNO, CHKDATE, DESCR, BED, BES, TIK "
                               "FROM TEMPREADSND ORDER BY ROW")))
        return db::Fetched<QList<ReadRow>>::failure(q.lastError().text());
    QList<ReadRow> out;
    while (q.next()) {
        ReadRow r;
        r.row = q.value(0).toInt();
        r.voucher = q.value(1).toInt();
        r.voucherRow = q.value(2).toInt();
        r.party = optionalInt(q.value(3));
        r.contract = optionalInt(q.value(4));
        r.fundingKind = optionalInt(q.value(5));
        if (!q.value(6).isNull())
            r.chequeNo = q.value(6).toLongLong();
        r.chequeDate = q.value(7).toString().trimmed();
        r.description = q.value(8).toString().trimmed();
        r.debit = accounting::rials(q.value(9));
        r.credit = accounting::rials(q.value(10));
        r.ticked = q.value(11).toString().trimmed().compare(QLatin1String("X"), Qt::CaseInsensitive) == 0;
        out << r;
    }
    if (q.lastError().isValid())
        return db::Fetched<QList<ReadRow>>::failure(q.lastError().text());

    // The parties' names, each read once.
    QSqlQuery name(session_.common());
    if (!name.prepare(QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = :PCode AND CI = :CI")))
        return db::Fetched<QList<ReadRow>>::failure(name.lastError().text());
    QHash<int, QString> names;
    for (ReadRow& r : out) {
        if (!r.party)
            continue;
        auto it = names.find(*r.party);
        if (it == names.end()) {
            name.bindValue(QStringLiteral(":PCode"), *r.party);
            name.bindValue(QStringLiteral(":CI"), session_.SectionCode());
            if (!name.exec())
                return db::Fetched<QList<ReadRow>>::failure(name.lastError().text());
            it = names.insert(*r.party, name.next() ? name.value(0).toString().trimmed() : QString());
        }
        r.partyName = *it;
    }
    return out.isEmpty() ? db::Fetched<QList<ReadRow>>::none() : db::Fetched<QList<ReadRow>>::found(std::move(out));
}

db::Fetched<int> VoucherReading::alreadyTransferred(int voucherYear)
{
    const db::Fetched<QVariant> n = db::scalar(session_.deposits(),
                                               // The register's references, gathered once, are matched by an index of
                                               // their own rather than a scan of the register per row.
                                               QStringLiteral("SELECT COUNT(*) FROM TEMPREADSND t INNER JOIN (SELECT DISTINCT SNDNO, SNDROW FROM SEP_DAR "
                                                              "WHERE SNDYER = :PYear) s ON s.SNDNO = t.SNDNO AND s.SNDROW = t.SNDROW"),
                                               {{QStringLiteral(":PYear"), voucherYear}});
    if (n.failed())
        return db::Fetched<int>::failure(n.error());
    return db::Fetched<int>::found(n.value_or(QVariant(0)).toInt());
}

bool VoucherReading::setTicks(const QString& set, const QString& where, const QVariantMap& binds, QString* error)
{
    QString sql = QStringLiteral("UPDATE {deposits}.TEMPREADSND SET ") + set;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return session_.inWork([&](db::UnitOfWork& w) { return w.exec(sql, binds); }, error);
}

bool VoucherReading::toggle(int row, QString* error)
{
    return setTicks(QStringLiteral("TIK = CASE WHEN TIK = 'X' THEN '' ELSE 'X' END"), QStringLiteral("ROW = :PRow"),
                    {{QStringLiteral(":PRow"), row}}, error);
}

bool VoucherReading::clearTicks(QString* error) { return setTicks(QStringLiteral("TIK = ''"), {}, {}, error); }

bool VoucherReading::tickOnly(int row, QString* error)
{
    return setTicks(QStringLiteral("TIK = CASE WHEN ROW = :PRow THEN 'X' ELSE '' END"), {}, {{QStringLiteral(":PRow"), row}}, error);
}

std::optional<TransferResult> VoucherReading::transfer(int listYear, int listMonth, int voucherYear, QString* error)
{
    TransferResult result;
    const bool done = session_.inWork([&](db::UnitOfWork& w) {
        result = {};
        const QVariantMap month{{QStringLiteral(":PMY"), listYear}, {QStringLiteral(":PMM"), listMonth}};
        const std::optional<qint64> firstRow = w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("SEPROW"),
                                                         QStringLiteral("MY = :PMY AND MM = :PMM"), month);
        const std::optional<qint64> firstIndex = w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX"));
        if (!firstRow || !firstIndex)
            return false;
        QSqlQuery q(w.connection());
        q.setForwardOnly(true);
        if (!q.exec(w.resolve(QStringLiteral("SELECT SNDNO, SNDROW, TAFSIL, PROJNO, TARHNO, TAFSIL2, CHKNO, CHKDATE, DESCR, BED, BES, ROW "
                                             "FROM {deposits}.TEMPREADSND WHERE TIK = 'X' ORDER BY ROW"))))
            return w.fail(q.lastError().text());
        // Rows without a plan, project or contract carry the register's "none".
        auto codeOrNone = [](const QVariant& v) { return v.isNull() ? QVariant(-1) : v; };
        qint64 seprow = *firstRow;
        qint64 idx = *firstIndex;
        result.firstIndex = int(idx);
        while (q.next()) {
            const qint64 debit = accounting::rials(q.value(9));
            const qint64 credit = accounting::rials(q.value(10));
            const double amount = double(credit != 0 ? credit : debit);
            // A deposit holds a sum: a row with neither side would enter an empty one.
            if (amount <= 0)
                return w.fail(QStringLiteral("مبلغ رديف %1 صفر است").arg(q.value(11).toInt()));
            const QVariant null;
            const QVariantMap values{
                {QStringLiteral("IDX"), idx},
                {QStringLiteral("MY"), listYear},
                {QStringLiteral("MM"), listMonth},
                {QStringLiteral("SEPNO"), null},
                {QStringLiteral("SEPDATE"), null},
                {QStringLiteral("CHKNO"), q.value(6)},
                {QStringLiteral("CHKDATE"), q.value(7)},
                {QStringLiteral("AMOUNT"), amount},
                {QStringLiteral("TAFSILI"), q.value(2)},
                {QStringLiteral("PROJNO"), codeOrNone(q.value(3))},
                {QStringLiteral("TARHNO"), codeOrNone(q.value(4))},
                {QStringLiteral("PAYMENT"), codeOrNone(q.value(5))},
                {QStringLiteral("SEPROW"), seprow},
                {QStringLiteral("DESCR"), q.value(8)},
                {QStringLiteral("SNDNO"), q.value(0)},
                {QStringLiteral("SNDROW"), q.value(1)},
                {QStringLiteral("SNDYER"), voucherYear},
                {QStringLiteral("FROMOLDM"), 2},
                {QStringLiteral("SEPKIND"), 1},
                {QStringLiteral("SAVABEGH"), 0},
                {QStringLiteral("ELAMBESIDX"), 0},
                {QStringLiteral("YERSEPROW"), null},
                {QStringLiteral("ERSALVAJHKHAZANE_NO"), null},
                {QStringLiteral("ERSALVAJHKHAZANE_DATE"), null},
                {QStringLiteral("AMOUNT_RAD"), 0},
                {QStringLiteral("AMOUNT_MANDEH"), amount},
            };
            if (!w.insert(db::Store::Deposits, QStringLiteral("SEP_DAR"), values))
                return false;
            ++seprow;
            ++idx;
            ++result.rows;
        }
        return q.lastError().isValid() ? w.fail(q.lastError().text()) : true;
    }, error);
    if (!done)
        return std::nullopt;
    return result;
}

AccountingYearScope::AccountingYearScope(startup::Session& session)
    : session_(session)
    , year_(session.CurrentYear())
    , accountingYear_(accounting::accountingYear(session))
    , section_(session.SectionCode())
{
}

AccountingYearScope::~AccountingYearScope()
{
    startup::CollectingPrompt quiet;
    const int year = accountingYear_ > 0 ? accountingYear_ : year_;
    const QString name = startup::Session::accountingDbNameFor(session_.installationNumber(), section_, year);
    if (year > 0 && session_.accountingDbName().compare(name, Qt::CaseInsensitive) != 0)
        session_.OpenAccountingYear(year, section_, quiet);
    session_.setCurrentYear(year_);
}

} // namespace orvak::deposits
