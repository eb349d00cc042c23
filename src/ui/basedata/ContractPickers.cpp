#include "ui/basedata/ContractPickers.h"

#include "ui/basedata/TORVAK_VIEWPAYMAN.h"
#include "core/basedata/Contracts.h"

namespace orvak::ui::basedata {

std::optional<framework::PickResult> pickContract(QWidget* parent, orvak::startup::Session& session, qint64 party)
{
    auto* list = new TORVAK_VIEWPAYMAN(session);
    if (party > 0)
        list->setParty(party);
    return framework::pickFrom(list, {{QStringLiteral("CODE"), QStringLiteral("PAYMENTNO"), QStringLiteral("TAFSIL"), QStringLiteral("DESCR")},
                                      QStringLiteral("CODE"), QStringLiteral("DESCR"), {}},
                               parent);
}

framework::CodeEdit* contractField(orvak::startup::Session& session, QWidget* parent)
{
    auto lookup = [&session](qint64 code) -> std::optional<QString> {
        const db::Fetched<orvak::basedata::Contract> c = orvak::basedata::Contracts(session).read(code);
        return c ? std::optional<QString>(c->text(QStringLiteral("DESCR"))) : std::nullopt;
    };
    auto picker = [&session](QWidget* p) -> std::optional<qint64> {
        const auto r = pickContract(p, session);
        return r ? std::optional<qint64>(r->current.value(QStringLiteral("CODE")).toLongLong()) : std::nullopt;
    };
    return new framework::CodeEdit(lookup, picker, parent);
}

} // namespace orvak::ui::basedata
