#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace orvak::util {

// The family's reversible scrambling of stored passwords: the text reversed and
// every byte XORed with one constant made of a, b and the length. It works on the
// 1256 bytes of the text, as the stored files and columns hold them. b = 0 is
// refused (nullopt).
std::optional<QByteArray> ScrambleBytes(const QByteArray& text, qint64 a, qint64 b);
std::optional<QString> ScrambleText(const QString& text, qint64 a, qint64 b);

} // namespace orvak::util
