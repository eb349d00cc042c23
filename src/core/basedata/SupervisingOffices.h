#pragma once
// The supervising offices (SARPARASTI) of a bank's branch network, each under its
// province.
#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

class SupervisingOffices : public NamedRegister {
public:
    explicit SupervisingOffices(startup::Session& session);
    static const CodedTable& table();
};

} // namespace orvak::basedata
