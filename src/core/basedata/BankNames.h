#pragma once
// The names of the banks (BANKNAME) that accounts and branches are kept with.
#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

class BankNames : public NamedRegister {
public:
    explicit BankNames(startup::Session& session);
    static const CodedTable& table();
};

} // namespace orvak::basedata
