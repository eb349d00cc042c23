#pragma once
// The contract list as a picker for other screens (F7): CODE, PAYMENTNO, TAFSIL, DESCR
// of the chosen contract, restricted to a party when one is given (0: every party).
#include "ui/framework/Editors.h"
#include "ui/framework/Picker.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

std::optional<framework::PickResult> pickContract(QWidget* parent, orvak::startup::Session& session, qint64 party = 0);

// A contract's field on an entry form: its identifier with the description beside it, F7 picks.
framework::CodeEdit* contractField(orvak::startup::Session& session, QWidget* parent);

} // namespace orvak::ui::basedata
