#include "core/demo/DemoInstallation.h"

#include "core/db/sqlite/BulkInserter.h"
#include "core/db/Db.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <random>

namespace orvak::demo {

using db::execSql;
using util::JalaliDate;

namespace {

// ---------------------------------------------------------------- words

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

// ---------------------------------------------------------------- random

class Rng {
public:
    explicit Rng(quint64 seed)
        : engine_(seed)
    {
    }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    qint64 between64(qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(engine_); }
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    bool chance(double p) { return unit() < p; }
    template <class T, size_t N>
    const T& pick(const T (&items)[N])
    {
        return items[between(0, int(N) - 1)];
    }
    // Amounts spread over orders of magnitude, rounded to a thousand rials.
    qint64 amount(double lo, double hi)
    {
        const double v = std::exp(std::log(lo) + unit() * (std::log(hi) - std::log(lo)));
        return std::max<qint64>(1000, qint64(std::llround(v / 1000.0)) * 1000);
    }

private:
    std::mt19937_64 engine_;
};

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

QString u8(const char* s) { return QString::fromUtf8(s); }

// ---------------------------------------------------------------- model

struct Owner {
    int code = 0;
    QString name;
    bool company = true;
    QString nid;
    QList<int> contracts;
};

struct Contract {
    int code = 0;
    int owner = 0;
    QString number;
    QString date;
    qint64 amount = 0;
    int plan = -1;
    int project = -1;
};

struct Deposit {
    int idx = 0;
    int day = 0;          // index into the calendar window
    int owner = 0;
    int contract = -1;
    int plan = -1;
    int project = -1;
    int kind = 1;
    qint64 amount = 0;
    qint64 chkno = 0;
    int sepno = 0;
    int sepDay = -1;
    int my = 0, mm = 0;
    int seprow = 0;
    int mosalsal = 0;
    QString tiksudmo;     // "", "R", "P", "O"
    bool sent = false;
    int credit = 0;       // BESTANKARI.IDXNO
    bool finalMark = false;
    int sndno = 0, sndrow = 0, sndyear = 0;
    // life after the list
    bool released = false;      // owner's request recorded
    int tafsilReq = 0;
    int fundReq = 0;            // SEP_REQH.REQ_IDX
    int fundRow = 0;
    qint64 requested = 0;
    qint64 refunded = 0;
    bool pettyCash = false;
    int refund = 0;             // SEP_RADH.RAD_IDX
    int taminKind = 1;
};

struct Calendar {
    QList<QDate> days;
    QStringList texts;
    QList<JalaliDate> jalali;
    int indexOf(const QDate& d) const { return int(days.first().daysTo(d)); }
    QString text(int i) const { return texts[std::clamp(i, 0, int(texts.size()) - 1)]; }
};

Calendar makeCalendar(const QDate& today, int months)
{
    Calendar c;
    const QDate first = today.addDays(-months * 30);
    for (QDate d = first; d <= today.addDays(200); d = d.addDays(1)) {
        c.days << d;
        const JalaliDate j = util::toJalali(d);
        c.jalali << j;
        c.texts << j.toText();
    }
    return c;
}

// ---------------------------------------------------------------- builder

class Builder {
public:
    Builder(const DemoOptions& o, startup::Prompt& p)
        : options_(o)
        , prompt_(p)
        , rng_(o.seed)
    {
    }
    DemoSummary run();

private:
    bool fail(const QString& why)
    {
        summary_.message = why;
        return false;
    }
    bool exec(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
    {
        QString why;
        if (!db::execSql(db, sql, binds, &why))
            return fail(why + QStringLiteral("\n") + sql);
        return true;
    }
    bool setUp();
    bool commonData();
    bool users();
    bool baseData();
    bool lettersAndFooters();
    void makeDeposits();
    bool writeDeposits();
    bool guarantees();
    bool vouchers();
    bool statements();
    bool settings();

    int workingDay(int from, int to);
    QString letterNo(const char* prefix, int n) const { return QStringLiteral("%1/%2").arg(n).arg(u8(prefix)); }

    DemoOptions options_;
    startup::Prompt& prompt_;
    Rng rng_;
    DemoSummary summary_;
    std::unique_ptr<startup::Session> session_;
    Calendar cal_;
    int todayIndex_ = 0;
    int windowStart_ = 0;
    QList<Owner> owners_;
    QList<Contract> contracts_;
    std::vector<Deposit> deposits_;
    QList<int> plans_;
    QHash<int, QList<int>> projectsOfPlan_;
    QList<int> years_;
};

int Builder::workingDay(int from, int to)
{
    for (int tries = 0; tries < 8; ++tries) {
        const int d = rng_.between(from, std::max(from, to));
        if (cal_.days[d].dayOfWeek() != Qt::Friday)
            return d;
    }
    return from;
}

bool Builder::setUp()
{
    QDir().mkpath(options_.folder);
    const QString start = QDir(options_.folder).absolutePath();
    if (QFileInfo::exists(QDir(start).filePath(QStringLiteral("SERVER.INI"))) || QFileInfo::exists(QDir(start).filePath(QStringLiteral("DATA"))))
        return fail(QStringLiteral("پوشه %1 از قبل يک نصب دارد؛ پوشه خالي ديگري انتخاب کنيد").arg(QDir::toNativeSeparators(start)));
    const startup::SiteConfig site{DemoInstallationNumber, QStringLiteral("اداره کل راه و شهرسازي استان کهگيلويه و بويراحمد")};
    QString why;
    if (!startup::writeSiteConfig(start, site, &why))
        return fail(why);
    session_ = std::make_unique<startup::Session>(start, site);
    startup::CollectingPrompt quiet(true);
    quiet.texts << QString::fromLatin1(DemoOrvakPassword);
    startup::InitialSetupRequest request;
    request.serverName = QStringLiteral("LOCAL:DATA");
    request.adminUser = QStringLiteral("orvak");
    request.adminPassword = QString::fromLatin1(DemoOrvakPassword);
    if (!startup::initialSetup(*session_, request, quiet).ok
        || !startup::workstationSetup(*session_, request.serverName, QString::fromLatin1(DemoOrvakPassword), 2, quiet))
        return fail(quiet.infos.join(QLatin1Char('\n')));

    const JalaliDate today = cal_.jalali[todayIndex_];
    for (int y = cal_.jalali[windowStart_].year; y <= today.year; ++y)
        years_ << y;
    if (!session_->OpenSection(today.year, QStringLiteral("0"), quiet))
        return fail(quiet.infos.join(QLatin1Char('\n')));
    for (int y : years_) {
        if (!startup::createAccountingDatabase(*session_, y, QStringLiteral("0"), quiet))
            return fail(quiet.infos.join(QLatin1Char('\n')));
    }
    summary_.databases = session_->server()->databaseNames();
    return true;
}

bool Builder::users()
{
    QSqlDatabase db = session_->common();
    const int inst = DemoInstallationNumber;
    struct U { int code; const char* last; const char* first; const char* password; int manager; int sel2; const char* post; };
    const U list[] = {{3, "مدير سيستم", "اورواک", DemoManagerPassword, 1, 0, "ذيحساب"},
                      {4, "کريمي", "مريم", "1111", 0, 0, "حسابدار سپرده ها"},
                      {5, "نوري", "حميد", "2222", 0, 1, "کارشناس رسيدگي"},
                      {6, "شريفي", "ليلا", "3333", 0, 2, "مسئول تضمينات"}};
    for (const U& u : list) {
        if (u.code != DemoManagerCode
            && !exec(db, QStringLiteral("INSERT INTO USERS (UCode, LastName, Name, ISMANAGER, ISENABLE, USER_JARI, progid) VALUES (:c, :l, :n, 0, 1, 1, 3)"),
                     {{QStringLiteral(":c"), u.code}, {QStringLiteral(":l"), u8(u.last)}, {QStringLiteral(":n"), u8(u.first)}}))
            return false;
        if (!exec(db, QStringLiteral("UPDATE USERS SET POST = :p, PERSONCODE = :pc, MADRAK = :m, ESKIND = 0, EDATE = '1385/07/01' WHERE UCode = :c"),
                  {{QStringLiteral(":p"), u8(u.post)}, {QStringLiteral(":pc"), 9100 + u.code}, {QStringLiteral(":m"), u8("کارشناسي حسابداري")},
                   {QStringLiteral(":c"), u.code}}))
            return false;
        if (!exec(db, QStringLiteral("DELETE FROM PROGUSERS WHERE PROGID = 3 AND UCODE = :c"), {{QStringLiteral(":c"), u.code}})
            || !exec(db, QStringLiteral("INSERT INTO PROGUSERS (PROGID, UCODE, PASSWORD, ISMANAGER, ISENABLE, SEL1, SEL2, SEL3, SEL4, SEL5) "
                                        "VALUES (3, :c, :p, :m, 1, 0, :s2, 0, 0, 0)"),
                     {{QStringLiteral(":c"), u.code}, {QStringLiteral(":p"), startup::scrambledPassword(u8(u.password), u.code, inst)},
                      {QStringLiteral(":m"), u.manager}, {QStringLiteral(":s2"), u.sel2}}))
            return false;
    }
    // The accountant may not delete; the reviewer sees reports only; backups are the manager's.
    for (int menu = 1; menu <= 19; ++menu) {
        if (!exec(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND3, ACCESSKIND4, ACCESSKIND5, ACCESSKIND6, ACCESSKIND7) "
                                     "VALUES (4, 3, :m, :k1, 1, 1, 1, 0, 0, 0)"),
                  {{QStringLiteral(":m"), menu}, {QStringLiteral(":k1"), (menu == 1 || menu == 14) ? 1 : 0}})
            || !exec(db, QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2) VALUES (5, 3, :m, :k1, 1)"),
                     {{QStringLiteral(":m"), menu}, {QStringLiteral(":k1"), menu == 9 || menu == 11 ? 0 : (menu <= 8 ? 1 : 0)}}))
            return false;
    }
    return exec(db, QStringLiteral("INSERT INTO USERKOL (USER_ID, KOL, C) VALUES (4, '21007', '0')"));
}

