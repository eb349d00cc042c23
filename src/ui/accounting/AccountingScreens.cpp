#include "ui/accounting/AccountingScreens.h"

namespace orvak::ui::accounting {

// Placeholders until the screens are built.
Pick pickGeneralLedger(QWidget*, Session&) { return std::nullopt; }
Pick pickSubsidiaryLedger(QWidget*, Session&, int) { return std::nullopt; }
void showVoucher(QWidget*, Session&, int) {}
std::optional<FoundVoucherRow> searchVouchers(QWidget*, Session&, const VoucherSearchPreset&) { return std::nullopt; }
QWidget* makeVoucherSearchScreen(Session&, QWidget* parent) { return new QWidget(parent); }
std::optional<MonthChoice> pickMonth(QWidget*, Session&) { return std::nullopt; }
std::optional<VoucherIssue> issueVoucher(QWidget*, Session&, const VoucherIssueRequest&, const PostVoucher&) { return std::nullopt; }

} // namespace orvak::ui::accounting
