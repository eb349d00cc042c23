#include "core/deposits/VoucherReading.h"

#include "core/accounting/Vouchers.h"
#include "core/db/UnitOfWork.h"
#include "core/accounting/VoucherWriter.h"
#include "core/deposits/DepositWork.h"
#include "core/util/Numbers.h"
#include "core/util/TextKey.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orvak::deposits {

namespace {

// The work table's description is shorter than a voucher row's.
constexpr int DescriptionLength = 120;
// A cheque or slip number the register keeps: at most 14 digits.
constexpr qint64 LargestChequeNo = 99'999'999'999'999LL;

std::optional<int> optionalInt(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}

// A LIKE pattern every description whose search key holds key matches, so that the
// server narrows the rows and the key decides: letters of other spellings (Yeh, Kaf,
// digits, cased letters) and LIKE's own signs stand for any one character, and any
// characters may come between two (the key drops ZWNJ).
QString likeSuperset(const QString& key)
{
    QString pattern(QLatin1Char('%'));
    for (QChar c : key) {
        const bool variant = c.isDigit() || c.unicode() == 0x064A || c.unicode() == 0x0643 || c.toUpper() != c
            || QStringLiteral("%_[]^\\'").contains(c);
        pattern += variant ? QLatin1Char('_') : c;
        pattern += QLatin1Char('%');
    }
    return pattern;
}

// Whether a description passes one "either" pair: a pair with no word passes
// everything (a NULL description too), one word alone narrows.
bool pairMatches(const QString& descriptionKey, const QString& first, const QString& second)
{
    if (first.isEmpty() && second.isEmpty())
        return true;
    return (!first.isEmpty() && descriptionKey.contains(first)) || (!second.isEmpty() && descriptionKey.contains(second));
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

QString shown(const QVariant& v) { return v.toString().simplified().left(20); }

// A stored whole number as the voucher holds it: an integer, a whole real or digits;
// nullopt for anything else (letters, a fraction, infinity).
std::optional<qint64> wholeOf(const QVariant& v, qint64 largest)
{
    std::optional<qint64> n;
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt: {
        bool ok = false;
        const qint64 x = v.toLongLong(&ok);
        if (ok)
            n = x;
        break;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double x = v.toDouble();
        if (std::isfinite(x) && std::fabs(x) <= double(largest) && x == std::floor(x))
            n = qint64(x);
        break;
    }
    default: {
        const QString t = v.toString().trimmed();
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
        if (digits.match(t).hasMatch())
            n = t.toLongLong();
        break;
    }
    }
    if (!n || *n < 0 || *n > largest)
        return std::nullopt;
    return n;
}

// An amount (a money column may hold a real): whole rials, 0 for NULL; nullopt when
// it is no amount the register can sum.
std::optional<qint64> amountOf(const QVariant& v)
{
    if (v.isNull())
        return qint64(0);
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double x = v.toDouble();
        if (!std::isfinite(x) || x < 0 || x > double(accounting::LargestAmount))
            return std::nullopt;
        return qint64(std::llround(x));
    }
    return wholeOf(v, accounting::LargestAmount);
}

// Adds without passing the largest whole number (the sums are shown, not kept).
qint64 plus(qint64 sum, qint64 more) { return more > std::numeric_limits<qint64>::max() - sum ? std::numeric_limits<qint64>::max() : sum + more; }

