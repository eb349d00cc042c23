#pragma once
// The lists of the contract register, declared once for their screens, the contract
// picker, orvakctl and reports: contracts, a contract's deductions, letters and
// deposits, executors, supervisors and credit sources. Lists kept per section take
// the section as a parameter; the catalogue's copies default to section 0.
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

// Orders of the contract list (:POrder): "کد شناسائي قرارداد", "شماره قرارداد", "پيمانکار".
enum class ContractOrder { Code = 0, Number = 1, Party = 2 };
QStringList contractOrders();
// The transfer-unit choice (:PUnit): "همه" (0), then the units 1 and 2.
QStringList transferUnitChoices();

io::ListDefinition contractsList(const QString& section = QStringLiteral("0"));   // TORVAK_VIEWPAYMAN; :PTafsil, :PUnit, :POrder
io::ListDefinition contractDeductionsList(const QString& section = QStringLiteral("0"));   // :Pcode_pay
io::ListDefinition contractLettersList(const QString& section = QStringLiteral("0"));      // :PLtrID
io::ListDefinition contractDepositsList();   // "سوابق پرداخت": the section's deposits of :PPayment
io::ListDefinition executorsList();
io::ListDefinition supervisorsList();
io::ListDefinition creditSourcesList(const QString& section = QStringLiteral("0"));

QList<io::ListDefinition> contractLists();

} // namespace orvak::basedata
