#include "core/util/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvak::util {

QString normalizeDigits(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            c = QChar(u'0' + (u - 0x0660));
    }
    return out;
}

int SafeStrToInt(const QString& text)
{
    const QString t = normalizeDigits(text);
    const bool negative = t.contains(QLatin1Char('-'));
    QString digits;
    for (QChar c : t) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    digits.truncate(9);
    if (digits.isEmpty())
        return 0;
    const int n = digits.toInt();
    return negative ? -n : n;
}

std::optional<int> parseTolerantInt(const QString& text)
{
    int digits = 0;
    for (QChar c : normalizeDigits(text)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
    }
    if (digits > 9)
        return std::nullopt;
    return SafeStrToInt(text);
}

namespace {

bool isSeparator(QChar c)
{
    // Latin comma, Arabic comma, Arabic thousands separator, and spaces.
    return c == QLatin1Char(',') || c == QChar(0x060C) || c == QChar(0x066C) || c.isSpace();
}

// Adds one to a digit string.
QString incrementDigits(QString digits)
{
    int i = digits.size() - 1;
    while (i >= 0) {
        if (digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
            --i;
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
    }
    return QLatin1Char('1') + digits;
}

} // namespace

std::optional<qint64> parseWholeNumber(const QString& text)
{
    const QString t = normalizeDigits(text).trimmed();
    bool negative = false;
    QString digits;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            negative = c == QLatin1Char('-');
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits.append(c);
        } else if (!isSeparator(c)) {
            return std::nullopt;
        }
    }
    if (digits.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok);
    const qulonglong limit = negative ? qulonglong(std::numeric_limits<qint64>::max()) + 1
                                      : qulonglong(std::numeric_limits<qint64>::max());
    if (!ok || magnitude > limit)
        return std::nullopt;
    if (negative)
        return magnitude == limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    return qint64(magnitude);
}

std::optional<qint64> parseAmount(const QString& text)
{
    const QString t = normalizeDigits(text).trimmed().replace(QChar(0x066B), QLatin1Char('.'));
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return parseWholeNumber(t);
    const QString fraction = t.mid(dot + 1);
    for (QChar c : fraction) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    QString whole = t.left(dot);
    // "." or "-." alone is no amount.
    if (fraction.isEmpty() && !std::any_of(whole.cbegin(), whole.cend(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    const bool negative = whole.startsWith(QLatin1Char('-'));
    if (whole.isEmpty() || whole == QLatin1String("-") || whole == QLatin1String("+"))
        whole += QLatin1Char('0');
    std::optional<qint64> n = parseWholeNumber(whole);
    if (!n)
        return std::nullopt;
    if (!fraction.isEmpty() && fraction[0] >= QLatin1Char('5')) {
        if (negative) {
            if (*n == std::numeric_limits<qint64>::min())
                return std::nullopt;
            *n -= 1;
        } else {
            if (*n == std::numeric_limits<qint64>::max())
                return std::nullopt;
            *n += 1;
        }
    }
    return n;
}

QString groupThousands(const QString& digits)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(QLatin1Char(','));
        out.append(digits[i]);
    }
    return out;
}

QString FormatAmount(const QString& text)
{
    const QString t = normalizeDigits(text);
    QString whole;
    QChar firstFraction;
    bool inFraction = false;
    bool negative = false;
    for (QChar c : t) {
        if (c == QLatin1Char('-')) {
            negative = true;
        } else if (c == QLatin1Char('.') || c == QChar(0x066B)) {   // Arabic decimal separator too
            inFraction = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (!inFraction)
                whole.append(c);
            else if (firstFraction.isNull())
                firstFraction = c;
        }
    }
    while (whole.size() > 1 && whole[0] == QLatin1Char('0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (!firstFraction.isNull() && firstFraction >= QLatin1Char('5'))
        whole = incrementDigits(whole);
    if (whole == QLatin1String("0"))
        return {};
    return (negative ? QStringLiteral("-") : QString()) + groupThousands(whole);
}

QString FormatAmount(qint64 amount)
{
    if (amount == 0)
        return {};
    const QString digits = QString::number(amount);
    if (amount < 0)
        return QLatin1Char('-') + groupThousands(digits.mid(1));
    return groupThousands(digits);
}

QString FormatSignedAmount(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    const QString fixed = QString::number(std::fabs(value), 'f', 3);
    const int dot = fixed.indexOf(QLatin1Char('.'));
    QString whole = fixed.left(dot);
    QString fraction = fixed.mid(dot + 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (whole == QLatin1String("0"))
        whole.clear();
    QString body = groupThousands(whole);
    if (!fraction.isEmpty())
        body += QLatin1Char('.') + fraction;
    // A value that rounds to nothing is zero, whatever its sign.
    if (body.isEmpty())
        return QStringLiteral("0");
    if (body.startsWith(QLatin1Char('.')))
        body.prepend(QLatin1Char('0'));
    return value < 0 ? QLatin1Char('(') + body + QLatin1Char(')') : body;
}

bool IsValidNationalCode(const QString& text)
{
    const QString t = normalizeDigits(text);
    if (t.size() != 10)
        return false;
    for (QChar c = QLatin1Char('0'); c <= QLatin1Char('9'); c = QChar(c.unicode() + 1)) {
        if (t == QString(10, c))
            return false;
    }
    int d[10];
    for (int i = 0; i < 10; ++i)
        d[i] = SafeStrToInt(QString(t[i]));
    int s = 0;
    for (int i = 0; i < 9; ++i)
        s += (10 - i) * d[i];
    const int r = s % 11;
    return r < 2 ? d[9] == r : d[9] == 11 - r;
}

} // namespace orvak::util
