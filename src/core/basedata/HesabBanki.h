#pragma once
// The short list of bank accounts the older account screen keeps (HesabBanki, in the
// common database): account number, branch name and code, bank and telephone.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct ShortBankAccount {
    qint64 code = 0;        // 0 in insert mode: the next code
    QString accountNo;      // HESABNO
    QString branchName;     // BRANCHNAME
    qint64 bank = 0;        // BANK; 0: none given
    QString branchCode;     // BRANCHCODE
    QString tel;            // TEL
};

class HesabBanki {
public:
    explicit HesabBanki(startup::Session& session);
    static const CodedTable& table();

    std::optional<qint64> proposedCode() const;
    db::Fetched<ShortBankAccount> read(qint64 code) const;
    // The account number required; a bank given must exist.
    std::optional<qint64> save(const ShortBankAccount& account, bool insert, startup::Prompt& prompt);
    // After "آيا حساب مورد نظر حذف شود".
    bool remove(qint64 code, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
