#pragma once
// The one place the letters and the guarantee prints ask the report footer for their
// signature blocks (GetReportFooter of the footers' service), so that the service
// can change under it without the callers knowing.
#include "core/io/Report.h"
#include "core/startup/Session.h"

#include <vector>

namespace orvak::letters {

// The footer's report groups.
inline constexpr int GuaranteeReportsGroup = 1;
inline constexpr int LettersGroup = 3;

// The signature blocks of a report kind in a group; empty (never a failure) when the
// footer cannot be read, so that a print still comes out, with the reason in *why.
std::vector<io::ReportSignature> signatureBlocks(startup::Session& session, const QString& kind, int group, QString* why = nullptr);

} // namespace orvak::letters
