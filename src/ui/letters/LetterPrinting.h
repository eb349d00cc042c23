#pragma once
// The print preview of letters (the printer's page as the letters' own).
#include "core/letters/LetterPages.h"

class QWidget;

namespace orvak::ui::letters {

void previewLetters(const std::vector<orvak::letters::LetterPage>& letters, const QString& title, QWidget* parent);

} // namespace orvak::ui::letters
