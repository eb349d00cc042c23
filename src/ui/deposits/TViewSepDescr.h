#pragma once
// The standard descriptions of deposits (SEPDESCR), which the entry form offers.
#include "ui/basedata/RegisterList.h"

#include <optional>

namespace orvak::ui::deposits {

class TViewSepDescr : public basedata::RegisterList {
    Q_OBJECT
public:
    explicit TViewSepDescr(orvak::startup::Session& session, QWidget* parent = nullptr);
};

// The list as a picker: the chosen description's text; nullopt when the user leaves.
std::optional<QString> pickSepDescription(QWidget* parent, orvak::startup::Session& session);

} // namespace orvak::ui::deposits
