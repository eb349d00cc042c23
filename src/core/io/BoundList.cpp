#include "core/io/BoundList.h"

namespace orvak::io {

BoundList::BoundList(ListSource& source, ListDefinition definition)
    : source_(source)
    , definition_(std::move(definition))
{
    for (const ListField& f : definition_.columns) {
        ListColumn c;
        if (f.lookup) {
            auto table = std::make_shared<LookupTable>();
            tables_.push_back(table);
            c = computedColumn(f.title, f.width, [table, name = f.field](const RowSet& rows, int row) {
                return table->value(fieldValue(rows, row, name).toLongLong());
            });
        } else {
            tables_.push_back(nullptr);
            if (!f.codes.isEmpty()) {
                c = computedColumn(f.title, f.width, [codes = f.codes, name = f.field](const RowSet& rows, int row) {
                    return codes.textOf(fieldValue(rows, row, name));
                });
            } else {
                c = fieldColumn(f.field, f.title, f.width, f.format, f.total);
            }
        }
        c.visible = f.visible;
        columns_ << c;
    }
}

QSqlDatabase BoundList::database() const { return source_.listDatabase(definition_.database); }

void BoundList::readLookups()
{
    for (int c = 0; c < definition_.columns.size(); ++c) {
        if (tables_[size_t(c)])
            *tables_[size_t(c)] = definition_.columns[c].lookup(source_);
    }
}

bool BoundList::fetchAll(RowSet& rows, const QVariantMap& values, QString* error)
{
    QVariantMap binds = definition_.defaultParameters();
    for (auto it = values.begin(); it != values.end(); ++it)
        binds.insert(it.key(), it.value());
    readLookups();
    if (!rows.open(database(), definition_.sql, binds, error))
        return false;
    rows.fetchAll();
    // A list cut short is no list: it would print as if it were whole.
    if (!rows.failure().isEmpty()) {
        if (error)
            *error = rows.failure();
        return false;
    }
    return true;
}

} // namespace orvak::io
