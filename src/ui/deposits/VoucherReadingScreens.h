#pragma once
// Reading deposits from accounting vouchers ("فراخواني پيمانکا از اسناد حسابداري")
// and the receipt-serial dialog, as the received-deposits list opens them.
#include "core/deposits/ReceiptSerial.h"
#include "core/startup/Session.h"

#include <QWidget>
#include <optional>

namespace orvak::ui::deposits {

// What the reading transferred into the register (F9 reopens the reading screen
// itself, so the count covers every round).
struct VoucherReadingOutcome {
    int transferred = 0;
};
// For the list's year and month; a non-zero cheque number opens the second mode
// (the voucher search with that cheque number first).
std::optional<VoucherReadingOutcome> readDepositsFromVouchers(QWidget* parent, orvak::startup::Session& session, int year,
                                                              int month, qint64 chequeNo = 0);

// "تعيين شماره سريال قبض سپرده": nullopt when the user leaves.
std::optional<orvak::deposits::ReceiptSerial> askReceiptSerial(QWidget* parent, orvak::startup::Session& session);

} // namespace orvak::ui::deposits
