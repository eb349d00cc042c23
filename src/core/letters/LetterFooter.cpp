#include "core/letters/LetterFooter.h"

#include "core/letters/ReportFooter.h"

namespace orvak::letters {

std::vector<io::ReportSignature> signatureBlocks(startup::Session& session, const QString& kind, int group, QString* why)
{
    const auto filled = GetReportFooter(session, kind, group);
    if (!filled) {
        if (why)
            *why = filled.error();
        return {};
    }
    return footerSignatures(*filled);
}

} // namespace orvak::letters
