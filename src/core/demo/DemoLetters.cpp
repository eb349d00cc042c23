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
    struct T { int kind; const char* title; const char* body; };
    const T templates[] = {
        {0, "نامه عمومي به بانک", "<p>بانک محترم ((نام شعبه))</p><p>با سلام، احتراما در خصوص ضمانتنامه شماره ((شماره تضمين)) به مبلغ ((مبلغ فعلي)) متعلق به ((پيمانکار)) موضوع ((قرارداد)) خواهشمند است اقدام لازم معمول فرمائيد.</p><p>((نام اداره))</p>"},
        {1, "درخواست تمديد ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>احتراما ضمانتنامه شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) به مبلغ ((مبلغ فعلي)) (((مبلغ اوليه به حروف))) که سررسيد آن ((سررسيد فعلي)) مي باشد، به مدت ((مدت تمديد)) تا تاريخ ((سررسيد جديد)) تمديد گردد، در غير اين صورت وجه آن ضبط خواهد شد.</p>"},
        {2, "تقليل ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>مبلغ ضمانتنامه شماره ((شماره تضمين)) از ((مبلغ فعلي)) به ((مبلغ جديد)) (((مبلغ جديد به حروف))) تقليل يابد. ميزان تقليل: ((ميزان تقليل))</p>"},
        {3, "تمديد و تقليل ضمانتنامه", "<p>ضمانتنامه شماره ((شماره تضمين)) تا ((سررسيد جديد)) تمديد و مبلغ آن به ((مبلغ جديد)) تقليل يابد.</p>"},
        {4, "استعلام اصالت ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>خواهشمند است صحت صدور ضمانتنامه شماره ((شماره تضمين)) مورخ ((تاريخ صدور)) به مبلغ ((مبلغ فعلي)) را اعلام فرمائيد.</p>"},
        {5, "ضبط ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>نظر به عدم انجام تعهدات ((پيمانکار))، وجه ضمانتنامه شماره ((شماره تضمين)) به مبلغ ((مبلغ فعلي)) ضبط و به حساب اين اداره واريز گردد.</p>"},
        {6, "ابطال و آزادسازي ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>ضمانتنامه شماره ((شماره تضمين)) به مبلغ ((مبلغ فعلي)) از درجه اعتبار ساقط و آزاد مي گردد.</p>"},
        {7, "درخواست صدور ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>با صدور ضمانتنامه به مبلغ ((مبلغ فعلي)) به نفع اين اداره کل براي ((پيمانکار)) موافقت فرمائيد.</p>"},
        {8, "رفع توقيف ضمانتنامه", "<p>بانک محترم ((نام شعبه))</p><p>توقيف ضمانتنامه شماره ((شماره تضمين)) رفع مي گردد.</p>"},
        {0, "ارسال صورت ريز سپرده هاي دريافتي به خزانه", "<p>((نام اداره))</p><p>به پيوست صورت ريز سپرده هاي دريافتي ماه جاري جهت صدور اعلاميه بستانکاري ارسال مي گردد. تاريخ: ((تاريخ امروز))</p>"},
        {0, "درخواست وجه سپرده از خزانه", "<p>خزانه معين استان</p><p>خواهشمند است نسبت به واريز وجوه سپرده هاي مندرج در فهرست پيوست اقدام فرمائيد. ((نام اداره))</p>"},
    };
    int code = 0;
    for (const T& t : templates) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE (PROGID, CODE, TITLE, CONTENTS, LTRKIND, RUNEVESHT1, PAPERSIZE, PORT_LAND, PG_PERSHEET, TARAHI, CR, CT) "
                                         "VALUES (3, :c, :t, :b, :k, :r, 1, 0, 0, 0, 20, 40)"),
                      {{QStringLiteral(":c"), ++code}, {QStringLiteral(":t"), u8(t.title)}, {QStringLiteral(":b"), u8(t.body)}, {QStringLiteral(":k"), t.kind},
                       {QStringLiteral(":r"), t.kind == 0 ? 0 : 1}}))
            return false;
    }
    if (!ctx.exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE_RUNEVESHT (PROGID, LTRCODE, IDX, RUNEVESHT, TITLE) VALUES "
                                     "(3, 2, 1, 'رونوشت: پيمانکار محترم جهت اطلاع', 'پيمانکار'), (3, 2, 2, 'رونوشت: امور قراردادها جهت اطلاع', 'امور قراردادها')")))
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
