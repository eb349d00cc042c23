#include "core/util/Iban.h"

#include "core/util/Numbers.h"

namespace orvak::util {

QString compactIban(const QString& text)
{
    QString out;
    for (QChar c : normalizeDigits(text)) {
        if (c.isSpace() || c == QLatin1Char('-') || c.unicode() == 0x200C)
            continue;
        out.append(c.toUpper());
    }
    return out;
}

bool IsValidIban(const QString& text)
{
    const QString iban = compactIban(text);
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    for (int i = 0; i < iban.size(); ++i) {
        const QChar c = iban[i];
        const bool letter = c >= QLatin1Char('A') && c <= QLatin1Char('Z');
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (i < 2 ? !letter : (i < 4 ? !digit : !(letter || digit)))
            return false;
    }
    if (iban.startsWith(QLatin1String("IR")) && iban.size() != 26)
        return false;
    // The first four characters go to the end; letters count as 10..35.
    const QString moved = iban.mid(4) + iban.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int v = c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10;
        rest = v >= 10 ? (rest * 100 + v) % 97 : (rest * 10 + v) % 97;
    }
    return rest == 1;
}

QString ibanOfIran(const QString& stored)
{
    const QString compact = compactIban(stored);
    return compact.startsWith(QLatin1String("IR")) ? compact : QStringLiteral("IR") + compact;
}

QString ibanBankCode(const QString& iban)
{
    const QString compact = compactIban(iban);
    if (!compact.startsWith(QLatin1String("IR")) || compact.size() < 7)
        return {};
    return compact.mid(4, 3);
}

QString ibanBankName(const QString& bankCode)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("010"), QStringLiteral("بانک مرکزي")},
        {QStringLiteral("011"), QStringLiteral("صنعت و معدن")},
        {QStringLiteral("012"), QStringLiteral("ملت")},
        {QStringLiteral("013"), QStringLiteral("رفاه کارگران")},
        {QStringLiteral("014"), QStringLiteral("مسکن")},
        {QStringLiteral("015"), QStringLiteral("سپه")},
        {QStringLiteral("016"), QStringLiteral("کشاورزي")},
        {QStringLiteral("017"), QStringLiteral("ملي")},
        {QStringLiteral("018"), QStringLiteral("تجارت")},
        {QStringLiteral("019"), QStringLiteral("صادرات")},
        {QStringLiteral("020"), QStringLiteral("توسعه صادرات")},
        {QStringLiteral("021"), QStringLiteral("پست بانک")},
        {QStringLiteral("022"), QStringLiteral("توسعه تعاون")},
        {QStringLiteral("051"), QStringLiteral("موسسه اعتباري توسعه")},
        {QStringLiteral("053"), QStringLiteral("کارآفرين")},
        {QStringLiteral("054"), QStringLiteral("پارسيان")},
        {QStringLiteral("055"), QStringLiteral("اقتصاد نوين")},
        {QStringLiteral("056"), QStringLiteral("سامان")},
        {QStringLiteral("057"), QStringLiteral("پاسارگاد")},
        {QStringLiteral("058"), QStringLiteral("سرمايه")},
        {QStringLiteral("059"), QStringLiteral("سينا")},
        {QStringLiteral("060"), QStringLiteral("قرض الحسنه مهر ايران")},
        {QStringLiteral("061"), QStringLiteral("شهر")},
        {QStringLiteral("062"), QStringLiteral("آينده")},
        {QStringLiteral("064"), QStringLiteral("گردشگري")},
        {QStringLiteral("065"), QStringLiteral("حکمت ايرانيان")},
        {QStringLiteral("066"), QStringLiteral("دي")},
        {QStringLiteral("069"), QStringLiteral("ايران زمين")},
        {QStringLiteral("070"), QStringLiteral("قرض الحسنه رسالت")},
        {QStringLiteral("073"), QStringLiteral("موسسه اعتباري کوثر")},
        {QStringLiteral("075"), QStringLiteral("موسسه اعتباري ملل")},
        {QStringLiteral("078"), QStringLiteral("خاورميانه")},
        {QStringLiteral("095"), QStringLiteral("ايران و ونزوئلا")},
    };
    return names.value(bankCode);
}

} // namespace orvak::util
