// The common base data every register refers to: banks, branches and the office's
// accounts, provinces, the parameters of contracts, plans, projects and centres, the
// detail accounts of contractors and persons, and their contracts.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/util/Numbers.h"

namespace orvak::demo {

namespace {

const char* const kFirstNames[] = {"علي", "محمد", "حسين", "رضا", "مهدي", "حميد", "سعيد", "مجيد", "احمد", "جواد",
                                   "زهرا", "مريم", "فاطمه", "ليلا", "سارا", "نرگس", "محسن", "کاظم", "هادي", "ناصر"};
const char* const kLastNames[] = {"احمدي", "محمدي", "حسيني", "رضايي", "کريمي", "موسوي", "جعفري", "صادقي", "رحيمي",
                                  "نوري", "قاسمي", "اکبري", "يزداني", "شريفي", "طاهري", "فراهاني", "کاظمي", "باقري",
                                  "زارعي", "مرادي", "عباسي", "سلطاني", "نجفي", "خسروي"};
const char* const kCompanyWords[] = {"پارس", "البرز", "سپهر", "آريا", "کوشا", "راه آوران", "پيمان", "سازه", "نوين",
                                     "بنيان", "ايمن", "پويا", "کيان", "دماوند", "زاگرس", "مهرگان", "آبادگران", "سپيد"};
const char* const kCompanyKinds[] = {"شرکت ساختماني", "شرکت راهسازي", "شرکت مهندسين مشاور", "شرکت عمراني", "شرکت تاسيساتي"};
const char* const kCities[] = {"ياسوج", "شيراز", "اصفهان", "تهران", "مشهد", "تبريز", "اهواز", "کرمان", "رشت", "يزد"};
const char* const kProjects[] = {"احداث راه روستايي", "بهسازي محور", "احداث پل", "روکش آسفالت محور", "احداث ساختمان اداري",
                                 "تعمير ابنيه", "ايمن سازي نقاط حادثه خيز", "احداث تقاطع غيرهمسطح", "نگهداري راههاي فرعي",
                                 "احداث زيرگذر", "تعريض محور", "ساماندهي ورودي شهر"};
const char* const kPlaces[] = {"دهدشت", "سي سخت", "چرام", "لنده", "باشت", "مارگون", "ليکک", "دنا", "بويراحمد", "گچساران"};

QString nationalCode(Rng& rng)
{
    for (;;) {
        int d[10];
        int s = 0;
        for (int i = 0; i < 9; ++i) {
            d[i] = rng.between(0, 9);
            s += (10 - i) * d[i];
        }
        const int r = s % 11;
        d[9] = r < 2 ? r : 11 - r;
        QString code;
        for (int x : d)
            code += QChar(u'0' + x);
        if (util::IsValidNationalCode(code))
            return code;
    }
}

// One row per name, coded from 1 in the order given: :c binds the code, :n the name.
template <size_t N>
bool addCodedNames(DemoContext& ctx, QSqlDatabase db, const QString& sql, const char* const (&names)[N], QVariantMap binds = {})
{
    for (size_t i = 0; i < N; ++i) {
        binds.insert(QStringLiteral(":c"), int(i) + 1);
        binds.insert(QStringLiteral(":n"), u8(names[i]));
        if (!ctx.exec(db, sql, binds))
            return false;
    }
    return true;
}

// Banks and their branches, provinces and their supervisions, and the office's own accounts.
bool addBanks(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    const char* const banks[] = {"ملي", "ملت", "صادرات", "تجارت", "سپه", "کشاورزي", "مسکن", "رفاه کارگران", "توسعه تعاون", "پست بانک"};
    if (!addCodedNames(ctx, db, QStringLiteral("INSERT INTO BANKNAME (CODE, NAME) VALUES (:c, :n)"), banks))
        return false;
    const char* provinces[] = {"کهگيلويه و بويراحمد", "فارس", "اصفهان", "تهران", "خوزستان", "بوشهر", "خراسان رضوي", "آذربايجان شرقي"};
    for (int i = 0; i < 8; ++i) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO OSTAN (CODE, NAME, CNO) VALUES (:c, :n, 1)"), {{QStringLiteral(":c"), i + 1}, {QStringLiteral(":n"), u8(provinces[i])}})
            || !ctx.exec(db, QStringLiteral("INSERT INTO SARPARASTI (CODE, NAME, OSTAN) VALUES (:c, :n, :o)"),
                         {{QStringLiteral(":c"), 100 + i}, {QStringLiteral(":n"), u8("سرپرستي استان ") + u8(provinces[i])}, {QStringLiteral(":o"), i + 1}}))
            return false;
    }
    int branch = 0;
    for (int b = 1; b <= 10; ++b) {
        for (int k = 0; k < 3; ++k) {
            ++branch;
            const QString city = u8(kCities[(b + k) % 10]);
            if (!ctx.exec(db, QStringLiteral("INSERT INTO BANKBRANCHNAME (CODE, BANKID, BRANCHCODE, BRANCHNAME, ADRESS, TEL, POSTCODE) VALUES (:c, :b, :bc, :n, :a, :t, :p)"),
                          {{QStringLiteral(":c"), branch}, {QStringLiteral(":b"), b}, {QStringLiteral(":bc"), QString::number(1000 + branch * 7)},
                           {QStringLiteral(":n"), u8("شعبه ") + city + (k ? QStringLiteral(" %1").arg(k) : QString())},
                           {QStringLiteral(":a"), u8("خيابان اصلي، ") + city}, {QStringLiteral(":t"), QStringLiteral("074-3322%1").arg(1000 + branch)},
                           {QStringLiteral(":p"), QStringLiteral("75918%1").arg(10000 + branch)}})
                || !ctx.exec(db, QStringLiteral("INSERT INTO SHOBEH (CODE, CODESHOBEH, NAME, SARPARASTI, ADRESS, TEL, CITYDESCR, DEGRI, SHETAB, PINPAD, ATM) "
                                                "VALUES (:c, :cs, :n, 100, :a, '', :city, 2, 1, 1, 1)"),
                             {{QStringLiteral(":c"), branch}, {QStringLiteral(":cs"), QString::number(1000 + branch * 7)}, {QStringLiteral(":n"), u8("شعبه ") + city},
                              {QStringLiteral(":a"), u8("ميدان مرکزي ") + city}, {QStringLiteral(":city"), city}}))
                return false;
        }
    }
    // The office's bank accounts.
    struct H { int code; const char* no; int bank; const char* subject; int kol; int moin; };
    const H accounts[] = {{1, "4001114004012345", 1, "حساب دريافت وجوه سپرده", 11005, 1},
                          {2, "4001114004023456", 1, "حساب رد وجوه سپرده", 11006, 2},
                          {3, "4001114006098765", 1, "حساب تمرکز وجوه سپرده خزانه", 11512, 1},
                          {4, "1302004567", 2, "تنخواه گردان رد وجوه سپرده", 11005, 3}};
    for (const H& h : accounts) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO HESAB (CODE, HESABNO, BANK, STARTDATE, KOL, MOIN, BRANCHCODE, BRANCHNAME, HESABSUBJECT, BRANCHC, PROGID, SANAMATAFSILKIND, Y) "
                                         "VALUES (:c, :n, :b, '1398/01/10', :k, :m, '1007', :bn, :s, 0, 3, 0, 0)"),
                      {{QStringLiteral(":c"), h.code}, {QStringLiteral(":n"), u8(h.no)}, {QStringLiteral(":b"), h.bank}, {QStringLiteral(":k"), h.kol},
                       {QStringLiteral(":m"), h.moin}, {QStringLiteral(":bn"), u8("شعبه مرکزي ياسوج")}, {QStringLiteral(":s"), u8(h.subject)}}))
            return false;
    }
    for (int i = 1; i <= 4; ++i) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO HesabBanki (CODE, HESABNO, BRANCHNAME, BANK, BRANCHCODE, TEL) SELECT CODE, substr(HESABNO, 1, 15), BRANCHNAME, BANK, BRANCHCODE, '074-33221100' FROM HESAB WHERE CODE = :c"),
                      {{QStringLiteral(":c"), i}}))
            return false;
    }
    return true;
}

