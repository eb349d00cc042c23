#pragma once
// The lists of the detail accounts and their satellites, declared once for their
// screens, pickers, reports and orvakctl. Lists kept per section take :CI, which
// the screens set to the current section.
#include "core/basedata/DetailAccounts.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

namespace orvak::basedata {

io::ListDefinition detailAccountsList();       // TORVAK_ViewTafsil
io::ListDefinition detailGroupsList();         // TORVAK_VIEWGROUPSTAFSILI
io::ListDefinition tradesList();               // TFRasteh
io::ListDefinition standardDescriptionsList(); // TFSndDscr
io::ListDefinition parametersList();           // the parameters of contracts

// "فرم اطلاعات پيمانکار": every field of one account, caption and value, with the
// report footer's signatures.
io::ReportModel contractorSheet(const DetailAccount& account, const QString& groupName,
                                const std::vector<io::ReportSignature>& signatures = {});

QList<io::ListDefinition> partyLists();

} // namespace orvak::basedata
