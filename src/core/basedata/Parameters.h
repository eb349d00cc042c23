#pragma once
// The parameter lists of contracts (TBPARAMS_PAY), told apart by their kind: the
// subject, the classification, the legal deductions, the receiving bodies, how a
// contract was concluded, and bank branches.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

enum class ParameterKind { Subject = 0, Classification = 1, Deduction = 2, Receiver = 3, Conclusion = 4, BankBranch = 5 };

// The texts of the combo "جدول", by kind.
QStringList parameterKinds();

class Parameters {
public:
    explicit Parameters(startup::Session& session)
        : session_(session)
    {
    }

    static RegisterRules rules(int kind);
    db::Fetched<qint64> proposedCode(int kind) const { return nextCode(session_, rules(kind).table); }
    db::Fetched<QString> nameOf(int kind, qint64 code) const { return nameByCode(session_, rules(kind).table, rules(kind).nameColumn, code); }
    bool save(int kind, qint64 code, const QString& name, bool insert, startup::Prompt& prompt);
    // Refused while a contract uses the row, which would keep a code without a name.
    bool remove(int kind, qint64 code, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
