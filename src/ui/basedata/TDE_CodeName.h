#pragma once
// The entry of a register of codes and names (centres, bank names, provinces,
// supervising offices), with the parent code where the register has one.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/basedata/NamedRegister.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TDE_CodeName : public CodedEntry {
    Q_OBJECT
public:
    // The register outlives the form (the list holds it).
    TDE_CodeName(orvak::basedata::NamedRegister& reg, const QString& title, const QString& nameCaption, int nameWidth,
                 QWidget* parent = nullptr);
    // The parent code's field, for a register that has one.
    void addParent(const QString& caption, framework::CodeEdit* field);

    QLineEdit* name = nullptr;
    framework::CodeEdit* parentCode = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::basedata::NamedRegister& register_;
};

} // namespace orvak::ui::basedata
