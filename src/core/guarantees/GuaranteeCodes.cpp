#include "core/guarantees/GuaranteeCodes.h"

#include "core/util/Jalali.h"

#include <QCoreApplication>

namespace orvak::guarantees {

namespace {

QList<LedgerCoded> coded(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    QList<LedgerCoded> list;
    for (const auto& [ledger, label] : entries)
        list.append({QString::fromLatin1(ledger), QString::fromUtf8(label)});
    return list;
}

QStringList texts(std::initializer_list<const char*> entries)
{
    QStringList list;
    for (const char* e : entries)
        list << QString::fromUtf8(e);
    return list;
}

template <class T>
QString at(const QList<T>& list, int i, QString T::*field)
{
    return i >= 0 && i < list.size() ? list[i].*field : QString();
}

io::CodeTexts numberedOf(const QList<LedgerCoded>& list)
{
    QStringList labels;
    for (const LedgerCoded& e : list)
        labels << e.label;
    return io::CodeTexts::numbered(labels);
}

} // namespace

const QList<LedgerCoded>& guaranteeTypes()
{
    static const QList<LedgerCoded> list = coded({
        {"131000001", "ضمانت نامه بانكي"},
        {"131000001", "ضمانت نامه ساير موسسات اعتباري داراي مجوز"},
        {"131000013", "واريز نامه هاي ارزي صادراتي"},
        {"131000013", "مطالبات قانوني قطعي شده"},
        {"131000009", "وثيقه ملكي"},
        {"131000006", "اوراق قرضه دولتي"},
        {"131000007", "اسناد خزانه"},
        {"131000008", "اوراق مشاركت"},
        {"131000013", "سهام شركتهاي سهامي عام پذيرفته شده در بورس"},
        {"131000013", "اوراق بهادار"},
        {"131000013", "مطالبات مهندسان مشاور"},
        {"131000004", "سفته"},
        {"131000003", "بيمه نامه يا ضمانتنامه موسسات بيمه"},
        {"131000002", "وجه نقد واريزي /فيش هاي نقدي"},
        {"131000013", "چک بانکي"},
        {"131000013", "چک شخصي"},
        {"131000002", "سفته و چک"},
        {"131000011", "سند مالکيت 6 دانگ منزل/اموال ودارائيهاي پيمانکار"},
        {"131000011", "سند مالکيت زمين کشاورزي"},
        {"131000010", "ضمانتنامه صندوق هاي ضمانت دولتي"},
        {"131000012", "ضمانتنامه کتبي دانشگاهها و موسسات پژوهشي"},
        {"131000005", "گواهي خالص مطالبات قطعي قراردادها"},
    });
    return list;
}

const QList<LedgerCoded>& guaranteeKinds()
{
    static const QList<LedgerCoded> list = coded({
        {"132000003", "شركت در مناقصه"},
        {"132000002", "حسن اجراي تعهدات"},
        {"132000005", "كسور(استرداد)وجه الضمان"},
        {"132000001", "دريافت پيش پرداخت"},
        {"132000004", "حسن انجام کار"},
        {"132000005", "آزاد سازي اسناد و مدارک"},
        {"132000005", "تضمين استعلام"},
        {"132000005", "تضمين پرداخت اقساط"},
        {"132000005", "نامشخص"},
        {"132000005", "تضمين ماشين آلات تحويلي"},
        {"132000005", "ضمانت وام کارکنان"},
    });
    return list;
}

const QStringList& statusLabels()
{
    static const QStringList list = texts({
        "معتبر", "تمديد", "تقليل", "ابطال", "ضبط", "تقليل و تمديد", "صدور", "درخواستصدور", " تائيد", "درخواست تاييد",
        "درخواست تمديد", "درخواست تقليل", "درخواست ابطال", "درخواست تقليل و تمديد", "در خواست ضبط", "ابطال موقت", "امانت",
        "انتقال", "پايان", "استرداد", "بازداشتي", "اصلاح شود", "جاري", "رفع توقيف", "درخواست رفع توقيف",
    });
    return list;
}

const QStringList& currencyNames()
{
    static const QStringList list = texts({
        "ريال", "دلار آمريکا", "يورو", "فرانک سوئيس", "پوند انگليس", "ين ژاپن", "درهم عمارات", "لير ترکيه", "روبل روسيه",
        "ريال عمان", "ريال قطر", "دينار کويت", "دينار بحرين", "رينگيت مالزي", "کرون سوئد", "کرون نروژ", "کرون دانمارک",
        "دلار استراليا", "دلار کانادا", "دلار سنگاپور", "دلار هنگ کنگ", "ريال عربستان",
    });
    return list;
}

QString typeLabel(int type) { return at(guaranteeTypes(), type, &LedgerCoded::label); }
QString kindLabel(int kind) { return at(guaranteeKinds(), kind, &LedgerCoded::label); }
QString statusLabel(int status) { return statusLabels().value(status); }
QString currencyName(int currency) { return currencyNames().value(currency); }
QString typeLedger(int type) { return at(guaranteeTypes(), type, &LedgerCoded::ledger); }
QString kindLedger(int kind) { return at(guaranteeKinds(), kind, &LedgerCoded::ledger); }

QString typeChoiceText(int type)
{
    const QString label = typeLabel(type);
    return label.isEmpty() ? QString() : typeLedger(type) + QStringLiteral(") ") + label;
}

QString kindChoiceText(int kind)
{
    const QString label = kindLabel(kind);
    return label.isEmpty() ? QString() : QStringLiteral("%1)%2: %3").arg(kind + 1, 2, 10, QLatin1Char('0')).arg(kindLedger(kind), label);
}

QString typeHint() { return QStringLiteral("انواع  تضمين طبق تبصره 2 بند ل"); }

QString currencyWord(int currency)
{
    static const QStringList words = texts({"ريال", "دلار", "يورو", "فرانک", "پوند"});
    if (currency >= 0 && currency < words.size())
        return words[currency];
    return currencyName(currency);
}

bool typeHasBranch(int type) { return type == 0 || type == 1 || type == 11 || (type >= 13 && type <= 16); }

io::CodeTexts typeCodeTexts() { return numberedOf(guaranteeTypes()); }
io::CodeTexts kindCodeTexts() { return numberedOf(guaranteeKinds()); }
io::CodeTexts statusCodeTexts() { return io::CodeTexts::numbered(statusLabels()); }
io::CodeTexts currencyCodeTexts() { return io::CodeTexts::numbered(currencyNames()); }

const QList<Duration>& dueDurations()
{
    static const QList<Duration> list = {
        {QStringLiteral("سه ماهه"), 3},  {QStringLiteral("شش ماهه"), 6},   {QStringLiteral("نه ماهه"), 9},
        {QStringLiteral("يك ساله"), 12}, {QStringLiteral("15 ماهه"), 15}, {QStringLiteral("يك سال و نيم(18 ماه)"), 18},
        {QStringLiteral("21 ماهه"), 21}, {QStringLiteral("دو ساله"), 24},
    };
    return list;
}

QString otherDurationText() { return QStringLiteral("ساير"); }
QString monthsQuestionText() { return QStringLiteral("تعداد ماهها را وارد كنيد"); }
QString noIssueDateText() { return QStringLiteral("تاريخ صدور وارد نشده است"); }

std::optional<QString> addMonths(const QString& date, int months)
{
    const std::optional<util::JalaliDate> d = util::parseJalali(date);
    if (!d || months < 1 || months > 1200)
        return std::nullopt;
    const int total = d->month - 1 + months;
    util::JalaliDate due{d->year + total / 12, total % 12 + 1, d->day};
    due.day = std::min(due.day, util::jalaliMonthLength(due.year, due.month));
    return due.toText();
}

const QStringList& dueWindowTexts()
{
    static const QStringList list = texts({"دلخواه", "تا 15 روز ديگر", "يك ماه ديگر", "يك ماه و نيم ديگر", "دو ماه ديگر", "دو ماه و نيم ديگر", "سه ماه ديگر"});
    return list;
}

std::optional<QString> addDueWindow(const QString& start, int entry)
{
    if (entry < 1 || entry > 6)
        return std::nullopt;
    const auto d = util::parseJalali(start);
    if (!d)
        return std::nullopt;
    QString end = d->toText();
    if (entry / 2 > 0) {
        const auto moved = addMonths(end, entry / 2);
        if (!moved)
            return std::nullopt;
        end = *moved;
    }
    if (entry % 2 == 1) {
        const QDate g = util::toGregorian(*util::parseJalali(end)).addDays(15);
        end = util::toJalali(g).toText();
    }
    return end;
}

const QList<AdvanceRate>& advanceRates()
{
    static const QList<AdvanceRate> list = {
        {QStringLiteral("8% پيمان"), 80}, {QStringLiteral("14.5% پيمان"), 145}, {QStringLiteral("20% پيمان"), 200}};
    return list;
}

qint64 advanceValue(qint64 contractAmount, int perThousand)
{
    if (contractAmount <= 0 || perThousand <= 0)
        return 0;
    // Whole numbers throughout: amount × rate / 1000 rials, then down to thousands.
    const __int128 rials = __int128(contractAmount) * perThousand / 1000;
    return qint64(rials / 1000 * 1000);
}

QString extensionWords(int months)
{
    switch (months) {
    case 3: return QStringLiteral("سه ماه");
    case 6: return QStringLiteral("شش ماه");
    case 9: return QStringLiteral("نه ماه");
    case 12: return QStringLiteral("يک سال");
    default: return months > 0 ? QStringLiteral("%1 ماه").arg(months) : QString();
    }
}

} // namespace orvak::guarantees
