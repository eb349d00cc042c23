#include "ui/statements/StatementScreens.h"

#include "ui/basedata/Pickers.h"
#include "ui/statements/TFREADSURATHESAB.h"
#include "ui/statements/TFReadSurathesabFromExcel.h"
#include "ui/statements/TFSURATHESAB.h"
#include "ui/statements/TSudMo.h"
#include "core/basedata/Lookups.h"

namespace orvak::ui::statements {

namespace menu = framework::menu;

void registerStatementScreens(framework::ScreenRegistry& r)
{
    const QStringList path{QStringLiteral("سپرده ها"), QStringLiteral("صورتحساب بانک")};
    // Reading writes the statement: a user who may not write is refused; the list and
    // the matching open read-only for him.
    r.add<TFREADSURATHESAB>(path, QStringLiteral("قرائت اطلاعات صورتحساب هاي بانکي"), menu::Deposits + 50).writeLevel =
        framework::WriteLevelRule::Refuse;
    r.add<TFReadSurathesabFromExcel>(path, QStringLiteral("تبديل فايل اکسل صورتحساب"), menu::Deposits + 51);
    r.add<TFREADSURATHESABSHAPARAK>(path, QStringLiteral("قرائت اطلاعات شاپرک"), menu::Deposits + 52).writeLevel =
        framework::WriteLevelRule::Refuse;
    r.add<TFSURATHESAB>(path, QStringLiteral("اطلاعات صورتحساب دريافتي از بانک"), menu::Deposits + 53).writeLevel =
        framework::WriteLevelRule::ReadOnly;
    r.add<TSudMo>(path, QStringLiteral("مغايرت بانکي"), menu::Deposits + 54).writeLevel = framework::WriteLevelRule::ReadOnly;
}

framework::CodeEdit* accountField(orvak::startup::Session& session, QWidget* parent)
{
    auto lookup = [&session](qint64 code) -> std::optional<QString> {
        const auto row = orvak::basedata::lookup(session, orvak::basedata::Lookup::BankAccount, code);
        if (!row)
            return std::nullopt;
        return (row->value(QStringLiteral("HESABNO")).toString().trimmed() + QStringLiteral(" - ")
                + row->value(QStringLiteral("HESABSUBJECT")).toString().trimmed());
    };
    auto picker = [&session](QWidget* p) -> std::optional<qint64> {
        const basedata::Pick pick = basedata::pickAccount(p, session);
        if (!pick)
            return std::nullopt;
        return pick->current.value(QStringLiteral("CODE")).toLongLong();
    };
    return new framework::CodeEdit(lookup, picker, parent);
}

void openMatching(orvak::startup::Session& session, QWidget* parent, int year, int month)
{
    for (const framework::ScreenEntry& e : [] {
             framework::ScreenRegistry r;
             registerStatementScreens(r);
             return r.entries();
         }()) {
        if (e.key != framework::keyOf<TSudMo>())
            continue;
        if (auto* screen = qobject_cast<TSudMo*>(framework::openScreenOrTell(e, session, parent))) {
            screen->setMonth(year, month);
            framework::showScreen(screen);
        }
        return;
    }
}

} // namespace orvak::ui::statements
