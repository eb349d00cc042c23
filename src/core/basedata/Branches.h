#pragma once
// The branches of the office's own bank network (SHOBEH), each under its
// supervising office.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct Branch {
    qint64 code = 0;       // 0 in insert mode: the next number
    QString branchCode;    // CODESHOBEH, the bank's own code
    QString name;          // NAME
    qint64 office = 0;     // SARPARASTI
    QString address;       // ADRESS
    QString tel;           // TEL
    QString city;          // CITYDESCR
    int grade = 0;         // DEGRI
    bool shetab = false, pinPad = false, atm = false;
};

class Branches {
public:
    explicit Branches(startup::Session& session);
    static const CodedTable& table();

    std::optional<qint64> proposedCode() const;
    db::Fetched<Branch> read(qint64 code) const;
    // Code and name required; the supervising office must exist when given.
    std::optional<qint64> save(const Branch& branch, bool insert, startup::Prompt& prompt);
    // Deletes the branch by the bank's branch code (CODESHOBEH), so every row of that
    // code goes; the question says how many when it is more than one. A branch
    // without a bank code goes by its own code alone.
    bool remove(qint64 code, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::basedata
