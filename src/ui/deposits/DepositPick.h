#pragma once
// The received deposits as other registers choose from them: one deposit picked
// from the register, or every row the grid shows.
#include "core/startup/Session.h"

#include <QList>
#include <optional>

class QWidget;

namespace orvak::ui::deposits {

// "فهرست سپرده هاي دريافتي": the register opened on every month up to the current
// one (the owner's deposits when one is given); the chosen deposit's IDX.
std::optional<int> pickDeposit(QWidget* parent, orvak::startup::Session& session, int owner = -1);
// The register with "انتخاب" and "انتخاب همه": the deposits chosen, in the grid's order.
std::optional<QList<int>> chooseDeposits(QWidget* parent, orvak::startup::Session& session);

} // namespace orvak::ui::deposits
