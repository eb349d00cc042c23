#pragma once
// The summary reports of the received-deposits list, over the list's conditions,
// previewed with the signatories of their kind.
#include "core/deposits/DepositSummaries.h"
#include "core/startup/Session.h"

class QWidget;

namespace orvak::ui::deposits {

// The entries of the list's "خلاصه سپرده ها" menu: every summary but the detailed
// list, which is "نمايش/چاپ".
QList<orvak::deposits::SummaryInfo> summaryMenuEntries();
QString summaryMenuText(const orvak::deposits::SummaryInfo& info);
void previewSummary(orvak::startup::Session& session, orvak::deposits::Summary id, const orvak::deposits::SummaryRequest& request,
                    QWidget* parent);

} // namespace orvak::ui::deposits
