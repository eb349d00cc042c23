#include "core/guarantees/Guarantees.h"
#include "core/letters/DepositLetters.h"
#include "core/letters/GuaranteeLetters.h"
#include "core/letters/LetterFill.h"
#include "core/letters/OdfExport.h"
#include "core/startup/Login.h"
#include "core/util/AmountWords.h"
#include "support/DemoOffice.h"
#include "support/PdfText.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QXmlStreamReader>

using namespace orvak;
using namespace orvak::letters;
using startup::ScriptedPrompt;

namespace {

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

QString plain(const QString& html)
{
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText();
}

QString pdfText(const QString& path, int page = 1) { return test::pdfLines(path, page).join(QLatin1Char(' ')); }

QString pdfInfo(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A guarantee of known values and a template of the test's own.
struct LetterOffice : test::DemoOffice {
    int idx = 0;
    int templateCode = 0;
    QTemporaryDir out;

    LetterOffice(const QString& body = QStringLiteral("<p>ضمانتنامه شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) به مبلغ ((مبلغ فعلي)) "
                                                      "تا ((سررسيد جديد)) تمديد گردد.</p>"))
    {
        ScriptedPrompt quiet({}, true);
        EXPECT_TRUE(startup::logInAs(*session, QStringLiteral("3"), QStringLiteral("1234"), quiet));
        guarantees::Guarantees reg(*session);
        guarantees::Guarantee g = *reg.newGuarantee();
        g.tafsilNo = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0")));
        g.sudBankCode = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM BANKBRANCHNAME")));
        g.zno = QStringLiteral("77-12345");
        g.sudDate = QStringLiteral("1403/02/05");
        g.sarresid = QStringLiteral("1406/04/10");
        g.amount = 1'250'000;
        g.zcount = 2;
        idx = reg.save(g, true, quiet).value_or(0);
        EXPECT_GT(idx, 0) << quiet.text().toStdString();
        LetterTemplate t;
        t.title = QStringLiteral("تمديد آزمايشي");
        t.kind = KindExtension;
        t.paperSize = 0;
        t.contents = body;
        t.copies = {1, 2, 0, 0};
        templateCode = LetterTemplates(*session).save(t, true, quiet).value_or(0);
        EXPECT_GT(templateCode, 0) << quiet.text().toStdString();
    }
    LetterRequest request(int layout = 3)
    {
        LetterRequest r;
        r.guarantee = idx;
        r.templateCode = templateCode;
        r.input.newDue = QStringLiteral("1406/10/10");
        r.input.secretariatDate = QStringLiteral("1405/09/18");
        r.layout = layout;
        return r;
    }
    QString path(const QString& name) const { return out.filePath(name); }
};

} // namespace

TEST(LetterFill, EveryPlaceholderEveryOccurrenceAndDotsForTheEmptyOnes)
{
    PlaceholderValues v;
    v[QStringLiteral("((شماره تضمين))")] = QStringLiteral("77-1");
    v[QStringLiteral("((مبلغ جديد))")] = QString();
    const QString html = QStringLiteral("<p><b>((شماره تضمين))</b> و ((شماره تضمين)) و ((شماره تضمين))؛ ((مبلغ جديد)) ((تعداد ضمائم)) "
                                        "((عبارت ديگر)) (((شماره تضمين))) ((بدون بستن</p>");
    const QString filled = fillTemplate(html, v);
    EXPECT_EQ(plain(filled), QStringLiteral("77-1 و 77-1 و 77-1؛ %1 %2 ((عبارت ديگر)) (77-1) ((بدون بستن").arg(QString(13, QLatin1Char('.')), QString(5, QLatin1Char('.'))));
    // The value keeps the phrase's format.
    QTextDocument d;
    d.setHtml(filled);
    EXPECT_TRUE(d.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    EXPECT_EQ(fillPlain(QStringLiteral("((شماره تضمين))-((شماره تضمين)) ((("), v), QStringLiteral("77-1-77-1 ((("));

    // Every placeholder of the table is replaced: with values, and with dots.
    QString all;
    for (const Placeholder& p : placeholders())
        all += p.phrase + QLatin1Char(' ');
    EXPECT_FALSE(plain(fillTemplate(QStringLiteral("<p>") + all + QStringLiteral("</p>"), {})).contains(QStringLiteral("((")));
    for (const Placeholder& p : placeholders())
        EXPECT_TRUE(p.dots == 14 || p.dots == 13 || p.dots == 12 || p.dots == 11 || p.dots == 9 || p.dots == 6 || p.dots == 5) << p.phrase.toStdString();

    EXPECT_EQ(letterDate(QStringLiteral("1403/02/05"), false), QStringLiteral("05/02/1403"));
    EXPECT_EQ(letterDate(QStringLiteral("1403/02/05"), true), QStringLiteral("1403/02/05"));
    EXPECT_EQ(letterAmount(1'250'000), QStringLiteral("1,250,000 ريال "));
}

TEST(GuaranteeLetters, AFilledLetterReadsBackWholeInOrderOnA5WithLetterheadAndA4WithoutWithItsCopies)
{
    LetterOffice o;
    ScriptedPrompt prompt;
    LetterRequest r = o.request(3);
    r.withCopies = true;
    r.copyCount = 2;
    const auto letter = GuaranteeLetters(*o.session).prepare(r, prompt);
    ASSERT_TRUE(letter) << prompt.text().toStdString();
    ASSERT_EQ(letter->pages.size(), 3u);
    const QString a5 = o.path(QStringLiteral("a5.pdf"));
    QString why;
    ASSERT_TRUE(writeLettersPdf(letter->pages, a5, &why)) << why.toStdString();
    EXPECT_TRUE(pdfInfo(a5).contains(QStringLiteral("Pages:           3")));
    EXPECT_TRUE(pdfInfo(a5).contains(QStringLiteral("420 x 595")));
    const QString first = pdfText(a5, 1);
    const QString sentence = QStringLiteral("ضمانتنامه شماره 77-12345 مورخ 05/02/1403 به مبلغ 1,250,000 ريال تا 10/10/1406 تمديد گردد.");
    EXPECT_TRUE(first.contains(sentence)) << first.toStdString();
    for (const QString& word : {QStringLiteral("بسمه تعالي"), QStringLiteral("تاريخ :"), QStringLiteral("18/09/1405"), QStringLiteral("شماره"),
                                letter->number, QStringLiteral("پيوست:"), QStringLiteral("به: "), QStringLiteral("از: ")})
        EXPECT_TRUE(first.contains(word)) << word.toStdString() << " in " << first.toStdString();
    EXPECT_FALSE(first.contains(QStringLiteral("رونوشت")));
    const QString copy = pdfText(a5, 3);
    EXPECT_TRUE(copy.contains(sentence));
    EXPECT_TRUE(copy.contains(QStringLiteral("رونوشت: امور قراردادها و دستگاه نظارت جهت اطلاع"))) << copy.toStdString();

    // A4 without letterhead: the body and signatures only.
    const auto plainPages = GuaranteeLetters(*o.session).pagesOf(*letter, o.request(5));
    ASSERT_EQ(plainPages.size(), 1u);
    const QString a4 = o.path(QStringLiteral("a4.pdf"));
    ASSERT_TRUE(writeLettersPdf(plainPages, a4, &why)) << why.toStdString();
    EXPECT_TRUE(pdfInfo(a4).contains(QStringLiteral("595 x 842")));
    const QString bare = pdfText(a4);
    EXPECT_TRUE(bare.contains(sentence)) << bare.toStdString();
    EXPECT_FALSE(bare.contains(QStringLiteral("بسمه تعالي")));
    EXPECT_TRUE(bare.contains(QStringLiteral("ذيحساب")));

    // The reverse option writes the dates as stored.
    LetterRequest reversed = o.request(5);
    reversed.input.reverseDates = true;
    const auto asStored = GuaranteeLetters(*o.session).prepare(reversed, prompt);
    ASSERT_TRUE(asStored);
    EXPECT_TRUE(plain(asStored->body).contains(QStringLiteral("مورخ 1403/02/05")));
}

TEST(GuaranteeLetters, BadInputIsToldAndNothingIsRegistered)
{
    LetterOffice o(QStringLiteral("<p>((پيمانکار)) - ((نام شعبه)) - ((مبلغ جديد))</p>"));
    const auto history = [&] { return count(o.session->deposits(), QStringLiteral("SELECT COUNT(*) FROM ZHIST WHERE ZIDX = :i"), {{QStringLiteral(":i"), o.idx}}); };
    GuaranteeLetters letters(*o.session);
    struct Case { const char* what; std::function<void(LetterRequest&)> change; };
    const Case cases[] = {
        {"extension without its new due date", [](LetterRequest& r) { r.input.newDue.clear(); }},
        {"reduction without its new amount", [](LetterRequest& r) { r.kind = KindReduction; r.templateCode = 0; }},
        {"no template of the kind", [](LetterRequest& r) { r.kind = KindLiftAttachment; r.templateCode = 0; }},
    };
    ASSERT_TRUE(db::execSql(o.session->common(), QStringLiteral("DELETE FROM LETTER_TEMPLATE WHERE LTRKIND = 8")));
    for (const Case& c : cases) {
        LetterRequest r = o.request();
        c.change(r);
        ScriptedPrompt prompt;
        EXPECT_FALSE(letters.prepare(r, prompt)) << c.what;
        EXPECT_EQ(prompt.infos, QStringList{dialogIncompleteText()}) << c.what;
    }
    EXPECT_EQ(history(), 0);

    // A party and a branch that were deleted leave the letter's blanks.
    ASSERT_TRUE(db::execSql(o.session->deposits(), QStringLiteral("UPDATE ZEMANAT SET TAFSILNO = 999999, SUDBANKCODE = 999999 WHERE IDX = :i"),
                            {{QStringLiteral(":i"), o.idx}}));
    ScriptedPrompt prompt;
    const auto blank = letters.prepare(o.request(), prompt);
    ASSERT_TRUE(blank) << prompt.text().toStdString();
    EXPECT_EQ(plain(blank->body), QStringLiteral("%1 - %2 - %3").arg(QString(12, QLatin1Char('.')), QString(12, QLatin1Char('.')), QString(13, QLatin1Char('.'))));
    EXPECT_EQ(history(), 0);
}

TEST(GuaranteeLetters, TheNumberJoinsPrefixCounterAndSuffixAndRegisteringMovesTheCounter)
{
    LetterOffice o;
    LetterSettings settings(*o.session);
    ScriptedPrompt prompt;
    ASSERT_TRUE(settings.saveGuaranteeSettings({QStringLiteral("1"), QStringLiteral("41"), QStringLiteral("ت/"), QStringLiteral("/ذ"), {}}, prompt));
    EXPECT_EQ(prompt.infos.last(), savedText());
    EXPECT_EQ(settings.nextNumber()->text, QStringLiteral("ت/42/ذ"));
    EXPECT_FALSE(LetterSettings::nextNumber({QString(), QStringLiteral("4x"), {}, {}, {}}));

    GuaranteeLetters letters(*o.session);
    const auto letter = letters.prepare(o.request(), prompt);
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->number, QStringLiteral("ت/42/ذ"));
    EXPECT_TRUE(plain(letter->body).contains(QStringLiteral("77-12345")));
    const auto row = letters.registerRequest(*letter, o.request(), {}, prompt);
    ASSERT_TRUE(row) << prompt.text().toStdString();
    EXPECT_EQ(*row, 1);
    EXPECT_EQ(settings.guaranteeSettings()->lastNo, QStringLiteral("42"));
    const auto g = guarantees::Guarantees(*o.session).read(o.idx);
    EXPECT_EQ(g->status, 10);
    EXPECT_EQ(g->letterNo, QStringLiteral("ت/42/ذ"));
    const auto h = db::firstRow(o.session->deposits(), QStringLiteral("SELECT * FROM ZHIST WHERE ZIDX = :i"), {{QStringLiteral(":i"), o.idx}});
    ASSERT_TRUE(h);
    EXPECT_EQ(h->value(QStringLiteral("KIND")).toInt(), 1);
    EXPECT_EQ(h->value(QStringLiteral("ANS")).toInt(), 2);
    EXPECT_EQ(h->value(QStringLiteral("OLD_STATUSE")).toInt(), 0);
    EXPECT_EQ(h->value(QStringLiteral("SARRESID")).toString(), QStringLiteral("1406/10/10"));
    EXPECT_TRUE(h->value(QStringLiteral("LTRCONTENT")).toString().contains(QStringLiteral("77-12345")));
    // The next letter takes the next number; a typed one leaves the counter alone.
    EXPECT_EQ(settings.nextNumber()->text, QStringLiteral("ت/43/ذ"));
    LetterRequest typed = o.request();
    typed.input.secretariatNo = QStringLiteral("دستي-5");
    const auto second = letters.prepare(typed, prompt);
    ASSERT_TRUE(letters.registerRequest(*second, typed, {}, prompt));
    EXPECT_EQ(settings.guaranteeSettings()->lastNo, QStringLiteral("42"));
}

TEST(LetterTemplates, ATitleAtMostFourCopiesAndAnOpenPlaceholderAskedAbout)
{
    test::DemoOffice d;
    LetterTemplates templates(*d.session);
    LetterTemplate t;
    t.contents = QStringLiteral("<p>((شماره تضمين))</p>");
    ScriptedPrompt untitled;
    EXPECT_FALSE(templates.save(t, true, untitled));
    EXPECT_EQ(untitled.infos, QStringList{incompleteText()});
    ScriptedPrompt five;
    EXPECT_FALSE(LetterTemplates::copiesAllowed({1, 2, 3, 4, 5}, five));
    EXPECT_EQ(five.infos, QStringList{tooManyCopiesText()});
    ScriptedPrompt four;
    EXPECT_TRUE(LetterTemplates::copiesAllowed({1, 2, 3, 4}, four));

    const qint64 before = count(d.session->common(), QStringLiteral("SELECT COUNT(*) FROM LETTER_TEMPLATE"));
    t.title = QStringLiteral("پرانتز باز");
    t.contents = QStringLiteral("<p>بانک ((نام شعبه و ((شماره تضمين))</p>");
    ScriptedPrompt no({false});
    EXPECT_FALSE(templates.save(t, true, no));
    ASSERT_EQ(no.questions.size(), 1);
    EXPECT_EQ(count(d.session->common(), QStringLiteral("SELECT COUNT(*) FROM LETTER_TEMPLATE")), before);
    ScriptedPrompt yes({true});
    const auto code = templates.save(t, true, yes);
    ASSERT_TRUE(code);
    // Kept as rich text, the placeholder in it as plain text; another program does not see it.
    EXPECT_TRUE(plain(templates.read(*code)->contents).contains(QStringLiteral("((شماره تضمين))")));
    EXPECT_EQ(count(d.session->common(), QStringLiteral("SELECT PROGID FROM LETTER_TEMPLATE WHERE CODE = :c AND TITLE = :t"),
                    {{QStringLiteral(":c"), *code}, {QStringLiteral(":t"), t.title}}),
              3);
}

TEST(OdfExport, EveryParagraphOpensRightToLeftWithItsFormats)
{
    const QString html = QStringLiteral("<p align='center'><b>بانک محترم</b> ملي</p><p>مبلغ <i>1,250,000</i> <u>ريال</u></p><ul><li>اول</li><li>دوم</li></ul>");
    const QByteArray content = odtContent(html);
    QXmlStreamReader x(content);
    QStringList paragraphStyles, rtlStyles, used;
    QString style;
    bool bold = false, italic = false, underline = false;
    int bullets = 0;
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = x.attributes();
        if (x.name() == QLatin1String("style") && a.value(QStringLiteral("style:family")) == QLatin1String("paragraph")) {
            style = a.value(QStringLiteral("style:name")).toString();
            paragraphStyles << style;
        } else if (x.name() == QLatin1String("paragraph-properties") && a.value(QStringLiteral("style:writing-mode")) == QLatin1String("rl-tb")) {
            rtlStyles << style;
        } else if (x.name() == QLatin1String("text-properties")) {
            bold = bold || a.value(QStringLiteral("fo:font-weight")) == QLatin1String("bold");
            italic = italic || a.value(QStringLiteral("fo:font-style")) == QLatin1String("italic");
            underline = underline || a.value(QStringLiteral("style:text-underline-style")) == QLatin1String("solid");
        } else if (x.name() == QLatin1String("p")) {
            used << a.value(QStringLiteral("text:style-name")).toString();
        } else if (x.name() == QLatin1String("list-item")) {
            ++bullets;
        }
    }
    ASSERT_FALSE(x.hasError()) << x.errorString().toStdString();
    EXPECT_EQ(used.size(), 4);
    EXPECT_EQ(rtlStyles, paragraphStyles);
    for (const QString& u : used)
        EXPECT_TRUE(paragraphStyles.contains(u)) << u.toStdString();
    EXPECT_TRUE(bold && italic && underline);
    EXPECT_EQ(QString::fromUtf8(content).count(QStringLiteral("fo:text-align=\"center\"")), 1);
    EXPECT_EQ(QString::fromUtf8(content).count(QStringLiteral("fo:text-align=\"start\"")), 3);
    EXPECT_EQ(bullets, 2);
    EXPECT_TRUE(QString::fromUtf8(content).contains(QStringLiteral("بانک محترم")));

