#include "core/startup/Session.h"

#include "core/startup/ConnectionStrings.h"
#include "core/db/Db.h"
#include "core/startup/OrganisationSettings.h"
#include "core/startup/StructureUpdate.h"
#include "core/util/Jalali.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSysInfo>

namespace orvak::startup {

namespace {

QString initialSectionTitle() { return QStringLiteral("حسابداري تعهدي بخش عمومي"); }


QString updateFailedText(const QStringList& errors)
{
    return QStringLiteral("بروزآوري با اشکال به پايان رسيد.موارد اشکال را براي ما ارسال نمائيد") + QLatin1Char('\n')
        + errors.join(QLatin1Char('\n'));
}

std::optional<int> otherInstallationIn(const QStringList& databaseNames, int installationNumber)
{
    // The names that carry an installation's number: its common database, its
    // deposits databases and its accounting databases.
    static const QRegularExpression numbered(QStringLiteral("^ORVAK(?:SEP)?(\\d+)(?:C0|J|C4)?$|^ORVAKC(\\d+)C\\dY\\d{4}$"),
                                             QRegularExpression::CaseInsensitiveOption);
    std::optional<int> other;
    for (const QString& name : databaseNames) {
        const QRegularExpressionMatch m = numbered.match(name);
        if (!m.hasMatch())
            continue;
        const int n = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).toInt();
        if (n == installationNumber)
            return std::nullopt;
        if (!other)
            other = n;
    }
    return other;
}

QString otherInstallationText(int found, int installationNumber)
{
    return QStringLiteral("بانک هاي اطلاعاتي اين سرور متعلق به نصب شماره %1 است و شماره نصب اين رايانه %2 است؛ "
                          "شماره نصب (InstallationNumber) فايل site.ini را بررسي کنيد")
        .arg(found)
        .arg(installationNumber);
}

} // namespace

QString accountingMissingMessage(const QString& name)
{
    return QStringLiteral("بانک اطلاعاتي حسابداري يافت نشد: سال مالي") + name + QString(22, QLatin1Char(' '))
        + QStringLiteral("لطفا سال مالي پيش فرض حسابداري را از منوي \"سپرده ها و تضمينات ذيحسابي\" انتخاب کنيد.");
}

Section sectionFor(const QString& code)
{
    if (code == QLatin1String("1"))
        return {QStringLiteral("1"), QStringLiteral("عمراني"), QString()};
    if (code == QLatin1String("2"))
        return {QStringLiteral("2"), QStringLiteral("جاري"), QStringLiteral("J")};
    if (code == QLatin1String("3"))
        return {QStringLiteral("3"), QStringLiteral("ساير منابع"), QStringLiteral("C4")};
    return {QStringLiteral("0"), QStringLiteral("بخض عمومي"), QStringLiteral("C0")};
}

QList<Section> allSections()
{
    return {sectionFor(QStringLiteral("0")), sectionFor(QStringLiteral("1")), sectionFor(QStringLiteral("2")),
            sectionFor(QStringLiteral("3"))};
}

Session::Session(QString startDir, SiteConfig site)
    : startDir_(std::move(startDir))
    , site_(std::move(site))
    , depositDbName_(InitialDepositDbName())
    , sectionCode_(InitialSectionCode())
    , sectionTitle_(initialSectionTitle())
    , currentYear_(util::toJalali(QDate::currentDate()).year)
{
}

Session::~Session() { CloseConnections(); }

const db::Dialect& Session::dialect() const
{
    static const db::SqliteDialect fallback;
    return server_ ? server_->dialect() : fallback;
}

ConnectionFileState Session::ReadConnectionFile(QString* error)
{
    db::ConnectionSettings settings = connection_;
    const ConnectionFileState state = startup::ReadConnectionFile(startDir_, site_.installationNumber, settings, error);
    if (state != ConnectionFileState::Unreadable)
        connection_ = settings;
    return state;
}

void Session::useConnection(const db::ConnectionSettings& settings)
{
    CloseConnections();
    connection_ = settings;
}

void Session::resetServer()
{
    clock_ = util::Clock();
    if (server_)
        server_->closeAll();
    server_.reset();
    connected_ = false;
    depositsOpen_ = false;
    accountingOpen_ = false;
}

