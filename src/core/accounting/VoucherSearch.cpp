#include "core/accounting/VoucherSearch.h"

#include "core/basedata/CodedTable.h"
#include "core/basedata/DetailAccounts.h"
#include "core/basedata/Lookups.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QSet>
#include <algorithm>

namespace orvak::accounting {

namespace {

using io::CellFormat;

// A LIKE pattern that finds the word as it is typed: its wildcard signs (and the
// brackets SQL Server reads as a set) lose their meaning.
QString containing(const QString& word)
{
    QString p(QLatin1Char('%'));
    for (QChar c : word) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            p += QLatin1Char('\\');
        p += c;
    }
    return p + QLatin1Char('%');
}

QStringList wordsOf(const QString& text) { return text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// Collects the conditions in their order; the first bad value stops it with its reason.
class Conditions {
public:
    VoucherQuery query;
    QString error;

    void add(const QString& condition, const QVariantMap& binds = {})
    {
        query.where += QStringLiteral(" AND (") + condition + QLatin1Char(')');
        query.binds.insert(binds);
    }
    void like(const QString& column, const QString& words, const QString& prefix)
    {
        const QStringList list = wordsOf(words);
        for (int i = 0; i < list.size(); ++i) {
            const QString name = QStringLiteral(":%1%2").arg(prefix).arg(i);
            add(QStringLiteral("%1 like %2 ESCAPE '\\'").arg(column, name), {{name, containing(list[i])}});
        }
    }
    // A whole number typed in a field; false (with the reason) when it is not one.
    std::optional<qint64> number(const QString& text, const QString& label, qint64 largest = std::numeric_limits<int>::max())
    {
        if (text.trimmed().isEmpty())
            return std::nullopt;
        const std::optional<qint64> n = util::parseWholeNumber(text.trimmed());
        if (!n || *n < 0 || *n > largest)
            fail(label, text);
        return n;
    }
    std::optional<QString> date(const QString& text, const QString& label)
    {
        // A masked date field left empty gives its separators alone.
        if (QString(text).remove(QLatin1Char('/')).trimmed().isEmpty())
            return std::nullopt;
        const std::optional<util::JalaliDate> d = util::parseJalali(text.trimmed());
        if (!d) {
            fail(label, text);
            return std::nullopt;
        }
        return d->toText();
    }
    std::optional<qint64> amount(const QString& text)
    {
        if (text.trimmed().isEmpty())
            return std::nullopt;
        const std::optional<qint64> a = util::parseAmount(text);
        if (!a || *a < 0)
            fail(QStringLiteral("مبلغ"), text);
        return a;
    }
    void equal(const QString& column, const QString& text, const QString& label, const QString& name)
    {
        if (const auto n = number(text, label); n && error.isEmpty())
            add(QStringLiteral("%1=%2").arg(column, name), {{name, *n}});
    }
    bool ok() const { return error.isEmpty(); }

private:
    void fail(const QString& label, const QString& text)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1 درست نيست: %2").arg(label, text.trimmed());
    }
};

// Amount conditions of one side, or of either (a row's amount is on one side).
QString amountCondition(AmountSide side, const QString& test)
{
    const QString bed = test.arg(QStringLiteral("SNDROW.BED"));
    const QString bes = test.arg(QStringLiteral("SNDROW.BES"));
    switch (side) {
    case AmountSide::Debit:
        return bed;
    case AmountSide::Credit:
        return bes;
    case AmountSide::Either:
        break;
    }
    return QStringLiteral("(%1)OR(%2)").arg(bed, bes);
}

FoundRow foundOf(const QSqlRecord& r)
{
    return FoundRow{voucherRowOf(r), r.value(QStringLiteral("SNDDATE")).toString().trimmed(),
                    r.value(QStringLiteral("SNDDESCR")).toString().trimmed()};
}

io::CodeTexts inclusionTexts()
{
    return io::CodeTexts{{{1, QStringLiteral("خارج شمول")}, {2, QStringLiteral("غير خ. شمول")}}, {}};
}

io::ListDefinition accountingList(const QString& name, const QString& title, const QString& sql)
{
    io::ListDefinition d;
    d.name = name;
    d.title = title;
    d.database = io::ListDatabase::Accounting;
    d.sql = sql;
    d.keyField = QStringLiteral("CODE");
    return d;
}

using PartyCodes = std::function<db::Fetched<QList<qint64>>(const QString& word)>;

std::optional<VoucherQuery> build(const VoucherCriteria& c, const PartyCodes& partyCodes, QString* error);

io::ListDefinition listOf(const VoucherQuery& q);

} // namespace

