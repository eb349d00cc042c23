#pragma once
// "ريز درخواست سپرده از خزانه": the rows of one fund request or of all, by owner,
// contract, request number, the request's dates and state, with the total asked;
// rows added one by one, in bulk from the received deposits, or from the deposits
// refunded without a request.
#include "ui/deposits/ConditionList.h"

class QComboBox;
class QLabel;

namespace orvak::ui::deposits {

class TViewSepReqFromKhazanehDETAILS : public ConditionList {
    Q_OBJECT
public:
    explicit TViewSepReqFromKhazanehDETAILS(Session& session, QWidget* parent = nullptr);
    // The rows of one request.
    TViewSepReqFromKhazanehDETAILS(Session& session, int reqIdx, QWidget* parent = nullptr);

    int request() const { return request_; }
    // -1: the rows of every request.
    void showRequest(int reqIdx);
    QString totalText() const;

    enum { NewCommand, EditCommand, DeleteCommand, RenumberCommand, NotRequestedCommand, BulkCommand };
    void newRow();
    void editRow();
    void removeRow();
    void renumberRow();
    void addNotRequested();
    void addBulk();
    // The rows chosen in one of the two ways, added to the request.
    void addDeposits(const QList<QVariantMap>& rows, bool withAmounts);

private:
    void updateTotal();
    bool needRequest();

    int request_ = -1;
    QComboBox* scope_ = nullptr;
    QLabel* total_ = nullptr;
};

// "درخواست وجه سپرده از خزانه" of the received-deposits list: the deposit as a new row
// of a fund request the user picks; true when a row was saved.
bool requestDepositFromTreasury(QWidget* parent, Session& session, int depositIdx);

} // namespace orvak::ui::deposits
