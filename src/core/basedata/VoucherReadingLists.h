#pragma once
// The saved criteria of reading deposits from vouchers (List4Get), for their screen,
// orvakctl list and reports.
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

io::ListDefinition savedReadingCriteriaList();

QList<io::ListDefinition> voucherReadingLists();

} // namespace orvak::basedata
