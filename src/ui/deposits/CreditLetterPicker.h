#pragma once
// The credit notices and sending letters (BESTANKARI) as a picker for the deposits
// register's commands and its entry form.
#include "core/deposits/CreditLetters.h"

#include <QWidget>
#include <optional>

namespace orvak::ui::deposits {

// The chosen letter; nullopt when the user leaves (or the letter cannot be read,
// which is said).
std::optional<orvak::deposits::CreditLetter> pickCreditLetter(QWidget* parent, orvak::startup::Session& session, const QString& title);

} // namespace orvak::ui::deposits
