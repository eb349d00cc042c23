#pragma once
// "اطلاعات تضمينات": the guarantee list with its filters (party F3, contract, status
// F2, nature, type, issue, due and voucher dates with the quick windows, cancelled
// and seized shown on request, a free condition), its orders, the count and total,
// and the commands: new, edit, delete, the booking voucher, the letter dialog and
// the prints. A user who may not write gets the list with its writing commands off.
#include "ui/framework/ListScreen.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::guarantees {

using orvak::startup::Session;

class TViewZemanat : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TViewZemanat(Session& session, QWidget* parent = nullptr);

    Session& session() const { return session_; }
    orvak::guarantees::GuaranteeFilter filter() const;
    void setFilter(const orvak::guarantees::GuaranteeFilter& filter);
    // Opens the list again on the boxes' conditions, standing on the key; false (told)
    // when a condition is not one the list takes.
    bool applyFilter(const QVariant& key = {});
    int currentIdx() const { return currentKey().toInt(); }
    // The count and total of the rows the grid shows.
    orvak::guarantees::GuaranteeTotals shownTotals();
    QString totalsLine() const;

    enum { NewCommand, EditCommand, DeleteCommand, VoucherCommand, LetterCommand, CardsCommand, PrintCommand };
    void newGuarantee();
    void editGuarantee();
    void removeGuarantee();
    void bookVoucher();
    void issueLetter();
    void printCards();
    void printList();

    QComboBox* statusBox = nullptr;
    QComboBox* kindBox = nullptr;
    QComboBox* typeBox = nullptr;
    QComboBox* orderBox = nullptr;
    QComboBox* windowBox = nullptr;
    QCheckBox* showCancelled = nullptr;
    QCheckBox* showSeized = nullptr;
    framework::JalaliDateEdit* issuedFrom = nullptr;
    framework::JalaliDateEdit* issuedTo = nullptr;
    framework::JalaliDateEdit* dueFrom = nullptr;
    framework::JalaliDateEdit* dueTo = nullptr;
    framework::JalaliDateEdit* voucherFrom = nullptr;
    framework::JalaliDateEdit* voucherTo = nullptr;
    QComboBox* conditionField = nullptr;
    QComboBox* conditionOp = nullptr;
    QLineEdit* conditionValue = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFilters();
    void pickParty();
    void pickContract();
    void updateTotals();

    Session& session_;
    int party_ = -1;
    int contract_ = -1;
    QLabel* partyName_ = nullptr;
    QLabel* contractName_ = nullptr;
    QLabel* totals_ = nullptr;
    bool conditionOn_ = false;
};

} // namespace orvak::ui::guarantees
