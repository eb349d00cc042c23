#pragma once
// Reading and showing the numbers users type: amounts in rials, codes, counts.
// Every reader accepts Persian and Arabic-Indic digits as well as ASCII ones.
#include <QString>
#include <optional>

namespace orvak::util {

// Persian (U+06F0..) and Arabic-Indic (U+0660..) digits become ASCII digits.
QString normalizeDigits(const QString& text);

// Tolerant reading of a typed whole number: "-" anywhere makes it negative, every
// other character but a digit is dropped, only the first nine digits count, and a
// text without digits is 0.
int SafeStrToInt(const QString& text);

// SafeStrToInt's reading where cutting must not go unnoticed: nullopt when the text
// has more than nine digits, whose rest SafeStrToInt would drop.
std::optional<int> parseTolerantInt(const QString& text);

// Strict reading for places where a wrong number must be refused, not guessed:
// optional sign, digits (thousands separators allowed), nothing else; nullopt for
// anything else, an empty text or a value beyond 64 bits.
std::optional<qint64> parseWholeNumber(const QString& text);

// An amount as typed in an amount field: optional sign, digits with separators and
// spaces, Persian digits, a fraction (after "." or the Arabic decimal separator)
// rounded to the rial, half away from zero. Anything else (exponents, letters, a
// second sign, no digit at all) and amounts beyond 64 bits of rials are nullopt.
std::optional<qint64> parseAmount(const QString& text);

// "#,###" of the number in the text (stray characters removed, rounded to whole
// rials); zero gives an empty text. Works on the digits themselves, so no length of
// input can overflow it.
QString FormatAmount(const QString& text);
QString FormatAmount(qint64 amount);

// "#,###.###" with a negative value in parentheses; zero is "0".
QString FormatSignedAmount(double value);

// Thousands grouping of a plain digit string ("1234567" -> "1,234,567").
QString groupThousands(const QString& digits);

// The check digit rule of a natural person's ten-digit national code.
bool IsValidNationalCode(const QString& text);

} // namespace orvak::util
