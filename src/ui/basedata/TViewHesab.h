#pragma once
// The office's bank accounts ("فهرست حسابهاي بانكي") of this section and program, in six orders.
#include "ui/basedata/RegisterList.h"

#include <QCheckBox>

namespace orvak::ui::basedata {

class TViewHesab : public RegisterList {
    Q_OBJECT
public:
    explicit TViewHesab(Session& session, QWidget* parent = nullptr);

private:
    void applyTicks();

    QCheckBox* moving_ = nullptr;
    QCheckBox* reconciled_ = nullptr;
};

} // namespace orvak::ui::basedata
