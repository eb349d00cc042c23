#pragma once
// The short coded lists of the base data (groups of detail accounts, trades,
// parameters of contracts): a code and a name, in one table, within a scope (the
// section, a kind) where the table has one. New code = largest + 1, code and name
// required, a taken code refused with the name that holds it, change by code,
// delete by code after the question.
#include "core/db/Db.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

struct CodeNameTable {
    QString table;
    QString codeColumn;
    QString nameColumn;
    int nameLength = 100;
    // The scope's columns and their values (the section's CI, a kind), which belong to the
    // key and are written on insert; empty for a table that has none.
    QVariantMap scope;
    // What a row without its code or name is told.
    QString incompleteText = QStringLiteral("اطلاعات کامل نيست");

    QString scopeCondition() const;   // "CI=:CI and ..." or "1=1"
    QVariantMap binds(qint64 code) const;
};

struct CodedRow {
    qint64 code = 0;
    QString name;
    QVariantMap more;   // further columns written with the row
};

db::Fetched<qint64> proposeCode(startup::Session& session, const CodeNameTable& t);
db::Fetched<QString> codedName(startup::Session& session, const CodeNameTable& t, qint64 code);
// False (the reason told) when nothing was written.
bool saveCoded(startup::Session& session, const CodeNameTable& t, const CodedRow& row, bool insert, startup::Prompt& prompt);
// refusal: why the row may not go (read before the question and again inside the
// deleting work), nullopt when it may; satellites: the rows that go with it.
using Refusal = std::function<std::optional<QString>(db::UnitOfWork&)>;
bool removeCoded(startup::Session& session, const CodeNameTable& t, qint64 code, startup::Prompt& prompt, const Refusal& refusal = {},
                 const std::function<bool(db::UnitOfWork&)>& satellites = {});

// The rows of the scope, by code, for combos.
db::Fetched<QList<std::pair<qint64, QString>>> codedRows(startup::Session& session, const CodeNameTable& t);

} // namespace orvak::basedata