bool Builder::commonData()
{
    QSqlDatabase db = session_->common();
    const char* banks[] = {"ملي", "ملت", "صادرات", "تجارت", "سپه", "کشاورزي", "مسکن", "رفاه کارگران", "توسعه تعاون", "پست بانک"};
    for (int i = 0; i < 10; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO BANKNAME (CODE, NAME) VALUES (:c, :n)"), {{QStringLiteral(":c"), i + 1}, {QStringLiteral(":n"), u8(banks[i])}}))
            return false;
    }
    const char* provinces[] = {"کهگيلويه و بويراحمد", "فارس", "اصفهان", "تهران", "خوزستان", "بوشهر", "خراسان رضوي", "آذربايجان شرقي"};
    for (int i = 0; i < 8; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO OSTAN (CODE, NAME, CNO) VALUES (:c, :n, 1)"), {{QStringLiteral(":c"), i + 1}, {QStringLiteral(":n"), u8(provinces[i])}})
            || !exec(db, QStringLiteral("INSERT INTO SARPARASTI (CODE, NAME, OSTAN) VALUES (:c, :n, :o)"),
                     {{QStringLiteral(":c"), 100 + i}, {QStringLiteral(":n"), u8("سرپرستي استان ") + u8(provinces[i])}, {QStringLiteral(":o"), i + 1}}))
            return false;
    }
    int branch = 0;
    for (int b = 1; b <= 10; ++b) {
        for (int k = 0; k < 3; ++k) {
            ++branch;
            const QString city = u8(kCities[(b + k) % 10]);
            if (!exec(db, QStringLiteral("INSERT INTO BANKBRANCHNAME (CODE, BANKID, BRANCHCODE, BRANCHNAME, ADRESS, TEL, POSTCODE) VALUES (:c, :b, :bc, :n, :a, :t, :p)"),
                      {{QStringLiteral(":c"), branch}, {QStringLiteral(":b"), b}, {QStringLiteral(":bc"), QString::number(1000 + branch * 7)},
                       {QStringLiteral(":n"), u8("شعبه ") + city + (k ? QStringLiteral(" %1").arg(k) : QString())},
                       {QStringLiteral(":a"), u8("خيابان اصلي، ") + city}, {QStringLiteral(":t"), QStringLiteral("074-3322%1").arg(1000 + branch)},
                       {QStringLiteral(":p"), QStringLiteral("75918%1").arg(10000 + branch)}})
                || !exec(db, QStringLiteral("INSERT INTO SHOBEH (CODE, CODESHOBEH, NAME, SARPARASTI, ADRESS, TEL, CITYDESCR, DEGRI, SHETAB, PINPAD, ATM) "
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
        if (!exec(db, QStringLiteral("INSERT INTO HESAB (CODE, HESABNO, BANK, STARTDATE, KOL, MOIN, BRANCHCODE, BRANCHNAME, HESABSUBJECT, BRANCHC, PROGID, SANAMATAFSILKIND, Y) "
                                     "VALUES (:c, :n, :b, '1398/01/10', :k, :m, '1007', :bn, :s, 0, 3, 0, 0)"),
                  {{QStringLiteral(":c"), h.code}, {QStringLiteral(":n"), u8(h.no)}, {QStringLiteral(":b"), h.bank}, {QStringLiteral(":k"), h.kol},
                   {QStringLiteral(":m"), h.moin}, {QStringLiteral(":bn"), u8("شعبه مرکزي ياسوج")}, {QStringLiteral(":s"), u8(h.subject)}}))
            return false;
    }
    for (int i = 1; i <= 4; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO HesabBanki (CODE, HESABNO, BRANCHNAME, BANK, BRANCHCODE, TEL) SELECT CODE, substr(HESABNO, 1, 15), BRANCHNAME, BANK, BRANCHCODE, '074-33221100' FROM HESAB WHERE CODE = :c"),
                  {{QStringLiteral(":c"), i}}))
            return false;
    }
    return true;
}

bool Builder::baseData()
{
    QSqlDatabase db = session_->common();
    const char* subjects[] = {"راهسازي", "ابنيه", "نگهداري راه", "پل سازي", "مشاوره", "تاسيسات"};
    const char* classes[] = {"پايه يک", "پايه دو", "پايه سه", "پايه چهار", "پايه پنج"};
    const char* deductions[] = {"سپرده حسن انجام کار", "بيمه", "ماليات", "حسن اجراي تعهدات", "ماليات بر ارزش افزوده"};
    const char* receivers[] = {"خزانه معين استان", "سازمان تامين اجتماعي", "اداره کل امور مالياتي"};
    const char* how[] = {"مناقصه عمومي", "مناقصه محدود", "ترک تشريفات", "استعلام"};
    auto params = [&](int kind, const char* const* names, int n) {
        for (int i = 0; i < n; ++i) {
            if (!exec(db, QStringLiteral("INSERT INTO TBPARAMS_PAY (code, kind, name) VALUES (:c, :k, :n)"),
                      {{QStringLiteral(":c"), i + 1}, {QStringLiteral(":k"), kind}, {QStringLiteral(":n"), u8(names[i])}}))
                return false;
        }
        return true;
    };
    if (!params(0, subjects, 6) || !params(1, classes, 5) || !params(2, deductions, 5) || !params(3, receivers, 3) || !params(4, how, 4))
        return false;
    for (int i = 1; i <= 6; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO RASTEH (CODE, DESCR) VALUES (:c, :n)"), {{QStringLiteral(":c"), i}, {QStringLiteral(":n"), u8(subjects[i - 1])}}))
            return false;
    }
    const char* funding[] = {"اعتبارات هزينه اي", "تملک دارائي هاي سرمايه اي", "درآمد اختصاصي"};
    for (int i = 0; i < 3; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO EtebarKind (KIND, DESCR, CI) VALUES (:k, :d, 0)"), {{QStringLiteral(":k"), i + 1}, {QStringLiteral(":d"), u8(funding[i])}})
            || !exec(db, QStringLiteral("INSERT INTO MTE (KIND, DESCR, ETKIND, ETGROUP, ISRADIF, RADIF, CI) VALUES (:k, :d, 1, 1, 1, :r, 0)"),
                     {{QStringLiteral(":k"), i + 1}, {QStringLiteral(":d"), u8(funding[i])}, {QStringLiteral(":r"), 130500 + i}}))
            return false;
    }
    if (!exec(db, QStringLiteral("INSERT INTO MOJRI (CODE, NAME) VALUES (1, 'معاونت راهداري'), (2, 'معاونت ساختمان و مسکن')"))
        || !exec(db, QStringLiteral("INSERT INTO NAZER (CODE, NAME) VALUES (1, 'مهندسين مشاور راهوار'), (2, 'مهندسين مشاور پايدار ساز')")))
        return false;
    for (int i = 0; i < 10; ++i) {
        if (!exec(db, QStringLiteral("INSERT INTO CENTERS (CODE, NAME, CI) VALUES (:c, :n, 0)"), {{QStringLiteral(":c"), i + 1}, {QStringLiteral(":n"), u8(kPlaces[i])}}))
            return false;
    }
    // Plans and projects.
    int project = 0;
    for (int p = 1; p <= 8; ++p) {
        plans_ << p;
        if (!exec(db, QStringLiteral("INSERT INTO TARH (CI, CODE, CODT, NAMET, KIND, SAL, SAL_MOF) VALUES (0, :c, :t, :n, :k, 5, :y)"),
                  {{QStringLiteral(":c"), p}, {QStringLiteral(":t"), QStringLiteral("13030%1").arg(p * 11)},
                   {QStringLiteral(":n"), u8("طرح ") + u8(kProjects[p % 12]) + u8(" استان")}, {QStringLiteral(":k"), p % 2},
                   {QStringLiteral(":y"), years_.first()}}))
            return false;
        for (int k = 0; k < 3; ++k) {
            ++project;
            projectsOfPlan_[p] << project;
            if (!exec(db, QStringLiteral("INSERT INTO PROJEH (CI, PROJNO, TARHNO, CODP, NAMEP, KIND, HVSUB, START_YEAR, CENTERCODE, SAL_MOF) "
                                         "VALUES (0, :n, :t, :c, :name, :k, 0, :y, :cc, :y)"),
                      {{QStringLiteral(":n"), project}, {QStringLiteral(":t"), p}, {QStringLiteral(":c"), QStringLiteral("%1%2").arg(p * 11).arg(k + 1)},
                       {QStringLiteral(":name"), u8(kProjects[(p + k) % 12]) + QLatin1Char(' ') + u8(kPlaces[(p * 3 + k) % 10])},
                       {QStringLiteral(":k"), k % 2}, {QStringLiteral(":y"), years_.first()}, {QStringLiteral(":cc"), (p + k) % 10 + 1}}))
                return false;
        }
    }
    // Detail accounts: companies and persons, with contracts.
    const int ownerCount = std::min(150 + 10 * (options_.scale - 1), 3000);
    if (!exec(db, QStringLiteral("INSERT INTO GROUP_TAFSILI (CI, CODE, NAME, TAFSIL_AZ, TAFSIL_TA) VALUES (0, 1, 'پيمانکاران', 1001, 4999), (0, 2, 'اشخاص حقيقي', 5001, 8999)")))
        return false;
    db::BulkInserter tafsili(db, QStringLiteral("TAFSILI"),
                             {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("GROUPS"), QStringLiteral("ADDRESS"), QStringLiteral("KIND"),
                              QStringLiteral("TELL"), QStringLiteral("MOBILE"), QStringLiteral("HESABJARI1"), QStringLiteral("BANK1"), QStringLiteral("CI"),
                              QStringLiteral("TAFSILKIND"), QStringLiteral("NID"), QStringLiteral("SHABA"), QStringLiteral("ADMIN_NAME"),
                              QStringLiteral("ADMIN_MELICODE"), QStringLiteral("CITY"), QStringLiteral("OSTAN"), QStringLiteral("RASTEH1"),
                              QStringLiteral("RANK1"), QStringLiteral("SAMADTAFSILKIND"), QStringLiteral("FIRSTNAME"), QStringLiteral("LASTNAME"),
                              QStringLiteral("CODE_EGHTESADI"), QStringLiteral("POSTCODE")});
    for (int i = 0; i < ownerCount; ++i) {
        Owner o;
        o.company = i % 5 != 4;
        o.code = o.company ? 1001 + i : 5001 + i;
        const QString first = u8(rng_.pick(kFirstNames));
        const QString last = u8(rng_.pick(kLastNames));
        o.name = o.company ? u8(rng_.pick(kCompanyKinds)) + QLatin1Char(' ') + u8(rng_.pick(kCompanyWords)) + QLatin1Char(' ')
                + u8(rng_.pick(kCompanyWords)) + QStringLiteral(" (%1)").arg(i + 1)
                           : first + QLatin1Char(' ') + last;
        o.nid = o.company ? QStringLiteral("1010%1").arg(rng_.between64(1000000, 9999999)) : nationalCode(rng_);
        const QString city = u8(rng_.pick(kCities));
        tafsili.add(o.code).add(o.name).add(o.company ? 1 : 2).add(u8("خيابان ") + u8(rng_.pick(kLastNames)) + u8("، پلاک ") + QString::number(rng_.between(1, 200)))
            .add(o.company ? rng_.between(0, 3) : 0)
            .add(QStringLiteral("074-33%1").arg(rng_.between(100000, 999999)))
            .add(QStringLiteral("0917%1").arg(rng_.between(1000000, 9999999)))
            .add(QStringLiteral("0%1").arg(rng_.between64(100000000LL, 999999999LL)))
            .add(rng_.between(0, 3))
            .add(0)
            .add(o.company ? 1 : 2)
            .add(o.nid)
            .add(QStringLiteral("%1").arg(rng_.between64(100000000000000000LL, 999999999999999999LL)).left(24))
            .add(o.company ? first + QLatin1Char(' ') + last : QString())
            .add(o.company ? nationalCode(rng_) : QString())
            .add(city)
            .add(u8("کهگيلويه"))
            .add(rng_.between(1, 6))
            .add(QString::number(rng_.between(1, 5)))
            .add(o.company ? 1 : 7)
            .add(o.company ? QString() : first)
            .add(o.company ? QString() : last)
            .add(o.company ? QString::number(rng_.between64(100000000000LL, 999999999999LL)) : QString())
            .add(QString::number(rng_.between64(7591000000LL, 7599999999LL)));
        if (!tafsili.insert())
            return fail(tafsili.error());
        owners_ << o;
    }
    // Contracts: most companies hold one to three.
    db::BulkInserter payments(db, QStringLiteral("PAYMENTS"),
                              {QStringLiteral("CODE"), QStringLiteral("PAYMENTNO"), QStringLiteral("AMOUNT"), QStringLiteral("EZAFEHKAR"), QStringLiteral("TAFSIL"),
                               QStringLiteral("PAYMENTDATE"), QStringLiteral("DESCR"), QStringLiteral("DATESHORO"), QStringLiteral("MODAT"), QStringLiteral("PMOZOO"),
                               QStringLiteral("CHEGONEGY"), QStringLiteral("PAYMENTYEAR"), QStringLiteral("DATEFINAL"), QStringLiteral("PTABAGHE"), QStringLiteral("PSPACE"),
                               QStringLiteral("PROJNO"), QStringLiteral("HAVKOSUR"), QStringLiteral("HAVSAVABEG"), QStringLiteral("MOJRI"), QStringLiteral("PMODATKIND"),
                               QStringLiteral("KINDEZAFKARI"), QStringLiteral("TIKMOTAMAM"), QStringLiteral("AMOUNTFINAL"), QStringLiteral("NAZER"), QStringLiteral("BIMKIND"),
                               QStringLiteral("DARSADBIMPEYMANKAR"), QStringLiteral("DARSADBIMEHKARF"), QStringLiteral("CI")});
    db::BulkInserter kosurat(db, QStringLiteral("PAYMAN_KOSURAT"),
                             {QStringLiteral("CI"), QStringLiteral("CODE"), QStringLiteral("CODE_KOSUR"), QStringLiteral("DARSAD_KARF"), QStringLiteral("DARSAD_PAY"),
                              QStringLiteral("CODE_PAY"), QStringLiteral("DEVICE"), QStringLiteral("HESAB"), QStringLiteral("AMOUNT")});
    db::BulkInserter tp(db, QStringLiteral("PAYMAN_TP"), {QStringLiteral("PaymanCode"), QStringLiteral("Tarh"), QStringLiteral("Projeh"), QStringLiteral("Amount"), QStringLiteral("CI")});
    db::BulkInserter ete(db, QStringLiteral("PAYMAN_ETE"), {QStringLiteral("id"), QStringLiteral("code"), QStringLiteral("CI")});
    int contractCode = 0;
    int kosurCode = 0;
    const int firstYear = years_.first();
    for (Owner& o : owners_) {
        if (!o.company)
            continue;
        const int n = rng_.between(1, 3);
        for (int k = 0; k < n; ++k) {
            Contract c;
            c.code = ++contractCode;
            c.owner = o.code;
            const int year = firstYear - rng_.between(0, 2);
            c.date = QStringLiteral("%1/%2/%3").arg(year).arg(rng_.between(1, 12), 2, 10, QLatin1Char('0')).arg(rng_.between(1, 29), 2, 10, QLatin1Char('0'));
            c.number = QStringLiteral("%1/%2/%3").arg(year % 100).arg(rng_.between(100, 999)).arg(c.code);
            c.amount = rng_.amount(2e9, 8e11);
            c.plan = plans_[rng_.between(0, int(plans_.size()) - 1)];
            c.project = projectsOfPlan_[c.plan][rng_.between(0, 2)];
            const int subject = rng_.between(1, 6);
            payments.add(c.code).add(c.number).add(double(c.amount)).add(double(c.amount / 10)).add(o.code).add(c.date)
                .add(u8(" ق ") + c.number + u8(" تاريخ ") + c.date).add(c.date).add(QString::number(rng_.between(6, 24))).add(subject)
                .add(rng_.between(1, 4)).add(year).add(QStringLiteral("%1/12/29").arg(year + 2)).add(rng_.between(1, 5)).add(rng_.between(1, 10))
                .add(c.project).add(1).add(0).add(rng_.between(1, 2)).add(1).add(2).add(1).add(double(c.amount)).add(rng_.between(1, 2))
                .add(1).add(6.6).add(5.0).add(0);
            if (!payments.insert())
                return fail(payments.error());
            const struct { int kind; double pay; int device; } ds[] = {{1, 10, 1}, {2, 5, 1}, {3, 5, 3}, {5, 9, 3}};
            for (const auto& d : ds) {
                kosurat.add(0).add(++kosurCode).add(d.kind).add(0.0).add(d.pay).add(c.code).add(d.device)
                    .add(d.device == 1 ? u8("4001114004012345 بانک ملي") : u8("حساب درآمد عمومي")).add(double(c.amount) * d.pay / 100.0);
                if (!kosurat.insert())
                    return fail(kosurat.error());
            }
            tp.add(c.code).add(c.plan).add(c.project).add(double(c.amount)).add(0);
            ete.add(c.code).add(rng_.between(1, 3)).add(0);
            if (!tp.insert() || !ete.insert())
                return fail(tp.error() + ete.error());
            o.contracts << c.code;
            contracts_ << c;
        }
    }
    if (!exec(db, QStringLiteral("INSERT INTO TAlarmKosuratH (IDX, TAFSILI_CODE, STATUS, AMOUNT, ALARMDATE, DESCR, CI) VALUES (1, :t, 1, 185000000, :d, :x, 0)"),
              {{QStringLiteral(":t"), owners_[3].code}, {QStringLiteral(":d"), cal_.text(todayIndex_ - 40)}, {QStringLiteral(":x"), u8("بدهي بيمه طبق نامه سازمان تامين اجتماعي")}}))
        return false;
    return exec(db, QStringLiteral("INSERT INTO SAVE_DESCR (UID, ROW, DESCR) VALUES (0, 1, 'بابت کسر حسن انجام کار صورت وضعيت'), (0, 2, 'استرداد سپرده پس از تحويل موقت')"));
}

