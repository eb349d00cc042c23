#pragma once
// The branches of the banks (BANKBRANCHNAME) letters are written to: a running
// number, the bank, the bank's own branch code, name, address, telephone, post code.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct BankBranch {
    qint64 code = 0;      // 0 in insert mode: the next number
    qint64 bank = 0;      // BANKID; 0: none given
    QString branchCode;   // BRANCHCODE
    QString name;         // BRANCHNAME
    QString address;      // ADRESS
    QString tel;          // TEL
    QString postCode;     // POSTCODE
};

class BankBranches {
public:
    explicit BankBranches(startup::Session& session);
    static const CodedTable& table();

    std::optional<qint64> proposedCode() const;
    db::Fetched<BankBranch> read(qint64 code) const;
    // A missing bank only warns; branch code and name must be filled; a bank given
    // must exist.
    std::optional<qint64> save(const BankBranch& branch, bool insert, startup::Prompt& prompt);
    bool remove(qint64 code, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
