#include "core/util/AmountWords.h"

namespace orvak::util {

namespace {

constexpr char16_t ZWNJ = u'\u200C';

QString w(const char16_t* s) { return QString::fromUtf16(s); }

struct Words {
    QString units[10];
    QString teens[10];     // 10..19
    QString tens[10];      // 2..9 used
    QString hundreds[10];  // 1..9 used
    QString tensJoiner;
    QString hundredsJoiner;
    QString zero;
    QString thousandWith, thousandAlone;
    QString millionWith, millionAlone;
    QString billionWith, billionAlone;

    Words()
    {
        const QString z(ZWNJ);
        const QString sp(QLatin1Char(' '));
        const char16_t* u[] = {u"يك", u"دو", u"سه", u"چهار", u"پنج", u"شش", u"هفت", u"هشت", u"نه"};
        for (int i = 1; i <= 9; ++i)
            units[i] = w(u[i - 1]) + z;
        teens[0] = w(u"ده") + sp + z;
        const char16_t* t[] = {u"يازده", u"دوازده", u"سيزده", u"چهارده", u"پانزده", u"شانزده", u"هفده", u"هيجده"};
        for (int i = 1; i <= 8; ++i)
            teens[i] = w(t[i - 1]) + z;
        teens[9] = w(u"نوزده");
        tens[2] = w(u"بيست") + sp;
        tens[3] = w(u"سي") + z + z;
        tens[4] = w(u"چهل") + sp;
        tens[5] = w(u"پنجاه");
        tens[6] = sp + w(u"شصت");
        tens[7] = w(u"هفتاد");
        tens[8] = w(u"هشتاد") + z;
        tens[9] = w(u"نود");
        const char16_t* h[] = {u"يكصد", u"دويست", u"سيصد", u"چهارصد", u"پانصد", u"ششصد", u"هفتصد", u"هشتصد", u"نهصد"};
        for (int i = 1; i <= 9; ++i)
            hundreds[i] = w(h[i - 1]);
        hundreds[2] += z;
        tensJoiner = z + z + w(u"و") + z;
        hundredsJoiner = z + w(u"و") + z;
        zero = w(u"صفر") + z;
        thousandWith = w(u"هزارو") + z + sp;
        thousandAlone = sp + w(u"هزار") + sp + z;
        millionWith = sp + w(u"ميليون و") + z + sp;
        millionAlone = sp + w(u"ميليون") + z + z + sp;
        billionWith = w(u"ميلياردو") + z + z + sp;
        billionAlone = w(u"ميليارد") + sp + z + z;
    }
};

const Words& words()
{
    static const Words table;
    return table;
}

QString groupWords(int g)
{
    const Words& W = words();
    const int h = g / 100;
    const int t = (g / 10) % 10;
    const int u = g % 10;
    const QString unitsPart = t == 1 ? W.teens[g % 100 - 10] : W.units[u];
    const QString tensWord = t >= 2 ? W.tens[t] : QString();
    const QString part = tensWord.size() > 1 ? (u != 0 ? tensWord + W.tensJoiner + unitsPart : tensWord) : unitsPart;
    const QString hundredsWord = W.hundreds[h];
    if (part.size() > 1 && hundredsWord.size() > 1)
        return hundredsWord + W.hundredsJoiner + part;
    return part + hundredsWord;
}

// Puts a higher group in front of what the lower groups already said.
QString joinHigher(const QString& higher, const QString& lower, const QString& withWord, const QString& aloneWord)
{
    return higher + (lower.isEmpty() ? aloneWord : withWord + lower);
}

} // namespace

QString AmountToWords(quint64 n)
{
    const Words& W = words();
    if (n == 0)
        return W.zero;
    QString result = groupWords(int(n % 1000));
    if (const int t = int((n % 1000000) / 1000); t > 0)
        result = joinHigher(groupWords(t), result, W.thousandWith, W.thousandAlone);
    if (const int m = int((n % 1000000000) / 1000000); m > 0)
        result = joinHigher(groupWords(m), result, W.millionWith, W.millionAlone);
    if (const quint64 b = n / 1000000000; b > 0)
        result = joinHigher(AmountToWords(b), result, W.billionWith, W.billionAlone);
    return result;
}

} // namespace orvak::util
