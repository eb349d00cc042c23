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

int reportGroupOf(const io::ListDefinition& list)
{
    if (list.name.startsWith(QLatin1String("guarantee")))
        return GuaranteeReportsGroup;
    return list.database == io::ListDatabase::Deposits ? DepositReportsGroup : GeneralGroup;
}

std::vector<io::ReportSignature> listSignatures(startup::Session& session, const io::ListDefinition& list)
{
    return signatureBlocks(session, list.name, reportGroupOf(list));
}

} // namespace orvak::letters
