// Who works in the demo office and what each may do, and the office's own settings:
// the organisation, the fiscal year, the accounts the registers post to and the
// defaults of their letters and slips.
#include "core/demo/DemoSteps.h"
#include "core/startup/ServerSetup.h"

#include <QBuffer>
#include <QImage>
#include <cmath>

namespace orvak::demo {

namespace {
// The organisation's emblem: rings and a star drawn pixel by pixel (no fonts, no
// painter: the command line builds it without a display), the same every time.
QByteArray organisationEmblem()
{
    const int side = 192;
    const double unit = side / 96.0;   // the drawing is laid out on 96 units
    QImage image(side, side, QImage::Format_ARGB32);
    const double c = (side - 1) / 2.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = x - c, dy = y - c;
            const double r = std::hypot(dx, dy) / unit;
            const double angle = std::atan2(dy, dx);
            const double star = 22 + 10 * std::cos(8 * angle);
            QRgb colour = qRgba(0, 0, 0, 0);
            if (r <= 47 && r > 42)
                colour = qRgb(0x0d, 0x47, 0xa1);
            else if (r <= 42 && r > 40)
                colour = qRgb(0xff, 0xc1, 0x07);
            else if (r <= star)
                colour = qRgb(0x1b, 0x5e, 0x20);
            else if (r <= 40)
                colour = qRgb(0xf5, 0xf5, 0xf0);
            image.setPixel(x, y, colour);
        }
    }
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    image.save(&out, "PNG");
    return png;
}
} // namespace

bool addUsers(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    const int inst = DemoInstallationNumber;
    struct U { int code; const char* last; const char* first; const char* password; int manager; int sel2; const char* post; int enabled = 1; };
    // Nothing here draws from the random generator: a user added changes no other data.
    const U list[] = {{3, "مدير سيستم", "اورواک", DemoManagerPassword, 1, 0, "ذيحساب"},
                      {4, "کريمي", "مريم", "1111", 0, 0, "حسابدار سپرده ها"},
                      {5, "نوري", "حميد", "2222", 0, 1, "کارشناس رسيدگي"},
                      {6, "شريفي", "ليلا", "3333", 0, 2, "مسئول تضمينات"},
                      {7, "رحماني", "سعيد", "1234", 0, 0, "حسابدار منتقل شده", 0}};   // blocked (مسدود)
    for (const U& u : list) {
        if (u.code != DemoManagerCode
            && !ctx.exec(db, QStringLiteral("INSERT INTO USERS (UCode, LastName, Name, ISMANAGER, ISENABLE, USER_JARI, progid) VALUES (:c, :l, :n, 0, 1, 1, 3)"),
                         {{QStringLiteral(":c"), u.code}, {QStringLiteral(":l"), u8(u.last)}, {QStringLiteral(":n"), u8(u.first)}}))
            return false;
        if (!ctx.exec(db, QStringLiteral("UPDATE USERS SET POST = :p, PERSONCODE = :pc, MADRAK = :m, ESKIND = 0, EDATE = '1385/07/01' WHERE UCode = :c"),
                      {{QStringLiteral(":p"), u8(u.post)}, {QStringLiteral(":pc"), 9100 + u.code}, {QStringLiteral(":m"), u8("کارشناسي حسابداري")},
                       {QStringLiteral(":c"), u.code}}))
            return false;
        if (!ctx.exec(db, QStringLiteral("DELETE FROM PROGUSERS WHERE PROGID = 3 AND UCODE = :c"), {{QStringLiteral(":c"), u.code}})
            || !ctx.exec(db, QStringLiteral("INSERT INTO PROGUSERS (PROGID, UCODE, PASSWORD, ISMANAGER, ISENABLE, SEL1, SEL2, SEL3, SEL4, SEL5) "
                                            "VALUES (3, :c, :p, :m, :e, 0, :s2, 0, 0, 0)"),
                         {{QStringLiteral(":c"), u.code}, {QStringLiteral(":p"), startup::scrambledPassword(u8(u.password), u.code, inst)},
                          {QStringLiteral(":m"), u.manager}, {QStringLiteral(":e"), u.enabled}, {QStringLiteral(":s2"), u.sel2}}))
            return false;
    }
    // The accountant may not delete; the reviewer sees reports only; backups are the manager's.
    for (int menu = 1; menu <= 19; ++menu) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND3, ACCESSKIND4, ACCESSKIND5, ACCESSKIND6, ACCESSKIND7) "
                                         "VALUES (4, 3, :m, :k1, 1, 1, 1, 0, 0, 0)"),
                      {{QStringLiteral(":m"), menu}, {QStringLiteral(":k1"), (menu == 1 || menu == 14) ? 1 : 0}})
            || !ctx.exec(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2) VALUES (5, 3, :m, :k1, 1)"),
                         {{QStringLiteral(":m"), menu}, {QStringLiteral(":k1"), menu == 9 || menu == 11 ? 0 : (menu <= 8 ? 1 : 0)}}))
            return false;
    }
    // The guarantees officer keeps the guarantee register and its reports whole.
    for (int menu : {10, 11}) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND3, ACCESSKIND4, ACCESSKIND5, ACCESSKIND6, ACCESSKIND7) "
                                         "VALUES (6, 3, :m, 0, 1, 1, 1, 1, 0, 0)"),
                      {{QStringLiteral(":m"), menu}}))
            return false;
    }
    return ctx.exec(db, QStringLiteral("INSERT INTO USERKOL (USER_ID, KOL, C) VALUES (4, '21007', '0')"));
}

