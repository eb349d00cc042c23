#pragma once
// The entry of a credit source: kind, description, credit kind and group, and the
// budget row when it has one.
#include "ui/basedata/CodedEntry.h"
#include "core/startup/Session.h"

class QCheckBox;

namespace orvak::ui::basedata {

class TDE_MTE : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_MTE(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* description = nullptr;
    QLineEdit* creditKind = nullptr;
    QLineEdit* creditGroup = nullptr;
    QCheckBox* hasBudgetRow = nullptr;
    QLineEdit* budgetRow = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