bool Builder::lettersAndFooters()
{
    QSqlDatabase db = session_->common();
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
        if (!exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE (PROGID, CODE, TITLE, CONTENTS, LTRKIND, RUNEVESHT1, PAPERSIZE, PORT_LAND, PG_PERSHEET, TARAHI, CR, CT) "
                                     "VALUES (3, :c, :t, :b, :k, :r, 1, 0, 0, 0, 20, 40)"),
                  {{QStringLiteral(":c"), ++code}, {QStringLiteral(":t"), u8(t.title)}, {QStringLiteral(":b"), u8(t.body)}, {QStringLiteral(":k"), t.kind},
                   {QStringLiteral(":r"), t.kind == 0 ? 0 : 1}}))
            return false;
    }
    if (!exec(db, QStringLiteral("INSERT INTO LETTER_TEMPLATE_RUNEVESHT (PROGID, LTRCODE, IDX, RUNEVESHT, TITLE) VALUES "
                                 "(3, 2, 1, 'رونوشت: پيمانکار محترم جهت اطلاع', 'پيمانکار'), (3, 2, 2, 'رونوشت: امور قراردادها جهت اطلاع', 'امور قراردادها')")))
        return false;
    // Signatory posts, holders and footers.
    const char* titles[] = {"ذيحساب", "معاون ذيحساب", "رئيس حسابداري", "تنظيم کننده", "مسئول سپرده ها", "مسئول تضمينات"};
    QString cols = QStringLiteral("CODE, C, PROGID");
    QString vals = QStringLiteral("1, 0, 3");
    for (int i = 0; i < 6; ++i) {
        cols += QStringLiteral(", LBL%1").arg(i + 1);
        vals += QStringLiteral(", '%1'").arg(u8(titles[i]));
    }
    if (!exec(db, QStringLiteral("INSERT INTO LBLPERSONEL (%1) VALUES (%2)").arg(cols, vals)))
        return false;
    const char* people[2][6] = {{"محمد رضايي", "علي احمدي", "مهدي قاسمي", "مريم کريمي", "زهرا موسوي", "ليلا شريفي"},
                                {"حسين صادقي", "علي احمدي", "مهدي قاسمي", "مريم کريمي", "زهرا موسوي", "ليلا شريفي"}};
    for (int set = 0; set < 2; ++set) {
        QString pc = QStringLiteral("CODE, CODELBL, C, PROGID, DESCR, OPDATE");
        QString pv = QStringLiteral("%1, 1, 0, 3, '%2', '%3'").arg(set + 1).arg(set == 0 ? u8("مسئولان سال قبل") : u8("مسئولان فعلي"), cal_.text(set == 0 ? windowStart_ : todayIndex_ - 120));
        for (int i = 0; i < 6; ++i) {
            pc += QStringLiteral(", L%1").arg(i + 1);
            pv += QStringLiteral(", '%1'").arg(u8(people[set][i]));
        }
        if (!exec(db, QStringLiteral("INSERT INTO PERSONEL (%1) VALUES (%2)").arg(pc, pv)))
            return false;
    }
    if (!exec(db, QStringLiteral("INSERT INTO PREFOOTER (CODE, C, PROGID, NAME, GROUPREP, KINDREP, KINDREP_NAME, REP_NAME, R1, R2, R3) VALUES "
                                 "(1, 0, 3, 'نمونه کلي', 0, '', '', '', 'l4', 'l3', 'l1'), "
                                 "(2, 0, 3, 'گزارشات سپرده', 2, '', '', '', 'l5', 'l3', 'l1'), "
                                 "(3, 0, 3, 'گزارشات تضمينات', 1, '', '', '', 'l6', 'l2', 'l1'), "
                                 "(4, 0, 3, 'نامه ها', 3, '', '', '', 'l1', '', '')")))
        return false;
    return exec(db, QStringLiteral("INSERT INTO KARKONAN (CODE, C, PROGID, MODIRKOL, ZIHESAB, MODIRMALI, HESABDAR, TAZMINAT, LBLMODIRKOL, MOAVENZIHESAB, DESCR, OPDATE, LBL1, VLBL1, LBL2, VLBL2) "
                                   "VALUES (1, 0, 3, 'مهندس سعيد يزداني', 'حسين صادقي', 'مهدي قاسمي', 'مريم کريمي', 'ليلا شريفي', 'مديرکل', 'علي احمدي', 'مسئولان فعلي', :d, "
                                   "'عنوان مدير کل در نامه ها', 'مديرکل راه و شهرسازي استان', 'عنوان ذيحساب در نامه ها', 'ذيحساب و مدير امور مالي')"),
                {{QStringLiteral(":d"), cal_.text(todayIndex_ - 120)}});
}

