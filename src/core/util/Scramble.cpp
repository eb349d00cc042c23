#include "core/util/Scramble.h"

#include "core/util/CodePage1256.h"

namespace orvak::util {

std::optional<QByteArray> ScrambleBytes(const QByteArray& text, qint64 a, qint64 b)
{
    if (b == 0)
        return std::nullopt;
    const qsizetype n = text.size();
    // Pascal's mod keeps the dividend's sign; the byte is its low eight bits.
    // a mod -1 is 0; computing it would trap for the smallest a.
    const auto k = static_cast<quint8>(b == -1 ? 0 : a % b);
    const auto key = static_cast<quint8>(k ^ static_cast<quint8>(b) ^ static_cast<quint8>(n));
    QByteArray out(n, '\0');
    for (qsizetype i = 0; i < n; ++i)
        out[i] = static_cast<char>(static_cast<quint8>(text[n - 1 - i]) ^ key);
    return out;
}

std::optional<QString> ScrambleText(const QString& text, qint64 a, qint64 b)
{
    const std::optional<QByteArray> bytes = ScrambleBytes(encode1256(text).bytes, a, b);
    if (!bytes)
        return std::nullopt;
    return decode1256(*bytes);
}

} // namespace orvak::util
