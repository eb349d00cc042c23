#pragma once
// The declared lists by name, for orvakctl and the tests. The catalogue knows no
// subsystem: each adds its lists from the top of the program (core/CoreLists), as
// each screen subsystem registers its screens.
#include "core/io/ListDefinition.h"

namespace orvak::io {

class ListCatalogue {
public:
    // A subsystem's lists; a name given twice is a fault of the program (the later
    // one would never be found), so it is refused loudly.
    void add(const QList<ListDefinition>& lists);

    const QList<ListDefinition>& all() const { return lists_; }
    std::optional<ListDefinition> find(const QString& name) const;
    QStringList names() const;

private:
    QList<ListDefinition> lists_;
};

} // namespace orvak::io
