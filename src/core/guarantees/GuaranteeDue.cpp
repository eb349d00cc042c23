#include "core/guarantees/GuaranteeDue.h"

#include "core/basedata/Lookups.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/Guarantees.h"
#include "core/io/BoundList.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/LetterSettings.h"
#include "core/letters/LetterTemplates.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>

namespace orvak::guarantees {

namespace {

using io::CellFormat;

io::LookupReader commonTexts(const char* sql, bool perSection = true) { return basedata::namesReader(sql, perSection); }

// Only bank guarantees, and not those cancelled, seized, waiting on an extension or
// a cancellation, or temporarily cancelled.
const QString DueWhere = QStringLiteral(
    "(ZTYPE = 0) AND ((-1 = :PZKIND) OR (ZKIND = :PZKIND)) AND (COALESCE(ZSTATUSE, 0) NOT IN (3, 4, 10, 12, 15))"
    " AND (SARRESID >= :PD1) AND (SARRESID <= :PD2) AND ((TAFSILNO = :PTafsilNo) OR (-1 = :PTafsilNo))");

QString dueOrderSql(DueOrder o)
{
    switch (o) {
    case DueOrder::DueDate: return QStringLiteral("SARRESID, IDX");
    case DueOrder::Idx: return QStringLiteral("IDX");
    case DueOrder::IssueDate: return QStringLiteral("SUDDATE, IDX");
    case DueOrder::Amount: return QStringLiteral("AMOUNT, IDX");
    case DueOrder::Status: return QStringLiteral("ZSTATUSE, IDX");
    case DueOrder::Type: return QStringLiteral("ZTYPE, IDX");
    case DueOrder::ArchiveRow: return QStringLiteral("ZPOS, IDX");
    }
    return QStringLiteral("SARRESID, IDX");
}

std::optional<QVariantMap> dueBinds(const DueFilter& f, QString* why)
{
    auto fail = [&](const QString& text) -> std::optional<QVariantMap> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    const auto from = util::parseJalali(f.from);
    if (!from)
        return fail(QStringLiteral("تاريخ شروع درست نيست: ") + f.from);
    const auto to = util::parseJalali(f.to);
    if (!to)
        return fail(QStringLiteral("تاريخ پايان درست نيست: ") + f.to);
    if (to->toText() < from->toText())
        return fail(endBeforeStartText());
    return QVariantMap{{QStringLiteral(":PZKIND"), f.kind},
                       {QStringLiteral(":PD1"), from->toText()},
                       {QStringLiteral(":PD2"), to->toText()},
                       {QStringLiteral(":PTafsilNo"), f.party}};
}

} // namespace

QStringList dueOrderTexts()
{
    return {QStringLiteral("تاريخ سر رسيد"), QStringLiteral("شماره تضمين"), QStringLiteral("تاريخ صدور"), QStringLiteral("مبلغ"),
            QStringLiteral("وضعيت تضمين"),  QStringLiteral("نوع تضمين"),   QStringLiteral("رديف بايگاني")};
}

QStringList dueKindTexts()
{
    return {QStringLiteral("همه"), QStringLiteral("شركت در مناقصه"), QStringLiteral("حسن اجراي تعهدات"), QStringLiteral("كسور(استرداد)وجه الضمان"),
            QStringLiteral("دريافت پيش پرداخت")};
}

QStringList dueWindowLabels()
{
    return {QStringLiteral("تا 15 روز ديگر"),    QStringLiteral("يك ماه ديگر"), QStringLiteral("يك ماه و نيم ديگر"), QStringLiteral("دو ماه ديگر"),
            QStringLiteral("دو ماه و نيم ديگر"), QStringLiteral("سه ماه ديگر"), QStringLiteral("تا تاريخ...")};
}

std::optional<QString> dueWindowEnd(const QString& start, int entry) { return addDueWindow(start, entry); }

QString dueTitle() { return QStringLiteral("بررسي سررسيد ضمانتنامه هاي بانکي"); }
QString dueCountLabel() { return QStringLiteral("فقره"); }
QString endBeforeStartText() { return QStringLiteral("تاريخ پايان از تاريخ شروع كمتر است"); }

DueFilter defaultDueFilter(const QString& today)
{
    DueFilter f;
    f.from = today;
    f.to = dueWindowEnd(today, DefaultDueWindow).value_or(today);
    return f;
}

std::optional<io::ListDefinition> dueList(const DueFilter& filter, QString* why)
{
    const auto binds = dueBinds(filter, why);
    if (!binds)
        return std::nullopt;
    io::ListDefinition d;
    d.name = QStringLiteral("guarantees-due");
    d.title = dueTitle();
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM ZEMANAT WHERE ") + DueWhere + QStringLiteral("\nORDER BY ") + dueOrderSql(filter.order);
    for (auto it = binds->cbegin(); it != binds->cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    d.columns = {
        io::dataField(QStringLiteral("IDX"), QStringLiteral("كد شناسائي"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("ZNO"), QStringLiteral("شماره تضمين"), 110),
        io::codeField(QStringLiteral("ZTYPE"), QStringLiteral("نوع تضمين"), 130, typeCodeTexts()),
        io::codeField(QStringLiteral("ZKIND"), QStringLiteral("ماهيت تضمين"), 130, kindCodeTexts()),
        io::lookupField(QStringLiteral("TAFSILNO"), QStringLiteral("پيمانكار"), 200, commonTexts("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI")),
        io::dataField(QStringLiteral("SUDDATE"), QStringLiteral("تاريخ صدور"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SARRESID"), QStringLiteral("تاريخ سر رسيد"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 110, CellFormat::Amount, true),
        io::codeField(QStringLiteral("ZSTATUSE"), QStringLiteral("وضعيت"), 90, statusCodeTexts()),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("نام شعبه"), 130, commonTexts("SELECT CODE, BRANCHNAME FROM BANKBRANCHNAME", false)),
        io::dataField(QStringLiteral("ZEMPLACE"), QStringLiteral("محل نگهداري"), 80),
        io::dataField(QStringLiteral("ZPOS"), QStringLiteral("رديف بايگاني"), 60, CellFormat::Integer),
    };
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("ZEMANAT");
    d.historyKey = {QStringLiteral("IDX")};
    return d;
}

io::ListDefinition dueList() { return *dueList(defaultDueFilter(util::TodayJalali())); }

db::Fetched<GuaranteeTotals> dueTotals(startup::Session& session, const DueFilter& filter)
{
    QString why;
    const auto binds = dueBinds(filter, &why);
    if (!binds)
        return db::Fetched<GuaranteeTotals>::failure(why);
    const auto row = db::firstRow(session.deposits(), QStringLiteral("SELECT SUM(AMOUNT), COUNT(*) FROM ZEMANAT WHERE ") + DueWhere, *binds);
    return totalsOf(row);
}

db::Fetched<io::ReportModel> dueReport(startup::Session& session, const QList<int>& idx)
{
    io::ReportModel m;
    m.titleLines = {dueTitle(), session.site().organisationName};
    m.columns = {{QStringLiteral("رديف"), 0.5, CellFormat::Integer},
                 {QStringLiteral("شماره تضمين"), 1.2},
                 {QStringLiteral("ماهيت تضمين"), 1.4},
                 {QStringLiteral("پيمانكار"), 2.0},
                 {QStringLiteral("تاريخ سر رسيد"), 0.9, CellFormat::JalaliDate},
                 {QStringLiteral("تاريخ صدور"), 0.9, CellFormat::JalaliDate},
                 {QStringLiteral("نام شعبه"), 1.4},
                 {QStringLiteral("محل نگهداري"), 0.9},
                 {QStringLiteral("مبلغ"), 1.3, CellFormat::Amount, true}};
    m.wordsColumn = 8;
    const int section = session.SectionCode().toInt();
    QHash<int, QString> parties, branches;
    auto name = [&](QHash<int, QString>& cache, const QString& sql, int code, bool perSection) -> db::Fetched<QString> {
        if (code <= 0)
            return db::Fetched<QString>::found(QString());
        if (cache.contains(code))
            return db::Fetched<QString>::found(cache.value(code));
        QVariantMap b{{QStringLiteral(":Key"), code}};
        if (perSection)
            b.insert(QStringLiteral(":CI"), section);
        const auto v = db::scalar(session.common(), sql, b);
        if (v.failed())
            return db::Fetched<QString>::failure(v.error());
        cache.insert(code, v ? v->toString().trimmed() : QString());
        return db::Fetched<QString>::found(cache.value(code));
    };
    int n = 0;
    for (int i : idx) {
        const auto r = db::firstRow(session.deposits(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :i"), {{QStringLiteral(":i"), i}});
        if (r.failed())
            return db::Fetched<io::ReportModel>::failure(r.error());
        if (!r)
            continue;
        const Guarantee g = guaranteeFrom(*r);
        const auto party = name(parties, QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = :Key AND CI = :CI"), g.tafsilNo, true);
        const auto branch = name(branches, QStringLiteral("SELECT BRANCHNAME FROM BANKBRANCHNAME WHERE CODE = :Key"), g.sudBankCode, false);
        if (party.failed() || branch.failed())
            return db::Fetched<io::ReportModel>::failure(party.failed() ? party.error() : branch.error());
        m.addRow({QString::number(++n), g.zno, kindLabel(g.kind), *party, g.sarresid, g.sudDate, *branch, g.zemPlace, util::FormatAmount(g.amount)},
                 {0, 0, 0, 0, 0, 0, 0, 0, double(g.amount)});
    }
    m.signatures = letters::signatureBlocks(session, QStringLiteral("zemanat"), letters::GuaranteeReportsGroup);
    return db::Fetched<io::ReportModel>::found(m);
}

const QList<ExtensionPeriod>& extensionPeriods()
{
    static const QList<ExtensionPeriod> list = {{QStringLiteral("سه ماهه"), 3},
                                                {QStringLiteral("شش ماهه"), 6},
                                                {QStringLiteral("نه ماهه"), 9},
                                                {QStringLiteral("يك ساله"), 12},
                                                {QStringLiteral(" تا تاريخ ...."), 0}};
    return list;
}

QString extensionLetterTitle() { return QStringLiteral("درخواست تمديد ضمانت نامه بانكي"); }

ExtensionRun::ExtensionRun(startup::Session& session, DueFilter window, Choice choice)
    : session_(session)
    , window_(std::move(window))
    , choice_(std::move(choice))
{
    window_.kind = -1;
    window_.party = -1;
    window_.order = DueOrder::DueDate;
}

bool ExtensionRun::start(startup::Prompt& prompt)
{
    QString why;
    if (choice_.months == 0) {
        const auto until = util::parseJalali(choice_.untilDate);
        if (!until) {
            prompt.info(QStringLiteral("تاريخ تمديد درست نيست: ") + choice_.untilDate);
            return false;
        }
        choice_.untilDate = until->toText();
    } else if (choice_.months < 0 || choice_.months > 120) {
        prompt.info(QStringLiteral("مدت تمديد درست نيست"));
        return false;
    }
    const auto binds = dueBinds(window_, &why);
    if (!binds) {
        prompt.info(why);
        return false;
    }
    const auto settings = letters::LetterSettings(session_).guaranteeSettings();
    if (!settings) {
        prompt.info(settings.error());
        return false;
    }
    settings_ = *settings;
    if (choice_.startNumber > 0) {
        counter_ = choice_.startNumber;
    } else {
        const auto next = letters::LetterSettings::nextNumber(settings_, &why);
        if (!next) {
            prompt.info(why);
            return false;
        }
        counter_ = next->counter;
    }
    QSqlQuery q(session_.deposits());
    if (!db::prepareBound(q, QStringLiteral("SELECT * FROM ZEMANAT WHERE ") + DueWhere + QStringLiteral(" ORDER BY ") + dueOrderSql(DueOrder::DueDate),
                          *binds, &why)
        || !q.exec()) {
        prompt.info(why.isEmpty() ? q.lastError().text() : why);
        return false;
    }
    guarantees_.clear();
    while (q.next())
        guarantees_.push_back(guaranteeFrom(q.record()));
    position_ = 0;
    return true;
}

std::optional<QString> ExtensionRun::newDue() const
{
    if (done())
        return std::nullopt;
    if (choice_.months == 0)
        return choice_.untilDate;
    return addMonths(current().sarresid, choice_.months);
}

QString ExtensionRun::nextNumberText() const { return settings_.prefix + QString::number(counter_) + settings_.suffix; }

letters::LetterRequest ExtensionRun::requestFor(const Guarantee& g) const
{
    letters::LetterRequest r = choice_.letter;
    r.guarantee = g.idx;
    r.kind = letters::KindExtension;
    r.input.newDue = newDue().value_or(QString());
    r.input.extensionMonths = choice_.months;
    r.input.secretariatNo = nextNumberText();
    r.input.initialAsCurrent = true;
    return r;
}

std::optional<letters::PreparedLetter> ExtensionRun::preview(startup::Prompt& prompt) const
{
    if (done())
        return std::nullopt;
    return letters::GuaranteeLetters(session_).prepare(requestFor(current()), prompt);
}

bool ExtensionRun::issue(std::vector<letters::LetterPage>& printed, startup::Prompt& prompt)
{
    if (done())
        return false;
    const Guarantee& g = current();
    const auto due = newDue();
    if (!due || due->isEmpty() || (!g.sarresid.isEmpty() && *due <= g.sarresid)) {
        prompt.info(dueNotLaterThanCurrent(g));
        return false;
    }
    const letters::LetterRequest r = requestFor(g);
    letters::GuaranteeLetters service(session_);
    auto letter = service.prepare(r, prompt);
    if (!letter)
        return false;
    // The run's own number: registered as the counter it is, whatever the counter
    // said when the run began.
    letter->number = nextNumberText();
    letter->counter = counter_;
    if (!service.registerRequest(*letter, r, QString(), prompt))
        return false;
    printed.insert(printed.end(), letter->pages.begin(), letter->pages.end());
    issued_ << letter->number;
    issuedIdx_ << g.idx;
    ++counter_;
    ++position_;
    return true;
}

void ExtensionRun::skip()
{
    if (!done())
        ++position_;
}

int ExtensionRun::issueAll(std::vector<letters::LetterPage>& printed, startup::Prompt& prompt)
{
    int n = 0;
    while (!done()) {
        if (prompt.stopRequested())
            break;
        prompt.progress(extensionLetterTitle(), position_, count());
        if (!issue(printed, prompt))
            break;
        ++n;
    }
    return n;
}

QString dueNotLaterThanCurrent(const Guarantee& g)
{
    return QStringLiteral("تاريخ سررسيد جديد بايد بعد از سررسيد فعلي ضمانتنامه باشد (تضمين %1، سررسيد %2)").arg(g.zno, g.sarresid);
}

db::Fetched<int> dueSoonCount(startup::Session& session)
{
    const auto t = dueTotals(session, defaultDueFilter(session.clock().todayJalali()));
    if (!t)
        return db::Fetched<int>::failure(t.error());
    return db::Fetched<int>::found(t->count);
}

} // namespace orvak::guarantees
