#pragma once
// "ويرايش اطلاعات بستانكاري ها": one credit notice with the letter that sent the list.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

class QComboBox;

namespace orvak::ui::deposits {

class TFDE_BESTANKARI : public basedata::CodedEntry {
    Q_OBJECT
public:
    explicit TFDE_BESTANKARI(orvak::startup::Session& session, QWidget* parent = nullptr);

    framework::AmountEdit* amount = nullptr;
    framework::JalaliDateEdit* creditDate = nullptr;
    QLineEdit* creditNo = nullptr;
    QLineEdit* creditLetterNo = nullptr;
    framework::JalaliDateEdit* creditLetterDate = nullptr;
    QComboBox* bank = nullptr;
    QLineEdit* letterNo = nullptr;
    framework::JalaliDateEdit* letterDate = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::deposits