    // A sound archive that any archive tool reads, its mimetype first and stored.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter.odt"));
    QString why;
    ASSERT_TRUE(writeOdt(html, path, &why)) << why.toStdString();
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-v"), path});
    ASSERT_TRUE(unzip.waitForFinished(20000));
    const QStringList listing = QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'));
    const qsizetype first = listing.indexOf(QRegularExpression(QStringLiteral(".*Stored.*mimetype$")));
    EXPECT_GE(first, 0);
    EXPECT_LT(first, listing.indexOf(QRegularExpression(QStringLiteral(".*content.xml$"))));
    EXPECT_FALSE(writeOdt(html, dir.filePath(QStringLiteral("no/such/folder/x.odt")), &why));

    // Where a word processor is installed, it opens the file right to left.
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        return;
    QProcess convert;
    convert.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path(), path});
    ASSERT_TRUE(convert.waitForFinished(120000));
    // Its own reading of the paragraphs: each one right to left.
    QProcess docx;
    docx.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("docx"), QStringLiteral("--outdir"), dir.path(), path});
    ASSERT_TRUE(docx.waitForFinished(120000));
    QProcess document;
    document.start(QStringLiteral("unzip"), {QStringLiteral("-p"), dir.filePath(QStringLiteral("letter.docx")), QStringLiteral("word/document.xml")});
    ASSERT_TRUE(document.waitForFinished(20000));
    const QString xml = QString::fromUtf8(document.readAllStandardOutput());
    EXPECT_EQ(xml.count(QStringLiteral("<w:p>")) + xml.count(QStringLiteral("<w:p ")), 4);
    EXPECT_GE(xml.count(QStringLiteral("<w:bidi")), 4) << xml.toStdString();
    const QStringList lines = test::pdfLines(dir.filePath(QStringLiteral("letter.pdf")));
    EXPECT_TRUE(lines.join(QLatin1Char(' ')).contains(QStringLiteral("بانک محترم ملي"))) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(lines.join(QLatin1Char(' ')).contains(QStringLiteral("مبلغ 1,250,000 ريال"))) << lines.join(QLatin1Char('|')).toStdString();
}

