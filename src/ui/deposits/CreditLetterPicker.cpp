#include "ui/deposits/CreditLetterPicker.h"

#include "ui/deposits/TVIEWBESTANKARI.h"

namespace orvak::ui::deposits {

// The deposits screens pick from the notices' own list, where a notice can be added
// or corrected before it is chosen.
std::optional<orvak::deposits::CreditLetter> pickCreditLetter(QWidget* parent, orvak::startup::Session& session, const QString& title)
{
    return pickCreditNotice(parent, session, title);
}

} // namespace orvak::ui::deposits