bool addSettings(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    const int year = ctx.cal.jalali[ctx.todayIndex].year;
    return ctx.exec(db, QStringLiteral("DELETE FROM CurMaliYear"))
        && ctx.exec(db, QStringLiteral("INSERT INTO CurMaliYear (IDX, CurMaliY) VALUES (1, :y)"), {{QStringLiteral(":y"), year}})
        && ctx.exec(db, QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME, SHAHR, GENERALOFFICENAME, officeName, RADIFEDASTGAH, KhazanehRaiiseName, "
                                       "HESABNO_SEP_BANKDAR, SEP_BANKDAR, SEP_BANKDAR_SHOBEH, HESABNO_SEP_BANKRAD, SEP_BANKRAD, SEP_BANKRAD_SHOBEH, "
                                       "HESABNO_TamarkozeVojuh, BANK_TamarkozeVojuh, SHOBEH_TamarkozeVojuh) VALUES (1, 'کهگيلويه و بويراحمد', 'ياسوج', "
                                       "'وزارت راه و شهرسازي', 'اداره کل راه و شهرسازي استان کهگيلويه و بويراحمد', '130500', 'محمود نجفي', "
                                       "'4001114004012345', 'ملي', 'مرکزي ياسوج', '4001114004023456', 'ملي', 'مرکزي ياسوج', '4001114006098765', 'مرکزي', 'خزانه معين استان')"))
        && ctx.exec(db, QStringLiteral("INSERT INTO Sep_LtrSetting (CODE, KHAZANEONVAN, R1ERSAL, R2ERSAL, R3ERSAL, R1DARKHST, R2DARKHST, KHAZANEHRAIISENAME) VALUES (1, "
                                       "'اداره تمرکز وجوه سپرده خزانه معين استان', 'رونوشت: امور مالي جهت اطلاع', 'رونوشت: ذيحسابي جهت اطلاع', "
                                       "'رونوشت: بايگاني سپرده ها', 'رونوشت: امور قراردادها جهت اطلاع', 'رونوشت: حسابداري رد وجوه سپرده جهت اطلاع', 'محمود نجفي')"))
        && ctx.exec(db, QStringLiteral("INSERT INTO ZEM_DEFAULTSETTING (CODE, START_LTRNO, LAST_LTRNO, PRIFIX_LTRNO, SUFFIX_LTRNO) VALUES (1, :first, :last, 'ت/', '/ذ')"),
                    {{QStringLiteral(":first"), QString::number(GuaranteeLettersStart)},
                     {QStringLiteral(":last"), QString::number(GuaranteeLettersStart + ctx.summary.guarantees)}})
        && ctx.exec(db, QStringLiteral("INSERT INTO BankHa (CODE, NAME, KIND, ACCKOL, ACCMOIN, BRANCH) VALUES "
                                       "(1, 'بانک ملي - حساب دريافت سپرده', 0, 11005, 1, 1), (2, 'بانک ملي - حساب رد وجوه سپرده', 1, 11006, 2, 1), "
                                       "(3, 'خزانه - حساب تمرکز وجوه سپرده', 2, 11512, 1, 1), (4, 'تنخواه گردان رد وجوه سپرده', 3, 11005, 3, 2)"))
        && ctx.exec(db, QStringLiteral("INSERT INTO SEPDESCR (CODE, NAME) VALUES (1, 'صورت وضعيت موقت'), (2, 'صورت وضعيت قطعي'), (3, 'تضمين نقدي مناقصه')"))
        && ctx.exec(db, QStringLiteral("INSERT INTO YearDefaults (Y, C, SEPKOL, SEPMOIN, BANKDARKOL, BANKDARMOIN, BANKRADKOL, BANKRADMOIN, TANKHAHKOL, TANKHAHMOIN, KHAZANEHKOL, KHAZANEHMOIN) "
                                       "VALUES (:y, '0', 21007, 1, 11005, 1, 11006, 2, 11005, 3, 11512, 1)"),
                    {{QStringLiteral(":y"), year}})
        && ctx.exec(db, QStringLiteral("INSERT INTO CODING_ACC (CODE, SEP_ACC, BANKDAR_ACC, BANKRAD_ACC, TANKHAH_ACC, KHAZANEH_ACC) VALUES (1, '21007', '11005001', '11006002', '11005003', '11512')"))
        && ctx.exec(db, QStringLiteral("INSERT INTO List4Get (C, KOL, MOIN, WORD1, WORD2, BEDBES) VALUES (0, 21007, 1, 'حسن انجام', 'سپرده', 1)"))
        && ctx.exec(db, QStringLiteral("INSERT INTO TBFISHSEP_HEADER (CODE, NAME, CR, CT, DESCR_EXTRA, font, TANZIM) VALUES (1, 'قبض سپرده استاندارد', 0, 140, '', 'Vazirmatn', 0)"))
        && ctx.exec(db, QStringLiteral("INSERT INTO TBFISHSEP_DETAIL (CODE, PL1, PT1, PS1, PE1, PL2, PT2, PS2, PE2) VALUES (1, 400, 20, 10, 1, 40, 20, 10, 1)"))
        && ctx.exec(db, QStringLiteral("INSERT INTO TBFISHSEP_DETAIL2 (CODE, PL1, PT1, PS1, PE1, PL2, PT2, PS2, PE2) VALUES (1, 400, 20, 10, 1, 40, 20, 10, 1)"))
        && ctx.exec(ctx.session->common(), QStringLiteral("INSERT INTO ARM (CODE, PIC, PICTYPE) VALUES (1, :p, 'PNG')"),
                    {{QStringLiteral(":p"), organisationEmblem()}});
}

} // namespace orvak::demo
