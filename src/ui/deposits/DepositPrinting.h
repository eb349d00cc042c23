#pragma once
// The printing and the person's report of the received-deposits list: the model is
// chosen, the rows numbered where a receipt needs it, and the report previewed.
#include "core/io/Report.h"
#include "core/startup/Session.h"

class QWidget;

namespace orvak::ui::deposits {

class TViewSepDar;

void previewReport(const io::ReportModel& report, QWidget* parent);
// "نمايش/چاپ": the listed rows in a chosen model.
void printDepositList(orvak::startup::Session& session, TViewSepDar& list);
// "چاپ قبض سپرده" (the current row) / "چاپ قبض هاي سپرده - كلي" (the listed rows).
void printDepositReceipts(orvak::startup::Session& session, TViewSepDar& list, bool all);
// "گزارش سپرده اشخاص": every deposit of the owner, in a window of its own.
void showPersonDeposits(orvak::startup::Session& session, int owner, QWidget* parent);

} // namespace orvak::ui::deposits
