#include "core/statements/StatementDates.h"

#include "core/util/Jalali.h"

namespace orvak::statements {

int fullYear(int twoDigits) { return twoDigits >= FirstWindowYear % 100 ? 1300 + twoDigits : 1400 + twoDigits; }

std::optional<QString> storedDate(const QString& full)
{
    if (full.size() != 10 || full[4] != QLatin1Char('/') || full[7] != QLatin1Char('/'))
        return std::nullopt;
    bool ok = false;
    const int year = full.left(4).toInt(&ok);
    if (!ok || year < FirstWindowYear || year > LastWindowYear)
        return std::nullopt;
    return full.mid(2);
}

std::optional<QString> fullDate(const QString& stored)
{
    const QString s = stored.trimmed();
    if (s.size() != 8 || s[2] != QLatin1Char('/') || s[5] != QLatin1Char('/'))
        return std::nullopt;
    bool ok = false;
    const int yy = s.left(2).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return QString::number(fullYear(yy)) + s.mid(2);
}

namespace {

// The bounds of from..to as one or two stored ranges.
struct Bounds {
    QString from1, to1, from2, to2;
};

Bounds boundsOf(const QString& from, const QString& to)
{
    const QString a = storedDate(from).value_or(QStringLiteral("~"));
    const QString b = storedDate(to).value_or(QString());
    const bool crosses = from.left(2) != to.left(2);
    if (!crosses)
        return {a, b, QStringLiteral("~"), QString()};
    // 13xx up to the end of its century, then 14xx from its beginning.
    return {a, QStringLiteral("99/99/99"), QStringLiteral("00/00/00"), b};
}

} // namespace

QString storedRangeTemplate(const QString& column)
{
    return QStringLiteral("((%1 >= :F1 AND %1 <= :T1) OR (%1 >= :F2 AND %1 <= :T2))").arg(column);
}

QVariantMap storedRangeBounds(const QString& from, const QString& to)
{
    const Bounds b = boundsOf(from, to);
    return {{QStringLiteral(":F1"), b.from1}, {QStringLiteral(":T1"), b.to1}, {QStringLiteral(":F2"), b.from2}, {QStringLiteral(":T2"), b.to2}};
}

QString storedRangeSql(const QString& column, const QString& from, const QString& to, QVariantMap& binds, const QString& prefix)
{
    const Bounds b = boundsOf(from, to);
    const QString f1 = prefix + QStringLiteral("F1"), t1 = prefix + QStringLiteral("T1");
    binds.insert(f1, b.from1);
    binds.insert(t1, b.to1);
    if (b.to2.isEmpty())
        return QStringLiteral("(%1 >= %2 AND %1 <= %3)").arg(column, f1, t1);
    const QString f2 = prefix + QStringLiteral("F2"), t2 = prefix + QStringLiteral("T2");
    binds.insert(f2, b.from2);
    binds.insert(t2, b.to2);
    return QStringLiteral("((%1 >= %2 AND %1 <= %3) OR (%1 >= %4 AND %1 <= %5))").arg(column, f1, t1, f2, t2);
}

QString storedOrderSql(const QString& column)
{
    return QStringLiteral("CASE WHEN %1 < '%2' THEN 1 ELSE 0 END, %1").arg(column).arg(FirstWindowYear % 100);
}

QString monthStart(int year, int month) { return QStringLiteral("%1/%2/01").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')); }
QString monthEnd(int year, int month) { return QStringLiteral("%1/%2/31").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')); }

QString monthRangeProblem(int fromYear, int fromMonth, int toYear, int toMonth)
{
    if (fromMonth < 1 || fromMonth > 12 || toMonth < 1 || toMonth > 12)
        return QStringLiteral("ماه محدوده تاريخ درست نيست");
    if (fromYear < FirstWindowYear || fromYear > LastWindowYear || toYear < FirstWindowYear || toYear > LastWindowYear)
        return QStringLiteral("سال محدوده تاريخ بايد از %1 تا %2 باشد").arg(FirstWindowYear).arg(LastWindowYear);
    if (toYear * 100 + toMonth < fromYear * 100 + fromMonth)
        return QStringLiteral("پايان محدوده تاريخ پيش از آغاز آن است");
    return {};
}

} // namespace orvak::statements