void Builder::makeDeposits()
{
    const qint64 total = qint64(10000) * options_.scale;
    deposits_.reserve(size_t(total));
    QList<int> workdays;
    for (int d = windowStart_; d <= todayIndex_; ++d) {
        if (cal_.days[d].dayOfWeek() != Qt::Friday)
            workdays << d;
    }
    // Deposits in date order: identifiers grow with time as they do in an office.
    for (qint64 i = 0; i < total; ++i) {
        Deposit dep;
        dep.idx = int(i + 1);
        dep.day = workdays[int(i * workdays.size() / total)];
        const Owner& o = owners_[std::min(int(std::pow(rng_.unit(), 1.6) * owners_.size()), int(owners_.size()) - 1)];
        dep.owner = o.code;
        const double r = rng_.unit();
        dep.kind = r < 0.55 ? 1 : r < 0.70 ? 2 : r < 0.80 ? 3 : r < 0.84 ? 13 : r < 0.87 ? 14 : r < 0.90 ? 25 : r < 0.93 ? 20 : r < 0.96 ? 4 : r < 0.98 ? 18 : 23;
        const bool tender = dep.kind == 3 || dep.kind == 20;
        if (!tender && !o.contracts.isEmpty()) {
            const Contract& c = contracts_[o.contracts[rng_.between(0, int(o.contracts.size()) - 1)] - 1];
            dep.contract = c.code;
            dep.plan = c.plan;
            dep.project = c.project;
        }
        dep.amount = tender ? rng_.amount(5e7, 2e9) : rng_.amount(8e6, 4.5e9);
        dep.chkno = rng_.between64(100000, 99999999);
        dep.taminKind = rng_.between(1, 3);
        deposits_.push_back(dep);
    }
    // Stages by age: matched and numbered, listed and sent, credited, requested,
    // paid by the treasury, refunded.
    QHash<int, int> receiptOfYear;
    QHash<QPair<int, int>, int> rowOfMonth;
    int serial = 0;
    for (Deposit& d : deposits_) {
        const int age = todayIndex_ - d.day;
        const JalaliDate j = cal_.jalali[d.day];
        d.my = j.year;
        d.mm = j.month;
        if (age < 20) {
            const double r = rng_.unit();
            d.tiksudmo = r < 0.4 ? QString() : r < 0.6 ? QStringLiteral("R") : QStringLiteral("P");
            continue;
        }
        if (rng_.chance(0.02)) {
            d.tiksudmo = QStringLiteral("O");   // never found on the statement
            continue;
        }
        d.tiksudmo = QStringLiteral("P");
        d.sepno = ++receiptOfYear[j.year];
        d.sepDay = d.day + rng_.between(0, 3);
        d.mosalsal = ++serial;
        d.seprow = ++rowOfMonth[qMakePair(j.year, j.month)];
        d.sent = age >= 35;
        d.finalMark = age >= 90;
    }
}