std::optional<int> voucherNumber(const QString& text)
{
    const std::optional<qint64> n = util::parseWholeNumber(text.trimmed());
    if (!n || *n <= 0 || *n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*n);
}

QString voucherSearchSql(const QString& where)
{
    return QStringLiteral("Select * From (Select SNDROW.*, SNDHEAD.SNDDATE, substring(SNDHEAD.DESCR,1,200) as SNDDESCR, "
                          "(Select K.NAME From KOL K Where K.CODE=SNDROW.KOL) as KOLNAME, "
                          "(Select M.NAME From MOIN M Where M.KOL=SNDROW.KOL and M.CODE=SNDROW.MOIN) as MOINNAME "
                          "From SNDROW, SNDHEAD Where SNDROW.SNDNO=SNDHEAD.SNDNO")
        + where + QStringLiteral(") R\nOrder By SNDNO, ROW");
}

VoucherSearch::VoucherSearch(startup::Session& session)
    : session_(session)
{
}

std::optional<VoucherQuery> VoucherSearch::query(const VoucherCriteria& criteria, QString* error) const
{
    // Party names go through the normalised search of the detail accounts; the
    // codes found are bound like any other value.
    const basedata::DetailAccounts parties(session_);
    return build(criteria, [&parties](const QString& word) { return parties.codesMatching(word); }, error);
}

namespace {

// "TAFSIL in (...)" for the codes, written as runs and lists of numbers: the codes are
// read from the database (never typed), and a party-name word can match more parties
// than a statement may carry parameters (2,100 on SQL Server).
QString codesCondition(const QString& column, QList<qint64> codes)
{
    if (codes.isEmpty())
        return QStringLiteral("1=0");
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    QStringList terms;
    QStringList singles;
    auto flushSingles = [&] {
        if (!singles.isEmpty())
            terms << QStringLiteral("%1 in (%2)").arg(column, singles.join(QLatin1Char(',')));
        singles.clear();
    };
    for (qsizetype i = 0; i < codes.size();) {
        qsizetype j = i;
        while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1)
            ++j;
        if (j - i >= 2) {
            terms << QStringLiteral("(%1>=%2 and %1<=%3)").arg(column).arg(codes[i]).arg(codes[j]);
        } else {
            for (qsizetype k = i; k <= j; ++k) {
                singles << QString::number(codes[k]);
                if (singles.size() == 1000)
                    flushSingles();
            }
        }
        i = j + 1;
    }
    flushSingles();
    return terms.join(QStringLiteral(" or "));
}

