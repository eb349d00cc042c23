#pragma once
// The places where projects are carried out (CENTERS), one list for every section.
#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

class Centres : public NamedRegister {
public:
    explicit Centres(startup::Session& session);
    static const CodedTable& table();
};

} // namespace orvak::basedata