bool Builder::writeDeposits()
{
    QSqlDatabase db = session_->deposits();
    const db::Dialect& dialect = session_->dialect();
    if (!dialect.begin(db))
        return fail(QStringLiteral("شروع تراکنش ممکن نيست"));
    auto abort = [&](const QString& why) {
        dialect.rollback(db);
        return fail(why);
    };

    // Credit notices: one per month list that was sent long enough ago.
    QMap<QPair<int, int>, int> creditOfMonth;
    struct Credit { int idx; int y; int m; qint64 amount = 0; int count = 0; qint64 requested = 0; int requestedCount = 0; int day = 0; };
    QList<Credit> credits;
    for (Deposit& d : deposits_) {
        if (!d.sent || todayIndex_ - d.day < 50)
            continue;
        const auto key = qMakePair(d.my, d.mm);
        if (!creditOfMonth.contains(key)) {
            credits << Credit{int(credits.size()) + 1, d.my, d.mm};
            credits.last().day = std::min(todayIndex_ - 5, d.day + 45);
            creditOfMonth.insert(key, int(credits.size()));
        }
        Credit& c = credits[creditOfMonth.value(key) - 1];
        d.credit = c.idx;
        c.amount += d.amount;
        ++c.count;
    }

    // Owners' release requests, fund requests, refunds.
    struct TafsilReq { int idx; int owner; int contract; int day; qint64 amount = 0; bool answered = false; };
    struct FundReq { int idx; int day; int state; qint64 amount = 0; int rows = 0; };
    struct Refund { int idx; int owner; int contract; int day; int kind; qint64 amount = 0; int rows = 0; bool petty = false; int tankhah = 0; int request = 0; };
    QList<TafsilReq> tafsilReqs;
    QList<FundReq> fundReqs;
    QList<Refund> refunds;
    QHash<QPair<int, int>, int> tafsilReqOf;   // (owner, month index) -> request
    QHash<int, int> fundReqOfHalfMonth;
    QHash<QPair<int, int>, int> refundOf;     // (owner, day) -> refund
    struct Float { int idx; int day; qint64 remitted = 0; qint64 spent = 0; };
    QList<Float> floats;

    for (Deposit& d : deposits_) {
        const int age = todayIndex_ - d.day;
        const bool tender = d.kind == 3 || d.kind == 20;
        // Lost tenders are paid back from the petty-cash float without waiting for the treasury.
        if (tender && d.credit && age > 60 && rng_.chance(0.7)) {
            const int refundDay = workingDay(d.day + 55, std::min(todayIndex_, d.day + 80));
            const int quarter = refundDay / 90;
            while (floats.size() <= quarter - windowStart_ / 90) {
                const int fd = windowStart_ + int(floats.size()) * 90;
                floats << Float{int(floats.size()) + 1, fd};
            }
            Float& f = floats[quarter - windowStart_ / 90];
            // Float refunds are kept apart from refunds the treasury paid for.
            const auto key = qMakePair(d.owner, -refundDay - 1);
            if (!refundOf.contains(key)) {
                refunds << Refund{int(refunds.size()) + 1, d.owner, -1, refundDay, 3};
                refunds.last().petty = true;
                refunds.last().tankhah = f.idx;
                refundOf.insert(key, int(refunds.size()));
            }
            Refund& rf = refunds[refundOf.value(key) - 1];
            rf.amount += d.amount;
            ++rf.rows;
            f.spent += d.amount;
            d.refunded = d.amount;
            d.pettyCash = true;
            d.refund = rf.idx;
            continue;
        }
        if (!d.credit || tender)
            continue;
        // The older the deposit, the likelier its owner has asked for it back.
        if (!rng_.chance(std::min(0.75, (age - 50) / 300.0)))
            continue;
        const int askDay = workingDay(d.day + 50, std::min(todayIndex_, d.day + 50 + age / 3));
        d.released = true;
        const auto tk = qMakePair(d.owner, askDay / 30);
        if (!tafsilReqOf.contains(tk)) {
            tafsilReqs << TafsilReq{int(tafsilReqs.size()) + 1, d.owner, d.contract, askDay};
            tafsilReqOf.insert(tk, int(tafsilReqs.size()));
        }
        TafsilReq& tr = tafsilReqs[tafsilReqOf.value(tk) - 1];
        tr.amount += d.amount;
        d.tafsilReq = tr.idx;
        const int fundDay = askDay + rng_.between(3, 20);
        if (fundDay > todayIndex_ - 2 || rng_.chance(0.1))
            continue;   // still waiting for the fund request
        tr.answered = true;
        const int half = fundDay / 15;
        if (!fundReqOfHalfMonth.contains(half)) {
            const int reqAge = todayIndex_ - fundDay;
            int state = reqAge < 10 ? rng_.between(0, 1) : reqAge < 25 ? rng_.between(1, 2) : reqAge < 60 ? (rng_.chance(0.5) ? 2 : 3) : (rng_.chance(0.3) ? 3 : 4);
            fundReqs << FundReq{int(fundReqs.size()) + 1, fundDay, state};
            fundReqOfHalfMonth.insert(half, int(fundReqs.size()));
        }
        FundReq& fr = fundReqs[fundReqOfHalfMonth.value(half) - 1];
        // A few owners ask for half now and half later.
        d.requested = rng_.chance(0.12) ? (d.amount / 2000) * 1000 : d.amount;
        fr.amount += d.requested;
        d.fundReq = fr.idx;
        d.fundRow = ++fr.rows;
        credits[d.credit - 1].requested += d.requested;
        ++credits[d.credit - 1].requestedCount;
        if (fr.state < 3 || !rng_.chance(0.9))
            continue;
        const int refundDay = std::min(todayIndex_, fr.day + rng_.between(20, 40));
        const auto key = qMakePair(d.owner, refundDay);
        if (!refundOf.contains(key)) {
            refunds << Refund{int(refunds.size()) + 1, d.owner, d.contract, refundDay, d.kind == 2 ? 1 : 0};
            refunds.last().request = d.tafsilReq;
            refundOf.insert(key, int(refunds.size()));
        }
        Refund& rf = refunds[refundOf.value(key) - 1];
        rf.amount += d.requested;
        ++rf.rows;
        d.refunded = d.requested;
        d.refund = rf.idx;
    }
    // Every state of a fund request shows: a state the ages did not produce gets a
    // request of its own, made in the last days from deposits still waiting.
    for (int state : {0, 1, 2}) {
        if (std::any_of(fundReqs.begin(), fundReqs.end(), [&](const FundReq& f) { return f.state == state; }))
            continue;
        FundReq fr{int(fundReqs.size()) + 1, todayIndex_ - 1 - state, state};
        for (Deposit& d : deposits_) {
            if (fr.rows == 3)
                break;
            if (!d.credit || d.fundReq || d.refunded || d.kind == 3 || d.kind == 20)
                continue;
            if (!d.tafsilReq) {
                tafsilReqs << TafsilReq{int(tafsilReqs.size()) + 1, d.owner, d.contract, fr.day - 3, d.amount};
                d.tafsilReq = tafsilReqs.last().idx;
                d.released = true;
            }
            tafsilReqs[d.tafsilReq - 1].answered = true;
            d.requested = d.amount;
            d.fundReq = fr.idx;
            d.fundRow = ++fr.rows;
            fr.amount += d.requested;
            credits[d.credit - 1].requested += d.requested;
            ++credits[d.credit - 1].requestedCount;
        }
        fundReqs << fr;
    }
    // Floats hold what their refunds took and a little more.
    for (Float& f : floats)
        f.remitted = ((f.spent * 12 / 10) / 1000000 + 50) * 1000000;

    // ---- write
    db::BulkInserter sep(db, QStringLiteral("SEP_DAR"),
                         {QStringLiteral("IDX"), QStringLiteral("SEPNO"), QStringLiteral("SEPDATE"), QStringLiteral("SABTDATE"), QStringLiteral("TARHNO"),
                          QStringLiteral("PROJNO"), QStringLiteral("TAFSILI"), QStringLiteral("PAYMENT"), QStringLiteral("AMOUNT"), QStringLiteral("SEPKIND"),
                          QStringLiteral("MY"), QStringLiteral("MM"), QStringLiteral("SEPROW"), QStringLiteral("TIKSUDMO"), QStringLiteral("TIKBESTANKARI"),
                          QStringLiteral("SNDNO"), QStringLiteral("SNDROW"), QStringLiteral("DESCR"), QStringLiteral("CHKNO"), QStringLiteral("CHKDATE"),
                          QStringLiteral("FROMOLDM"), QStringLiteral("ALTP"), QStringLiteral("SNDYER"), QStringLiteral("MOSALSAL"), QStringLiteral("YERSEPROW"),
                          QStringLiteral("SAVABEGH"), QStringLiteral("ERSALVAJHKHAZANE_NO"), QStringLiteral("ERSALVAJHKHAZANE_DATE"), QStringLiteral("ELAMBESIDX"),
                          QStringLiteral("AMOUNT_RAD"), QStringLiteral("AMOUNT_MANDEH"), QStringLiteral("CONTROLBANKOK"), QStringLiteral("TIK_ERSAL"),
                          QStringLiteral("TIK_DARKHAST"), QStringLiteral("TIK_DARKHASTVJH"), QStringLiteral("TIK_DARKHASTVJHOK"), QStringLiteral("TIK_ESTERDAD"),
                          QStringLiteral("TANKHAHSTATUS"), QStringLiteral("CONTROLTIK"), QStringLiteral("BESNO"), QStringLiteral("TAMINKIND")});
    const char* descriptions[] = {"کسر حسن انجام کار صورت وضعيت موقت شماره", "صورت وضعيت قطعي شماره", "پنج درصد حسن انجام تعهدات",
                                  "تضمين نقدي شرکت در مناقصه", "تعديل شماره", "مابه التفاوت مطالح شماره"};
    // Vouchers: a deposit read from the accounting database points at its row there.
    QHash<int, int> voucherOfDay;
    QHash<int, int> voucherNoOfYear;
    QHash<int, int> rowsOfVoucher;
    for (Deposit& d : deposits_) {
        if (d.kind == 3 || d.kind == 20 || rng_.chance(0.25))
            continue;   // typed in, or paid in by the owner directly
        const int year = d.my;
        if (!voucherOfDay.contains(d.day))
            voucherOfDay.insert(d.day, ++voucherNoOfYear[year]);
        d.sndno = voucherOfDay.value(d.day);
        d.sndyear = year;
        // Each deposit brings three rows: the statement, the net payment, the retention.
        d.sndrow = (rowsOfVoucher[d.day] += 3);
    }
    for (const Deposit& d : deposits_) {
        const FundReq* fr = d.fundReq ? &fundReqs[d.fundReq - 1] : nullptr;
        const int state = fr ? fr->state : -1;
        const qint64 rad = d.refunded;
        const Credit* c = d.credit ? &credits[d.credit - 1] : nullptr;
        const QString sepdate = d.sepno ? cal_.text(d.sepDay) : QString();
        sep.add(d.idx).add(d.sepno).add(sepdate).add(cal_.text(d.day + (d.idx % 3))).add(d.plan).add(d.project).add(d.owner).add(d.contract)
            .add(double(d.amount)).add(d.kind).add(d.my).add(d.mm).add(d.seprow).add(d.tiksudmo).add(c ? QStringLiteral("1") : QString())
            .add(d.sndno).add(d.sndno ? d.sndrow : 0).add(u8(descriptions[d.idx % 6]) + QLatin1Char(' ') + QString::number(d.idx % 17 + 1))
            .add(d.chkno).add(cal_.text(d.day)).add(2).add(d.finalMark ? 1 : 0).add(d.sndyear).add(d.mosalsal).add(d.sepno).add(0)
            .add(d.sent ? letterNo("ذ", 1000 + d.my % 100 * 20 + d.mm) : QString())
            .add(d.sent ? cal_.text(d.day - cal_.jalali[d.day].day + 35) : QString())
            .add(d.credit).add(double(rad)).add(double(d.amount - rad)).add(d.tiksudmo == QLatin1String("P") ? 1 : 0).add(d.sent ? 1 : 0)
            .add(d.released ? 1 : 0).add(state >= 1 ? 1 : 0).add(state >= 3 ? 1 : 0).add(rad > 0 ? 1 : 0).add(d.pettyCash ? 1 : 0)
            .add(d.sepno ? 2 : 1).add(c ? 4000 + c->idx : 0).add(d.taminKind);
        if (!sep.insert())
            return abort(sep.error());
    }
    summary_.deposits = sep.rows();

    db::BulkInserter bes(db, QStringLiteral("BESTANKARI"),
                         {QStringLiteral("IDXNO"), QStringLiteral("BESNO"), QStringLiteral("BESLETTERNO"), QStringLiteral("BESLETTERDATE"), QStringLiteral("BESDATE"),
                          QStringLiteral("BESAMOUNT"), QStringLiteral("BANK"), QStringLiteral("ERSALLETTERNO"), QStringLiteral("ERSALLETTERDATE"),
                          QStringLiteral("PARAMOUNT"), QStringLiteral("STATUS"), QStringLiteral("DEPNUM"), QStringLiteral("DEPPARNUM"), QStringLiteral("Y"), QStringLiteral("M")});
    for (const Credit& c : credits) {
        bes.add(c.idx).add(QString::number(4000 + c.idx)).add(letterNo("خ", 700 + c.idx)).add(cal_.text(c.day)).add(cal_.text(c.day - 2))
            .add(double(c.amount)).add(3).add(letterNo("ذ", 1000 + c.y % 100 * 20 + c.m)).add(cal_.text(c.day - 10)).add(double(c.requested))
            .add(c.requested > 0 ? 2 : 1).add(std::min(c.count, 32767)).add(std::min(c.requestedCount, 32767)).add(c.y).add(c.m);
        if (!bes.insert())
            return abort(bes.error());
    }

    db::BulkInserter treq(db, QStringLiteral("SEP_TAFSILREQ"),
                          {QStringLiteral("REQ_IDX"), QStringLiteral("TAFSILNO"), QStringLiteral("PAYMANNO"), QStringLiteral("REQSABTDATE"), QStringLiteral("INLETTERNO"),
                           QStringLiteral("INLETTERDATE"), QStringLiteral("ANDNO"), QStringLiteral("ANDDATE"), QStringLiteral("OK_AMOUNT"), QStringLiteral("REQSTATUSE"),
                           QStringLiteral("DESCR"), QStringLiteral("UID")});
    for (const TafsilReq& t : tafsilReqs) {
        treq.add(t.idx).add(t.owner).add(t.contract).add(cal_.text(t.day)).add(QStringLiteral("%1/%2").arg(100 + t.idx % 800).arg(t.owner))
            .add(cal_.text(t.day - 2)).add(QString::number(20000 + t.idx)).add(cal_.text(t.day)).add(double(t.amount)).add(t.answered ? 1 : 0)
            .add(u8("درخواست استرداد سپرده پس از تحويل موقت")).add(4);
        if (!treq.insert())
            return abort(treq.error());
    }

    db::BulkInserter reqh(db, QStringLiteral("SEP_REQH"),
                          {QStringLiteral("REQ_IDX"), QStringLiteral("REQNO"), QStringLiteral("REQDATE"), QStringLiteral("LETTERNO"), QStringLiteral("LETTERDATE"),
                           QStringLiteral("REQ_AMOUNT"), QStringLiteral("LETTERNO2"), QStringLiteral("LETTERDATE2"), QStringLiteral("ANS_AMOUNT"),
                           QStringLiteral("REQSTATUSE"), QStringLiteral("ANS_CHKNO"), QStringLiteral("ACCNO"), QStringLiteral("TEDAD"), QStringLiteral("DESCR"),
                           QStringLiteral("VARIZI_BESNO"), QStringLiteral("VARIZI_BESDATE")});
    for (const FundReq& f : fundReqs) {
        const bool paid = f.state >= 3;
        reqh.add(f.idx).add(QStringLiteral("%1-%2").arg(cal_.jalali[f.day].year).arg(f.idx, 3, 10, QLatin1Char('0'))).add(cal_.text(f.day))
            .add(letterNo("ذ", 3000 + f.idx)).add(cal_.text(f.day)).add(double(f.amount)).add(paid ? letterNo("خ", 5000 + f.idx) : QString())
            .add(paid ? cal_.text(f.day + 15) : QString()).add(paid ? double(f.amount) : 0.0).add(f.state).add(paid ? qint64(700000 + f.idx) : qint64(0))
            .add(f.idx).add(f.rows).add(u8("درخواست وجه سپرده هاي مسترد شدني")).add(paid ? QString::number(6000 + f.idx) : QString())
            .add(paid ? cal_.text(f.day + 14) : QString());
        if (!reqh.insert())
            return abort(reqh.error());
    }
    db::BulkInserter reqr(db, QStringLiteral("SEP_REQR"),
                          {QStringLiteral("REQ_IDX"), QStringLiteral("REQ_ROW"), QStringLiteral("TAFSILNO"), QStringLiteral("PAYMANNO"), QStringLiteral("SEPIDX"),
                           QStringLiteral("FISHNO"), QStringLiteral("BESIDX"), QStringLiteral("FISHDATE"), QStringLiteral("FISHAMOUNT"), QStringLiteral("ERSALLETTER"),
                           QStringLiteral("ERSALLETTERDATE"), QStringLiteral("ERSAL_ROW"), QStringLiteral("BESTANKARINO"), QStringLiteral("BESTANKARIDATE"),
                           QStringLiteral("PEIKAREH"), QStringLiteral("AMOUNT"), QStringLiteral("DESCR"), QStringLiteral("LETTERNO"), QStringLiteral("LETTERDATE"),
                           QStringLiteral("REQSTATUSE")});
    db::BulkInserter radr1(db, QStringLiteral("SEP_RADR1"),
                           {QStringLiteral("RAD_IDX"), QStringLiteral("RAD_ROW"), QStringLiteral("TAFSILI"), QStringLiteral("PAYMAN"), QStringLiteral("SEPIDX"),
                            QStringLiteral("AMOUNT"), QStringLiteral("DESCR"), QStringLiteral("RADIDX"), QStringLiteral("FISHNO"), QStringLiteral("FISHDATE"),
                            QStringLiteral("REQIDX"), QStringLiteral("REQROW")});
    QHash<int, int> rowOfRefund;
    for (const Deposit& d : deposits_) {
        if (d.fundReq) {
            const Credit& c = credits[d.credit - 1];
            reqr.add(d.fundReq).add(d.fundRow).add(d.owner).add(d.contract).add(d.idx).add(d.sepno).add(d.credit).add(cal_.text(d.sepDay))
                .add(double(d.amount)).add(letterNo("ذ", 1000 + d.my % 100 * 20 + d.mm)).add(cal_.text(d.day - cal_.jalali[d.day].day + 35))
                .add(d.seprow).add(QString::number(4000 + c.idx)).add(cal_.text(c.day - 2)).add(double(c.amount)).add(double(d.requested))
                .add(QString()).add(QStringLiteral("%1/%2").arg(100 + d.tafsilReq % 800).arg(d.owner)).add(cal_.text(tafsilReqs[d.tafsilReq - 1].day - 2))
                .add(fundReqs[d.fundReq - 1].state);
            if (!reqr.insert())
                return abort(reqr.error());
        }
        if (d.refunded > 0) {
            const int idx = d.refund;
            radr1.add(idx).add(++rowOfRefund[idx]).add(d.owner).add(d.contract).add(d.idx).add(double(d.refunded))
                .add(d.refunded < d.amount ? u8("استرداد بخشي از سپرده") : u8("استرداد کامل سپرده")).add(0).add(d.sepno)
                .add(d.sepno ? cal_.text(d.sepDay) : QString()).add(d.fundReq).add(d.fundRow);
            if (!radr1.insert())
                return abort(radr1.error());
        }
    }
    summary_.requestRows = reqr.rows();
    summary_.refundRows = radr1.rows();

    db::BulkInserter radh(db, QStringLiteral("SEP_RADH"),
                          {QStringLiteral("RAD_IDX"), QStringLiteral("RADDATE"), QStringLiteral("REQ_IDX"), QStringLiteral("TAFSILI"), QStringLiteral("PAYMAN"),
                           QStringLiteral("RADKIND"), QStringLiteral("DESCR"), QStringLiteral("AMOUNT"), QStringLiteral("SNDCI"), QStringLiteral("SNDNO"),
                           QStringLiteral("SNDDATE"), QStringLiteral("SNDROW"), QStringLiteral("SNDYER"), QStringLiteral("TIK_AZTANKHAH"), QStringLiteral("TANKHAH_IDX")});
    db::BulkInserter radr2(db, QStringLiteral("SEP_RADR2"),
                           {QStringLiteral("RAD_IDX"), QStringLiteral("RAD_ROW"), QStringLiteral("TAFSILI"), QStringLiteral("PAYMAN"), QStringLiteral("CHKKIND"),
                            QStringLiteral("AMOUNT"), QStringLiteral("DESCR"), QStringLiteral("CHKDATE"), QStringLiteral("SNDNO"), QStringLiteral("MY"),
                            QStringLiteral("TARHNO"), QStringLiteral("PROJNO"), QStringLiteral("CHKNO")});
    for (const Refund& r : refunds) {
        const int year = cal_.jalali[r.day].year;
        radh.add(r.idx).add(cal_.text(r.day)).add(r.request).add(r.owner).add(r.contract).add(r.kind)
            .add(r.petty ? u8("استرداد سپرده شرکت در مناقصه از محل تنخواه") : u8("استرداد سپرده طبق درخواست پيمانکار")).add(double(r.amount))
            .add(0).add(9000 + r.idx).add(cal_.text(r.day)).add(1).add(year).add(r.petty ? 1 : 0).add(r.petty ? r.tankhah : 0);
        radr2.add(r.idx).add(1).add(r.owner).add(r.contract).add(r.petty ? 1 : 0).add(double(r.amount)).add(u8("چک استرداد سپرده"))
            .add(cal_.text(r.day)).add(9000 + r.idx).add(year).add(-1).add(-1).add(qint64(1200000 + r.idx));
        if (!radh.insert() || !radr2.insert())
            return abort(radh.error() + radr2.error());
    }
    db::BulkInserter tankhah(db, QStringLiteral("TANKHAH_TBL"),
                             {QStringLiteral("IDX"), QStringLiteral("DARKHSTLTRNO"), QStringLiteral("DARKHSTLTRDATE"), QStringLiteral("DARKHSTAMOUNT"),
                              QStringLiteral("KHAZANEHLTRNO"), QStringLiteral("KHAZANEHLTRDATE"), QStringLiteral("HAVALEHNO"), QStringLiteral("HAVALEHDATE"),
                              QStringLiteral("HAVALEHAMOUNT"), QStringLiteral("AMOUNT_MANDEH"), QStringLiteral("DESCR")});
    for (const Float& f : floats) {
        tankhah.add(f.idx).add(QString::number(800 + f.idx)).add(cal_.text(f.day)).add(double(f.remitted)).add(QString::number(900 + f.idx))
            .add(cal_.text(f.day + 5)).add(QString::number(31000 + f.idx)).add(cal_.text(f.day + 7)).add(double(f.remitted))
            .add(double(f.remitted - f.spent)).add(u8("تنخواه گردان رد وجوه سپرده شرکت در مناقصه"));
        if (!tankhah.insert())
            return abort(tankhah.error());
    }
    if (!dialect.commit(db))
        return abort(db.lastError().text());

    // Vouchers of each year's accounting database.
    for (int year : years_) {
        QSqlDatabase acc = session_->server()->database(startup::Session::accountingDbNameFor(DemoInstallationNumber, QStringLiteral("0"), year));
        if (!dialect.begin(acc))
            return fail(QStringLiteral("شروع تراکنش ممکن نيست"));
        db::BulkInserter head(acc, QStringLiteral("SNDHEAD"),
                              {QStringLiteral("SNDNO"), QStringLiteral("SNDDATE"), QStringLiteral("DESCR"), QStringLiteral("KIND"), QStringLiteral("STATE"), QStringLiteral("USERID")});
        db::BulkInserter row(acc, QStringLiteral("SNDROW"),
                             {QStringLiteral("SNDNO"), QStringLiteral("ROW"), QStringLiteral("KOL"), QStringLiteral("MOIN"), QStringLiteral("TAFSIL"), QStringLiteral("TAFSIL2"),
                              QStringLiteral("PROJEH"), QStringLiteral("TARHNO"), QStringLiteral("DESCR"), QStringLiteral("BED"), QStringLiteral("BES"),
                              QStringLiteral("REFNO"), QStringLiteral("CHKNO"), QStringLiteral("CHKDAT"), QStringLiteral("TAMINKIND"), QStringLiteral("ACCOUNT")});
        int lastVoucher = 0;
        for (const Deposit& d : deposits_) {
            if (!d.sndno || d.sndyear != year)
                continue;
            if (d.sndno != lastVoucher) {
                lastVoucher = d.sndno;
                head.add(d.sndno).add(cal_.text(d.day)).add(u8("پرداخت صورت وضعيت پيمانکاران")).add(1).add(2).add(4);
                if (!head.insert())
                    return fail(head.error());
            }
            const qint64 gross = d.amount * 10;
            const QString descr = u8("صورت وضعيت قرارداد ") + QString::number(d.contract);
            const struct { int kol; int moin; qint64 bed; qint64 bes; const char* account; } lines[] = {
                {81001, 1, gross, 0, "81001"}, {11005, 1, 0, gross - d.amount, "11005"}, {21007, d.kind == 2 ? 2 : 1, 0, d.amount, "21006"}};
            for (int k = 0; k < 3; ++k) {
                row.add(d.sndno).add(d.sndrow - 2 + k).add(lines[k].kol).add(lines[k].moin).add(d.owner).add(d.contract).add(d.project).add(d.plan)
                    .add(k == 2 ? u8("کسر سپرده حسن انجام کار ") + descr : descr).add(lines[k].bed).add(lines[k].bes).add(QStringLiteral("2"))
                    .add(d.chkno).add(cal_.text(d.day)).add(d.taminKind).add(lines[k].account);
                if (!row.insert())
                    return fail(row.error());
            }
        }
        summary_.voucherRows += row.rows();
        const char* kols[][2] = {{"11005", "موجودي نقد نزد بانک"}, {"11006", "حساب رد وجوه سپرده"}, {"11512", "خزانه"},
                                 {"21007", "سپرده هاي دريافتي"}, {"81001", "هزينه هاي عمراني"}, {"82001", "هزينه هاي جاري"}};
        for (const auto& k : kols) {
            if (!db::execSql(acc, QStringLiteral("INSERT INTO KOL (CODE, NAME, MAHIAT, KIND) VALUES (:c, :n, 1, 1)"),
                         {{QStringLiteral(":c"), QString::fromLatin1(k[0]).toInt()}, {QStringLiteral(":n"), u8(k[1])}}))
                return fail(QStringLiteral("KOL"));
        }
        if (!db::execSql(acc, QStringLiteral("INSERT INTO MOIN (KOL, CODE, NAME, MAHIAT, HVTAFSIL, KIND) VALUES "
                                         "(21007, 1, 'سپرده حسن انجام کار', 2, 1, 1), (21007, 2, 'سپرده حسن اجراي تعهدات', 2, 1, 1), "
                                         "(21007, 3, 'سپرده شرکت در مناقصه', 2, 1, 1), (11005, 1, 'بانک ملي حساب سپرده', 1, 0, 1), (81001, 1, 'هزينه پيمانکاران', 1, 1, 1)"))
            || !db::execSql(acc, QStringLiteral("INSERT INTO accaccount (CODE, NAME, PARENT, PATTERN, KIND) VALUES ('21006', 'سپرده هاي دريافتي', '21', 1, 1), ('11005', 'موجودي نزد بانک', '11', 1, 1), ('81001', 'هزينه هاي عمراني', '81', 1, 1)")))
            return fail(QStringLiteral("MOIN"));
        if (!dialect.commit(acc))
            return fail(acc.lastError().text());
    }
    return true;
}

