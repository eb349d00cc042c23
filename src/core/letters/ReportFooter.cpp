#include "core/letters/ReportFooter.h"

#include "core/startup/Program.h"

namespace orvak::letters {

namespace {

constexpr int kPosts = 12;   // the posts that have holders (L1 .. L12)
constexpr int kSlots = 18;
constexpr int kSpread = 5;   // the footer positions two to four posts are spread over

} // namespace

db::Fetched<QList<FooterSlot>> GetReportFooter(startup::Session& session, const QString& kindrep, int grouprep)
{
    QSqlDatabase db = session.common();
    const QVariantMap where{{QStringLiteral(":C"), session.SectionCode().toInt()}, {QStringLiteral(":P"), startup::ProgID},
                            {QStringLiteral(":k"), kindrep}, {QStringLiteral(":g"), grouprep}};
    const QString own = QStringLiteral("SELECT * FROM PREFOOTER WHERE C = :C AND PROGID = :P AND ");
    db::Fetched<QSqlRecord> footer = db::firstRow(db, own + QStringLiteral("KINDREP LIKE :k AND GROUPREP = :g ORDER BY CODE"), where);
    if (!footer && !footer.failed())
        footer = db::firstRow(db, own + QStringLiteral("COALESCE(KINDREP, '') = '' AND GROUPREP = :g ORDER BY CODE"), where);
    if (!footer && !footer.failed())
        footer = db::firstRow(db, own + QStringLiteral("COALESCE(KINDREP, '') = '' AND GROUPREP = 0 ORDER BY CODE"), where);
    if (footer.failed())
        return db::Fetched<QList<FooterSlot>>::failure(footer.error());
    const db::Fetched<QSqlRecord> titles = db::firstRow(db, QStringLiteral("SELECT * FROM LBLPERSONEL WHERE CODE = 1 AND C = :C AND PROGID = :P"), where);
    const db::Fetched<QSqlRecord> holders =
        db::firstRow(db, QStringLiteral("SELECT * FROM PERSONEL WHERE C = :C AND PROGID = :P ORDER BY OPDATE DESC, CODE DESC"), where);
    if (titles.failed() || holders.failed())
        return db::Fetched<QList<FooterSlot>>::failure(titles.failed() ? titles.error() : holders.error());

    QStringList posts;
    if (footer) {
        for (int i = 1; i <= 12; ++i) {
            const QString post = footer->value(QStringLiteral("R%1").arg(i)).toString().trimmed();
            if (!post.isEmpty())
                posts << post;
        }
    } else {
        for (int i = 1; i <= kPosts; ++i)
            posts << QStringLiteral("l%1").arg(i);
    }
    posts = posts.mid(0, kSlots);
    QList<FooterSlot> filled;
    for (const QString& post : posts) {
        const int n = post.mid(1).toInt();
        FooterSlot s;
        s.post = post;
        s.position = int(filled.size()) + 1;
        if (titles && n >= 1)
            s.title = titles->value(QStringLiteral("LBL%1").arg(n)).toString().trimmed();
        if (holders && n >= 1 && n <= kPosts)
            s.name = holders->value(QStringLiteral("L%1").arg(n)).toString().trimmed();
        filled << s;
    }
    if (filled.size() >= 2 && filled.size() <= 4) {
        for (int i = 0; i + 1 < filled.size(); ++i)
            filled[i].position = i + 2;
        filled.last().position = kSpread;
    }
    return db::Fetched<QList<FooterSlot>>::found(filled);
}

std::vector<io::ReportSignature> footerSignatures(const QList<FooterSlot>& filled)
{
    std::vector<io::ReportSignature> signatures;
    if (!filled.isEmpty() && filled.last().position == kSpread && filled.size() < kSpread) {
        signatures.resize(kSpread);
        for (const FooterSlot& s : filled) {
            if (s.position >= 1 && s.position <= kSpread)
                signatures[size_t(s.position - 1)] = {s.title, s.name};
        }
        return signatures;
    }
    for (const FooterSlot& s : filled) {
        if (!s.title.isEmpty() || !s.name.isEmpty())
            signatures.push_back({s.title, s.name});
    }
    return signatures;
}

} // namespace orvak::letters
