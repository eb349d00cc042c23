#include "core/letters/LetterFill.h"

#include "core/guarantees/GuaranteeCodes.h"
#include "core/letters/LetterSettings.h"
#include "core/util/AmountWords.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

namespace orvak::letters {

namespace {

using guarantees::Guarantee;

// The phrases by name, so that the values below read as the table does.
const QString ZNo = QStringLiteral("((شماره تضمين))");
const QString Type = QStringLiteral("((نوع تضمين))");
const QString Kind = QStringLiteral("((ماهيت تضمين))");
const QString Status = QStringLiteral("((وضعيت تضمين))");
const QString Party = QStringLiteral("((پيمانکار))");
const QString Issued = QStringLiteral("((تاريخ صدور))");
const QString DueNow = QStringLiteral("((سررسيد فعلي))");
const QString DueFirst = QStringLiteral("((سررسيد اوليه))");
const QString DueNew = QStringLiteral("((سررسيد جديد))");
const QString Extension = QStringLiteral("((مدت تمديد))");
const QString AmountNow = QStringLiteral("((مبلغ فعلي))");
const QString AmountFirst = QStringLiteral("((مبلغ اوليه))");
const QString AmountNew = QStringLiteral("((مبلغ جديد))");
const QString Reduction = QStringLiteral("((ميزان تقليل))");
const QString WordsNow = QStringLiteral("((مبلغ اوليه به حروف))");
const QString WordsNew = QStringLiteral("((مبلغ جديد به حروف))");
const QString Foreign = QStringLiteral("((مبلغ فعلي ارزي))");
const QString Branch = QStringLiteral("((نام شعبه))");
const QString Branch2 = QStringLiteral("((نام شعبه-2))");
const QString BranchPost = QStringLiteral("((کدپستي شعبه))");
const QString BranchTel = QStringLiteral("((تلفن شعبه))");
const QString Contract = QStringLiteral("((قرارداد))");
const QString ContractNo = QStringLiteral("((ش.قرارداد))");
const QString ContractDate = QStringLiteral("((تاريخ قرارداد))");
const QString Project = QStringLiteral("((نام پروژه))");
const QString Place = QStringLiteral("((محل نگهداري))");
const QString Voucher = QStringLiteral("((ش.سند حسابداري))");
const QString Descr = QStringLiteral("((شرح))");
const QString LetterNo = QStringLiteral("((شماره نامه))");
const QString Cancelled = QStringLiteral("((تاريخ ابطال))");
const QString Archive = QStringLiteral("((ش.بايگاني))");
const QString Enclosures = QStringLiteral("((تعداد ضمائم))");
const QString ReceivedNo = QStringLiteral("((ش.نامه دريافتي))");
const QString ReceivedDate = QStringLiteral("((تاريخ نامه دريافتي))");
const QString SecretariatNo = QStringLiteral("((ش.نامه دبيرخانه))");
const QString SecretariatDate = QStringLiteral("((تاريخ نامه دبيرخانه))");
const QString Today = QStringLiteral("((تاريخ امروز))");
const QString Office = QStringLiteral("((نام اداره))");

QString wordsOf(qint64 rials) { return rials > 0 ? util::AmountToWords(quint64(rials)) + QStringLiteral(" ريال") : QString(); }

QString foreignAmount(double v)
{
    if (!(v > 0) || !std::isfinite(v))
        return {};
    const double whole = std::floor(v);
    QString text = util::FormatAmount(qint64(whole));
    const int cents = int(std::llround((v - whole) * 100));
    if (cents > 0)
        text += QStringLiteral(".%1").arg(cents, 2, 10, QLatin1Char('0'));
    return text;
}

// Whole months from one date to another, when the day of the month is kept.
int monthsBetween(const QString& from, const QString& to)
{
    const auto a = util::parseJalali(from), b = util::parseJalali(to);
    if (!a || !b)
        return 0;
    const int months = (b->year - a->year) * 12 + (b->month - a->month);
    return months > 0 && (a->day == b->day || guarantees::addMonths(from, months) == to) ? months : 0;
}

QString nameOf(startup::Session& s, const QString& sql, int code, QString* why, const QString& column = {})
{
    if (code <= 0)
        return {};
    const auto r = db::firstRow(s.common(), sql, {{QStringLiteral(":Key"), code}, {QStringLiteral(":CI"), s.SectionCode().toInt()}});
    if (r.failed() && why->isEmpty())
        *why = r.error();
    if (!r)
        return {};
    return r->value(column.isEmpty() ? 0 : r->indexOf(column)).toString().trimmed();
}

} // namespace

const QList<Placeholder>& placeholders()
{
    static const QList<Placeholder> list = {
        {ZNo, 14},          {Type, 11},        {Kind, 11},          {Status, 11},         {Party, 12},        {Issued, 14},
        {DueNow, 14},       {DueFirst, 14},    {DueNew, 14},        {Extension, 9},       {AmountNow, 13},    {AmountFirst, 13},
        {AmountNew, 13},    {Reduction, 13},   {WordsNow, 13},      {WordsNew, 13},       {Foreign, 13},      {Branch, 12},
        {Branch2, 12},      {BranchPost, 11},  {BranchTel, 11},     {Contract, 12},       {ContractNo, 9},    {ContractDate, 14},
        {Project, 12},      {Place, 6},        {Voucher, 9},        {Descr, 12},          {LetterNo, 9},      {Cancelled, 14},
        {Archive, 6},       {Enclosures, 5},   {ReceivedNo, 9},     {ReceivedDate, 14},   {SecretariatNo, 9}, {SecretariatDate, 14},
        {Today, 14},        {Office, 12},
    };
    return list;
}

QStringList menuPlaceholders()
{
    QStringList menu;
    for (const Placeholder& p : placeholders()) {
        if (p.phrase != DueFirst && p.phrase != AmountFirst)
            menu << p.phrase;
    }
    return menu;
}

QString letterDate(const QString& stored, bool reverse)
{
    const QString d = stored.trimmed();
    const auto date = util::parseJalali(d);
    if (!date)
        return d;
    if (reverse)
        return date->toText();
    return QStringLiteral("%1/%2/%3").arg(date->day, 2, 10, QLatin1Char('0')).arg(date->month, 2, 10, QLatin1Char('0')).arg(date->year);
}

QString letterAmount(qint64 rials) { return rials > 0 ? util::FormatAmount(rials) + QStringLiteral(" ريال ") : QString(); }

db::Fetched<PlaceholderValues> placeholderValues(startup::Session& s, const Guarantee& g, const LetterInput& in)
{
    QString why;
    const bool rev = in.reverseDates;
    auto date = [&](const QString& d) { return letterDate(d, rev); };
    PlaceholderValues v;
    v[ZNo] = g.zno;
    v[Type] = guarantees::typeLabel(g.type);
    v[Kind] = guarantees::kindLabel(g.kind);
    v[Status] = guarantees::statusLabel(g.status).trimmed();
    v[Party] = nameOf(s, QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = :Key AND CI = :CI"), g.tafsilNo, &why);
    v[Issued] = date(g.sudDate);
    v[DueNow] = date(g.sarresid);
    v[DueFirst] = date(in.initialAsCurrent ? g.sarresid : g.sarresid1);
    v[DueNew] = date(in.newDue);
    const int months = in.extensionMonths > 0 ? in.extensionMonths : monthsBetween(g.sarresid, in.newDue);
    v[Extension] = guarantees::extensionWords(months);
    v[AmountNow] = letterAmount(g.amount);
    v[AmountFirst] = letterAmount(in.initialAsCurrent ? g.amount : g.amount1);
    v[AmountNew] = in.newAmount ? letterAmount(*in.newAmount) : QString();
    v[Reduction] = in.newAmount && g.amount > *in.newAmount ? letterAmount(g.amount - *in.newAmount) : QString();
    v[WordsNow] = wordsOf(g.amount);
    v[WordsNew] = in.newAmount ? wordsOf(*in.newAmount) : QString();
    const QString foreign = foreignAmount(g.amountArzi);
    v[Foreign] = foreign.isEmpty() ? QString() : foreign + QLatin1Char(' ') + guarantees::currencyWord(g.currency);
    if (g.sudBankCode > 0) {
        const auto b = db::firstRow(s.common(),
                                    QStringLiteral("SELECT b.BRANCHNAME, b.BRANCHCODE, b.POSTCODE, b.TEL, n.NAME FROM BANKBRANCHNAME b "
                                                   "LEFT JOIN BANKNAME n ON n.CODE = b.BANKID WHERE b.CODE = :Key"),
                                    {{QStringLiteral(":Key"), g.sudBankCode}});
        if (b.failed())
            why = b.error();
        if (b) {
            const QString branch = b->value(0).toString().trimmed(), code = b->value(1).toString().trimmed(), bank = b->value(4).toString().trimmed();
            // A branch's name may carry the word "شعبه" itself.
            const QString named = branch.startsWith(QStringLiteral("شعبه")) ? branch : QStringLiteral("شعبه ") + branch;
            v[Branch] = bank.isEmpty() ? named : bank + QLatin1Char(' ') + named;
            v[Branch2] = code.isEmpty() ? named : named + QStringLiteral(" (کد ") + code + QLatin1Char(')');
            v[BranchPost] = b->value(2).toString().trimmed();
            v[BranchTel] = b->value(3).toString().trimmed();
        }
    }
    const QString contractSql = QStringLiteral("SELECT DESCR, PAYMENTNO, PAYMENTDATE FROM PAYMENTS WHERE CODE = :Key AND CI = :CI");
    v[Contract] = nameOf(s, contractSql, g.payment, &why, QStringLiteral("DESCR"));
    v[ContractNo] = nameOf(s, contractSql, g.payment, &why, QStringLiteral("PAYMENTNO"));
    v[ContractDate] = date(nameOf(s, contractSql, g.payment, &why, QStringLiteral("PAYMENTDATE")));
    v[Project] = nameOf(s, QStringLiteral("SELECT NAMEP FROM PROJEH WHERE PROJNO = :Key AND CI = :CI"), g.projNo, &why);
    v[Place] = g.zemPlace;
    v[Voucher] = g.sndNo > 0 ? QString::number(g.sndNo) : QString();
    v[Descr] = g.descr;
    v[LetterNo] = g.letterNo;
    v[Cancelled] = date(g.ebtalDate);
    v[Archive] = g.zpos > 0 ? QString::number(g.zpos) : QString();
    v[Enclosures] = g.zcount > 0 ? QString::number(g.zcount) : QString();
    v[ReceivedNo] = in.receivedNo.trimmed();
    v[ReceivedDate] = date(in.receivedDate);
    QString number = in.secretariatNo.trimmed();
    if (number.isEmpty()) {
        const auto next = LetterSettings(s).nextNumber();
        if (!next)
            return db::Fetched<PlaceholderValues>::failure(next.error());
        number = next->text;
    }
    v[SecretariatNo] = number;
    v[SecretariatDate] = date(in.secretariatDate);
    v[Today] = date(s.clock().todayJalali());
    v[Office] = s.site().organisationName;
    if (!why.isEmpty())
        return db::Fetched<PlaceholderValues>::failure(why);
    return db::Fetched<PlaceholderValues>::found(v);
}

namespace {

// The value put for a phrase: its own, dots when empty; nullopt for a phrase that is
// no placeholder.
std::optional<QString> replacementOf(const QString& phrase, const PlaceholderValues& values)
{
    for (const Placeholder& p : placeholders()) {
        if (p.phrase == phrase) {
            const QString v = values.value(phrase).trimmed();
            return v.isEmpty() ? QString(p.dots, QLatin1Char('.')) : v;
        }
    }
    return std::nullopt;
}

} // namespace

QString fillPlain(const QString& text, const PlaceholderValues& values)
{
    QString out;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf(QStringLiteral("(("), from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QStringLiteral("))"), open + 2);
        if (close < 0)
            return out + text.mid(from);
        const auto value = replacementOf(text.mid(open, close + 2 - open), values);
        if (!value) {
            // "(((phrase)))" holds the phrase one letter on.
            out += text.mid(from, open + 1 - from);
            from = open + 1;
            continue;
        }
        out += text.mid(from, open - from) + *value;
        from = close + 2;
    }
}

QString fillTemplate(const QString& html, const PlaceholderValues& values)
{
    QTextDocument doc;
    doc.setHtml(html);
    // One pass from the start: a value put in is never read again as a placeholder.
    int from = 0;
    while (true) {
        QTextCursor open = doc.find(QStringLiteral("(("), from);
        if (open.isNull())
            break;
        const QTextCursor close = doc.find(QStringLiteral("))"), open.selectionEnd());
        if (close.isNull())
            break;
        QTextCursor phrase(&doc);
        phrase.setPosition(open.selectionStart());
        phrase.setPosition(close.selectionEnd(), QTextCursor::KeepAnchor);
        const auto value = replacementOf(phrase.selectedText(), values);
        if (!value) {
            from = open.selectionStart() + 1;
            continue;
        }
        // The value takes the format of the phrase's first letter.
        QTextCursor first(&doc);
        first.setPosition(open.selectionStart() + 1);
        const QTextCharFormat format = first.charFormat();
        const int start = phrase.selectionStart();
        phrase.insertText(*value, format);
        from = start + int(value->size());
    }
    return doc.toHtml();
}

} // namespace orvak::letters
