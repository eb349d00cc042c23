#pragma once
// "درخواست  وجه سپرده  از خزانه  ": the fund requests by date, state and order with the
// total requested; the state changes, the sums, the collective refund, the payment
// voucher and the prints in the menus.
#include "ui/deposits/ConditionList.h"
#include "core/deposits/FundRequests.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;

namespace orvak::ui::deposits {

class TViewSepReqFromKhazaneh : public ConditionList {
    Q_OBJECT
public:
    explicit TViewSepReqFromKhazaneh(Session& session, QWidget* parent = nullptr);

    int currentRequest() const { return currentKey().toInt(); }
    QAction* action(const QString& caption) const { return actions_.value(caption); }
    QString totalText() const;

    // The buttons' places among the frame's commands.
    enum { NewCommand, EditCommand, DeleteCommand, RowsCommand };
    void newRequest();
    void editRequest();
    void removeRequest();
    // "صورت ريز درخواست وجه": the request's rows; the list is read again after.
    void showRows();
    // The state changes: the request's form, saved in the state.
    void changeState(orvak::deposits::FundState state);
    void refundAll();
    void issueVoucher();
    void printLetter();
    void printDetail(bool choose);

private:
    void buildMenus();
    QAction* addEntry(QMenu* menu, const QString& caption, std::function<void()> run, bool writes = true);
    void updateTotal();
    bool needRequest();

    QMenuBar* menus_ = nullptr;
    QHash<QString, QAction*> actions_;
    QComboBox* order_ = nullptr;
    QLabel* total_ = nullptr;
};

// The list as a picker ("انتخاب"): the chosen request's REQ_IDX.
std::optional<int> pickFundRequest(QWidget* parent, Session& session);

} // namespace orvak::ui::deposits
