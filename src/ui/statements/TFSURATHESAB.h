#pragma once
// "اطلاعات صورتحساب دريافتي از بانک": the statement lines of an account and date range
// with the filters and orders, the settlement lines under them, both totals, the
// searches, the pop-up actions and the two reports.
#include "ui/framework/ListScreen.h"
#include "core/statements/StatementList.h"
#include "core/startup/Session.h"

class QComboBox;
class QLabel;
class QAction;

namespace orvak::ui::framework {
class CodeEdit;
class JalaliDateEdit;
}

namespace orvak::ui::statements {

class TFSURATHESAB : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TFSURATHESAB(orvak::startup::Session& session, QWidget* parent = nullptr);

    orvak::statements::StatementFilter filter() const;
    void setFilter(const orvak::statements::StatementFilter& filter);
    bool applyFilter(const QVariant& key = {});

    framework::ListScreen* settlement() const { return settlement_; }
    QString totalsLine() const;
    QAction* action(const QString& caption) const;
    int currentRow() const { return currentKey().toInt(); }

    // The searches: stand on the next line (after the current one) with the value;
    // "يافت نشد" when none.
    bool findAmount(qint64 amount);
    bool findDocument(qint64 number);
    bool findDate(const QString& date);   // YYYY/MM/DD

    // The reports: the listed lines, and the accounts' balances on a date.
    io::ReportModel statementReport();
    std::optional<io::ReportModel> balancesReport(const QString& date);

    framework::CodeEdit* account = nullptr;
    framework::JalaliDateEdit* from = nullptr;
    framework::JalaliDateEdit* to = nullptr;
    QComboBox* order = nullptr;
    QComboBox* kind = nullptr;
    QComboBox* place = nullptr;
    QComboBox* branch = nullptr;
    QComboBox* province = nullptr;
    QComboBox* office = nullptr;

public slots:
    void setReadOnly(bool readOnly);

private:
    void buildFilters();
    void buildActions();
    void updateTotals();
    bool findBy(const QString& field, const std::function<bool(const QVariant&)>& hit);
    void reclassify(bool correction);
    QAction* addAction(const QString& caption, std::function<void()> run, bool writes);

    orvak::startup::Session& session_;
    framework::ListScreen* settlement_ = nullptr;
    QLabel* totals_ = nullptr;
    QList<QAction*> writing_;
    QHash<QString, QAction*> actions_;
};

} // namespace orvak::ui::statements
