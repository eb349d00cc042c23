// Letters: the templates of every kind the guarantee and deposit letters are made
// from, and the signatory posts, their holders and the footers of reports.
#include "core/demo/DemoSteps.h"

namespace orvak::demo {

namespace {

// The six signatory columns (LBL1..LBL6 for the posts, L1..L6 for their holders)
// and their values, appended to an insert's column and value lists.
void appendSignatories(QString& cols, QString& vals, const char* prefix, const char* const (&names)[6])
{
    for (int i = 0; i < 6; ++i) {
        cols += QStringLiteral(", %1%2").arg(QLatin1String(prefix)).arg(i + 1);
        vals += QStringLiteral(", '%1'").arg(u8(names[i]));
    }
}

} // namespace

bool addLetters(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    // Every letter kind, on the paper an office uses for it: A5 with the letterhead for
    // the banks, A4 for the treasury, one positioned on the bank's pre-printed form.
    struct T { int kind; const char* title; const char* body; int paper; int copies[3]; };
    const T templates[] = {
        {0, "نامه عمومي به بانک",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام،</p><p dir='rtl'>احتراما در خصوص ضمانتنامه شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) "
         "به مبلغ ((مبلغ فعلي)) متعلق به ((پيمانکار)) موضوع قرارداد شماره ((ش.قرارداد)) مورخ ((تاريخ قرارداد)) (((قرارداد)))، خواهشمند است دستور فرماييد "
         "اقدام لازم معمول و نتيجه را به اين اداره کل اعلام نمايند.</p>",
         0, {1, 0, 0}},
        {1, "درخواست تمديد ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>موضوع: <u>تمديد ضمانتنامه شماره ((شماره تضمين))</u></p><p dir='rtl'>با سلام، "
         "احتراما ضمانتنامه ((نوع تضمين)) شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) به مبلغ ((مبلغ فعلي)) (((مبلغ اوليه به حروف))) بابت ((ماهيت تضمين)) "
         "((پيمانکار)) که سررسيد آن ((سررسيد فعلي)) مي باشد، به مدت <b>((مدت تمديد))</b> تا تاريخ <b>((سررسيد جديد))</b> تمديد و نتيجه تا قبل از سررسيد به "
         "اين اداره کل اعلام گردد، در غير اين صورت وجه ضمانتنامه ضبط خواهد شد.</p>",
         0, {1, 2, 0}},
        {2, "تقليل ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما پيرو نامه شماره ((ش.نامه دريافتي)) مورخ ((تاريخ نامه دريافتي)) "
         "مبلغ ضمانتنامه شماره ((شماره تضمين)) ((پيمانکار)) از ((مبلغ فعلي)) به ((مبلغ جديد)) (((مبلغ جديد به حروف))) تقليل يابد.</p>"
         "<ul><li>ميزان تقليل: ((ميزان تقليل))</li><li>سررسيد: ((سررسيد فعلي))</li></ul>",
         0, {1, 0, 0}},
        {3, "تمديد و تقليل ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما ضمانتنامه شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) ((پيمانکار)) "
         "به مدت ((مدت تمديد)) تا تاريخ ((سررسيد جديد)) تمديد و مبلغ آن از ((مبلغ فعلي)) به ((مبلغ جديد)) (((مبلغ جديد به حروف))) تقليل يابد.</p>",
         0, {1, 2, 0}},
        {4, "استعلام اصالت ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما خواهشمند است صحت صدور ضمانتنامه شماره ((شماره تضمين)) مورخ "
         "((تاريخ صدور)) به مبلغ ((مبلغ فعلي)) و سررسيد ((سررسيد فعلي)) به نام ((پيمانکار)) را که به شماره سپام ثبت شده است، کتبا به اين اداره کل اعلام "
         "فرماييد.</p>",
         0, {0, 0, 0}},
        {5, "ضبط ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، نظر به عدم انجام تعهدات ((پيمانکار)) در قرارداد شماره ((ش.قرارداد)) "
         "مورخ ((تاريخ قرارداد))، خواهشمند است وجه ضمانتنامه شماره ((شماره تضمين)) به مبلغ ((مبلغ فعلي)) (((مبلغ اوليه به حروف))) را ضبط و به حساب "
         "اين اداره کل واريز نماييد.</p>",
         0, {1, 2, 3}},
        {6, "ابطال و آزادسازي ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما به استناد صورتجلسه تحويل موقت، ضمانتنامه شماره ((شماره تضمين)) "
         "به مبلغ ((مبلغ فعلي)) ((پيمانکار)) بابت ((ماهيت تضمين)) از درجه اعتبار ساقط و آزاد مي گردد. اصل ضمانتنامه با ((تعداد ضمائم)) برگ ضميمه به پيوست "
         "اعاده مي شود.</p>",
         0, {1, 0, 0}},
        {7, "درخواست صدور ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما خواهشمند است با صدور ضمانتنامه ((ماهيت تضمين)) به مبلغ "
         "((مبلغ فعلي)) به نفع ((نام اداره)) براي ((پيمانکار)) موضوع ((شرح)) موافقت فرماييد.</p>",
         1, {1, 0, 0}},
        {8, "رفع توقيف ضمانتنامه",
         "<p dir='rtl'><b>بانک محترم ((نام شعبه))</b></p><p dir='rtl'>با سلام، احتراما پيرو نامه شماره ((شماره نامه))، توقيف ضمانتنامه شماره "
         "((شماره تضمين)) ((پيمانکار)) رفع و ضمانتنامه به وضعيت معتبر باز مي گردد.</p>",
         0, {1, 0, 0}},
        {0, "ارسال صورت ريز سپرده هاي دريافتي به خزانه",
         "<p dir='rtl'><b>((نام اداره))</b></p><p dir='rtl'>با احترام صورت ريز سپرده هاي دريافتي ماه جاري جهت صدور اعلاميه بستانکاري به پيوست ارسال "
         "مي گردد. تاريخ: ((تاريخ امروز))</p>",
         1, {4, 0, 0}},
        {0, "درخواست وجه سپرده از خزانه",
         "<p dir='rtl'><b>خزانه معين استان</b></p><p dir='rtl'>با سلام، خواهشمند است نسبت به واريز وجوه سپرده هاي مندرج در فهرست پيوست به حساب رد "
         "وجوه سپرده ((نام اداره)) اقدام فرماييد.</p>",
         1, {4, 0, 0}},
    };
    int code = 0;
    for (const T& t : templates) {
        const bool a5 = t.paper == 0;
        if (!ctx.exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE (PROGID, CODE, TITLE, CONTENTS, LTRKIND, RUNEVESHT1, RUNEVESHT2, RUNEVESHT3, RUNEVESHT4, "
                                         "PAPERSIZE, PORT_LAND, PG_PERSHEET, TARAHI, CR, CT) VALUES (3, :code, :title, :body, :kind, :copy1, :copy2, :copy3, 0, :paper, 0, 0, 0, :left, :top)"),
                      {{QStringLiteral(":code"), ++code}, {QStringLiteral(":title"), u8(t.title)}, {QStringLiteral(":body"), u8(t.body)},
                       {QStringLiteral(":kind"), t.kind}, {QStringLiteral(":copy1"), t.copies[0]}, {QStringLiteral(":copy2"), t.copies[1]},
                       {QStringLiteral(":copy3"), t.copies[2]}, {QStringLiteral(":paper"), t.paper}, {QStringLiteral(":left"), a5 ? 10 : 20},
                       {QStringLiteral(":top"), a5 ? 45 : 60}}))
            return false;
    }
    // The bank's pre-printed extension form: the items where its blanks are (millimetres on A5).
    struct Item { int n, left, top, width; };
    const Item items[] = {{1, 70, 62, 45}, {3, 20, 74, 95}, {4, 70, 86, 30}, {5, 20, 86, 30}, {6, 95, 98, 25}, {7, 20, 98, 50}, {10, 20, 50, 95}, {14, 20, 150, 90}, {18, 20, 170, 60}};
    QString pcols = QStringLiteral("PROGID, CODE, TITLE, CONTENTS, LTRKIND, PAPERSIZE, PORT_LAND, PG_PERSHEET, TARAHI, CR, CT, KALAMEH1, KALAMEH2");
    QString pvals = QStringLiteral("3, :c, :t, :b, 1, 0, 0, 0, 1, 0, 0, :w1, :w2");
    for (const Item& i : items) {
        pvals += QStringLiteral(", %1, %2, 11, 0, %3, 8, %4").arg(i.left).arg(i.top).arg(i.width).arg(i.n == 1 || i.n == 5 ? 1 : 0);
        pcols += QStringLiteral(", PL%1, PT%1, PS%1, PE%1, PW%1, PH%1, B%1").arg(i.n);
    }
    if (!ctx.exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE (%1) VALUES (%2)").arg(pcols, pvals),
                  {{QStringLiteral(":c"), ++code}, {QStringLiteral(":t"), u8("تمديد روي فرم چاپي بانک")},
                   {QStringLiteral(":b"), u8("<p dir='rtl'>فرم چاپي بانک: ضمانتنامه شماره ((شماره تضمين)) تا ((سررسيد جديد)) تمديد گردد.</p>")},
                   {QStringLiteral(":w1"), u8("((سررسيد فعلي))")}, {QStringLiteral(":w2"), u8("فوري")}}))
        return false;
    if (!ctx.exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE_RUNEVESHT (PROGID, LTRCODE, IDX, RUNEVESHT, TITLE) VALUES "
                                     "(3, 2, 1, 'رونوشت: ((پيمانکار)) جهت اطلاع و اقدام لازم', 'پيمانکار'), "
                                     "(3, 2, 2, 'رونوشت: امور قراردادها و دستگاه نظارت جهت اطلاع', 'امور قراردادها'), "
                                     "(3, 6, 3, 'رونوشت: اداره حقوقي جهت پيگيري', 'اداره حقوقي'), "
                                     "(3, 10, 4, 'رونوشت: امور مالي - حسابداري سپرده ها جهت اطلاع', 'امور مالي')")))
        return false;
    // Signatory posts, holders and footers.
    const char* const titles[] = {"ذيحساب", "معاون ذيحساب", "رئيس حسابداري", "تنظيم کننده", "مسئول سپرده ها", "مسئول تضمينات"};
    QString cols = QStringLiteral("CODE, C, PROGID");
    QString vals = QStringLiteral("1, 0, 3");
    appendSignatories(cols, vals, "LBL", titles);
    if (!ctx.exec(db, QStringLiteral("INSERT INTO LBLPERSONEL (%1) VALUES (%2)").arg(cols, vals)))
        return false;
    const char* const people[2][6] = {{"محمد رضايي", "علي احمدي", "مهدي قاسمي", "مريم کريمي", "زهرا موسوي", "ليلا شريفي"},
                                {"حسين صادقي", "علي احمدي", "مهدي قاسمي", "مريم کريمي", "زهرا موسوي", "ليلا شريفي"}};
    for (int set = 0; set < 2; ++set) {
        QString pc = QStringLiteral("CODE, CODELBL, C, PROGID, DESCR, OPDATE");
        QString pv = QStringLiteral("%1, 1, 0, 3, '%2', '%3'").arg(set + 1).arg(set == 0 ? u8("مسئولان سال قبل") : u8("مسئولان فعلي"), ctx.cal.text(set == 0 ? ctx.windowStart : ctx.todayIndex - 120));
        appendSignatories(pc, pv, "L", people[set]);
        if (!ctx.exec(db, QStringLiteral("INSERT INTO PERSONEL (%1) VALUES (%2)").arg(pc, pv)))
            return false;
    }
    if (!ctx.exec(db, QStringLiteral("INSERT INTO PREFOOTER (CODE, C, PROGID, NAME, GROUPREP, KINDREP, KINDREP_NAME, REP_NAME, R1, R2, R3) VALUES "
                                     "(1, 0, 3, 'نمونه کلي', 0, '', '', '', 'l4', 'l3', 'l1'), "
                                     "(2, 0, 3, 'گزارشات سپرده', 2, '', '', '', 'l5', 'l3', 'l1'), "
                                     "(3, 0, 3, 'گزارشات تضمينات', 1, '', '', '', 'l6', 'l2', 'l1'), "
                                     "(4, 0, 3, 'نامه ها', 3, '', '', '', 'l1', '', '')")))
        return false;
    return ctx.exec(db, QStringLiteral("INSERT INTO KARKONAN (CODE, C, PROGID, MODIRKOL, ZIHESAB, MODIRMALI, HESABDAR, TAZMINAT, LBLMODIRKOL, MOAVENZIHESAB, DESCR, OPDATE, LBL1, VLBL1, LBL2, VLBL2) "
                                       "VALUES (1, 0, 3, 'مهندس سعيد يزداني', 'حسين صادقي', 'مهدي قاسمي', 'مريم کريمي', 'ليلا شريفي', 'مديرکل', 'علي احمدي', 'مسئولان فعلي', :d, "
                                       "'عنوان مدير کل در نامه ها', 'مديرکل راه و شهرسازي استان', 'عنوان ذيحساب در نامه ها', 'ذيحساب و مدير امور مالي')"),
                    {{QStringLiteral(":d"), ctx.cal.text(ctx.todayIndex - 120)}});
}

} // namespace orvak::demo
