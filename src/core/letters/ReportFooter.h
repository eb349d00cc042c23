#pragma once
// The signature footer of a printed report: which posts sign a kind of report
// (PREFOOTER), the titles of the posts (LBLPERSONEL row 1) and the names of their
// holders (the PERSONEL set of the latest date), in the current section and program.
#include "core/db/Db.h"
#include "core/io/Report.h"
#include "core/startup/Session.h"

namespace orvak::letters {

struct FooterSlot {
    QString post;    // "l1" .. "l18"
    QString title;
    QString name;
    int position = 0;   // 1 .. 18 in the footer's row, first on the right
};

// The slots for a report kind and group, falling back to the group's general row
// and then to the general pattern (group 0); without any row, the posts in their
// natural order. A post without a title or name gives an empty one. Two to four
// posts are spread over the five positions: the last at position 5 and each one
// before it a position further on (three posts stand at 2, 3 and 5).
db::Fetched<QList<FooterSlot>> GetReportFooter(startup::Session& session, const QString& kindrep, int grouprep);

// The slots as the report's signatures: a spread footer as its five positions, the
// empty ones blank; otherwise the slots in order, leaving out those with neither
// title nor name.
std::vector<io::ReportSignature> footerSignatures(const QList<FooterSlot>& filled);

} // namespace orvak::letters
