#pragma once
// "شرح هاي عمومي و پرتكرار": the saved descriptions of a scope; Enter hands the
// chosen text to the calling field.
#include "ui/framework/ListScreen.h"
#include "core/basedata/StandardDescriptions.h"

class QComboBox;

namespace orvak::ui::basedata {

class TFSndDscr : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TFSndDscr(startup::Session& session, QWidget* parent = nullptr,
                       orvak::basedata::DescriptionScope scope = orvak::basedata::DescriptionScope::GeneralAndMine);
    void setScope(orvak::basedata::DescriptionScope scope);
    QComboBox* scopeCombo() const { return scopes_; }
    // The current row's key; nullopt without one.
    std::optional<orvak::basedata::DescriptionKey> currentDescription() const;

private:
    startup::Session& session_;
    QComboBox* scopes_ = nullptr;
};

} // namespace orvak::ui::basedata
