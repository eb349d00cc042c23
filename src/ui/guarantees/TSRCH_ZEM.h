#pragma once
// "جستجو در اطلاعات تضمينات": the guarantees of any combination of nature, type,
// party, contract, project, branch or bank, ticked statuses and three date ranges,
// with the count and the total, the two printed lists and the ad-hoc report.
#include "ui/framework/ListScreen.h"
#include "core/guarantees/GuaranteeSearch.h"
#include "core/startup/Session.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::guarantees {

using orvak::startup::Session;

class TSRCH_ZEM : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TSRCH_ZEM(Session& session, QWidget* parent = nullptr);

    orvak::guarantees::SearchFilter filter() const;
    // "نمايش نتايج": false (told) when a condition is not one the search takes.
    bool showResults();
    // "پاک کردن شرايط"
    void clearConditions();
    void printList();
    void printByBranch();
    void adHocReport();
    QString countText() const;

    QComboBox* natureBox = nullptr;
    QComboBox* typeBox = nullptr;
    QComboBox* orderBox = nullptr;
    QLineEdit* number = nullptr;
    QLineEdit* party = nullptr;
    QLineEdit* contract = nullptr;
    QLineEdit* project = nullptr;
    QLineEdit* branch = nullptr;
    QLineEdit* bank = nullptr;
    framework::JalaliDateEdit* dueFrom = nullptr;
    framework::JalaliDateEdit* dueTo = nullptr;
    framework::JalaliDateEdit* issueFrom = nullptr;
    framework::JalaliDateEdit* issueTo = nullptr;
    framework::JalaliDateEdit* cancelFrom = nullptr;
    framework::JalaliDateEdit* cancelTo = nullptr;
    QList<QCheckBox*> ticks;   // "همه" first, then each status
    QLabel* count = nullptr;

private:
    Session& session_;
};

} // namespace orvak::ui::guarantees
