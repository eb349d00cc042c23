#include "core/io/ListCatalogue.h"

#include <QtGlobal>

namespace orvak::io {

void ListCatalogue::add(const QList<ListDefinition>& lists)
{
    for (const ListDefinition& d : lists) {
        if (find(d.name))
            qFatal("list %s declared twice", qPrintable(d.name));
        lists_ << d;
    }
}

std::optional<ListDefinition> ListCatalogue::find(const QString& name) const
{
    for (const ListDefinition& d : lists_) {
        if (d.name == name)
            return d;
    }
    return std::nullopt;
}

QStringList ListCatalogue::names() const
{
    QStringList names;
    for (const ListDefinition& d : lists_)
        names << d.name;
    return names;
}

} // namespace orvak::io
