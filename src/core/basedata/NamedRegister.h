#pragma once
// A register of codes and names, perhaps under a parent code (a supervising office
// under its province): the shape of centres, bank names, provinces and supervising
// offices, each of which gives its rules.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct NamedRow {
    qint64 code = 0;     // 0 in insert mode: the next code
    QString name;
    qint64 parent = 0;   // where the register has a parent column
};

class NamedRegister {
public:
    const RegisterRules& rules() const { return rules_; }
    std::optional<qint64> proposedCode() const;
    db::Fetched<NamedRow> read(qint64 code) const;
    std::optional<qint64> save(const NamedRow& row, bool insert, startup::Prompt& prompt);
    bool remove(qint64 code, startup::Prompt& prompt);

protected:
    NamedRegister(startup::Session& session, RegisterRules rules, QString parentColumn = {});

    startup::Session& session_;

private:
    RegisterRules rules_;
    QString parentColumn_;
};

} // namespace orvak::basedata
