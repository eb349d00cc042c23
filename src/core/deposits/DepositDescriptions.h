#pragma once
// The standard descriptions of received deposits (SEPDESCR, "TViewSepDescr"), and
// what the entry form's description box offers: these by code, then the fixed
// phrases.
#include "core/basedata/NamedRegister.h"
#include "core/io/ListDefinition.h"

namespace orvak::deposits {

class DepositDescriptions : public basedata::NamedRegister {
public:
    explicit DepositDescriptions(startup::Session& session);
    static const basedata::CodedTable& table();

    db::Fetched<QStringList> choices() const;
};

io::ListDefinition depositDescriptionsList();

} // namespace orvak::deposits
