#pragma once
// The trades (RASTEH) by which contractors are graded; one list for every section.
#include "core/basedata/CodeNameTable.h"

namespace orvak::basedata {

class Trades {
public:
    explicit Trades(startup::Session& session)
        : session_(session)
    {
    }

    static CodeNameTable table() { return {QStringLiteral("RASTEH"), QStringLiteral("Code"), QStringLiteral("Descr"), 20, {}}; }
    db::Fetched<qint64> proposedCode() const { return proposeCode(session_, table()); }
    db::Fetched<QString> nameOf(qint64 code) const { return codedName(session_, table(), code); }
    bool save(qint64 code, const QString& name, bool insert, startup::Prompt& prompt)
    {
        return saveCoded(session_, table(), {code, name, {}}, insert, prompt);
    }
    bool remove(qint64 code, startup::Prompt& prompt) { return removeCoded(session_, table(), code, prompt); }

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
