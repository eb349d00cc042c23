#include "ui/basedata/PartyPickers.h"

#include "ui/basedata/TFPARAMS_PAY.h"
#include "ui/basedata/TFRasteh.h"
#include "ui/basedata/TFSndDscr.h"
#include "ui/basedata/TORVAK_VIEWGROUPSTAFSILI.h"
#include "ui/basedata/TORVAK_ViewTafsil.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "core/basedata/DetailAccounts.h"

namespace orvak::ui::basedata {

namespace {

using framework::PickRequest;

PickRequest codeAndName(const QString& code, const QString& name) { return {{code, name}, code, name, {}}; }

std::optional<std::pair<qint64, QString>> pairOf(const std::optional<framework::PickResult>& r, const QString& code, const QString& name)
{
    if (!r)
        return std::nullopt;
    return std::pair{r->current.value(code).toLongLong(), r->current.value(name).toString().trimmed()};
}

} // namespace

std::optional<PartyPick> pickParty(QWidget* parent, startup::Session& session, const PartyPickOptions& options)
{
    auto* list = new TORVAK_ViewTafsil(session);
    if (!options.word.isEmpty())
        list->searchName(options.word);
    bool debts = false;
    PickRequest request{{QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("HESABJARI"), QStringLiteral("GROUPS"), QStringLiteral("TAFSILKIND")},
                        QStringLiteral("CODE"), QStringLiteral("NAME"),
                        [&session, &debts](const framework::PickResult& r, QWidget* dialog) {
                            const auto owes = orvak::basedata::DetailAccounts(session).hasDebts(r.current.value(QStringLiteral("CODE")).toLongLong());
                            if (owes.failed()) {
                                framework::ShowError(owes.error(), dialog);
                                return false;
                            }
                            debts = *owes;
                            if (debts)
                                framework::ShowInfo(orvak::basedata::DetailAccounts::debtsText(), dialog);
                            return true;
                        }};
    const std::optional<framework::PickResult> r = framework::pickFrom(list, std::move(request), parent);
    if (!r)
        return std::nullopt;
    PartyPick p;
    p.code = r->current.value(QStringLiteral("CODE")).toLongLong();
    p.name = r->current.value(QStringLiteral("NAME")).toString().trimmed();
    p.hesabJari = r->current.value(QStringLiteral("HESABJARI")).toString().trimmed();
    p.groups = r->current.value(QStringLiteral("GROUPS"));
    p.tafsilKind = r->current.value(QStringLiteral("TAFSILKIND")).toInt();
    p.rowCount = r->rowCount;
    p.selectedCodes = r->selectedCodes;
    p.selectedPairs = r->selectedPairs;
    p.hasDebts = debts;
    p.listChanged = r->listChanged;
    return p;
}

framework::CodeEdit* partyCodeEdit(startup::Session& session, QWidget* parent)
{
    return new framework::CodeEdit(
        [&session](qint64 code) -> std::optional<QString> {
            const auto name = orvak::basedata::DetailAccounts(session).nameOf(code);
            return name ? std::optional<QString>(*name) : std::nullopt;
        },
        [&session](QWidget* p) -> std::optional<qint64> {
            const auto picked = pickParty(p, session);
            return picked ? std::optional<qint64>(picked->code) : std::nullopt;
        },
        parent);
}

std::optional<QList<qint64>> pickGroups(QWidget* parent, startup::Session& session)
{
    const auto r = framework::pickFrom(new TORVAK_VIEWGROUPSTAFSILI(session), codeAndName(QStringLiteral("CODE"), QStringLiteral("NAME")), parent);
    if (!r)
        return std::nullopt;
    QList<qint64> codes;
    if (r->selectedCodes != QLatin1String("0")) {
        for (const QString& c : r->selectedCodes.split(QLatin1Char(',')))
            codes << c.toLongLong();
    } else {
        codes << r->current.value(QStringLiteral("CODE")).toLongLong();
    }
    return codes;
}

std::optional<qint64> pickTrade(QWidget* parent, startup::Session& session)
{
    const auto r = pairOf(framework::pickFrom(new TFRasteh(session), codeAndName(QStringLiteral("CODE"), QStringLiteral("DESCR")), parent),
                          QStringLiteral("CODE"), QStringLiteral("DESCR"));
    return r ? std::optional<qint64>(r->first) : std::nullopt;
}

std::optional<std::pair<qint64, QString>> pickParameter(QWidget* parent, startup::Session& session, int kind)
{
    framework::PickRequest request = codeAndName(QStringLiteral("code"), QStringLiteral("name"));
    request.continueText = QStringLiteral("انتخاب (Enter)");
    return pairOf(framework::pickFrom(new TFPARAMS_PAY(session, nullptr, kind), request, parent), QStringLiteral("code"), QStringLiteral("name"));
}

std::optional<QString> pickStandardDescription(QWidget* parent, startup::Session& session, orvak::basedata::DescriptionScope scope)
{
    const auto r = pairOf(framework::pickFrom(new TFSndDscr(session, nullptr, scope), codeAndName(QStringLiteral("ROW"), QStringLiteral("DESCR")), parent),
                          QStringLiteral("ROW"), QStringLiteral("DESCR"));
    return r ? std::optional<QString>(r->second) : std::nullopt;
}

} // namespace orvak::ui::basedata
