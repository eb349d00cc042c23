#pragma once
// The lists of plans, projects and centres, and of banks, their branches, the
// office's accounts, the deposit accounts and the branch network, declared once for
// their screens, their pickers, orvakctl and reports. Lists kept per section take
// the section (CI) as a parameter; the catalogue's copies default to section 0.
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

io::ListDefinition plansList(const QString& section = QStringLiteral("0"));      // TORVAK_ViewTarh
io::ListDefinition projectsList(const QString& section = QStringLiteral("0"));   // TORVAK_ViewProjects
io::ListDefinition centresList();
io::ListDefinition bankNamesList();
io::ListDefinition bankBranchesList();
io::ListDefinition officeAccountsList(const QString& section = QStringLiteral("0"));
// "فهرست حسابهاي بانكي" of the older account screen (HesabBanki), by code.
io::ListDefinition shortBankAccountsList();
io::ListDefinition depositAccountsList();   // TViewSepACC
io::ListDefinition provincesList();
io::ListDefinition supervisingOfficesList();
io::ListDefinition branchesList();

QList<io::ListDefinition> planBankLists();

// The plan orders of the list (its :POrder): number, name, kind, account code
// (characters 5-9 of the code, then 1-3).
enum class PlanOrder { Number = 0, Name = 1, Kind = 2, AccountCode = 3 };
// The project orders (:POrder): number, name, agreement code.
enum class ProjectOrder { Number = 0, Name = 1, AgreementCode = 2 };

// The filter that keeps the rows whose field is one of the codes (none: no row).
QString codesFilter(const QString& field, const QList<qint64>& codes);

// Searches for a word in a name filter the list with io::filterContains. The first row whose field equals the text under the same normalisation; -1 when
// none does.
int findRow(const io::RowSet& rows, const QString& field, const QString& text);

} // namespace orvak::basedata
