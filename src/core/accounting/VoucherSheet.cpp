#include "core/accounting/VoucherSheet.h"

#include "core/basedata/Lookups.h"
#include "core/startup/Users.h"
#include "core/util/Numbers.h"
#include "core/util/TextKey.h"

#include <QHash>

namespace orvak::accounting {

namespace {

QString nameOf(startup::Session& session, basedata::Lookup kind, const std::optional<int>& code, const QString& column)
{
    if (!code)
        return {};
    const db::Fetched<QSqlRecord> r = basedata::lookup(session, kind, *code);
    return r ? r->value(column).toString().trimmed() : QString();
}

QString orEmpty(const std::optional<int>& v) { return v ? QString::number(*v) : QString(); }

} // namespace

db::Fetched<VoucherSheet> readVoucherSheet(startup::Session& session, int number)
{
    Vouchers vouchers(session);
    const db::Fetched<Voucher> v = vouchers.voucher(number);
    if (!v)
        return v.failed() ? db::Fetched<VoucherSheet>::failure(v.error()) : db::Fetched<VoucherSheet>::none();
    VoucherSheet sheet;
    sheet.head = v->head;
    sheet.userName = startup::userNames(session.common()).value(v->head.userId);
    sheet.debit = v->debit();
    sheet.credit = v->credit();
    // A voucher names few ledgers, parties, projects and plans many times over: each is read once.
    QHash<qint64, QString> kols, moins, parties, projects, plans;
    const auto once = [](QHash<qint64, QString>& names, qint64 key, const auto& read) {
        auto it = names.constFind(key);
        if (it == names.constEnd())
            it = names.insert(key, read());
        return *it;
    };
    const auto named = [&](QHash<qint64, QString>& names, basedata::Lookup kind, const std::optional<int>& code, const char* column) {
        return code ? once(names, *code, [&] { return nameOf(session, kind, code, QString::fromLatin1(column)); }) : QString();
    };
    for (const VoucherRow& r : v->rows) {
        VoucherSheetRow s{r, {}, {}, {}, {}, {}};
        s.kolName = once(kols, r.kol, [&] { return vouchers.general(r.kol).value_or({}).name; });
        s.moinName = once(moins, (qint64(r.kol) << 32) | quint32(r.moin), [&] { return vouchers.subsidiary(r.kol, r.moin).value_or({}).name; });
        s.partyName = named(parties, basedata::Lookup::DetailByCode, r.tafsil, "NAME");
        s.projectName = named(projects, basedata::Lookup::ProjectByNumber, r.project, "NAMEP");
        s.planName = named(plans, basedata::Lookup::Plan, r.plan, "NAMET");
        sheet.rows << s;
    }
    return db::Fetched<VoucherSheet>::found(std::move(sheet));
}

io::ReportModel voucherReport(const VoucherSheet& sheet, const std::vector<io::ReportSignature>& signatures)
{
    io::ReportModel m;
    const VoucherHead& h = sheet.head;
    m.titleLines = {QStringLiteral("نمايش اسناد حسابداري ").trimmed(),
                    QStringLiteral("شماره سند: %1   تاريخ: %2").arg(io::isolateLtr(QString::number(h.number)), io::isolateLtr(h.date)),
                    h.description};
    using io::CellFormat;
    m.columns = {{QStringLiteral("رديف"), 0.5, CellFormat::Integer},  {QStringLiteral("كل"), 1.4},   {QStringLiteral("معين"), 1.4},
                 {QStringLiteral("تفصيلي"), 1.4},                    {QStringLiteral("شرح"), 2.6},  {QStringLiteral("بدهكار"), 1.2, CellFormat::Amount, true},
                 {QStringLiteral("بستانكار"), 1.2, CellFormat::Amount, true}, {QStringLiteral("شماره / تاريخ چك"), 1.2}};
    m.landscape = true;
    auto codeAndName = [](const QString& code, const QString& name) { return (io::isolateLtr(code) + QLatin1Char(' ') + name).trimmed(); };
    for (const VoucherSheetRow& s : sheet.rows) {
        const VoucherRow& r = s.row;
        const QString cheque = r.chequeNo ? io::isolateLtr(QString::number(*r.chequeNo)) + QLatin1Char(' ') + io::isolateLtr(r.chequeDate) : r.chequeDate;
        m.addRow({QString::number(r.row), codeAndName(QString::number(r.kol), s.kolName), codeAndName(QString::number(r.moin), s.moinName),
                  codeAndName(orEmpty(r.tafsil), s.partyName), r.description, util::FormatAmount(r.debit), util::FormatAmount(r.credit), cheque.trimmed()},
                 {0, 0, 0, 0, 0, double(r.debit), double(r.credit), 0});
    }
    m.titleLines << QStringLiteral("بدهكار: %1   بستانكار: %2   اختلاف: %3")
                        .arg(io::isolateLtr(util::FormatAmount(sheet.debit)), io::isolateLtr(util::FormatAmount(sheet.credit)),
                             io::isolateLtr(QString::number(sheet.difference())));
    m.signatures = signatures;
    return m;
}

int findInVoucher(const VoucherSheet& sheet, const QString& word, int from)
{
    const qsizetype n = sheet.rows.size();
    if (word.trimmed().isEmpty() || n == 0)
        return -1;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype at = (qMax(from, 0) + i) % n;
        if (util::searchMatches(sheet.rows[at].row.description, word.trimmed()))
            return int(at);
    }
    return -1;
}

} // namespace orvak::accounting
