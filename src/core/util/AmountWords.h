#pragma once
#include <QString>

namespace orvak::util {

// The amount in Persian words as cheques, letters and receipts print it. The words,
// joiners and spaces are the family's own and must stay as they are: printed
// documents of earlier years are compared against them.
QString AmountToWords(quint64 n);

} // namespace orvak::util
