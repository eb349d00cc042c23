#pragma once
// The office's bank accounts (HESAB): the account number, its bank and opening
// date, its ledgers and detail account in the accounting database, its branch and
// the financial section it belongs to (0: every section).
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct OfficeAccount {
    qint64 code = 0;        // 0 in insert mode: the next code
    QString accountNo;      // HESABNO
    qint64 bank = 0;        // BANK
    QString startDate;      // STARTDATE, Jalali
    qint64 kol = 0, moin = 0;
    qint64 detail = 0;      // TAFSIL, a detail account of the section
    QString branchCode, branchName, address, tel, subject;   // BRANCHCODE, BRANCHNAME, ADDRESS, TEL, HESABSUBJECT
    int section = 0;        // BRANCHC
};

class OfficeAccounts {
public:
    explicit OfficeAccounts(startup::Session& session);
    static const CodedTable& table();

    std::optional<qint64> proposedCode() const;
    db::Fetched<OfficeAccount> read(qint64 code) const;
    // Account number, bank and opening date required, the date a real one; the bank
    // and the detail account must exist.
    std::optional<qint64> save(const OfficeAccount& account, bool insert, startup::Prompt& prompt);
    bool remove(qint64 code, startup::Prompt& prompt);

    // The list's two filters, as the codes of the accounts that pass: "داراي گردش
    // حسابداري" (the account's number among the voucher rows of the year's accounting
    // database; none without one) and "داراي مغايرت بانکي ماه  قبل" (a reconciliation
    // header of the month in the section's registers).
    db::Fetched<QList<qint64>> withAccountingMovements() const;
    db::Fetched<QList<qint64>> reconciledIn(int month) const;

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
