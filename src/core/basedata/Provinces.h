#pragma once
// The provinces (OSTAN) the supervising offices of the branch network sit in.
#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

class Provinces : public NamedRegister {
public:
    explicit Provinces(startup::Session& session);
    static const CodedTable& table();
};

} // namespace orvak::basedata
