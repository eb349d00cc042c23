#include "core/io/ListDefinition.h"

#include <QRegularExpression>
#include <cmath>

#include "core/util/Numbers.h"

#include <algorithm>
#include <climits>

namespace orvak::io {

QString CodeTexts::textOf(const QVariant& code) const
{
    const qint64 c = code.toLongLong();
    for (const auto& [value, text] : entries) {
        if (value == c)
            return text;
    }
    return otherwise;
}

QStringList CodeTexts::texts() const
{
    QStringList out;
    for (const auto& entry : entries)
        out << entry.second;
    return out;
}

CodeTexts CodeTexts::numbered(const QStringList& texts, const QString& otherwise)
{
    CodeTexts codes;
    for (int i = 0; i < texts.size(); ++i)
        codes.entries.append({i, texts[i]});
    codes.otherwise = otherwise;
    return codes;
}

ListField dataField(const QString& name, const QString& title, int width, CellFormat format, bool total)
{
    ListField f;
    f.field = name;
    f.title = title;
    f.width = width;
    f.format = format;
    f.total = total;
    return f;
}

ListField codeField(const QString& name, const QString& title, int width, CodeTexts codes)
{
    ListField f = dataField(name, title, width);
    f.codes = std::move(codes);
    return f;
}

ListField lookupField(const QString& name, const QString& title, int width, LookupReader lookup)
{
    ListField f = dataField(name, title, width);
    f.lookup = std::move(lookup);
    return f;
}

QVariantMap ListDefinition::defaultParameters() const
{
    QVariantMap values;
    for (const ListParameter& p : parameters)
        values.insert(p.name, p.value);
    return values;
}

const ListParameter* ListDefinition::parameter(const QString& name) const
{
    const QString wanted = name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
    for (const ListParameter& p : parameters) {
        if (p.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

bool ListDefinition::hasTotals() const
{
    return std::any_of(columns.begin(), columns.end(), [](const ListField& c) { return c.total; });
}

std::optional<QVariant> parameterValue(const ListParameter& parameter, const QString& text)
{
    switch (parameter.value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const std::optional<qint64> n = util::parseWholeNumber(text);
        if (!n)
            return std::nullopt;
        if (parameter.value.typeId() == QMetaType::Int)
            return *n >= INT_MIN && *n <= INT_MAX ? std::optional<QVariant>(int(*n)) : std::nullopt;
        return QVariant(*n);
    }
    case QMetaType::Double: {
        // Plain decimals only: an exponent, inf or nan is no amount a list filters on.
        static const QRegularExpression plain(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)$"));
        const QString t = util::normalizeDigits(text).trimmed();
        bool ok = false;
        const double d = plain.match(t).hasMatch() ? t.toDouble(&ok) : 0.0;
        return ok && std::isfinite(d) ? std::optional<QVariant>(d) : std::nullopt;
    }
    default:
        return QVariant(text);
    }
}

QVariant fieldValue(const RowSet& rows, int row, const QString& field)
{
    const int f = rows.fieldIndex(field);
    return f >= 0 ? rows.value(row, f) : QVariant();
}

} // namespace orvak::io
