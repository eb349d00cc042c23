#pragma once
// "اطلاعات قراردادها": every column of a contract, its credit sources ticked, the
// split over plans and projects (+ / −), and the vouchers of its initial amount and
// of its 25% change.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/basedata/Contracts.h"
#include "core/startup/Session.h"

#include <QHash>

class QCheckBox;
class QComboBox;
class QListWidget;
class QTableWidget;

namespace orvak::ui::basedata {

class TORVAK_DE_payman : public CodedEntry {
    Q_OBJECT
public:
    explicit TORVAK_DE_payman(orvak::startup::Session& session, QWidget* parent = nullptr);

    // The editor of a PAYMENTS column.
    QWidget* field(const QString& column) const { return fields_.value(column); }
    QCheckBox* hasSupplement = nullptr;   // "اين قرارداد متمم دارد"
    QListWidget* creditSources = nullptr;
    QTableWidget* splits = nullptr;

    // The insurance kind chosen from the pick list (its index there).
    void chooseInsurance(int index);
    // "+" and "-" of the split: the plan and project picked, the amount asked.
    bool addSplit(int plan, int project, const QString& amount);
    bool removeCurrentSplit();
    // The voucher commands.
    void issueVoucher(orvak::basedata::ContractAmount which);
    // The parameter list of the kind opened as a picker ("..." beside the field);
    // the field's choices are read again and the picked row chosen.
    bool pickParameterInto(QComboBox* combo, int kind);

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void addField(QWidget* page, const orvak::basedata::ContractColumn& column);
    static int parameterKindOf(const QString& column);   // -1: not a parameter column
    // The parameter fields' choices read again, as each opening shows them.
    void refillParameters();
    void showSplits();
    void fillCreditSources();
    void checkCodeTaken();

    orvak::startup::Session& session_;
    QHash<QString, QWidget*> fields_;
    int insuranceIndex_ = 0;
};

} // namespace orvak::ui::basedata