// The sums of a reading's rows.
void summarise(const QList<ReadRow>& rows, ReadingSummary& summary)
{
    summary.rows = int(rows.size());
    summary.ticked = 0;
    summary.debit = summary.credit = 0;
    summary.alreadyTransferred = 0;
    for (const ReadRow& r : rows) {
        summary.ticked += r.ticked ? 1 : 0;
        summary.alreadyTransferred += r.inRegister ? 1 : 0;
        summary.debit = plus(summary.debit, r.debit);
        summary.credit = plus(summary.credit, r.credit);
    }
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

VoucherReading::VoucherReading(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

QString VoucherReading::searchWord(const QString& typed) { return util::searchKey(typed).trimmed(); }

QString VoucherReading::check(const ReadingCriteria& c)
{
    if (c.kol <= 0)
        return QStringLiteral("حساب مشخص نشده است");
    if (c.monthIndex < 0 || c.monthIndex >= ReadingMonths)
        return QStringLiteral("ماه مشخص نشده است");
    for (const QString& w : c.words) {
        if (w.trimmed().size() > LongestReadingWord)
            return QStringLiteral("كلمه جستجو طولاني تر از %1 حرف است").arg(LongestReadingWord);
    }
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

std::optional<ReadingSummary> VoucherReading::prepare(const ReadingCriteria& c, startup::Prompt& prompt, bool* open, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<ReadingSummary> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (const QString why = check(c); !why.isEmpty())
        return fail(why);
    // Without the year's accounting database (the session has said so) nothing is read.
    *open = selectYear(c, prompt);
    ReadingSummary summary;
    summary.range = {1, 0};
    if (*open) {
        const db::Fetched<VoucherRange> range = voucherRange(c);
        if (range.failed())
            return fail(range.error());
        summary.range = *range;
    }
    return summary;
}

bool VoucherReading::readIn(db::UnitOfWork& w, const ReadingCriteria& c, bool open, ReadingSummary& summary, startup::Prompt& prompt)
{
    QList<ReadRow> rows;
    if (!w.exec(QStringLiteral("DELETE FROM {deposits}.TEMPREADSND")))
        return false;
    const QString keys[4] = {searchWord(c.words[0]), searchWord(c.words[1]), searchWord(c.words[2]), searchWord(c.words[3])};
    if (open && !summary.range.empty()) {
        // The party's row: the row itself when it is on account 21006 (a voucher paying
        // several contractors holds one such row each), else the voucher's first one.
        QString sql = QStringLiteral(
            "SELECT r.SNDNO, r.ROW, r.CHKNO, r.CHKDAT, r.DESCR, r.BED, r.BES, p.TAFSIL, p.TAFSIL2, p.TAMINKIND, "
            "p.ACCDETAIL1, p.ACCDETAIL2, p.ACCDETAIL3, p.ACCDETAIL4, p.ACCDETAIL5, p.ACCDETAIL6, p.ACCDETAIL7 "
            "FROM {accounting}.SNDROW r LEFT JOIN {accounting}.SNDROW p ON p.SNDNO = r.SNDNO AND p.ROW = "
            "CASE WHEN r.ACCOUNT = '21006' THEN r.ROW "
            "ELSE (SELECT MIN(x.ROW) FROM {accounting}.SNDROW x WHERE x.SNDNO = r.SNDNO AND x.ACCOUNT = '21006') END "
            "WHERE r.SNDNO >= :PFrom AND r.SNDNO <= :PTo AND r.KOL = :PKol AND (r.MOIN = :PMoin OR -1 = :PMoin) "
            "AND (r.CHKNO = :PChk OR -1 = :PChk)");
        QVariantMap binds{{QStringLiteral(":PFrom"), summary.range.from}, {QStringLiteral(":PTo"), summary.range.to},
                          {QStringLiteral(":PKol"), c.kol},               {QStringLiteral(":PMoin"), c.moin},
                          {QStringLiteral(":PChk"), c.chequeNo}};
        // The words narrow the rows on the server; their search keys decide below.
        for (int pair = 0; pair < 2; ++pair) {
            QStringList either;
            for (int i = 2 * pair; i < 2 * pair + 2; ++i) {
                if (keys[i].isEmpty())
                    continue;
                const QString name = QStringLiteral(":PW%1").arg(i + 1);
                either << QStringLiteral("r.DESCR LIKE ") + name;
                binds.insert(name, likeSuperset(keys[i]));
            }
            if (!either.isEmpty())
                sql += QStringLiteral(" AND (") + either.join(QStringLiteral(" OR ")) + QLatin1Char(')');
        }
        sql += QStringLiteral(" ORDER BY r.SNDNO, r.ROW");

        QSqlQuery q(w.connection());
        q.setForwardOnly(true);
        QString bad;
        const QString text = w.resolve(sql);
        if (!w.ok())
            return false;
        if (!db::prepareBound(q, text, binds, &bad) || !q.exec())
            return w.fail(bad.isEmpty() ? q.lastError().text() : bad);
        while (q.next()) {
            const QString description = q.value(4).toString();
            const QString key = util::searchKey(description);
            if (!pairMatches(key, keys[0], keys[1]) || !pairMatches(key, keys[2], keys[3]))
                continue;
            ReadRow r;
            r.row = int(rows.size()) + 1;
            r.voucher = q.value(0).toInt();
            r.voucherRow = q.value(1).toInt();
            r.party = optionalInt(q.value(7));
            r.contract = optionalInt(q.value(8));
            r.fundingKind = optionalInt(q.value(9));
            for (int i = 0; i < 7; ++i)
                r.accDetail[size_t(i)] = q.value(10 + i).toString().trimmed();
            r.description = description.trimmed().left(DescriptionLength);
            QStringList problems;
            if (!q.value(2).isNull()) {
                r.chequeNo = wholeOf(q.value(2), LargestChequeNo);
                if (!r.chequeNo)
                    problems << QStringLiteral("شماره چک/فيش عدد حداکثر 14 رقمي نيست (%1)").arg(shown(q.value(2)));
            }
            const QString date = q.value(3).toString().trimmed();
            if (!date.isEmpty()) {
                const std::optional<util::JalaliDate> d = date.size() <= 10 ? util::parseJalali(date) : std::nullopt;
                if (d)
                    r.chequeDate = d->toText();
                else
                    problems << QStringLiteral("تاريخ چک/فيش تاريخ نيست (%1)").arg(shown(q.value(3)));
            }
            const std::optional<qint64> debit = amountOf(q.value(5));
            const std::optional<qint64> credit = amountOf(q.value(6));
            r.damagedAmount = !debit || !credit;
            if (r.damagedAmount)
                problems << QStringLiteral("مبلغ رديف سند مبلغ نيست (%1)").arg(shown(debit ? q.value(6) : q.value(5)));
            r.debit = debit.value_or(0);
            r.credit = credit.value_or(0);
            r.problem = problems.join(QStringLiteral("؛ "));
            rows << r;
            if (rows.size() % 500 == 0)
                prompt.progress(QStringLiteral("خواندن اطلاعات سپرده ها از اسناد"), int(rows.size()), int(rows.size()) + 500);
        }
        if (q.lastError().isValid())
            return w.fail(q.lastError().text());
    }

    // The parties' names, each read once, in the section the reading reads.
    QHash<int, std::optional<QString>> names;
    for (ReadRow& r : rows) {
        if (!r.party)
            continue;
        auto it = names.find(*r.party);
        if (it == names.end()) {
            const auto found = w.firstRow(QStringLiteral("SELECT NAME FROM {common}.TAFSILI WHERE CODE = :PCode AND CI = :CI"),
                                          {{QStringLiteral(":PCode"), *r.party}, {QStringLiteral(":CI"), c.section.toInt()}});
            if (found.failed())
                return w.fail(found.error());
            it = names.insert(*r.party, found ? std::optional<QString>(found->value(0).toString().trimmed()) : std::nullopt);
        }
        if (*it)
            r.partyName = **it;
        else
            r.problem += (r.problem.isEmpty() ? QString() : QStringLiteral("؛ ")) + QStringLiteral("کد تفضيلي %1 يافت نشد").arg(*r.party);
    }

    // The voucher rows the register holds already, gathered once.
    if (!rows.isEmpty()) {
        QSqlQuery in(w.connection());
        in.setForwardOnly(true);
        QString bad;
        const QString text = w.resolve(QStringLiteral("SELECT DISTINCT SNDNO, SNDROW FROM {deposits}.SEP_DAR WHERE SNDYER = :PYear "
                                                      "AND SNDNO >= :PFrom AND SNDNO <= :PTo"));
        if (!w.ok())
            return false;
        if (!db::prepareBound(in, text,
                              {{QStringLiteral(":PYear"), c.year}, {QStringLiteral(":PFrom"), rows.first().voucher},
                               {QStringLiteral(":PTo"), rows.last().voucher}},
                              &bad)
            || !in.exec())
            return w.fail(bad.isEmpty() ? in.lastError().text() : bad);
        QSet<QPair<int, int>> held;
        while (in.next())
            held.insert({in.value(0).toInt(), in.value(1).toInt()});
        if (in.lastError().isValid())
            return w.fail(in.lastError().text());
        for (ReadRow& r : rows) {
            r.inRegister = held.contains({r.voucher, r.voucherRow});
            // A row whose amount is no amount is ticked, so that the transfer names it
            // instead of leaving it out unseen.
            r.ticked = !r.inRegister && (r.damagedAmount || isTicked(c.side, r.debit, r.credit));
        }
    }

    // The shared work table keeps a copy of the last reading, with what the register can hold.
    QSqlQuery ins(w.connection());
    const QString insert = w.resolve(QStringLiteral(
        "INSERT INTO {deposits}.TEMPREADSND (ROW, SNDNO, SNDROW, TAFSIL, CHKDATE, TIK, DESCR, TAFSIL2, ACCDETAIL1, ACCDETAIL2, "
        "ACCDETAIL3, ACCDETAIL4, ACCDETAIL5, ACCDETAIL6, ACCDETAIL7, TAMINKIND, CHKNO, BED, BES) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (!w.ok())
        return false;
    if (!rows.isEmpty() && !ins.prepare(insert))
        return w.fail(ins.lastError().text());
    auto orNull = [](const auto& v) { return v ? QVariant(*v) : QVariant(); };
    for (const ReadRow& r : rows) {
        QVariantList values{r.row, r.voucher, r.voucherRow, orNull(r.party), r.chequeDate.isEmpty() ? QVariant() : QVariant(r.chequeDate),
                            r.ticked ? QStringLiteral("X") : QString(), r.description, orNull(r.contract)};
        for (const QString& a : r.accDetail)
            values << a.left(16);
        values << orNull(r.fundingKind) << orNull(r.chequeNo) << r.debit << r.credit;
        for (int i = 0; i < values.size(); ++i)
            ins.bindValue(i, values[i]);
        if (!ins.exec())
            return w.fail(ins.lastError().text());
    }
    summarise(rows, summary);
    rows_.swap(rows);   // the caller puts the last reading back when the work fails
    return true;
}

std::optional<ReadingSummary> VoucherReading::read(const ReadingCriteria& c, startup::Prompt& prompt, QString* error)
{
    bool open = false;
    std::optional<ReadingSummary> summary = prepare(c, prompt, &open, error);
    if (!summary)
        return std::nullopt;
    const QList<ReadRow> last = rows_;
    const ReadingSummary start = *summary;
    const bool done = session_.inWork([&](db::UnitOfWork& w) {
        rows_ = last;
        *summary = start;
        return readIn(w, c, open, *summary, prompt);
    }, error);
    if (!done) {
        rows_ = last;
        return std::nullopt;
    }
    year_ = c.year;
    section_ = c.section;
    return summary;
}

std::optional<std::pair<ReadingSummary, TransferResult>> VoucherReading::readAndTransfer(const ReadingCriteria& c, int listYear, int listMonth,
                                                                                         startup::Prompt& prompt, QString* error)
{
    bool open = false;
    std::optional<ReadingSummary> summary = prepare(c, prompt, &open, error);
    if (!summary)
        return std::nullopt;
    const QList<ReadRow> last = rows_;
    const ReadingSummary start = *summary;
    TransferResult result;
    const bool done = session_.inWork([&](db::UnitOfWork& w) {
        rows_ = last;
        *summary = start;
        result = {};
        return readIn(w, c, open, *summary, prompt) && transferIn(w, c.year, listYear, listMonth, Repeats::Skip, result);
    }, error);
    if (!done) {
        rows_ = last;
        return std::nullopt;
    }
    year_ = c.year;
    section_ = c.section;
    return std::make_pair(*summary, result);
}

db::Fetched<QList<ReadRow>> VoucherReading::rows() const
{
    return rows_.isEmpty() ? db::Fetched<QList<ReadRow>>::none() : db::Fetched<QList<ReadRow>>::found(rows_);
}

int VoucherReading::tickedInRegister() const
{
    return int(std::count_if(rows_.cbegin(), rows_.cend(), [](const ReadRow& r) { return r.ticked && r.inRegister; }));
}

bool VoucherReading::toggle(int row, QString* error)
{
    for (ReadRow& r : rows_) {
        if (r.row == row) {
            r.ticked = !r.ticked;
            return true;
        }
    }
    if (error)
        *error = QStringLiteral("رديف %1 در فهرست نيست").arg(row);
    return false;
}

bool VoucherReading::clearTicks(QString*)
{
    for (ReadRow& r : rows_)
        r.ticked = false;
    return true;
}

bool VoucherReading::tickOnly(int row, QString* error)
{
    if (std::none_of(rows_.cbegin(), rows_.cend(), [row](const ReadRow& r) { return r.row == row; })) {
        if (error)
            *error = QStringLiteral("رديف %1 در فهرست نيست").arg(row);
        return false;
    }
    for (ReadRow& r : rows_)
        r.ticked = r.row == row;
    return true;
}

bool VoucherReading::transferIn(db::UnitOfWork& w, int voucherYear, int listYear, int listMonth, Repeats repeats, TransferResult& result)
{
    result = {};
    if (writer_ == Writer::User) {
        if (const std::optional<QString> refusal = work::writeRefusal(w.scalar(work::levelSql(), work::levelBinds(session_))))
            return w.fail(*refusal);
    }
    QList<const ReadRow*> ticked;
    for (const ReadRow& r : rows_) {
        if (r.ticked)
            ticked << &r;
    }
    if (ticked.isEmpty())
        return true;

    // What the register holds now: another workstation may have transferred since.
    QSqlQuery in(w.connection());
    in.setForwardOnly(true);
    QString bad;
    const QString text = w.resolve(QStringLiteral("SELECT DISTINCT SNDNO, SNDROW FROM {deposits}.SEP_DAR WHERE SNDYER = :PYear "
                                                  "AND SNDNO >= :PFrom AND SNDNO <= :PTo"));
    if (!w.ok())
        return false;
    if (!db::prepareBound(in, text,
                          {{QStringLiteral(":PYear"), voucherYear}, {QStringLiteral(":PFrom"), ticked.first()->voucher},
                           {QStringLiteral(":PTo"), ticked.last()->voucher}},
                          &bad)
        || !in.exec())
        return w.fail(bad.isEmpty() ? in.lastError().text() : bad);
    QSet<QPair<int, int>> held;
    while (in.next())
        held.insert({in.value(0).toInt(), in.value(1).toInt()});
    if (in.lastError().isValid())
        return w.fail(in.lastError().text());

    const QVariantMap month{{QStringLiteral(":PMY"), listYear}, {QStringLiteral(":PMM"), listMonth}};
    const std::optional<qint64> firstRow = w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("SEPROW"),
                                                     QStringLiteral("MY = :PMY AND MM = :PMM"), month);
    const std::optional<qint64> firstIndex = w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX"));
    if (!firstRow || !firstIndex)
        return false;
    qint64 seprow = *firstRow;
    qint64 idx = *firstIndex;
    result.firstIndex = int(idx);
    const QVariant null;
    for (const ReadRow* r : ticked) {
        if (held.contains({r->voucher, r->voucherRow}) && !(repeats == Repeats::EnterShown && r->inRegister)) {
            ++result.skipped;
            continue;
        }
        if (!r->problem.isEmpty())
            return w.fail(QStringLiteral("رديف %1 (سند %2 رديف %3): %4").arg(r->row).arg(r->voucher).arg(r->voucherRow).arg(r->problem));
        const qint64 amount = r->credit != 0 ? r->credit : r->debit;
        // A deposit holds a sum: a row with neither side would enter an empty one.
        if (amount <= 0)
            return w.fail(QStringLiteral("مبلغ رديف %1 صفر است").arg(r->row));
        // Rows without a plan, project or contract carry the register's "none".
        const QVariantMap values{
            {QStringLiteral("IDX"), idx},
            {QStringLiteral("MY"), listYear},
            {QStringLiteral("MM"), listMonth},
            {QStringLiteral("SEPNO"), null},
            {QStringLiteral("SEPDATE"), null},
            {QStringLiteral("CHKNO"), r->chequeNo ? QVariant(*r->chequeNo) : null},
            {QStringLiteral("CHKDATE"), r->chequeDate.isEmpty() ? null : QVariant(r->chequeDate)},
            {QStringLiteral("AMOUNT"), double(amount)},
            {QStringLiteral("TAFSILI"), r->party ? QVariant(*r->party) : null},
            {QStringLiteral("PROJNO"), -1},
            {QStringLiteral("TARHNO"), -1},
            {QStringLiteral("PAYMENT"), r->contract ? QVariant(*r->contract) : QVariant(-1)},
            {QStringLiteral("SEPROW"), seprow},
            {QStringLiteral("DESCR"), r->description},
            {QStringLiteral("SNDNO"), r->voucher},
            {QStringLiteral("SNDROW"), r->voucherRow},
            {QStringLiteral("SNDYER"), voucherYear},
            {QStringLiteral("FROMOLDM"), 2},
            {QStringLiteral("SEPKIND"), 1},
            {QStringLiteral("SAVABEGH"), 0},
            {QStringLiteral("ELAMBESIDX"), 0},
            {QStringLiteral("YERSEPROW"), null},
            {QStringLiteral("ERSALVAJHKHAZANE_NO"), null},
            {QStringLiteral("ERSALVAJHKHAZANE_DATE"), null},
            {QStringLiteral("AMOUNT_RAD"), 0},
            {QStringLiteral("AMOUNT_MANDEH"), double(amount)},
        };
        if (!w.insert(db::Store::Deposits, QStringLiteral("SEP_DAR"), values))
            return false;
        held.insert({r->voucher, r->voucherRow});
        ++seprow;
        ++idx;
        ++result.rows;
    }
    return true;
}

std::optional<TransferResult> VoucherReading::transfer(int listYear, int listMonth, Repeats repeats, QString* error)
{
    TransferResult result;
    if (!session_.inWork([&](db::UnitOfWork& w) { return transferIn(w, year_, listYear, listMonth, repeats, result); }, error))
        return std::nullopt;
    // What went in is in the register now.
    for (ReadRow& r : rows_) {
        if (r.ticked)
            r.inRegister = true;
    }
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
