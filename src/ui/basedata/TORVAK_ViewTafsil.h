#pragma once
// "پيمانکاران": the detail accounts of the section, and the party picker of every
// other screen. Order by number, name or group (F2); search by number and by a word
// in the name; the voucher-ledger filter; new, edit, delete, change of number, the
// bulk change of the selected accounts and the contractor information print-out.
#include "ui/framework/ListScreen.h"
#include "core/basedata/DetailAccounts.h"

namespace orvak::ui::basedata {

class TORVAK_ViewTafsil : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TORVAK_ViewTafsil(startup::Session& session, QWidget* parent = nullptr);

    orvak::basedata::PartyOrder order() const { return order_; }
    void setOrder(orvak::basedata::PartyOrder order);
    void nextOrder();
    // The names holding the word (all for an empty one); false when the search failed.
    bool searchName(const QString& word);
    // Accounts of the voucher rows under the ledger pair.
    bool filterLedger(qint64 general, qint64 subsidiary);
    // "همه تفضيلي ها": no narrowing.
    void showAll();
    QList<qint64> selectedCodes() const;
    void printSheet();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool apply();

    startup::Session& session_;
    orvak::basedata::PartyOrder order_ = orvak::basedata::PartyOrder::Code;
    std::optional<QList<qint64>> byName_;
    std::optional<QList<qint64>> byLedger_;
};

} // namespace orvak::ui::basedata
