#pragma once
// The bank accounts used for deposits and guarantees (BankHa, in the section's
// deposits database): receiving, refunding, the treasury's pooling account and the
// refund float, each with the ledgers that carry it in the accounting database.
#include "core/basedata/CodedTable.h"
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

struct DepositAccount {
    qint64 code = 0;    // 0 in insert mode: the next code
    QString name;       // NAME
    int kind = 0;       // KIND
    qint64 kol = 0, moin = 0;   // ACCKOL, ACCMOIN
    qint64 branch = 0;  // BRANCH
};

class DepositAccounts {
public:
    explicit DepositAccounts(startup::Session& session);
    static const CodedTable& table();
    static const io::CodeTexts& kinds();

    std::optional<qint64> proposedCode() const;
    db::Fetched<DepositAccount> read(qint64 code) const;
    std::optional<qint64> save(const DepositAccount& account, bool insert, startup::Prompt& prompt);
    bool remove(qint64 code, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
