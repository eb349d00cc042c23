#pragma once
// The look-ups of coded base data that screens of every register ask: a party, a
// contract, a plan, a project, a credit kind, a centre, a bank account, within the
// current financial section where the table is kept per section.
#include "core/db/Db.h"
#include "core/db/UnitOfWork.h"
#include "core/io/ListDefinition.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

enum class Lookup { DetailByCode, DetailByName, ContractByCode, ContractByNumber, Plan, ProjectByNumber, ProjectByName,
                    CreditKind, Centre, BankAccount };

// The row, none when no row has the key, or the failure of the read.
db::Fetched<QSqlRecord> lookup(startup::Session& session, Lookup kind, const QVariant& key, const QVariant& second = {});

// Texts by code for a list's looked-up column: a query of two columns (code, text)
// over the common database (or the deposits database); perSection binds :CI to the
// current section. A failed read leaves the texts empty.
io::LookupTable namesByQuery(io::ListSource& source, const QString& sql, bool perSection = false, db::Store store = db::Store::Common);
io::LookupReader namesReader(const char* sql, bool perSection = false, db::Store store = db::Store::Common);

} // namespace orvak::basedata
