#pragma once
// "سپرده هاي دريافتي": the deposits of a month or a range of months with every
// condition of the register, the totals with their counts, the colouring by
// bank-statement and final mark, the space bar stepping the current row's mark, and
// the register's single and group operations in the menus.
#include "ui/framework/ListScreen.h"
#include "core/deposits/DepositFilter.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositSummaries.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Session.h"

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::deposits {

using orvak::startup::Session;

class TViewSepDar : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TViewSepDar(Session& session, QWidget* parent = nullptr);

    Session& session() const { return session_; }
    // The conditions as the boxes hold them now.
    orvak::deposits::DepositFilter filter() const;
    // The same with, while the frame's filter or a title sort rearranges the grid,
    // the rows the grid shows in its order: what group operations, totals and prints take.
    orvak::deposits::DepositFilter shownFilter();
    // Sets the boxes and opens the list on them.
    void setFilter(const orvak::deposits::DepositFilter& filter);
    // Opens the list again on the boxes' conditions, standing on the key.
    bool applyFilter(const QVariant& key = {});

    int currentIdx() const { return currentKey().toInt(); }
    const orvak::deposits::DepositTotals& totals() const { return totals_; }
    QString totalText(int line) const;   // the line's label, sum and count as shown

    // The register's commands by their menu text, for the menus, tests and keys.
    QAction* action(const QString& caption) const;
    // "SPACE      تائيد/عدم تائيد صورتحساب بانک" on the current row.
    void stepMark();

    // The buttons' places in the frame's commands.
    enum { NewCommand, EditCommand, DeleteCommand, MoveCommand, PersonCommand, PrintCommand };
    void newDeposit();
    void editDeposit();
    void removeDeposit();
    void moveYearMonth();
    void personDeposits();
    void printList();
    // A summary report over the list's conditions.
    void summary(orvak::deposits::Summary id);

    // The bank-statement and final colours (0), none (1) or one fixed colour.
    QComboBox* colouring = nullptr;

public slots:
    void setReadOnly(bool readOnly);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPeriod();
    void buildConditions();
    void buildTotals();
    void buildMenus();
    void updateCaption();
    void updateTotals();
    void applyColouring();
    // The credit-notice box's entries, read again (the chosen notice kept).
    void fillCreditNotices();
    void pickOwner();
    void pickContract();

    // A menu entry; writing entries are off while the list is read-only.
    QAction* addEntry(QMenu* menu, const QString& caption, std::function<void()> run, bool writes = true);
    // The result of an operation: the list read again on the current row, and the
    // number of rows changed told where the operation reached several rows.
    void finish(const orvak::deposits::Outcome& outcome, bool tellCount);
    // Runs a group operation over the listed rows.
    void runGroup(const std::function<orvak::deposits::Outcome(orvak::deposits::ReceivedDeposits&, const orvak::deposits::DepositFilter&, startup::Prompt&)>& op);
    void runOnRow(const std::function<orvak::deposits::Outcome(orvak::deposits::ReceivedDeposits&, int idx, startup::Prompt&)>& op);

    void printReceipts(bool all);
    void notBuiltYet();
    void findInVouchers(orvak::deposits::VoucherMatch match);
    void showRowVoucher(bool sending);
    void issueVoucher(bool sending);
    void readFromVouchers(bool byCheque);
    void autoSerial();
    void moveToMonth(bool all);
    void setEmpty(orvak::deposits::EmptyField field);
    void ownerForUnknown();
    void creditNumber();
    void copyCredit(int from);   // 0: memory, -1: the row above, 1: the row below
    void creditToSelected(const orvak::deposits::CreditRef& credit);
    void lettersToList(bool creditNotice);   // the sending letter, or the credit notice too, onto the listed rows
    void searchDescription();
    // "جستجو ...": stands on the row with the typed receipt, cheque or identifier.
    void locate();

    Session& session_;
    QMenuBar* menus_ = nullptr;
    QList<QAction*> writing_;
    QHash<QString, QAction*> actions_;
    bool readOnly_ = false;
    std::optional<orvak::deposits::CreditRef> heldCredit_;

    QComboBox* year_ = nullptr;
    QComboBox* month_ = nullptr;
    QComboBox* mode_ = nullptr;
    QComboBox* toYear_ = nullptr;
    QComboBox* toMonth_ = nullptr;
    framework::JalaliDateEdit* upTo_ = nullptr;
    QLabel* caption_ = nullptr;
    QComboBox* confirmation_ = nullptr;
    QList<QCheckBox*> marks_;
    int owner_ = -1;
    int contract_ = -1;
    QLabel* ownerName_ = nullptr;
    QLabel* contractName_ = nullptr;
    QComboBox* creditMode_ = nullptr;
    QComboBox* creditNotice_ = nullptr;
    framework::JalaliDateEdit* receiptFrom_ = nullptr;
    framework::JalaliDateEdit* receiptTo_ = nullptr;
    framework::JalaliDateEdit* chequeFrom_ = nullptr;
    framework::JalaliDateEdit* chequeTo_ = nullptr;
    QCheckBox* hideZero_ = nullptr;
    QString descriptionWord_;
    QComboBox* order_ = nullptr;
    QComboBox* direction_ = nullptr;
    QList<QLabel*> totalLabels_;
    orvak::deposits::DepositTotals totals_;
};

} // namespace orvak::ui::deposits
