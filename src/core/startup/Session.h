#pragma once
// The running installation: program values, the connection, the current financial
// section and fiscal year, the office data, and the handles of the three databases
// (common, deposits, accounting). Services take a Session& and work through it.
#include "core/db/UnitOfWork.h"
#include "core/io/ListDefinition.h"
#include "core/startup/ConnectionFiles.h"
#include "core/startup/LoginThrottle.h"
#include "core/startup/Program.h"
#include "core/startup/Prompt.h"
#include "core/util/Jalali.h"
#include "core/startup/ServerNames.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <memory>

namespace orvak::startup {

struct OfficeData {
    QString province;            // OSTANNAME
    QString city;                // SHAHR
    QString generalOfficeName;   // GENERALOFFICENAME
    QString officeName;          // officeName
    QString agencyRow;           // RADIFEDASTGAH
    QString treasuryHeadName;    // KhazanehRaiiseName
    QString depositBankAccount;  // HESABNO_SEP_BANKDAR
    QString refundBankAccount;   // HESABNO_SEP_BANKRAD
    QString treasuryAccount;     // HESABNO_TamarkozeVojuh
};

struct Section {
    QString code;     // "0".."3"
    QString title;
    QString suffix;   // of the deposits database name
};
// The four sections; an empty or unknown code is section "0".
Section sectionFor(const QString& code);
QList<Section> allSections();

// The message shown when the accounting database of a year is not on the server.
QString accountingMissingMessage(const QString& name);

// The logged-in user's values.
struct CurrentUser {
    int code = 0;
    QString name, lastName;
    bool manager = false;
    int sel[5] = {0, 0, 0, 0, 0};   // SEL1..SEL5; SEL2 is the write level
    QString background;
    QString familyBackground;
    bool recordIncomplete = false;
    QString displayName() const { return (name + QLatin1Char(' ') + lastName).trimmed(); }
};

class Session : public io::ListSource {
public:
    Session(QString startDir, SiteConfig site);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& startDir() const { return startDir_; }
    const SiteConfig& site() const { return site_; }
    int installationNumber() const { return site_.installationNumber; }

    // Connection
    db::ConnectionSettings& connection() { return connection_; }
    ConnectionFileState ReadConnectionFile(QString* error = nullptr);
    // Uses given settings (the set-up screen and tests) instead of the file.
    void useConnection(const db::ConnectionSettings& settings);
    // Opens the server and the common database; false (after telling the user) when
    // the server cannot be reached.
    bool ConnectServer(Prompt& prompt);
    bool isConnected() const { return connected_; }
    db::Server* server() { return server_.get(); }
    const db::Dialect& dialect() const;
    void CloseConnections();

    // "Now" as the server says (this computer's clock until a server is connected).
    const util::Clock& clock() const { return clock_; }

    // Databases
    QString commonDbName() const { return commonDbName_; }
    QString depositDbName() const { return depositDbName_; }
    QString depositDbBase() const { return depositDbBase_; }
    QString accountingDbName() const { return accountingDbName_; }
    QSqlDatabase common();
    QSqlDatabase deposits();
    QSqlDatabase accounting();
    bool hasDeposits() const { return depositsOpen_; }
    // The open databases, common first: each keeps the history of its own rows.
    QList<QSqlDatabase> openDatabases();
    bool AccountingDbOpen() const { return accountingOpen_; }
    // The lists' view of the open databases.
    QSqlDatabase listDatabase(io::ListDatabase which) override;
    int listSection() const override { return sectionCode_.toInt(); }
    QString commonConnectionText() const;    // as shown, password masked
    QString depositConnectionText() const;

    // A change over the open databases, as one transaction with its history: the
    // work runs and is committed when it returns true, rolled back otherwise.
    db::WorkPlace workPlace() const;
    bool inWork(const std::function<bool(db::UnitOfWork&)>& work, QString* error = nullptr) const;

    // Section and year
    QString SectionCode() const { return sectionCode_; }
    QString SectionTitle() const { return sectionTitle_; }
    int CurrentYear() const { return currentYear_; }
    void setCurrentYear(int year) { currentYear_ = year; }
    int sqlVersionIndex() const { return connection_.sqlVersionIndex; }
    bool OpenSection(int year, const QString& section, Prompt& prompt);
    bool OpenAccountingYear(int year, const QString& section, Prompt& prompt);
    // The fiscal-year choice of the main menu.
    bool chooseFiscalYear(int year, Prompt& prompt);
    QList<int> ListAccountingYears();
    QList<int> selectableYears() const;   // 1381 .. this year

    static QString depositDbNameFor(int installationNumber, const QString& section, const QStringList& existing,
                                    QString* base = nullptr);
    static QString accountingDbNameFor(int installationNumber, const QString& section, int year);

    // Office data and defaults read when a section opens.
    const OfficeData& office() const { return office_; }
    const QStringList& defaultLedgerCodes() const { return ledgerCodes_; }
    const QSqlRecord& yearDefaults() const { return yearDefaults_; }
    QString statusYearText() const { return statusYear_; }
    QString statusSectionText() const;

    // The logged-in user (0: nobody).
    int currentUserCode() const { return currentUser_; }
    void setCurrentUserCode(int code) { currentUser_ = code; }
    CurrentUser& user() { return user_; }
    const CurrentUser& user() const { return user_; }
    bool LoggedIn() const { return currentUser_ > 0; }
    void logOut()
    {
        currentUser_ = 0;
        user_ = CurrentUser{};
    }
    // The wrong passwords of this run by user code; the login form and the lock share them.
    LoginThrottle& loginThrottle() { return loginThrottle_; }

private:
    void resetServer();
    bool ensureDeposits(Prompt& prompt);
    void readOfficeData();

    QString startDir_;
    SiteConfig site_;
    db::ConnectionSettings connection_;
    std::unique_ptr<db::Server> server_;
    bool connected_ = false;
    QString commonDbName_;
    QString depositDbName_;
    QString depositDbBase_ = QStringLiteral("ORVAKSEP");
    QString accountingDbName_;
    bool depositsOpen_ = false;
    bool accountingOpen_ = false;
    QString sectionCode_;
    QString sectionTitle_;
    int currentYear_ = 0;
    OfficeData office_;
    QStringList ledgerCodes_;
    QSqlRecord yearDefaults_;
    QString statusYear_;
    int currentUser_ = 0;
    CurrentUser user_;
    util::Clock clock_;
    LoginThrottle loginThrottle_;
};

} // namespace orvak::startup
