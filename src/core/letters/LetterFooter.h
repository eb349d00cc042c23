#pragma once
// The one place the letters and the guarantee prints ask the report footer for their
// signature blocks (GetReportFooter of the footers' service), so that the service
// can change under it without the callers knowing.
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"
#include "core/startup/Session.h"

#include <vector>

namespace orvak::letters {

// The footer's report groups.
inline constexpr int GeneralGroup = 0;
inline constexpr int GuaranteeReportsGroup = 1;
inline constexpr int DepositReportsGroup = 2;
inline constexpr int LettersGroup = 3;

// The signature blocks of a report kind in a group; empty (never a failure) when the
// footer cannot be read, so that a print still comes out, with the reason in *why.
std::vector<io::ReportSignature> signatureBlocks(startup::Session& session, const QString& kind, int group, QString* why = nullptr);

// The group a declared list's printed report signs in (guarantee lists, the other
// lists of the deposits database, the rest), its kind being the list's name.
int reportGroupOf(const io::ListDefinition& list);
std::vector<io::ReportSignature> listSignatures(startup::Session& session, const io::ListDefinition& list);

} // namespace orvak::letters
