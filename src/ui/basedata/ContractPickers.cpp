#include "ui/basedata/ContractPickers.h"

namespace orvak::ui::basedata {

// Placeholders until the contract screens are built.
std::optional<framework::PickResult> pickContract(QWidget*, orvak::startup::Session&, qint64) { return std::nullopt; }
framework::CodeEdit* contractField(orvak::startup::Session&, QWidget* parent)
{
    return new framework::CodeEdit([](qint64) { return std::optional<QString>(); }, [](QWidget*) { return std::optional<qint64>(); }, parent);
}

} // namespace orvak::ui::basedata
