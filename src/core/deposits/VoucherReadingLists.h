#pragma once
// The lists of reading deposits from vouchers: the rows of the last reading
// (TEMPREADSND) with their parties' names, and the saved criteria (List4Get).
#include "core/io/ListDefinition.h"

namespace orvak::deposits {

io::ListDefinition readRowsList();
io::ListDefinition savedReadingCriteriaList();

QList<io::ListDefinition> voucherReadingLists();

} // namespace orvak::deposits
