#include "core/deposits/ReceivedDeposits.h"

// Placeholder bodies: the interface the screens build on; the rules follow.
namespace orvak::deposits {

QString writeRefusalText() { return QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"); }
QString notEnoughText() { return QStringLiteral("اطلاعات كافي نيست"); }
QString oneMonthOnlyText() { return QStringLiteral("اين عمليات فقط براي سپرده هاي يک ماه قابل انجام است"); }
QString chooseOneMonthText() { return QStringLiteral("ابتدا سپرده هاي دريافتي يک ماه خاص را انتخاب کنيد"); }
QString finalDataText() { return QStringLiteral("اطلاعات قطعي است و نمي تواند تغيير كند"); }
QString alreadyConfirmedText() { return QStringLiteral("توجه داشته باشيد که قبض سپرده قبلا با صورتحساب  بانک تائيد شده است"); }
QString nextStatementMark(const QString& mark) { return mark; }
int nextControlMark(int mark) { return mark; }

ReceivedDeposits::ReceivedDeposits(startup::Session& session) : session_(session) {}

bool ReceivedDeposits::mayWrite(startup::Prompt& prompt) const { return false; }
bool ReceivedDeposits::mayWrite() const { return false; }
db::Fetched<Deposit> ReceivedDeposits::read(int idx) const { return db::Fetched<Deposit>::none(); }
db::Fetched<Deposit> ReceivedDeposits::newDeposit(const DepositFilter& filter, int currentIdx) const { return db::Fetched<Deposit>::none(); }
std::optional<qint64> ReceivedDeposits::amountOf(const QString& text) { return std::nullopt; }
std::optional<qint64> ReceivedDeposits::chequeNoOf(const QString& text, QString* why) { return std::nullopt; }
std::optional<int> ReceivedDeposits::save(const Deposit& deposit, bool insert, startup::Prompt& prompt) { return std::nullopt; }
Outcome ReceivedDeposits::remove(int idx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::moveYearMonth(int idx, int year, int month, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::stepStatement(int idx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::toggleControl(int idx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::assignReceiptNumber(int idx, const QString& date, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::setRequested(int idx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::setCreditNumber(int idx, int besNo, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::setEmptyField(int idx, EmptyField field, int value, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::moveToMonth(int idx, const MonthTarget& target, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::applyVoucherRow(int idx, const accounting::VoucherRow& row, VoucherMatch match, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::ownerFromVoucher(int idx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::confirmAll(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::invertAll(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::confirmHalfAll(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::unconfirmAll(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::makeFinal(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::undoFinal(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::prepareDraft(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::removeAll(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::serialReceipts(const DepositFilter& filter, const ReceiptSerial& serial, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::renumberFrom(const DepositFilter& filter, int currentIdx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::receiptFromCheque(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::numberRows(const DepositFilter& filter, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::moveAllToMonth(const DepositFilter& filter, const MonthTarget& target, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::setOwnerAll(const DepositFilter& filter, int owner, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::sendToTreasury(const DepositFilter& filter, int letterIdx, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::assignCreditAll(const DepositFilter& filter, int letterIdx, startup::Prompt& prompt) { return {}; }
db::Fetched<CreditRef> ReceivedDeposits::creditOf(int idx) const { return db::Fetched<CreditRef>::none(); }
Outcome ReceivedDeposits::applyCredit(const QList<int>& idxs, const CreditRef& credit, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::recomputeBalances(startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::issueReceiptVoucher(const DepositFilter& filter, const VoucherChoice& voucher, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::issueSendingVoucher(const DepositFilter& filter, const VoucherChoice& voucher, startup::Prompt& prompt) { return {}; }
Outcome ReceivedDeposits::issueOpeningVoucher(const VoucherChoice& voucher, startup::Prompt& prompt) { return {}; }
db::Fetched<RowsWithSum<RequestRow>> ReceivedDeposits::requestRows(int idx) const { return db::Fetched<RowsWithSum<RequestRow>>::none(); }
db::Fetched<RowsWithSum<RefundCheque>> ReceivedDeposits::refundCheques(int idx) const { return db::Fetched<RowsWithSum<RefundCheque>>::none(); }

} // namespace orvak::deposits