bool addParameters(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    const char* const subjects[] = {"راهسازي", "ابنيه", "نگهداري راه", "پل سازي", "مشاوره", "تاسيسات"};
    const char* const classes[] = {"پايه يک", "پايه دو", "پايه سه", "پايه چهار", "پايه پنج"};
    const char* const deductions[] = {"سپرده حسن انجام کار", "بيمه", "ماليات", "حسن اجراي تعهدات", "ماليات بر ارزش افزوده"};
    const char* const receivers[] = {"خزانه معين استان", "سازمان تامين اجتماعي", "اداره کل امور مالياتي"};
    const char* const how[] = {"مناقصه عمومي", "مناقصه محدود", "ترک تشريفات", "استعلام"};
    const QString pay = QStringLiteral("INSERT INTO TBPARAMS_PAY (code, kind, name) VALUES (:c, :k, :n)");
    if (!addCodedNames(ctx, db, pay, subjects, {{QStringLiteral(":k"), 0}}) || !addCodedNames(ctx, db, pay, classes, {{QStringLiteral(":k"), 1}})
        || !addCodedNames(ctx, db, pay, deductions, {{QStringLiteral(":k"), 2}}) || !addCodedNames(ctx, db, pay, receivers, {{QStringLiteral(":k"), 3}})
        || !addCodedNames(ctx, db, pay, how, {{QStringLiteral(":k"), 4}})
        || !addCodedNames(ctx, db, QStringLiteral("INSERT INTO RASTEH (CODE, DESCR) VALUES (:c, :n)"), subjects))
        return false;
    const char* const funding[] = {"اعتبارات هزينه اي", "تملک دارائي هاي سرمايه اي", "درآمد اختصاصي"};
    for (int i = 0; i < 3; ++i) {
        if (!ctx.exec(db, QStringLiteral("INSERT INTO EtebarKind (KIND, DESCR, CI) VALUES (:k, :d, 0)"), {{QStringLiteral(":k"), i + 1}, {QStringLiteral(":d"), u8(funding[i])}})
            || !ctx.exec(db, QStringLiteral("INSERT INTO MTE (KIND, DESCR, ETKIND, ETGROUP, ISRADIF, RADIF, CI) VALUES (:k, :d, 1, 1, 1, :r, 0)"),
                         {{QStringLiteral(":k"), i + 1}, {QStringLiteral(":d"), u8(funding[i])}, {QStringLiteral(":r"), 130500 + i}}))
            return false;
    }
    if (!ctx.exec(db, QStringLiteral("INSERT INTO MOJRI (CODE, NAME) VALUES (1, 'معاونت راهداري'), (2, 'معاونت ساختمان و مسکن')"))
        || !ctx.exec(db, QStringLiteral("INSERT INTO NAZER (CODE, NAME) VALUES (1, 'مهندسين مشاور راهوار'), (2, 'مهندسين مشاور پايدار ساز')")))
        return false;
    return addCodedNames(ctx, db, QStringLiteral("INSERT INTO CENTERS (CODE, NAME, CI) VALUES (:c, :n, 0)"), kPlaces);
}