std::optional<VoucherQuery> build(const VoucherCriteria& c, const PartyCodes& partyCodes, QString* error)
{
    for (const QString* typed : {&c.words, &c.partyWords}) {
        if (const std::optional<QString> refusal = basedata::searchTextRefusal(*typed)) {
            if (error)
                *error = *refusal;
            return std::nullopt;
        }
    }
    Conditions q;
    q.like(c.wordsInHead ? QStringLiteral("SNDHEAD.DESCR") : QStringLiteral("SNDROW.DESCR"), c.words, QStringLiteral("PWord"));

    if (const QStringList words = wordsOf(c.partyWords); !words.isEmpty()) {
        std::optional<QSet<qint64>> codes;
        for (const QString& w : words) {
            const db::Fetched<QList<qint64>> found = partyCodes(w);
            if (found.failed()) {
                if (error)
                    *error = found.error();
                return std::nullopt;
            }
            const QList<qint64> list = found.value_or({});
            const QSet<qint64> these(list.begin(), list.end());
            codes = codes ? codes->intersect(these) : these;
        }
        q.add(codesCondition(QStringLiteral("SNDROW.TAFSIL"), QList<qint64>(codes->begin(), codes->end())));
    }

    if (c.byDate) {
        const auto from = q.date(c.from, QStringLiteral("تاريخ سند"));
        const auto to = q.date(c.to, QStringLiteral("تاريخ سند"));
        if (from)
            q.add(QStringLiteral("SNDHEAD.SNDDATE>=:PFromDate"), {{QStringLiteral(":PFromDate"), *from}});
        if (to)
            q.add(QStringLiteral("SNDHEAD.SNDDATE<=:PToDate"), {{QStringLiteral(":PToDate"), *to}});
    } else {
        const auto from = q.number(c.from, QStringLiteral("شماره سند"));
        const auto to = q.number(c.to, QStringLiteral("شماره سند"));
        if (from && q.ok())
            q.add(QStringLiteral("SNDROW.SNDNO>=:PFromNo"), {{QStringLiteral(":PFromNo"), *from}});
        if (to && q.ok())
            q.add(QStringLiteral("SNDROW.SNDNO<=:PToNo"), {{QStringLiteral(":PToNo"), *to}});
    }

    if (c.inclusion != InclusionChoice::All)
        q.add(QStringLiteral("SNDROW.REFNO=:PRefNo"),
              {{QStringLiteral(":PRefNo"), c.inclusion == InclusionChoice::Outside ? QStringLiteral("1") : QStringLiteral("2")}});

    q.equal(QStringLiteral("SNDROW.KOL"), c.kol, QStringLiteral("كد حساب كل"), QStringLiteral(":PKol"));
    q.equal(QStringLiteral("SNDROW.MOIN"), c.moin, QStringLiteral("كد حساب معين"), QStringLiteral(":PMoin"));
    q.equal(QStringLiteral("SNDROW.TAFSIL"), c.tafsil, QStringLiteral("كد تفصيلي"), QStringLiteral(":PTafsil"));
    q.equal(QStringLiteral("SNDROW.TARHNO"), c.plan, QStringLiteral("كد طرح"), QStringLiteral(":PTarhNo"));
    q.equal(QStringLiteral("SNDROW.PROJEH"), c.project, QStringLiteral("كد پروژه"), QStringLiteral(":PProjeh"));
    if (const auto g = q.number(c.subsidiaryGroup, QStringLiteral("گروه معين")); g && q.ok())
        q.add(QStringLiteral("(SNDROW.MOINGRP12=:PGroup)OR(SNDROW.MG1=:PGroup)"), {{QStringLiteral(":PGroup"), *g}});

    if (const auto chk = q.number(c.chequeNo, QStringLiteral("شماره چك"), std::numeric_limits<qint64>::max()); chk && q.ok())
        q.add(QStringLiteral("SNDROW.CHKNO=:PChkNo"), {{QStringLiteral(":PChkNo"), *chk}});
    const auto d1 = q.date(c.chequeDate1, QStringLiteral("تاريخ چك"));
    const auto d2 = q.date(c.chequeDate2, QStringLiteral("تاريخ چك"));
    if (d1 && d2) {
        q.add(QStringLiteral("SNDROW.CHKDAT>=:PChkDate1"), {{QStringLiteral(":PChkDate1"), *d1}});
        q.add(QStringLiteral("SNDROW.CHKDAT<=:PChkDate2"), {{QStringLiteral(":PChkDate2"), *d2}});
    } else if (d1 || d2) {
        q.add(QStringLiteral("SNDROW.CHKDAT=:PChkDate1"), {{QStringLiteral(":PChkDate1"), d1 ? *d1 : *d2}});
    }

    const auto a1 = q.amount(c.amountFrom);
    const auto a2 = q.amount(c.amountTo);
    const QVariantMap amounts{{QStringLiteral(":PAmount1"), a1.value_or(0)}, {QStringLiteral(":PAmount2"), a2.value_or(0)}};
    if (a1 && a2)
        q.add(amountCondition(c.side, QStringLiteral("%1>=:PAmount1 and %1<=:PAmount2")), amounts);
    else if (a1)
        q.add(amountCondition(c.side, QStringLiteral("%1=:PAmount1")), amounts);
    else if (a2)
        // The empty side of a row holds 0, which is below every bound: only the
        // side that carries the row's amount is compared.
        q.add(amountCondition(c.side, QStringLiteral("%1<>0 and %1<=:PAmount2")), amounts);

    if (!q.ok()) {
        if (error)
            *error = q.error;
        return std::nullopt;
    }
    return q.query;
}

} // namespace

