#include "core/io/ListCatalogue.h"

#include "core/basedata/PartyLists.h"
#include "core/basedata/PlanBankLists.h"
#include "core/deposits/DepositList.h"
#include "core/startup/StartupLists.h"

namespace orvak::io {

namespace {

using SubsystemLists = QList<ListDefinition> (*)();

// One entry per subsystem that declares lists.
constexpr SubsystemLists kSubsystems[] = {
    &startup::startupLists,
    &basedata::partyLists,
    &basedata::planBankLists,
    &deposits::depositLists,
};

} // namespace

QList<ListDefinition> allLists()
{
    QList<ListDefinition> lists;
    for (SubsystemLists lists_of : kSubsystems)
        lists << lists_of();
    return lists;
}

std::optional<ListDefinition> findList(const QString& name)
{
    for (ListDefinition& d : allLists()) {
        if (d.name == name)
            return std::move(d);
    }
    return std::nullopt;
}

QStringList listNames()
{
    QStringList names;
    for (const ListDefinition& d : allLists())
        names << d.name;
    return names;
}

} // namespace orvak::io
