#pragma once
// A list definition on the running installation: the database it reads, resolved
// through the list's source (the session), and its columns as the list frame shows them, with the
// coded and looked-up columns computed from the row.
#include "core/io/ListDefinition.h"

#include <memory>
#include <vector>

namespace orvak::io {

class BoundList {
public:
    BoundList(ListSource& source, ListDefinition definition);

    const ListDefinition& definition() const { return definition_; }
    QSqlDatabase database() const;
    // The columns, computed ones reading the lookup tables that readLookups fills.
    const QList<ListColumn>& columns() const { return columns_; }
    // Reads every lookup again: names of rows added since the last reading show.
    void readLookups();

    // Runs the query with the values (the defaults for those not given), every row
    // fetched; false with the database's message.
    bool fetchAll(RowSet& rows, const QVariantMap& values, QString* error = nullptr);

private:
    ListSource& source_;
    ListDefinition definition_;
    QList<ListColumn> columns_;
    std::vector<std::shared_ptr<LookupTable>> tables_;   // per column; null without lookup
};

} // namespace orvak::io
