#pragma once
// The steps of the demo installation, in the order the builder runs them, each with
// the file that holds it. A step that writes returns false with the reason in the
// context's summary.
#include "core/demo/DemoContext.h"

namespace orvak::demo {

// While the server is set up: one accounting database per fiscal year of the window;
// quiet collects what went wrong.                                         DemoAccounting.cpp
bool addAccountingDatabases(DemoContext& ctx, startup::CollectingPrompt& quiet);

bool addUsers(DemoContext& ctx);        // users, rights, ledger access      DemoStartup.cpp
bool addBaseData(DemoContext& ctx);     // banks, provinces, parameters,     DemoBaseData.cpp
                                        // plans, parties, contracts
bool addLetters(DemoContext& ctx);      // templates, signatories, footers   DemoLetters.cpp

void planDeposits(DemoContext& ctx);    // every deposit and its life        DemoDeposits.cpp
void planVouchers(DemoContext& ctx);    // the voucher row of each deposit   DemoAccounting.cpp
bool addDeposits(DemoContext& ctx);     //                                   DemoDeposits.cpp
bool addVouchers(DemoContext& ctx);     //                                   DemoAccounting.cpp

bool addGuarantees(DemoContext& ctx);   //                                   DemoGuarantees.cpp
// The guarantee letters' first number; guarantee i's letter is this + i.
inline constexpr int GuaranteeLettersStart = 100;
bool addStatements(DemoContext& ctx);   // the receiving account's statement DemoStatements.cpp
bool addSettings(DemoContext& ctx);     // organisation, register settings   DemoStartup.cpp
bool addContractLetters(DemoContext& ctx);   // contracts' history letters   DemoBaseData.cpp
bool addImportSamples(DemoContext& ctx);     // a spreadsheet book to import  DemoImports.cpp

} // namespace orvak::demo
