#include "ui/basedata/ContractFields.h"

#include "ui/basedata/TViewContractNamedList.h"
#include "ui/framework/Picker.h"
#include "core/basedata/ContractNamedList.h"
#include "core/basedata/Parameters.h"

#include <QComboBox>

namespace orvak::ui::basedata {

QComboBox* parameterCombo(orvak::startup::Session& session, int kind, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    fillParameterCombo(combo, session, kind);
    return combo;
}

void fillParameterCombo(QComboBox* combo, orvak::startup::Session& session, int kind)
{
    const QVariant chosen = combo->currentData();
    combo->clear();
    combo->addItem(QString(), 0);
    const auto names = orvak::basedata::namesByCode(session, orvak::basedata::Parameters::rules(kind).table, QStringLiteral("name"));
    if (names) {
        for (const auto& [code, name] : *names)
            combo->addItem(name, code);
    }
    if (chosen.isValid())
        selectCode(combo, chosen);
}

QComboBox* codeCombo(const io::CodeTexts& texts, QWidget* parent, bool withNone)
{
    auto* combo = new QComboBox(parent);
    if (withNone)
        combo->addItem(texts.otherwise, 0);
    for (const auto& [code, text] : texts.entries)
        combo->addItem(text, code);
    return combo;
}

void selectCode(QComboBox* combo, const QVariant& code)
{
    int i = combo->findData(code.toLongLong());
    // A code the list no longer holds is shown as its number and kept.
    if (i < 0 && code.toLongLong() != 0) {
        combo->addItem(QString::number(code.toLongLong()), code.toLongLong());
        i = combo->count() - 1;
    }
    combo->setCurrentIndex(i >= 0 ? i : 0);
}

namespace {

framework::CodeEdit* namedField(orvak::startup::Session& session, orvak::basedata::ContractNamedList::Which which, QWidget* parent)
{
    auto lookup = [&session, which](qint64 code) -> std::optional<QString> {
        const auto row = orvak::basedata::ContractNamedList(session, which).read(code);
        return row ? std::optional<QString>(row->name) : std::nullopt;
    };
    auto picker = [&session, which](QWidget* p) -> std::optional<qint64> {
        const auto r = framework::pickFrom(new TViewContractNamedList(session, which), {{QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"), QStringLiteral("NAME"), {}}, p);
        return r ? std::optional<qint64>(r->current.value(QStringLiteral("CODE")).toLongLong()) : std::nullopt;
    };
    return new framework::CodeEdit(lookup, picker, parent);
}

} // namespace

framework::CodeEdit* executorField(orvak::startup::Session& session, QWidget* parent)
{
    return namedField(session, orvak::basedata::ContractNamedList::Executors, parent);
}

framework::CodeEdit* supervisorField(orvak::startup::Session& session, QWidget* parent)
{
    return namedField(session, orvak::basedata::ContractNamedList::Supervisors, parent);
}

} // namespace orvak::ui::basedata