bool addPlans(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    int project = 0;
    for (int p = 1; p <= 8; ++p) {
        ctx.plans << p;
        if (!ctx.exec(db, QStringLiteral("INSERT INTO TARH (CI, CODE, CODT, NAMET, KIND, SAL, SAL_MOF) VALUES (0, :c, :t, :n, :k, 5, :y)"),
                      {{QStringLiteral(":c"), p}, {QStringLiteral(":t"), QStringLiteral("13030%1").arg(p * 11)},
                       {QStringLiteral(":n"), u8("طرح ") + u8(kProjects[p % 12]) + u8(" استان")}, {QStringLiteral(":k"), p % 2},
                       {QStringLiteral(":y"), ctx.years.first()}}))
            return false;
        for (int k = 0; k < 3; ++k) {
            ++project;
            ctx.projectsOfPlan[p] << project;
            if (!ctx.exec(db, QStringLiteral("INSERT INTO PROJEH (CI, PROJNO, TARHNO, CODP, NAMEP, KIND, HVSUB, START_YEAR, CENTERCODE, SAL_MOF) "
                                             "VALUES (0, :n, :t, :c, :name, :k, 0, :y, :cc, :y)"),
                          {{QStringLiteral(":n"), project}, {QStringLiteral(":t"), p}, {QStringLiteral(":c"), QStringLiteral("%1%2").arg(p * 11).arg(k + 1)},
                           {QStringLiteral(":name"), u8(kProjects[(p + k) % 12]) + QLatin1Char(' ') + u8(kPlaces[(p * 3 + k) % 10])},
                           {QStringLiteral(":k"), k % 2}, {QStringLiteral(":y"), ctx.years.first()}, {QStringLiteral(":cc"), (p + k) % 10 + 1}}))
                return false;
        }
    }
    return true;
}