db::Fetched<VoucherSearchResult> VoucherSearch::run(const VoucherCriteria& criteria)
{
    QString why;
    const std::optional<VoucherQuery> q = query(criteria, &why);
    if (!q)
        return db::Fetched<VoucherSearchResult>::failure(why);
    if (!session_.AccountingDbOpen())
        return db::Fetched<VoucherSearchResult>::none();

    QSqlQuery rows(session_.accounting());
    rows.setForwardOnly(true);
    if (!db::prepareBound(rows, voucherSearchSql(q->where), q->binds, &why) || !rows.exec())
        return db::Fetched<VoucherSearchResult>::failure(why.isEmpty() ? rows.lastError().text() : why);
    VoucherSearchResult result;
    while (rows.next())
        result.rows << foundOf(rows.record());
    if (rows.lastError().isValid())
        return db::Fetched<VoucherSearchResult>::failure(rows.lastError().text());
    if (result.rows.isEmpty())
        return db::Fetched<VoucherSearchResult>::none();

    const db::Fetched<QSqlRecord> sums = db::firstRow(
        session_.accounting(),
        QStringLiteral("Select Sum(SNDROW.BED) as BED, Sum(SNDROW.BES) as BES From SNDROW, SNDHEAD Where SNDROW.SNDNO=SNDHEAD.SNDNO") + q->where,
        q->binds);
    if (!sums)
        return db::Fetched<VoucherSearchResult>::failure(sums.error());
    result.debit = rials(sums->value(0));
    result.credit = rials(sums->value(1));
    return db::Fetched<VoucherSearchResult>::found(std::move(result));
}

std::optional<io::ListDefinition> VoucherSearch::list(const VoucherCriteria& criteria, QString* error) const
{
    const std::optional<VoucherQuery> q = query(criteria, error);
    if (!q)
        return std::nullopt;
    return listOf(*q);
}

