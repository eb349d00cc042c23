#pragma once
// One voucher as its viewer shows and prints it: the head, the rows with the names
// of their ledgers, party, project and plan, and the debit, credit and difference.
#include "core/accounting/Vouchers.h"
#include "core/io/Report.h"

namespace orvak::accounting {

struct VoucherSheetRow {
    VoucherRow row;
    QString kolName, moinName, partyName, projectName, planName;
};

struct VoucherSheet {
    VoucherHead head;
    QString userName;   // of the issuing user, empty when not known
    QList<VoucherSheetRow> rows;
    qint64 debit = 0;
    qint64 credit = 0;
    qint64 difference() const { return debit - credit; }
};

// None when the voucher is not in the year's database (or none is open).
db::Fetched<VoucherSheet> readVoucherSheet(startup::Session& session, int number);

// "نمايش اسناد حسابداري " as a printed report, with the footer's signatures.
io::ReportModel voucherReport(const VoucherSheet& sheet, const std::vector<io::ReportSignature>& signatures = {});

// The first row at or after from (wrapping round) whose description holds the word
// under the normalised search; -1 when none does.
int findInVoucher(const VoucherSheet& sheet, const QString& word, int from = 0);

} // namespace orvak::accounting
