#include "core/deposits/DepositFilter.h"

#include "core/deposits/DepositKinds.h"

#include <QStringList>

namespace orvak::deposits {

QStringList confirmationTexts()
{
    return {QStringLiteral("همه  دريافتي ها"), QStringLiteral("سپرده هاي باز"), QStringLiteral("سپرده هاي نيمه تائيد شده"),
            QStringLiteral("سپرده هاي تائيد شده"), QStringLiteral("سپرده هاي تائيد و نيمه تائيدشده"),
            QStringLiteral("سپرده هاي ارسالي به خزانه")};
}

QStringList creditModeTexts()
{
    return {QStringLiteral("همه بستانکاري ها"), QStringLiteral("فقط ش.بستانکاري "), QStringLiteral("غير از ش.بستانکاري"),
            QStringLiteral("بي شماره بستانکاري")};
}

QStringList orderTexts()
{
    return {QStringLiteral("پيمانکار"), QStringLiteral("مانده"), QStringLiteral("شماره قبض"), QStringLiteral("تاريخ قبض"),
            QStringLiteral("مبلغ"), QStringLiteral("شماره چک"), QStringLiteral("تاريخ چک"), QStringLiteral("مسلسل"),
            QStringLiteral("رديف"), QStringLiteral("شناسه")};
}

void DepositFilter::clearConditions()
{
    DepositFilter cleared;
    cleared.mode = mode;
    cleared.year = year;
    cleared.month = month;
    cleared.toYear = toYear;
    cleared.toMonth = toMonth;
    cleared.upToDate = upToDate;
    cleared.order = order;
    cleared.descending = descending;
    *this = cleared;
}

QString DepositFilter::periodText() const
{
    const auto named = [](int y, int m) { return monthName(m) + QLatin1Char(' ') + QString::number(y); };
    switch (mode) {
    case PeriodMode::OneMonth: return named(year, month);
    case PeriodMode::Range: return QStringLiteral("از ") + named(year, month) + QStringLiteral(" تا ") + named(toYear, toMonth);
    case PeriodMode::Cumulative: return QStringLiteral("همه سپرده ها تا ") + named(year, month);
    case PeriodMode::UpToDate: return QStringLiteral("سپرده ها لغايت ") + upToDate;
    }
    return {};
}

QString DepositFilter::monthQuoted() const
{
    return QStringLiteral("«") + monthName(month) + QLatin1Char(' ') + QString::number(year) + QStringLiteral("»");
}

FilterSql filterSql(const DepositFilter& f)
{
    QStringList terms;
    QVariantMap binds;
    auto bind = [&](const char* name, const QVariant& value) { binds.insert(QString::fromLatin1(name), value); };

    switch (f.mode) {
    case PeriodMode::OneMonth:
        terms << QStringLiteral("MY = :MY AND MM = :MM");
        bind(":MY", f.year);
        bind(":MM", f.month);
        break;
    case PeriodMode::Cumulative:
        // Nearly the whole register: as one expression, so that the rows are read in
        // the list's order rather than gathered month by month and sorted.
        terms << QStringLiteral("(MY * 100 + MM) <= :UpToMonth");
        bind(":UpToMonth", f.year * 100 + f.month);
        break;
    case PeriodMode::Range:
        terms << QStringLiteral("(MY > :MY OR (MY = :MY AND MM >= :MM))")
              << QStringLiteral("(MY < :ToMY OR (MY = :ToMY AND MM <= :ToMM))");
        bind(":MY", f.year);
        bind(":MM", f.month);
        bind(":ToMY", f.toYear);
        bind(":ToMM", f.toMonth);
        break;
    case PeriodMode::UpToDate:
        terms << QStringLiteral("CHKDATE <= :UpTo");
        bind(":UpTo", f.upToDate);
        break;
    }

    switch (f.creditMode) {
    case CreditMode::All: break;
    case CreditMode::Only:
        terms << QStringLiteral("ELAMBESIDX = :Bes");
        bind(":Bes", f.creditNotice);
        break;
    case CreditMode::AllBut:
        terms << QStringLiteral("(ELAMBESIDX <> :Bes OR ELAMBESIDX IS NULL)");
        bind(":Bes", f.creditNotice);
        break;
    case CreditMode::Without: terms << QStringLiteral("(ELAMBESIDX = 0 OR ELAMBESIDX IS NULL)"); break;
    }

    auto range = [&](const char* column, const QString& from, const QString& to, const char* fromName, const char* toName) {
        if (!from.trimmed().isEmpty()) {
            terms << QStringLiteral("%1 >= %2").arg(QLatin1String(column), QLatin1String(fromName));
            bind(fromName, from.trimmed());
        }
        if (!to.trimmed().isEmpty()) {
            terms << QStringLiteral("%1 <= %2").arg(QLatin1String(column), QLatin1String(toName));
            bind(toName, to.trimmed());
        }
    };
    range("SEPDATE", f.receiptFrom, f.receiptTo, ":SepFrom", ":SepTo");
    range("CHKDATE", f.chequeFrom, f.chequeTo, ":ChkFrom", ":ChkTo");

    if (f.owner != -1) {
        terms << QStringLiteral("TAFSILI = :Owner");
        bind(":Owner", f.owner);
    }
    if (f.contract != -1) {
        terms << QStringLiteral("PAYMENT = :Contract");
        bind(":Contract", f.contract);
    }

    const StatusMarks& m = f.marks;
    if (m.statement)
        terms << QStringLiteral("TIKSUDMO IN ('R', 'P')");
    const std::pair<bool, const char*> flags[] = {
        {m.sent, "TIK_ERSAL = 1"},           {m.credit, "TIKBESTANKARI = '1'"},     {m.request, "TIK_DARKHAST = 1"},
        {m.fundRequest, "TIK_DARKHASTVJH = 1"}, {m.fundConfirmed, "TIK_DARKHASTVJHOK = 1"}, {m.refunded, "TIK_ESTERDAD = 1"},
        {m.pettyCash, "TANKHAHSTATUS = 1"},
    };
    for (const auto& [ticked, term] : flags) {
        if (ticked)
            terms << QString::fromLatin1(term);
    }
    if (f.hideZeroBalance)
        terms << QStringLiteral("AMOUNT_MANDEH <> 0");
    if (!f.descriptionWord.trimmed().isEmpty()) {
        terms << QStringLiteral("DESCR LIKE :Word");
        bind(":Word", QLatin1Char('%') + f.descriptionWord.trimmed() + QLatin1Char('%'));
    }

    switch (f.confirmation) {
    case Confirmation::All: break;
    case Confirmation::Open: terms << QStringLiteral("(TIKSUDMO IS NULL OR TIKSUDMO IN ('', ' ', 'O'))"); break;
    case Confirmation::HalfConfirmed: terms << QStringLiteral("TIKSUDMO = 'R'"); break;
    case Confirmation::Confirmed:
    case Confirmation::SentToTreasury: terms << QStringLiteral("TIKSUDMO = 'P'"); break;
    case Confirmation::HalfOrConfirmed: terms << QStringLiteral("TIKSUDMO IN ('R', 'P')"); break;
    }

    return {terms.isEmpty() ? QStringLiteral("1 = 1") : terms.join(QStringLiteral(" AND ")), binds};
}

FilterSql filterSql(const DepositFilter& filter, const QString& extra)
{
    FilterSql f = filterSql(filter);
    if (!extra.isEmpty())
        f.where = QLatin1Char('(') + f.where + QStringLiteral(") AND ") + extra;
    return f;
}

FilterSql listedSql(const DepositFilter& filter, const QString& select, const QString& extra)
{
    FilterSql f = filterSql(filter, extra);
    f.where = select + QStringLiteral(" WHERE ") + f.where + QStringLiteral(" ORDER BY ") + orderSql(filter);
    return f;
}

QString orderSql(const DepositFilter& f)
{
    QStringList keys;
    bool byAmount = false;
    switch (f.order) {
    case DepositOrder::Owner: keys << QStringLiteral("TAFSILI"); break;
    case DepositOrder::Balance: keys << QStringLiteral("AMOUNT_MANDEH"); break;
    case DepositOrder::ReceiptNo: keys << QStringLiteral("SEPNO"); byAmount = true; break;
    case DepositOrder::ReceiptDate: keys << QStringLiteral("SEPDATE"); byAmount = true; break;
    case DepositOrder::Amount: keys << QStringLiteral("AMOUNT"); break;
    case DepositOrder::ChequeNo: keys << QStringLiteral("CHKNO"); byAmount = true; break;
    case DepositOrder::ChequeDate: keys << QStringLiteral("CHKDATE"); byAmount = true; break;
    case DepositOrder::Serial: keys << QStringLiteral("MOSALSAL"); byAmount = true; break;
    case DepositOrder::Row: keys << QStringLiteral("SEPROW"); break;
    case DepositOrder::Identifier: break;
    }
    if (byAmount)
        keys << QStringLiteral("AMOUNT");
    // The key last, so that the list order (and a group operation's numbering) is
    // the same at every reading.
    keys << QStringLiteral("IDX");
    const QString direction = f.descending ? QStringLiteral(" DESC") : QString();
    for (QString& k : keys)
        k += direction;
    return keys.join(QStringLiteral(", "));
}

} // namespace orvak::deposits
