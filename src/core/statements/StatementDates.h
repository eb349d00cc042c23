#pragma once
// SURATHESAB keeps a line's date as 'YY/MM/DD' (eight characters), the form the
// family's other programs read. Its century is fixed by a window of a hundred years,
// 1380 to 1479: every comparison and order goes through these helpers, so a range
// from 1399/12 to 1400/01 finds both months and 1400 sorts after 1399.
#include <QString>
#include <QVariantMap>
#include <optional>

namespace orvak::statements {

inline constexpr int FirstWindowYear = 1380;
inline constexpr int LastWindowYear = 1479;

// The four-digit year of a two-digit one (80..99: 13xx, 00..79: 14xx).
int fullYear(int twoDigits);
// 'YY/MM/DD' of a date YYYY/MM/DD inside the window; nullopt outside it.
std::optional<QString> storedDate(const QString& fullDate);
// YYYY/MM/DD of a stored 'YY/MM/DD'; nullopt when it is not of that form.
std::optional<QString> fullDate(const QString& stored);

// A condition on a stored date column for the dates from..to (YYYY/MM/DD, both in
// the window): one text range, or two when the range crosses 1399/1400. The names
// of the four parameters start with prefix; they are added to binds.
QString storedRangeSql(const QString& column, const QString& from, const QString& to, QVariantMap& binds,
                       const QString& prefix = QStringLiteral(":Rng"));
// The same as fixed text with two pairs of bounds, for a list whose query is
// declared once: (col >= :F1 AND col <= :T1) OR (col >= :F2 AND col <= :T2).
QString storedRangeTemplate(const QString& column);
// The bounds of that template for from..to.
QVariantMap storedRangeBounds(const QString& from, const QString& to);
// ORDER BY terms that sort stored dates in calendar order.
QString storedOrderSql(const QString& column);

// The first and last day of a range of months: YYYY/MM/01 .. YYYY/MM/31.
QString monthStart(int year, int month);
QString monthEnd(int year, int month);
// Why a range of months cannot be read (empty when it can): a month outside 1..12,
// a year outside the window, an end before the start.
QString monthRangeProblem(int fromYear, int fromMonth, int toYear, int toMonth);

} // namespace orvak::statements