// Detail accounts: companies and persons.
bool addParties(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    const int ownerCount = std::min(150 + 10 * (ctx.options.scale - 1), 3000);
    if (!ctx.exec(db, QStringLiteral("INSERT INTO GROUP_TAFSILI (CI, CODE, NAME, TAFSIL_AZ, TAFSIL_TA) VALUES (0, 1, 'پيمانکاران', 1001, 4999), (0, 2, 'اشخاص حقيقي', 5001, 8999)")))
        return false;
    db::BulkInserter tafsili(db, QStringLiteral("TAFSILI"),
                             columns({"CODE", "NAME", "GROUPS", "ADDRESS", "KIND", "TELL", "MOBILE", "HESABJARI1", "BANK1", "CI", "TAFSILKIND", "NID",
                                      "SHABA", "ADMIN_NAME", "ADMIN_MELICODE", "CITY", "OSTAN", "RASTEH1", "RANK1", "SAMADTAFSILKIND", "FIRSTNAME",
                                      "LASTNAME", "CODE_EGHTESADI", "POSTCODE"}));
    for (int i = 0; i < ownerCount; ++i) {
        Owner o;
        o.company = i % 5 != 4;
        o.code = o.company ? 1001 + i : 5001 + i;
        const QString first = u8(ctx.rng.pick(kFirstNames));
        const QString last = u8(ctx.rng.pick(kLastNames));
        o.name = o.company ? u8(ctx.rng.pick(kCompanyKinds)) + QLatin1Char(' ') + u8(ctx.rng.pick(kCompanyWords)) + QLatin1Char(' ')
                + u8(ctx.rng.pick(kCompanyWords)) + QStringLiteral(" (%1)").arg(i + 1)
                           : first + QLatin1Char(' ') + last;
        o.nid = o.company ? QStringLiteral("1010%1").arg(ctx.rng.between64(1000000, 9999999)) : nationalCode(ctx.rng);
        const QString city = u8(ctx.rng.pick(kCities));
        tafsili.add(o.code).add(o.name).add(o.company ? 1 : 2).add(u8("خيابان ") + u8(ctx.rng.pick(kLastNames)) + u8("، پلاک ") + QString::number(ctx.rng.between(1, 200)))
            .add(o.company ? ctx.rng.between(0, 3) : 0)
            .add(QStringLiteral("074-33%1").arg(ctx.rng.between(100000, 999999)))
            .add(QStringLiteral("0917%1").arg(ctx.rng.between(1000000, 9999999)))
            .add(QStringLiteral("0%1").arg(ctx.rng.between64(100000000LL, 999999999LL)))
            .add(ctx.rng.between(0, 3))
            .add(0)
            .add(o.company ? 1 : 2)
            .add(o.nid)
            .add(QStringLiteral("%1").arg(ctx.rng.between64(100000000000000000LL, 999999999999999999LL)).left(24))
            .add(o.company ? first + QLatin1Char(' ') + last : QString())
            .add(o.company ? nationalCode(ctx.rng) : QString())
            .add(city)
            .add(u8("کهگيلويه"))
            .add(ctx.rng.between(1, 6))
            .add(QString::number(ctx.rng.between(1, 5)))
            .add(o.company ? 1 : 7)
            .add(o.company ? QString() : first)
            .add(o.company ? QString() : last)
            .add(o.company ? QString::number(ctx.rng.between64(100000000000LL, 999999999999LL)) : QString())
            .add(QString::number(ctx.rng.between64(7591000000LL, 7599999999LL)));
        if (!ctx.insert(tafsili))
            return false;
        ctx.owners << o;
    }
    return true;
}

