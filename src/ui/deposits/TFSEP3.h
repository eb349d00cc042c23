#pragma once
// "سپرده هاي استردادي": the refunds by owner and contract with their total, the refund
// form, the voucher of the current refund and its payment order.
#include "ui/deposits/ConditionList.h"

class QLabel;

namespace orvak::ui::deposits {

class TFSEP3 : public ConditionList {
    Q_OBJECT
public:
    explicit TFSEP3(Session& session, QWidget* parent = nullptr);

    int currentRefund() const { return currentKey().toInt(); }
    QString totalText() const;

    enum { NewCommand, EditCommand, DeleteCommand, VoucherCommand, ReportCommand, OrderCommand };
    void newRefund();
    void editRefund();
    void removeRefund();
    // "نمايش سند"
    void showVoucher();
    // "دستور پرداخت": the current refund's payment order.
    void printOrder();

private:
    void updateTotal();
    QLabel* total_ = nullptr;
};

} // namespace orvak::ui::deposits
