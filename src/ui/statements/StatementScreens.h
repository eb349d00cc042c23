#pragma once
// The bank-statement screens in the main menu ("سپرده ها" > "صورتحساب بانک"), and the
// account field they share.
#include "ui/framework/Editors.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Session.h"

namespace orvak::ui::statements {

void registerStatementScreens(framework::ScreenRegistry& registry);

// An office bank account (HESAB): its code with its number and purpose beside it; F7 picks.
framework::CodeEdit* accountField(orvak::startup::Session& session, QWidget* parent);

// Opens the matching screen on an account and month (the deposits list's entry).
void openMatching(orvak::startup::Session& session, QWidget* parent, int year, int month);

} // namespace orvak::ui::statements
