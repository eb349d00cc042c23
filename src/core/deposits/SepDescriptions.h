#pragma once
// The standard descriptions of deposits (SEPDESCR) the entry form offers: codes and
// names, a new code the largest + 1.
#include "core/basedata/NamedRegister.h"
#include "core/io/ListDefinition.h"

namespace orvak::deposits {

class SepDescriptions : public basedata::NamedRegister {
public:
    explicit SepDescriptions(startup::Session& session);
    static const basedata::CodedTable& table();
    // Every name by code; a failed read is told apart from none.
    db::Fetched<QList<std::pair<qint64, QString>>> names() const;
};

// "شرح هاي استاندارد سپرده ها"
io::ListDefinition sepDescriptionsList();
QList<io::ListDefinition> sepDescriptionLists();

} // namespace orvak::deposits
