#include "ui/deposits/CreditLetterPicker.h"

#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"

namespace orvak::ui::deposits {

std::optional<orvak::deposits::CreditLetter> pickCreditLetter(QWidget* parent, orvak::startup::Session& session, const QString& title)
{
    auto* list = new framework::ListScreen(session, orvak::deposits::creditLettersList(), {});
    list->setWindowTitle(title);
    framework::PickRequest request;
    request.fields = {QStringLiteral("IDXNO")};
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    const auto letter = orvak::deposits::creditLetter(session, picked->current.value(QStringLiteral("IDXNO")).toInt());
    if (!letter) {
        framework::ShowError(letter.failed() ? letter.error() : QStringLiteral("نامه ارسالي به خزانه يافت نشد"), parent);
        return std::nullopt;
    }
    return *letter;
}

} // namespace orvak::ui::deposits