namespace {

io::ListDefinition listOf(const VoucherQuery& q)
{
    io::ListDefinition d = accountingList(QStringLiteral("voucher-search"), QStringLiteral("جستجو در اسناد"), voucherSearchSql(q.where));
    d.keyField = QStringLiteral("SNDNO");
    for (auto it = q.binds.cbegin(); it != q.binds.cend(); ++it)
        d.parameters << io::ListParameter{it.key(), it.value()};
    d.columns = {
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("SNDDATE"), QStringLiteral("تاريخ سند"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 45, CellFormat::Integer),
        io::dataField(QStringLiteral("KOL"), QStringLiteral("كل"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("KOLNAME"), QStringLiteral("نام حساب كل"), 140),
        io::dataField(QStringLiteral("MOIN"), QStringLiteral("معين"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("MOINNAME"), QStringLiteral("نام حساب معين"), 140),
        io::dataField(QStringLiteral("TAFSIL"), QStringLiteral("تفصيلي"), 60, CellFormat::Integer),
        io::lookupField(QStringLiteral("TAFSIL"), QStringLiteral("نام تفصيلي"), 160,
                        basedata::namesReader("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI", true)),
        io::dataField(QStringLiteral("TARHNO"), QStringLiteral("طرح"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("PROJEH"), QStringLiteral("پروژه"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 260),
        io::dataField(QStringLiteral("BED"), QStringLiteral("بدهكار"), 110, CellFormat::Amount, true),
        io::dataField(QStringLiteral("BES"), QStringLiteral("بستانكار"), 110, CellFormat::Amount, true),
        io::codeField(QStringLiteral("REFNO"), QStringLiteral("شمول"), 80, inclusionTexts()),
        io::dataField(QStringLiteral("CHKNO"), QStringLiteral("شماره چك"), 90, CellFormat::Integer),
        io::dataField(QStringLiteral("CHKDAT"), QStringLiteral("تاريخ چك"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SNDDESCR"), QStringLiteral("شرح سند"), 200),
    };
    return d;
}

} // namespace

io::ListDefinition generalLedgersList()
{
    io::ListDefinition d = accountingList(QStringLiteral("general-ledgers"), QStringLiteral("فهرست حسابهاي كل"),
                                          QStringLiteral("Select * From Kol Where (NAME like :PName)\nOrder By Code"));
    d.parameters = {{QStringLiteral(":PName"), QStringLiteral("%")}};
    d.columns = {
        io::dataField(QStringLiteral("CODE"), QStringLiteral("كد حساب كل"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام حساب كل"), 260),
    };
    return d;
}

io::ListDefinition subsidiaryLedgersList()
{
    io::ListDefinition d = accountingList(
        QStringLiteral("subsidiary-ledgers"), QStringLiteral("فهرست معين"),
        QStringLiteral("Select Moin.*, (Select K.NAME From KOL K Where K.CODE=Moin.KOL) as KOLNAME From Moin "
                       "Where ((Kol=:PKol)or(-1=:PKol))and (NAME like :PName)\nOrder By Kol,Code"));
    d.parameters = {{QStringLiteral(":PKol"), -1}, {QStringLiteral(":PName"), QStringLiteral("%")}};
    d.columns = {
        io::dataField(QStringLiteral("KOL"), QStringLiteral("كد حساب كل"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("CODE"), QStringLiteral("كد حساب معين"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام حساب معين"), 240),
        io::dataField(QStringLiteral("KOLNAME"), QStringLiteral("نام حساب كل"), 200),
    };
    return d;
}

io::ListDefinition voucherRowsList()
{
    VoucherCriteria all;
    all.from = QStringLiteral("0");
    all.to = QString::number(std::numeric_limits<int>::max());
    // Two numbers and no party: always made.
    return listOf(*build(all, {}, nullptr));
}

io::ListDefinition voucherBookList()
{
    io::ListDefinition d = accountingList(QStringLiteral("voucher-book"), QStringLiteral("اسناد حسابداري"),
                                          QStringLiteral("SELECT h.SNDNO, h.SNDDATE, h.KIND, h.STATE, h.USERID, h.DESCR AS HDESCR, r.ROW, r.KOL, r.MOIN, r.TAFSIL, "
                                                         "r.DESCR, r.BED, r.BES FROM SNDHEAD h LEFT JOIN SNDROW r ON r.SNDNO = h.SNDNO "
                                                         "WHERE h.SNDNO >= :PFrom AND h.SNDNO <= :PTo\nORDER BY h.SNDNO, r.ROW"));
    d.keyField = QStringLiteral("SNDNO");
    d.parameters = {{QStringLiteral(":PFrom"), 1}, {QStringLiteral(":PTo"), std::numeric_limits<int>::max()}};
    using io::CellFormat;
    d.columns = {
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("SNDDATE"), QStringLiteral("تاريخ"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("KIND"), QStringLiteral("نوع"), 40, CellFormat::Integer),
        io::dataField(QStringLiteral("STATE"), QStringLiteral("وضعيت"), 40, CellFormat::Integer),
        io::dataField(QStringLiteral("USERID"), QStringLiteral("کاربر"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("HDESCR"), QStringLiteral("شرح سند"), 200),
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 40, CellFormat::Integer),
        io::dataField(QStringLiteral("KOL"), QStringLiteral("کل"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("MOIN"), QStringLiteral("معين"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("TAFSIL"), QStringLiteral("تفصيلي"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 220),
        io::dataField(QStringLiteral("BED"), QStringLiteral("بدهكار"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("BES"), QStringLiteral("بستانكار"), 100, CellFormat::Amount, true),
    };
    return d;
}

io::ListDefinition monthsList()
{
    io::ListDefinition d = accountingList(QStringLiteral("months"), QStringLiteral("انتخاب ماه"),
                                          QStringLiteral("Select * From ABD_CONSTANT Where ID>0  and 1=1\nOrder By ID"));
    d.database = io::ListDatabase::Common;
    d.keyField = QStringLiteral("ID");
    d.columns = {
        io::dataField(QStringLiteral("ID"), QStringLiteral("ماه"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام ماه"), 140),
    };
    return d;
}

QList<io::ListDefinition> accountingLists()
{
    return {generalLedgersList(), subsidiaryLedgersList(), voucherRowsList(), voucherBookList(), monthsList()};
}

} // namespace orvak::accounting
