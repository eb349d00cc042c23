#include "ui/basedata/VoucherReadingScreens.h"

namespace orvak::ui::basedata {

// Placeholders until the reading screen is built.
std::optional<VoucherReadingOutcome> readDepositsFromVouchers(QWidget*, orvak::startup::Session&, int, int, qint64)
{
    return std::nullopt;
}
std::optional<orvak::deposits::ReceiptSerial> askReceiptSerial(QWidget*, orvak::startup::Session&) { return std::nullopt; }

} // namespace orvak::ui::basedata
