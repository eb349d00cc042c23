#include "core/letters/ReportFooter.h"
#include "core/db/Db.h"
#include "core/io/Report.h"
#include "support/DemoOffice.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

using namespace orvak;

namespace {

// "position:post:title:name" of each slot.
QStringList slotsOf(startup::Session& s, const QString& kind, int group)
{
    QStringList p;
    const auto footer = letters::GetReportFooter(s, kind, group);
    EXPECT_TRUE(footer) << footer.error().toStdString();
    for (const letters::FooterSlot& f : footer.value_or({}))
        p << QStringLiteral("%1:%2:%3:%4").arg(f.position).arg(f.post, f.title, f.name);
    return p;
}

void defineFooter(startup::Session& s, const QString& kind, int group, const QStringList& posts)
{
    QString cols = QStringLiteral("CODE, C, PROGID, NAME, GROUPREP, KINDREP"), vals = QStringLiteral("(SELECT COALESCE(MAX(CODE), 0) + 1 FROM PREFOOTER), 0, 3, 't', :g, :k");
    QVariantMap binds{{QStringLiteral(":g"), group}, {QStringLiteral(":k"), kind}};
    for (int i = 0; i < posts.size(); ++i) {
        cols += QStringLiteral(", R%1").arg(i + 1);
        vals += QStringLiteral(", :r%1").arg(i + 1);
        binds.insert(QStringLiteral(":r%1").arg(i + 1), posts[i]);
    }
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO PREFOOTER (%1) VALUES (%2)").arg(cols, vals), binds));
}

} // namespace

// One to five posts: two to four are spread over the five positions (the last at 5,
// the ones before it a position on), one and five stand as they come.
TEST(ReportFooterPositions, TwoToFourPostsAreSpreadOverFivePositions)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const struct {
        QStringList posts;
        QList<int> positions;
        size_t signatures;
    } cases[] = {
        {{QStringLiteral("l2")}, {1}, 1},
        {{QStringLiteral("l1"), QStringLiteral("l2")}, {2, 5}, 5},
        {{QStringLiteral("l1"), QStringLiteral("l2"), QStringLiteral("l3")}, {2, 3, 5}, 5},
        {{QStringLiteral("l1"), QStringLiteral("l2"), QStringLiteral("l3"), QStringLiteral("l4")}, {2, 3, 4, 5}, 5},
        {{QStringLiteral("l1"), QStringLiteral("l2"), QStringLiteral("l3"), QStringLiteral("l4"), QStringLiteral("l5")}, {1, 2, 3, 4, 5}, 5},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString kind = QStringLiteral("K%1").arg(++n);
        defineFooter(s, kind, 2, c.posts);
        const auto footer = letters::GetReportFooter(s, kind, 2);
        ASSERT_TRUE(footer);
        QList<int> positions;
        for (const letters::FooterSlot& f : *footer)
            positions << f.position;
        EXPECT_EQ(positions, c.positions) << kind.toStdString();
        const std::vector<io::ReportSignature> signatures = letters::footerSignatures(*footer);
        ASSERT_EQ(signatures.size(), c.signatures) << kind.toStdString();
        // The last post stands at the fifth position; the first ones are blank.
        if (c.posts.size() >= 2 && c.posts.size() <= 4) {
            EXPECT_EQ(signatures[4].title, footer->last().title);
            EXPECT_TRUE(signatures[0].title.isEmpty() && signatures[0].name.isEmpty());
            EXPECT_EQ(signatures[1].name, footer->first().name);
        }
    }
}

// "R1" = "l2" and "R2" empty: one block, post 2's holder under post 2's title.
TEST(ReportFooterPositions, ADefinitionOfOnePostGivesOneBlock)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    defineFooter(s, QStringLiteral("ONE"), 1, {QStringLiteral("l2"), QString()});
    EXPECT_EQ(slotsOf(s, QStringLiteral("ONE"), 1), QStringList{QStringLiteral("1:l2:معاون ذيحساب:علي احمدي")});
    const auto signatures = letters::footerSignatures(letters::GetReportFooter(s, QStringLiteral("ONE"), 1).value());
    ASSERT_EQ(signatures.size(), 1u);
    EXPECT_EQ(signatures[0].name, QStringLiteral("علي احمدي"));
}

// The kind's own row, else its group's general row, else group 0's; a group without
// a general row falls to group 0.
TEST(ReportFooterPositions, TheFallbackChain)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    defineFooter(s, QStringLiteral("OWN"), 2, {QStringLiteral("l6")});
    EXPECT_EQ(slotsOf(s, QStringLiteral("OWN"), 2).value(0), QStringLiteral("1:l6:مسئول تضمينات:ليلا شريفي"));
    EXPECT_EQ(slotsOf(s, QStringLiteral("OTHER"), 2).value(0), QStringLiteral("2:l5:مسئول سپرده ها:زهرا موسوي"));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM PREFOOTER WHERE GROUPREP = 2 AND COALESCE(KINDREP, '') = ''")));
    EXPECT_EQ(slotsOf(s, QStringLiteral("OTHER"), 2).value(0), QStringLiteral("2:l4:تنظيم کننده:مريم کريمي"));
}

// Of two holder sets the one of the later effective date is the default; a set
// without a date never wins over a dated one.
TEST(ReportFooterPositions, TheLatestDatedHolderSetIsTheDefault)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM PERSONEL")));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO PERSONEL (CODE, CODELBL, C, PROGID, DESCR, OPDATE, L1) VALUES "
                                                        "(1, 1, 0, 3, 'a', '1403/01/01', 'نام 1403'), (2, 1, 0, 3, 'b', '1402/01/01', 'نام 1402'), "
                                                        "(3, 1, 0, 3, 'c', NULL, 'بي تاريخ'), (4, 1, 0, 3, 'd', '', 'خالي')")));
    defineFooter(s, QStringLiteral("Z"), 2, {QStringLiteral("l1")});
    EXPECT_EQ(slotsOf(s, QStringLiteral("Z"), 2), QStringList{QStringLiteral("1:l1:ذيحساب:نام 1403")});
}

// A definition naming posts without titles or names (and one no post at all) prints
// with empty slots; so does a section with no titles and no holders at all.
TEST(ReportFooterPositions, PostsWithoutTitlesOrNamesPrintEmptySlots)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    defineFooter(s, QStringLiteral("BAD"), 2, {QStringLiteral("l11"), QStringLiteral("x"), QStringLiteral("l1")});
    EXPECT_EQ(slotsOf(s, QStringLiteral("BAD"), 2), (QStringList{QStringLiteral("2:l11::"), QStringLiteral("3:x::"), QStringLiteral("5:l1:ذيحساب:حسين صادقي")}));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM LBLPERSONEL")));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM PERSONEL")));
    const auto footer = letters::GetReportFooter(s, QStringLiteral("BAD"), 2);
    ASSERT_TRUE(footer);
    io::ReportModel m;
    m.titleLines = {QStringLiteral("گزارش آزمايشي")};
    m.columns = {{QStringLiteral("شرح"), 1.0, io::CellFormat::Text, false}};
    m.addRow({QStringLiteral("يک")});
    m.signatures = letters::footerSignatures(*footer);
    EXPECT_EQ(m.signatures.size(), 5u);
    QTemporaryDir dir;
    QString why;
    ASSERT_TRUE(io::writeReportPdf(m, dir.filePath(QStringLiteral("f.pdf")), &why)) << why.toStdString();
    EXPECT_TRUE(test::pdfLines(dir.filePath(QStringLiteral("f.pdf"))).join(QLatin1Char(' ')).contains(QStringLiteral("گزارش آزمايشي")));
}