TEST(DepositLetters, TheFixedLettersCarryTheAmountBetweenSlashesAndInWordsAndTheSettingsLines)
{
    test::DemoOffice d;
    QTemporaryDir dir;
    struct Case { FixedDepositLetter which; const char* opening; const char* copy; };
    const Case cases[] = {
        {FixedDepositLetter::MonthlyList, "با احترام صورت ريز سپرده هاي دريافتي(وصولي) ماه مهر 1405", "رونوشت: ذيحسابي جهت اطلاع"},
        {FixedDepositLetter::TreasuryHead, "احتراما ، به پيوست تصوير صورتحساب بانکي فيشهاي واريزي و فهرست", "رونوشت: امور مالي جهت اطلاع"},
        {FixedDepositLetter::BalanceConfirmation, "احترامـا خواهشـمند است دسـتور فرمايـيد تائـيديه مانده حسـاب خزانـه", "رونوشت: امور قراردادها جهت اطلاع"},
    };
    for (const Case& c : cases) {
        FixedLetterInput in;
        in.which = c.which;
        in.amount = 12'345'000;
        in.year = 1405;
        in.month = 7;
        in.balanceDate = QStringLiteral("1405/07/30");
        in.number = QStringLiteral("ذ/501");
        const auto page = fixedDepositLetter(*d.session, in);
        ASSERT_TRUE(page) << page.error().toStdString();
        const QString body = plain(page->bodyHtml);
        EXPECT_TRUE(body.contains(QString::fromUtf8(c.opening))) << body.toStdString();
        EXPECT_TRUE(body.contains(QStringLiteral("/12,345,000/ ريال (") + util::AmountToWords(12'345'000) + QStringLiteral(" ريال)"))) << body.toStdString();
        const QString path = dir.filePath(QStringLiteral("d%1.pdf").arg(int(c.which)));
        QString why;
        ASSERT_TRUE(writeLettersPdf({*page}, path, &why)) << why.toStdString();
        const QString read = pdfText(path);
        EXPECT_TRUE(read.contains(QStringLiteral("/12,345,000/"))) << read.toStdString();
        EXPECT_TRUE(read.contains(QString::fromUtf8(c.copy))) << read.toStdString();
    }
    FixedLetterInput bad;
    bad.month = 13;
    bad.year = 1405;
    EXPECT_FALSE(fixedDepositLetter(*d.session, bad));
}