bool Builder::guarantees()
{
    QSqlDatabase db = session_->deposits();
    const db::Dialect& dialect = session_->dialect();
    if (!dialect.begin(db))
        return fail(QStringLiteral("شروع تراکنش ممکن نيست"));
    db::BulkInserter z(db, QStringLiteral("ZEMANAT"),
                       {QStringLiteral("IDX"), QStringLiteral("ZNO"), QStringLiteral("SUDDATE"), QStringLiteral("EBTALDATE"), QStringLiteral("AMOUNT"),
                        QStringLiteral("SARRESID"), QStringLiteral("TAFSILNO"), QStringLiteral("PAYMENT"), QStringLiteral("SUDBANKCODE"), QStringLiteral("ZSTATUSE"),
                        QStringLiteral("ZKIND"), QStringLiteral("ZTYPE"), QStringLiteral("ZPOS"), QStringLiteral("ZCOUNT"), QStringLiteral("DESCR"),
                        QStringLiteral("LETTERNO"), QStringLiteral("LETTERDATE"), QStringLiteral("SARRESID1"), QStringLiteral("AMOUNT1"), QStringLiteral("ZEMPLACE"),
                        QStringLiteral("PROJNO"), QStringLiteral("TARHNO"), QStringLiteral("VAHEDEPOOL"), QStringLiteral("AMOUNTARZI"), QStringLiteral("SEPAMNO")});
    db::BulkInserter h(db, QStringLiteral("ZHIST"),
                       {QStringLiteral("ZIDX"), QStringLiteral("ROW"), QStringLiteral("KIND"), QStringLiteral("LETTERDATE"), QStringLiteral("LETTERNO"),
                        QStringLiteral("AMOUNT"), QStringLiteral("SARRESID"), QStringLiteral("ANS"), QStringLiteral("ANSLETTERNO"), QStringLiteral("ANSLETTERDATE"),
                        QStringLiteral("DATE"), QStringLiteral("LTRCODE"), QStringLiteral("LTRSABTDATE"), QStringLiteral("OLD_SARRESID"), QStringLiteral("OLD_AMOUNT"),
                        QStringLiteral("OLD_STATUSE"), QStringLiteral("OLD_ZNO"), QStringLiteral("AMOUNT_OK"), QStringLiteral("SARRESID_OK")});
    const int count = std::min(400 * options_.scale, 40000);
    // The operation that led to each status, and whether the bank has answered.
    auto operationOf = [](int status) -> std::pair<int, int> {
        switch (status) {
        case 1: return {1, 1};
        case 2: return {2, 1};
        case 3: return {3, 1};
        case 4: return {4, 1};
        case 5: return {5, 1};
        case 8: return {8, 1};
        case 9: return {8, 2};
        case 10: return {1, 2};
        case 11: return {2, 2};
        case 12: return {3, 2};
        case 13: return {5, 2};
        case 14: return {4, 2};
        default: return {0, 0};
        }
    };
    const int templateOf[] = {1, 2, 3, 7, 6, 4, 1, 1, 5};
    for (int i = 1; i <= count; ++i) {
        // The first rows show every status and every type once; the rest look like an office.
        int status = i <= 25 ? i - 1 : 0;
        if (i > 25) {
            const double r = rng_.unit();
            status = r < 0.45 ? 0 : r < 0.60 ? 1 : r < 0.68 ? 2 : r < 0.82 ? 3 : r < 0.84 ? 4 : r < 0.86 ? 5 : r < 0.88 ? 7 : r < 0.92 ? 10
                : r < 0.94 ? 11 : r < 0.96 ? 12 : r < 0.98 ? 8 : 9;
        }
        const int type = i <= 22 ? i - 1 : (rng_.chance(0.8) ? 0 : rng_.between(1, 21));
        const int kind = rng_.chance(0.4) ? 1 : rng_.between(0, 10);
        const Contract& c = contracts_[rng_.between(0, int(contracts_.size()) - 1)];
        const int issued = workingDay(std::max(0, windowStart_ - 120), todayIndex_ - 10);
        // Some fall due in the coming weeks, some have passed, most lie further ahead.
        const double due = rng_.unit();
        const int firstDue = due < 0.15 ? todayIndex_ + rng_.between(1, 40) : due < 0.25 ? todayIndex_ - rng_.between(1, 60)
                                                                                         : std::max(issued + 90, todayIndex_ + rng_.between(41, 190));
        qint64 amount = rng_.amount(5e7, 5e10);
        const qint64 firstAmount = amount;
        int dueNow = firstDue;
        const auto [op, ans] = operationOf(status);
        if (op == 1 || op == 5)
            dueNow = ans == 1 ? firstDue + 180 : firstDue;
        if ((op == 2 || op == 5) && ans == 1)
            amount = (amount / 2000) * 1000;
        const bool requested = status == 7;
        const int bank = rng_.between(1, 30);
        z.add(i).add(requested ? QString() : QStringLiteral("%1-%2").arg(bank).arg(300000 + i)).add(cal_.text(issued))
            .add(status == 3 ? cal_.text(std::min(todayIndex_, issued + 100)) : QString()).add(double(amount)).add(cal_.text(std::max(dueNow, issued + 30)))
            .add(c.owner).add(c.code).add(bank).add(status).add(kind).add(type).add(i).add(rng_.between(0, 3))
            .add(u8("تضمين ") + (kind == 0 ? u8("شرکت در مناقصه") : u8("حسن انجام تعهدات")) + u8(" قرارداد ") + c.number)
            .add(op ? letterNo("ت", 200 + i) : QString()).add(op ? cal_.text(todayIndex_ - rng_.between(1, 30)) : QString())
            .add(cal_.text(std::max(firstDue, issued + 30))).add(double(firstAmount)).add(QStringLiteral("K-%1").arg(i % 40 + 1))
            .add(c.project).add(c.plan).add(type == 2 ? 1 : 0).add(type == 2 ? double(amount) / 500000.0 : 0.0)
            .add(QStringLiteral("SPM%1").arg(880000 + i));
        if (!z.insert())
            return fail(z.error());
        if (op) {
            const int letterDay = todayIndex_ - rng_.between(2, 40);
            h.add(i).add(1).add(op).add(cal_.text(letterDay)).add(letterNo("ت", 200 + i)).add(double(amount)).add(cal_.text(std::max(dueNow, issued + 30)))
                .add(ans).add(ans == 1 ? letterNo("ب", 9000 + i) : QString()).add(ans == 1 ? cal_.text(letterDay + 7) : QString()).add(cal_.text(letterDay))
                .add(templateOf[std::min(op, 8)]).add(cal_.text(letterDay)).add(cal_.text(std::max(firstDue, issued + 30))).add(double(firstAmount))
                .add(0).add(QStringLiteral("%1-%2").arg(bank).arg(300000 + i)).add(ans == 1 ? double(amount) : 0.0)
                .add(ans == 1 ? cal_.text(std::max(dueNow, issued + 30)) : QString());
            if (!h.insert())
                return fail(h.error());
        }
    }
    summary_.guarantees = z.rows();
    const bool ok = exec(db, QStringLiteral("INSERT INTO ZEMDESCR (CODE, NAME) VALUES (1, 'صورت وضعيت شماره'), (2, 'پنجاه درصد اول'), (3, 'پنجاه درصد دوم'), (4, 'تعديل'), (5, 'مابه التفاوت')"))
        && exec(db, QStringLiteral("INSERT INTO BAYGANI (ID, NAME) VALUES (1, 'کلاسور ضمانتنامه هاي بانکي'), (2, 'کلاسور اسناد ملکي'), (3, 'کلاسور سفته ها')"));
    if (!ok || !dialect.commit(db)) {
        dialect.rollback(db);
        return false;
    }
    return true;
}