// Contracts with their deductions, plan and funding: most companies hold one to three.
bool addContracts(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    db::BulkInserter payments(db, QStringLiteral("PAYMENTS"),
                              columns({"CODE", "PAYMENTNO", "AMOUNT", "EZAFEHKAR", "TAFSIL", "PAYMENTDATE", "DESCR", "DATESHORO", "MODAT", "PMOZOO",
                                       "CHEGONEGY", "PAYMENTYEAR", "DATEFINAL", "PTABAGHE", "PSPACE", "PROJNO", "HAVKOSUR", "HAVSAVABEG", "MOJRI",
                                       "PMODATKIND", "KINDEZAFKARI", "TIKMOTAMAM", "AMOUNTFINAL", "NAZER", "BIMKIND", "DARSADBIMPEYMANKAR",
                                       "DARSADBIMEHKARF", "CI"}));
    db::BulkInserter kosurat(db, QStringLiteral("PAYMAN_KOSURAT"),
                             columns({"CI", "CODE", "CODE_KOSUR", "DARSAD_KARF", "DARSAD_PAY", "CODE_PAY", "DEVICE", "HESAB", "AMOUNT"}));
    db::BulkInserter tp(db, QStringLiteral("PAYMAN_TP"), columns({"PaymanCode", "Tarh", "Projeh", "Amount", "CI"}));
    db::BulkInserter ete(db, QStringLiteral("PAYMAN_ETE"), columns({"id", "code", "CI"}));
    int contractCode = 0;
    int kosurCode = 0;
    const int firstYear = ctx.years.first();
    for (Owner& o : ctx.owners) {
        if (!o.company)
            continue;
        const int n = ctx.rng.between(1, 3);
        for (int k = 0; k < n; ++k) {
            Contract c;
            c.code = ++contractCode;
            c.owner = o.code;
            const int year = firstYear - ctx.rng.between(0, 2);
            c.date = QStringLiteral("%1/%2/%3").arg(year).arg(ctx.rng.between(1, 12), 2, 10, QLatin1Char('0')).arg(ctx.rng.between(1, 29), 2, 10, QLatin1Char('0'));
            c.number = QStringLiteral("%1/%2/%3").arg(year % 100).arg(ctx.rng.between(100, 999)).arg(c.code);
            c.amount = ctx.rng.amount(2e9, 8e11);
            c.plan = ctx.plans[ctx.rng.between(0, int(ctx.plans.size()) - 1)];
            c.project = ctx.projectsOfPlan[c.plan][ctx.rng.between(0, 2)];
            const int subject = ctx.rng.between(1, 6);
            payments.add(c.code).add(c.number).add(double(c.amount)).add(double(c.amount / 10)).add(o.code).add(c.date)
                .add(u8(" ق ") + c.number + u8(" تاريخ ") + c.date).add(c.date).add(QString::number(ctx.rng.between(6, 24))).add(subject)
                .add(ctx.rng.between(1, 4)).add(year).add(QStringLiteral("%1/12/29").arg(year + 2)).add(ctx.rng.between(1, 5)).add(ctx.rng.between(1, 10))
                .add(c.project).add(1).add(0).add(ctx.rng.between(1, 2)).add(1).add(2).add(1).add(double(c.amount)).add(ctx.rng.between(1, 2))
                .add(1).add(6.6).add(5.0).add(0);
            if (!ctx.insert(payments))
                return false;
            const struct { int kind; double pay; int device; } ds[] = {{1, 10, 1}, {2, 5, 1}, {3, 5, 3}, {5, 9, 3}};
            for (const auto& d : ds) {
                kosurat.add(0).add(++kosurCode).add(d.kind).add(0.0).add(d.pay).add(c.code).add(d.device)
                    .add(d.device == 1 ? u8("4001114004012345 بانک ملي") : u8("حساب درآمد عمومي")).add(double(c.amount) * d.pay / 100.0);
                if (!ctx.insert(kosurat))
                    return false;
            }
            tp.add(c.code).add(c.plan).add(c.project).add(double(c.amount)).add(0);
            ete.add(c.code).add(ctx.rng.between(1, 3)).add(0);
            if (!ctx.insert(tp) || !ctx.insert(ete))
                return false;
            o.contracts << c.code;
            ctx.contracts << c;
        }
    }
    if (!ctx.exec(db, QStringLiteral("INSERT INTO TAlarmKosuratH (IDX, TAFSILI_CODE, STATUS, AMOUNT, ALARMDATE, DESCR, CI) VALUES (1, :t, 1, 185000000, :d, :x, 0)"),
                  {{QStringLiteral(":t"), ctx.owners[3].code}, {QStringLiteral(":d"), ctx.cal.text(ctx.todayIndex - 40)}, {QStringLiteral(":x"), u8("بدهي بيمه طبق نامه سازمان تامين اجتماعي")}}))
        return false;
    return ctx.exec(db, QStringLiteral("INSERT INTO SAVE_DESCR (UID, ROW, DESCR) VALUES (0, 1, 'بابت کسر حسن انجام کار صورت وضعيت'), (0, 2, 'استرداد سپرده پس از تحويل موقت')"));
}

} // namespace

