#pragma once
// The accounting database of a voucher's year, opened for a while: the register keeps
// the year its vouchers were posted in (SNDYER), and the same number in another year
// is another voucher. The session's year and database come back when it ends.
#include "core/deposits/VoucherReading.h"

namespace orvak::deposits {

class VoucherYear {
public:
    // year 0 (a row that never kept one): the year open.
    VoucherYear(startup::Session& session, int year);
    VoucherYear(const VoucherYear&) = delete;
    VoucherYear& operator=(const VoucherYear&) = delete;

    // Whether the year's accounting database is open; missingText() says why not.
    bool open() const { return open_; }
    const QString& missingText() const { return missing_; }

private:
    AccountingYearScope scope_;
    bool open_ = false;
    QString missing_;
};

} // namespace orvak::deposits