void Session::CloseConnections() { resetServer(); }

bool Session::ConnectServer(Prompt& prompt)
{
    resetServer();
    server_ = makeServer(connection_, startDir_);
    QString why;
    if (!server_->testConnection(connection_.sqlUser, connection_.sqlPassword, &why)) {
        // The password in SERVER.INI is scrambled with the installation number: with
        // another installation's data the login fails, and the number is what to mend.
        const std::optional<int> other =
            server_->isLocal() ? otherInstallationIn(server_->databaseNames(), site_.installationNumber) : std::nullopt;
        if (other)
            prompt.info(otherInstallationText(*other, site_.installationNumber));
        else
            prompt.info(why.isEmpty() ? QStringLiteral("اشکال در برقراري ارتباط  با SQL SERVER (قطع شبکه)") : why);
        server_.reset();
        return false;
    }
    connected_ = true;
    db::Server* server = server_.get();
    clock_ = util::Clock([server] { return server->now(); });

    const QStringList names = server_->databaseNames();
    auto exists = [&](const QString& n) {
        return std::any_of(names.begin(), names.end(), [&](const QString& x) { return x.compare(n, Qt::CaseInsensitive) == 0; });
    };
    if (exists(QStringLiteral("OrvakAttachment"))) {
        QSqlDatabase attachments = server_->database(QStringLiteral("OrvakAttachment"));
        if (attachments.isOpen() && !server_->dialect().tableExists(attachments, QStringLiteral("AttachmentServer")))
            server_->closeDatabase(QStringLiteral("OrvakAttachment"));
    }
    const QString withNumber = QStringLiteral("ORVAK") + QString::number(site_.installationNumber);
    commonDbName_ = exists(withNumber) ? withNumber : QStringLiteral("ORVAK");
    if (const std::optional<int> other = otherInstallationIn(names, site_.installationNumber);
        other && !exists(QStringLiteral("ORVAK"))) {
        prompt.info(otherInstallationText(*other, site_.installationNumber));
        resetServer();
        return false;
    }
    if (!server_->database(commonDbName_, &why).isOpen()) {
        prompt.info(QStringLiteral("  اشکال در برقراري ارتباط  با بانک اطلاعاتي") + commonDbName_
                    + (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
        return true;
    }
    connection_.sqlVersionIndex = 1;
    if (const auto row = db::firstRow(common(), QStringLiteral("select * from serverinfo where progid=:progid"),
                                     {{QStringLiteral(":progid"), ProgID}}))
        connection_.sqlVersionIndex = row->value(QStringLiteral("SQLVER")).toInt();
    return true;
}

QSqlDatabase Session::common() { return server_ ? server_->database(commonDbName_) : QSqlDatabase(); }

QSqlDatabase Session::deposits()
{
    return server_ && depositsOpen_ ? server_->database(depositDbName_) : QSqlDatabase();
}

QSqlDatabase Session::accounting()
{
    return server_ && accountingOpen_ ? server_->database(accountingDbName_) : QSqlDatabase();
}

QList<QSqlDatabase> Session::openDatabases()
{
    QList<QSqlDatabase> out;
    for (QSqlDatabase db : {common(), deposits(), accounting()}) {
        if (db.isOpen())
            out << db;
    }
    return out;
}

QSqlDatabase Session::listDatabase(io::ListDatabase which)
{
    switch (which) {
    case io::ListDatabase::Common:
        return common();
    case io::ListDatabase::Deposits:
        return deposits();
    case io::ListDatabase::Accounting:
        return accounting();
    }
    return {};
}

db::WorkPlace Session::workPlace() const
{
    db::WorkPlace p;
    p.server = server_.get();
    if (server_ && connected_) {
        p.common = commonDbName_;
        p.deposits = depositsOpen_ ? depositDbName_ : QString();
        p.accounting = accountingOpen_ ? accountingDbName_ : QString();
    }
    p.programId = ProgID;
    p.userCode = currentUser_;
    p.workstation = QSysInfo::machineHostName();
    p.clock = [clock = clock_] { return clock.now(); };
    return p;
}

bool Session::inWork(const std::function<bool(db::UnitOfWork&)>& work, QString* error) const
{
    return db::inWork(workPlace(), work, error);
}

QString Session::commonConnectionText() const
{
    return maskPassword(commonConnectionString(connection_, commonDbName_), connection_.sqlPassword);
}

QString Session::depositConnectionText() const
{
    return maskPassword(depositConnectionString(connection_, depositDbName_), connection_.sqlPassword);
}

QString Session::depositDbNameFor(int installationNumber, const QString& section, const QStringList& existing, QString* base)
{
    const QString suffix = sectionFor(section).suffix;
    const QString numbered = QStringLiteral("ORVAKSEP") + QString::number(installationNumber);
    const bool found = std::any_of(existing.begin(), existing.end(),
                                   [&](const QString& n) { return n.compare(numbered + suffix, Qt::CaseInsensitive) == 0; });
    if (base)
        *base = found ? numbered : QStringLiteral("ORVAKSEP");
    return (found ? numbered : QStringLiteral("ORVAKSEP")) + suffix;
}

QString Session::accountingDbNameFor(int installationNumber, const QString& section, int year)
{
    return QStringLiteral("ORVAKC%1C%2Y%3").arg(installationNumber).arg(sectionFor(section).code).arg(year);
}

QString Session::statusSectionText() const { return QStringLiteral(" بخش مالي ") + sectionTitle_; }

bool Session::OpenSection(int year, const QString& section, Prompt& prompt)
{
    if (!server_)
        return false;
    const QString previousCode = sectionCode_;
    const QString previousTitle = sectionTitle_;
    const int previousYear = currentYear_;
    const Section s = sectionFor(section.trimmed().isEmpty() ? QStringLiteral("0") : section.trimmed());
    sectionCode_ = s.code;
    sectionTitle_ = s.title;
    currentYear_ = year;

    QString base;
    const QString name = depositDbNameFor(site_.installationNumber, s.code, server_->databaseNames(), &base);
    constexpr int steps = 6;
    prompt.progress(QStringLiteral("تنظيمات سال مالي"), 1, steps);
    auto keepPrevious = [&] {
        sectionCode_ = previousCode;
        sectionTitle_ = previousTitle;
        currentYear_ = previousYear;
        return false;
    };
    bool made = false;
    if (!server_->databaseExists(name)) {
        if (!prompt.ask(QStringLiteral("بانک اطلاعاتي سپرده ها و تضمينات يافت نشد.ايجاد گردد؟")))
            return keepPrevious();
        QString why;
        // Another workstation may have made it since the question was asked.
        if (!server_->createDatabase(name, QString(), &why) && !server_->databaseExists(name)) {
            prompt.info(why);
            return keepPrevious();
        }
        made = true;
    }
    // The new database is in force only once it could be opened.
    QString why;
    QSqlDatabase opened = server_->database(name, &why);
    // A database whose creation another workstation has not finished yet (or one
    // whose creation was cut short) is brought to its structure here as well.
    if (opened.isOpen() && (made || !server_->dialect().tableExists(opened, QStringLiteral("CurMaliYear")))) {
        StructureUpdate update(*server_, prompt);
        const UpdateReport report = update.UpdateDatabase(name, schemaFor(DatabaseKind::Deposits));
        if (!report.errors.isEmpty()) {
            prompt.info(updateFailedText(report.errors));
            return keepPrevious();
        }
    }
    if (!opened.isOpen()) {
        prompt.info(QStringLiteral("  اشکال در برقراري ارتباط  با بانک اطلاعاتي") + name + QLatin1Char('\n') + why);
        return keepPrevious();
    }
    if (depositsOpen_ && depositDbName_.compare(name, Qt::CaseInsensitive) != 0)
        server_->closeDatabase(depositDbName_);
    depositDbName_ = name;
    depositDbBase_ = base;
    depositsOpen_ = true;
    prompt.progress(QStringLiteral("بانک اطلاعاتي سپرده ها و تضمينات"), 2, steps);

    QSqlDatabase db = deposits();
    yearDefaults_ = QSqlRecord();
    if (server_->dialect().tableExists(db, QStringLiteral("YearDefaults"))) {
        if (const auto row = db::firstRow(db, QStringLiteral("Select *  From YearDefaults Where Y=:PY and C=:PC"),
                                         {{QStringLiteral(":PY"), currentYear_}, {QStringLiteral(":PC"), sectionCode_}}))
            yearDefaults_ = *row;
    }
    prompt.progress(QStringLiteral("تنظيمات سال مالي"), 3, steps);

    if (const auto row = db::firstRow(db, QStringLiteral("select * from CurMaliYear"))) {
        const QVariant stored = row->value(QStringLiteral("CurMaliY"));
        if (!stored.isNull() && !stored.toString().trimmed().isEmpty() && stored.toInt() > 0)
            currentYear_ = stored.toInt();
    }
    prompt.progress(QStringLiteral("تنظيمات سال مالي"), 4, steps);

    OpenAccountingYear(currentYear_, sectionCode_, prompt);
    prompt.progress(QStringLiteral("تنظيمات سال مالي"), 5, steps);

    ledgerCodes_.clear();
    if (accountingOpen_) {
        ledgerCodes_ = {QStringLiteral("21007"), QStringLiteral("11005001"), QStringLiteral("11006002"), QString(),
                        QStringLiteral("11512"),  QStringLiteral("81001"),    QStringLiteral("82001")};
    }
    readOfficeData();
    prompt.progress(QStringLiteral("تنظيمات سال مالي"), 6, steps);
    return true;
}

void Session::readOfficeData() { office_ = readOrganisationSettings(*this).officeData(); }

bool Session::OpenAccountingYear(int year, const QString& section, Prompt& prompt)
{
    if (!server_)
        return false;
    const QString name = accountingDbNameFor(site_.installationNumber, section, year);
    if (accountingOpen_ && accountingDbName_.compare(name, Qt::CaseInsensitive) != 0)
        server_->closeDatabase(accountingDbName_);
    QString why;
    const bool exists = server_->databaseExists(name);
    if (exists && server_->database(name, &why).isOpen()) {
        accountingDbName_ = name;
        accountingOpen_ = true;
        statusYear_ = QStringLiteral("سال مالي ") + QString::number(year);
        return true;
    }
    accountingDbName_ = name;
    accountingOpen_ = false;
    // A file that is there but cannot be opened is damaged or held, not missing.
    prompt.info(exists && !why.isEmpty() ? why : accountingMissingMessage(name));
    return false;
}

bool Session::chooseFiscalYear(int year, Prompt& prompt)
{
    if (!server_)
        return false;
    writeChosenYear(startDir_, year);
    const QString name = accountingDbNameFor(site_.installationNumber, QStringLiteral("0"), year);
    if (!server_->databaseExists(name)) {
        prompt.info(QStringLiteral("بانک اطلاعاتي حسابداري يافت نشد: سال مالي") + QString::number(year) + QStringLiteral(" : ") + name);
        return false;
    }
    // The year belongs to section 0: a program in another section goes back to it
    // whole, so that the section label and the deposits database agree.
    if (sectionCode_ != QLatin1String("0") || !depositsOpen_) {
        if (!OpenSection(year, QStringLiteral("0"), prompt))
            return false;
    }
    if (!OpenAccountingYear(year, QStringLiteral("0"), prompt))
        return false;
    currentYear_ = year;
    QString why;
    const bool saved = inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Deposits, QStringLiteral("CurMaliYear"), {}, {})
            && w.insert(db::Store::Deposits, QStringLiteral("CurMaliYear"),
                        {{QStringLiteral("IDX"), 1}, {QStringLiteral("CurMaliY"), year}});
    }, &why);
    if (!saved)
        prompt.info(why);
    statusYear_ = QStringLiteral("سال مالي ") + QString::number(year);
    return saved;
}

QList<int> Session::ListAccountingYears()
{
    QList<int> years;
    if (!server_)
        return years;
    const QString prefix = QStringLiteral("ORVAKC%1C").arg(site_.installationNumber);
    for (const QString& n : server_->databaseNames()) {
        if (!n.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int y = n.right(4).toInt(&ok);
        if (ok && !years.contains(y))
            years << y;
    }
    std::sort(years.begin(), years.end());
    return years;
}

QList<int> Session::selectableYears() const
{
    QList<int> years;
    for (int y = 1381; y <= clock_.year(); ++y)
        years << y;
    return years;
}

} // namespace orvak::startup
