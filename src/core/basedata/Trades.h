#pragma once
// The trades (RASTEH) by which contractors are graded; one list for every section.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

class Trades {
public:
    explicit Trades(startup::Session& session)
        : session_(session)
    {
    }

    static RegisterRules rules() { return typedCodeRules({db::Store::Common, QStringLiteral("RASTEH"), QStringLiteral("Code")}, QStringLiteral("Descr"), 20); }
    db::Fetched<qint64> proposedCode() const { return nextCode(session_, rules().table); }
    db::Fetched<QString> nameOf(qint64 code) const { return nameByCode(session_, rules().table, rules().nameColumn, code); }
    bool save(qint64 code, const QString& name, bool insert, startup::Prompt& prompt)
    {
        return saveRecord(session_, rules(), code, {{rules().nameColumn, name.trimmed()}}, insert, prompt).has_value();
    }
    bool remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, rules(), code, prompt); }

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
