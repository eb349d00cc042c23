#include "core/letters/ReportFooter.h"
#include "core/db/Db.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;

TEST(ReportFooter, TheKindsRowThenTheGroupsThenTheGeneralPattern)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    auto posts = [&](const QString& kind, int group) {
        QStringList p;
        const db::Fetched<QList<letters::FooterSlot>> footer = letters::GetReportFooter(s, kind, group);
        for (const letters::FooterSlot& f : footer.value())
            p << f.post + QLatin1Char(':') + f.title + QLatin1Char(':') + f.name;
        return p;
    };
    // The general pattern: the holders of the set of the latest date.
    EXPECT_EQ(posts(QString(), 0), (QStringList{QStringLiteral("l4:تنظيم کننده:مريم کريمي"), QStringLiteral("l3:رئيس حسابداري:مهدي قاسمي"),
                                               QStringLiteral("l1:ذيحساب:حسين صادقي")}));
    // A kind without a row of its own takes its group's.
    EXPECT_EQ(posts(QStringLiteral("SEPDAR"), 2).value(0), QStringLiteral("l5:مسئول سپرده ها:زهرا موسوي"));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO PREFOOTER (CODE, C, PROGID, NAME, GROUPREP, KINDREP, R1, R2) VALUES (9, 0, 3, 'x', 2, 'SEPDAR', 'l2', '')")));
    EXPECT_EQ(posts(QStringLiteral("SEPDAR"), 2), QStringList{QStringLiteral("l2:معاون ذيحساب:علي احمدي")});
    // Without any row the posts come in their order; empty ones are no signature.
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM PREFOOTER")));
    const auto all = letters::GetReportFooter(s, QString(), 0);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 12);
    EXPECT_EQ(letters::footerSignatures(*all).size(), 6u);
}
