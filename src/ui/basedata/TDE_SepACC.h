#pragma once
// The entry of a bank account of deposits and guarantees: name, kind, the ledgers
// that carry it in the accounting database and its branch.
#include "ui/basedata/CodedEntry.h"
#include "core/startup/Session.h"

class QComboBox;

namespace orvak::ui::basedata {

class TDE_SepACC : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_SepACC(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* name = nullptr;
    QComboBox* kind = nullptr;
    QLineEdit* kol = nullptr;
    QLineEdit* moin = nullptr;
    QLineEdit* branch = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
