#pragma once
// The look-ups of coded base data that screens of every register ask: a party, a
// contract, a plan, a project, a credit kind, a centre, a bank account, within the
// current financial section where the table is kept per section.
#include "core/db/Db.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

enum class Lookup { DetailByCode, DetailByName, ContractByCode, ContractByNumber, Plan, ProjectByNumber, ProjectByName,
                    CreditKind, Centre, BankAccount };

// The row, none when no row has the key, or the failure of the read.
db::Fetched<QSqlRecord> lookup(startup::Session& session, Lookup kind, const QVariant& key, const QVariant& second = {});

} // namespace orvak::basedata