bool addBaseData(DemoContext& ctx)
{
    return addBanks(ctx) && addParameters(ctx) && addPlans(ctx) && addParties(ctx) && addContracts(ctx);
}

// History letters of every fourth contract, one to three each, dated after the
// contract; drawn from the contract's own numbers so that the other steps' data stays
// as the seed makes it.
bool addContractLetters(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->common();
    db::BulkInserter letters(db, QStringLiteral("PAYMAN_LETTERS"),
                             columns({"CI", "LtrID", "PaymanCode", "LtrDate", "LtrNO", "PMOZOO", "Description", "extradescr", "AUTOMATIONID"}));
    const char* const subjects[] = {"ابلاغ قرارداد", "صورتجلسه تحويل زمين", "درخواست تمديد مدت قرارداد", "صورتجلسه تحويل موقت"};
    for (const Contract& c : std::as_const(ctx.contracts)) {
        if (c.code % 4 != 1)
            continue;
        const std::optional<util::JalaliDate> from = util::parseJalali(c.date);
        for (int k = 1; k <= 1 + c.code % 3; ++k) {
            const QDate day = util::toGregorian(*from).addDays(20 * k + c.code % 17);
            letters.add(0).add(c.code).add(k).add(util::toJalali(day).toText()).add(QStringLiteral("%1/%2/ق").arg(c.code).arg(100 + k))
                .add((c.code + k) % 6 + 1).add(u8(subjects[(k - 1) % 4]) + u8(" ") + c.number).add(QString()).add(5000 + c.code * 10 + k);
            if (!ctx.insert(letters))
                return false;
        }
    }
    return ctx.exec(db, QStringLiteral("UPDATE PAYMENTS SET HAVSAVABEG = 1 WHERE CI = 0 AND CODE IN (SELECT LtrID FROM PAYMAN_LETTERS WHERE CI = 0)"));
}

} // namespace orvak::demo
