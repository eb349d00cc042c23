#pragma once
// The credit sources (MTE) a contract is funded from, kept per financial section;
// new kind largest + 1, description required, held while a contract ticks it.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct CreditSource {
    qint64 kind = 0;       // KIND; 0 in insert mode: the next
    QString description;   // DESCR
    int creditKind = 0;    // ETKIND
    int creditGroup = 0;   // ETGROUP
    bool hasBudgetRow = false;   // ISRADIF
    int budgetRow = 0;     // RADIF
};

class ContractCreditSources {
public:
    explicit ContractCreditSources(startup::Session& session)
        : session_(session)
    {
    }

    static const CodedTable& table();
    std::optional<qint64> proposedCode() const { return basedata::proposedCode(session_, table()); }
    db::Fetched<CreditSource> read(qint64 kind) const;
    // Every source of the section, by kind; a failed read is a failure.
    db::Fetched<QList<std::pair<qint64, QString>>> all() const { return namesByCode(session_, table(), QStringLiteral("DESCR")); }
    std::optional<qint64> save(const CreditSource& source, bool insert, startup::Prompt& prompt);
    bool remove(qint64 kind, startup::Prompt& prompt);

private:
    RegisterRules rules() const;
    startup::Session& session_;
};

} // namespace orvak::basedata