bool Builder::statements()
{
    // The last two months of the receiving account's statement: the matched deposits
    // and a few lines nobody has explained yet.
    QSqlDatabase db = session_->deposits();
    const db::Dialect& dialect = session_->dialect();
    if (!dialect.begin(db))
        return fail(QStringLiteral("شروع تراکنش ممکن نيست"));
    db::BulkInserter s(db, QStringLiteral("SURATHESAB"),
                       {QStringLiteral("ROW"), QStringLiteral("HESABNO"), QStringLiteral("CHKDATE"), QStringLiteral("DESCR"), QStringLiteral("FLAG"),
                        QStringLiteral("BANK"), QStringLiteral("SHOBEH"), QStringLiteral("ZARIB"), QStringLiteral("SHENASEH"), QStringLiteral("CHKTIME"),
                        QStringLiteral("TRANSACTIONNO"), QStringLiteral("AMOUNTBANK"), QStringLiteral("AMOUNT"), QStringLiteral("CHKNO")});
    qint64 balance = 12500000000LL;
    int row = 0;
    for (const Deposit& d : deposits_) {
        if (todayIndex_ - d.day > 60 || d.tiksudmo.isEmpty() || d.tiksudmo == QLatin1String("O"))
            continue;
        balance += d.amount;
        const QString date = cal_.text(d.day).mid(2, 8);
        s.add(++row).add(1).add(date).add(u8("واريز نقدي - سپرده")).add(1).add(u8("ملي")).add(1007 + d.owner % 30).add(1)
            .add(QString::number(d.owner)).add(QStringLiteral("%1:%2").arg(8 + d.idx % 8, 2, 10, QLatin1Char('0')).arg(d.idx % 60, 2, 10, QLatin1Char('0')))
            .add(QString::number(55000000 + d.idx)).add(double(balance)).add(double(d.amount)).add(d.chkno);
        if (!s.insert()) {
            dialect.rollback(db);
            return fail(s.error());
        }
    }
    for (int k = 0; k < 12; ++k) {
        const qint64 amount = rng_.amount(1e6, 5e8);
        balance += amount;
        s.add(++row).add(1).add(cal_.text(todayIndex_ - rng_.between(1, 50)).mid(2, 8)).add(u8("واريز شناسه دار نامشخص")).add(1).add(u8("ملي"))
            .add(0).add(1).add(QString::number(rng_.between(100000, 999999))).add(QStringLiteral("10:15")).add(QString::number(66000000 + k))
            .add(double(balance)).add(double(amount)).add(rng_.between64(100000, 9999999));
        if (!s.insert()) {
            dialect.rollback(db);
            return fail(s.error());
        }
    }
    return dialect.commit(db) || fail(db.lastError().text());
}