TEST(LetterPages, EachOfTheSevenLayoutsPrintsOnItsPaperAndTwoA5LettersShareASheet)
{
    LetterOffice o;
    ScriptedPrompt prompt;
    const auto letter = GuaranteeLetters(*o.session).prepare(o.request(), prompt);
    ASSERT_TRUE(letter) << prompt.text().toStdString();
    struct Case { int layout; const char* size; bool invocation; };
    const Case cases[] = {{0, "420 x 595", true}, {1, "420 x 595", false}, {2, "420 x 595", false}, {3, "420 x 595", true},
                          {4, "420 x 595", false}, {5, "595 x 842", false}, {6, "595 x 842", true}};
    ASSERT_EQ(paperLayouts().size(), 7);
    for (const Case& c : cases) {
        LetterRequest r = o.request(c.layout);
        std::vector<LetterPage> pages = GuaranteeLetters(*o.session).pagesOf(*letter, r);
        if (c.layout == 2)
            pages.front().placed = {{20, 20, 60, 8, 11, true, {}, QStringLiteral("77-12345")}, {20, 40, 90, 8, 11, false, {}, QStringLiteral("تمديد تا 10/10/1406")}};
        const QString path = o.path(QStringLiteral("layout%1.pdf").arg(c.layout));
        QString why;
        ASSERT_TRUE(writeLettersPdf(pages, path, &why)) << why.toStdString();
        EXPECT_TRUE(pdfInfo(path).contains(QString::fromLatin1(c.size))) << c.layout;
        const QString text = pdfText(path);
        EXPECT_EQ(text.contains(QStringLiteral("بسمه تعالي")), c.invocation) << c.layout;
        if (c.layout == 0) {
            EXPECT_TRUE(text.contains(QStringLiteral("موضوع: تمديد آزمايشي"))) << text.toStdString();
        }
        if (c.layout == 2) {
            EXPECT_TRUE(text.contains(QStringLiteral("تمديد تا 10/10/1406"))) << text.toStdString();
            EXPECT_FALSE(text.contains(QStringLiteral("ضمانتنامه شماره")));
        } else {
            EXPECT_TRUE(text.contains(QStringLiteral("ضمانتنامه شماره 77-12345"))) << c.layout << text.toStdString();
        }
    }
    // "دو نامه": the letter and its copy side by side on one A4 sheet.
    LetterRequest two = o.request(3);
    two.withCopies = true;
    std::vector<LetterPage> pages = GuaranteeLetters(*o.session).pagesOf(*letter, two);
    for (LetterPage& p : pages)
        p.twoPerSheet = true;
    const QString path = o.path(QStringLiteral("two.pdf"));
    ASSERT_TRUE(writeLettersPdf(pages, path));
    EXPECT_TRUE(pdfInfo(path).contains(QStringLiteral("Pages:           1")));
    EXPECT_TRUE(pdfInfo(path).contains(QStringLiteral("842 x 595")));
    EXPECT_EQ(pdfText(path).count(QStringLiteral("ضمانتنامه شماره 77-12345")), 2);

    // A body longer than its page goes on over the next one, nothing lost.
    LetterPage longOne = pages.front();
    longOne.twoPerSheet = false;
    QString body;
    for (int i = 1; i <= 60; ++i)
        body += QStringLiteral("<p>بند %1 نامه</p>").arg(i);
    longOne.bodyHtml = body;
    const QString longPath = o.path(QStringLiteral("long.pdf"));
    ASSERT_TRUE(writeLettersPdf({longOne}, longPath));
    QString all;
    for (int page = 1; page <= 3; ++page)
        all += pdfText(longPath, page) + QLatin1Char(' ');
    for (int i : {1, 30, 60})
        EXPECT_TRUE(all.contains(QStringLiteral("بند %1 نامه").arg(i))) << i;
}
