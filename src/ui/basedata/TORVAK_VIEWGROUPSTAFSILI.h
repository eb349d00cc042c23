#pragma once
// The groups of detail accounts of the current section; also the group picker.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TORVAK_VIEWGROUPSTAFSILI : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TORVAK_VIEWGROUPSTAFSILI(startup::Session& session, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    startup::Session& session_;
};

} // namespace orvak::ui::basedata
