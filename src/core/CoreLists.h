#pragma once
// Every subsystem's declared lists, registered once: orvakctl list and the tests
// read them from here.
#include "core/io/ListCatalogue.h"

namespace orvak {

// Calls each subsystem's registration in turn; a new subsystem adds its call here.
void registerAllLists(io::ListCatalogue& catalogue);

// The program's catalogue, filled on first use.
const io::ListCatalogue& coreLists();

} // namespace orvak
