#include "ui/deposits/DepositSummaryPrinting.h"

#include "ui/deposits/DepositPrinting.h"
#include "ui/framework/MessageBoxes.h"

namespace orvak::ui::deposits {

using orvak::deposits::Summary;
using orvak::deposits::SummaryInfo;

QList<SummaryInfo> summaryMenuEntries()
{
    QList<SummaryInfo> entries;
    for (const SummaryInfo& s : orvak::deposits::summaries()) {
        if (s.id != Summary::Detailed)
            entries << s;
    }
    return entries;
}

QString summaryMenuText(const SummaryInfo& info) { return info.title; }

void previewSummary(orvak::startup::Session& session, Summary id, const orvak::deposits::SummaryRequest& request, QWidget* parent)
{
    const auto report = orvak::deposits::summaryReport(session, id, request);
    if (!report) {
        framework::ShowError(QStringLiteral("اشکال در تهيه گزارش: ") + report.error(), parent);
        return;
    }
    previewReport(*report, parent);
}

} // namespace orvak::ui::deposits
