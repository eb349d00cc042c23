#pragma once
// "فهرست مربوط به قرائت اطلاعات چک هاي سپرده ها از  حسابداري": the saved reading
// criteria (List4Get); F10 hands the current row to the reading screen.
#include "core/deposits/VoucherReadingCriteria.h"
#include "ui/framework/ListScreen.h"

namespace orvak::ui::deposits {

class TViewList4Get : public framework::ListScreen {
    Q_OBJECT
public:
    // current gives the reading screen's criteria for "جديد" (nullopt: none to save).
    TViewList4Get(orvak::startup::Session& session, std::function<std::optional<orvak::deposits::SavedCriteria>()> current,
                  QWidget* parent = nullptr);
    std::optional<orvak::deposits::SavedCriteria> currentCriteria() const;

signals:
    void chosen(const orvak::deposits::SavedCriteria& criteria);
};

} // namespace orvak::ui::deposits
