#pragma once
// The rules of a run of deposit receipts before the register numbers deposits with it.
#include "core/deposits/ReceiptSerial.h"

namespace orvak::deposits {

// The message that refuses the run, empty when it can be used.
QString checkReceiptSerial(const deposits::ReceiptSerial& serial);
// The next number once the first one is typed: the first, unless the next already
// lies within first .. last.
qint64 nextAfterFirst(const deposits::ReceiptSerial& serial);

} // namespace orvak::deposits