bool Builder::settings()
{
    QSqlDatabase db = session_->deposits();
    const int year = cal_.jalali[todayIndex_].year;
    return exec(db, QStringLiteral("DELETE FROM CurMaliYear"))
        && exec(db, QStringLiteral("INSERT INTO CurMaliYear (IDX, CurMaliY) VALUES (1, :y)"), {{QStringLiteral(":y"), year}})
        && exec(db, QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME, SHAHR, GENERALOFFICENAME, officeName, RADIFEDASTGAH, KhazanehRaiiseName, "
                                   "HESABNO_SEP_BANKDAR, SEP_BANKDAR, SEP_BANKDAR_SHOBEH, HESABNO_SEP_BANKRAD, SEP_BANKRAD, SEP_BANKRAD_SHOBEH, "
                                   "HESABNO_TamarkozeVojuh, BANK_TamarkozeVojuh, SHOBEH_TamarkozeVojuh) VALUES (1, 'کهگيلويه و بويراحمد', 'ياسوج', "
                                   "'وزارت راه و شهرسازي', 'اداره کل راه و شهرسازي استان کهگيلويه و بويراحمد', '130500', 'محمود نجفي', "
                                   "'4001114004012345', 'ملي', 'مرکزي ياسوج', '4001114004023456', 'ملي', 'مرکزي ياسوج', '4001114006098765', 'مرکزي', 'خزانه معين استان')"))
        && exec(db, QStringLiteral("INSERT INTO Sep_LtrSetting (CODE, KHAZANEONVAN, R1ERSAL, R1DARKHST, KHAZANEHRAIISENAME) VALUES (1, "
                                   "'اداره تمرکز وجوه سپرده خزانه معين استان', 'رونوشت: امور مالي جهت اطلاع', 'رونوشت: امور قراردادها جهت اطلاع', 'محمود نجفي')"))
        && exec(db, QStringLiteral("INSERT INTO ZEM_DEFAULTSETTING (CODE, START_LTRNO, LAST_LTRNO, PRIFIX_LTRNO, SUFFIX_LTRNO) VALUES (1, '100', '612', 'ت/', '/ذ')"))
        && exec(db, QStringLiteral("INSERT INTO BankHa (CODE, NAME, KIND, ACCKOL, ACCMOIN, BRANCH) VALUES "
                                   "(1, 'بانک ملي - حساب دريافت سپرده', 0, 11005, 1, 1), (2, 'بانک ملي - حساب رد وجوه سپرده', 1, 11006, 2, 1), "
                                   "(3, 'خزانه - حساب تمرکز وجوه سپرده', 2, 11512, 1, 1), (4, 'تنخواه گردان رد وجوه سپرده', 3, 11005, 3, 2)"))
        && exec(db, QStringLiteral("INSERT INTO SEPDESCR (CODE, NAME) VALUES (1, 'صورت وضعيت موقت'), (2, 'صورت وضعيت قطعي'), (3, 'تضمين نقدي مناقصه')"))
        && exec(db, QStringLiteral("INSERT INTO YearDefaults (Y, C, SEPKOL, SEPMOIN, BANKDARKOL, BANKDARMOIN, BANKRADKOL, BANKRADMOIN, TANKHAHKOL, TANKHAHMOIN, KHAZANEHKOL, KHAZANEHMOIN) "
                                   "VALUES (:y, '0', 21007, 1, 11005, 1, 11006, 2, 11005, 3, 11512, 1)"),
                {{QStringLiteral(":y"), year}})
        && exec(db, QStringLiteral("INSERT INTO CODING_ACC (CODE, SEP_ACC, BANKDAR_ACC, BANKRAD_ACC, TANKHAH_ACC, KHAZANEH_ACC) VALUES (1, '21007', '11005001', '11006002', '11005003', '11512')"))
        && exec(db, QStringLiteral("INSERT INTO List4Get (C, KOL, MOIN, WORD1, WORD2, BEDBES) VALUES (0, 21007, 1, 'حسن انجام', 'سپرده', 1)"))
        && exec(db, QStringLiteral("INSERT INTO TBFISHSEP_HEADER (CODE, NAME, CR, CT, DESCR_EXTRA, font, TANZIM) VALUES (1, 'قبض سپرده استاندارد', 0, 140, '', 'Vazirmatn', 0)"))
        && exec(db, QStringLiteral("INSERT INTO TBFISHSEP_DETAIL (CODE, PL1, PT1, PS1, PE1, PL2, PT2, PS2, PE2) VALUES (1, 400, 20, 10, 1, 40, 20, 10, 1)"))
        && exec(db, QStringLiteral("INSERT INTO TBFISHSEP_DETAIL2 (CODE, PL1, PT1, PS1, PE1, PL2, PT2, PS2, PE2) VALUES (1, 400, 20, 10, 1, 40, 20, 10, 1)"));
}

DemoSummary Builder::run()
{
    QDate today = QDate::currentDate();
    if (!options_.today.isEmpty()) {
        const std::optional<JalaliDate> j = util::parseJalali(options_.today);
        if (!j) {
            summary_.message = QStringLiteral("تاريخ نادرست است: %1").arg(options_.today);
            return summary_;
        }
        today = util::toGregorian(*j);
    }
    if (options_.scale < 1 || options_.scale > 1000) {
        summary_.message = QStringLiteral("مقياس بايد از 1 تا 1000 باشد");
        return summary_;
    }
    cal_ = makeCalendar(today, 18);
    todayIndex_ = cal_.indexOf(today);
    windowStart_ = 0;
    prompt_.progress(QStringLiteral("راه اندازي سرور و بانک هاي اطلاعاتي"), 1, 7);
    if (!setUp())
        return summary_;
    prompt_.progress(QStringLiteral("کاربران و اطلاعات پايه"), 2, 7);
    if (!users() || !commonData() || !baseData() || !lettersAndFooters())
        return summary_;
    prompt_.progress(QStringLiteral("سپرده ها"), 3, 7);
    makeDeposits();
    if (!writeDeposits())
        return summary_;
    prompt_.progress(QStringLiteral("تضمينات"), 5, 7);
    if (!guarantees() || !statements() || !settings())
        return summary_;
    prompt_.progress(QStringLiteral("پايان"), 7, 7);
    summary_.ok = true;
    return summary_;
}

} // namespace

DemoSummary buildDemoInstallation(const DemoOptions& options, startup::Prompt& prompt)
{
    Builder builder(options, prompt);
    return builder.run();
}

} // namespace orvak::demo
