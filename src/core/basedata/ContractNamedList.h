#pragma once
// The executors (MOJRI) and supervisors (NAZER) of contracts: short lists of codes
// and names shared by every section, new code largest + 1, held while a contract
// of any section names them.
#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

class ContractNamedList : public NamedRegister {
public:
    enum Which { Executors, Supervisors };
    ContractNamedList(startup::Session& session, Which which);
    static const CodedTable& table(Which which);
};

} // namespace orvak::basedata
