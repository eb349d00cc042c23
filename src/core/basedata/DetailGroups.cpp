#include "core/basedata/DetailGroups.h"

namespace orvak::basedata {

DetailGroups::DetailGroups(startup::Session& session)
    : session_(session)
{
}

RegisterRules DetailGroups::rules()
{
    // Deleting is kept to the section as every other statement on the table.
    return typedCodeRules({db::Store::Common, QStringLiteral("GROUP_TAFSILI"), QStringLiteral("CODE"), true}, QStringLiteral("NAME"), 60);
}

db::Fetched<DetailGroup> DetailGroups::read(qint64 code) const
{
    return readAs<DetailGroup>(session_, rules().table, code, [code](const QSqlRecord& row) {
        DetailGroup g;
        g.code = code;
        g.name = row.value(QStringLiteral("NAME")).toString().trimmed();
        const QVariant from = row.value(QStringLiteral("TAFSIL_AZ"));
        const QVariant to = row.value(QStringLiteral("TAFSIL_TA"));
        if (!from.isNull())
            g.from = from.toLongLong();
        if (!to.isNull())
            g.to = to.toLongLong();
        return g;
    });
}

bool DetailGroups::save(const DetailGroup& group, bool insert, startup::Prompt& prompt)
{
    if (group.from && group.to && *group.from > *group.to) {
        prompt.info(QStringLiteral("شماره شروع محدوده تفصيلي ها از شماره پايان آن بزرگتر است."));
        return false;
    }
    const auto number = [](const std::optional<qint64>& n) { return n ? QVariant(*n) : QVariant(QMetaType(QMetaType::Int)); };
    return saveRecord(session_, rules(), group.code,
                      {{QStringLiteral("NAME"), group.name.trimmed()}, {QStringLiteral("TAFSIL_AZ"), number(group.from)}, {QStringLiteral("TAFSIL_TA"), number(group.to)}},
                      insert, prompt)
        .has_value();
}

QString DetailGroups::pickedText(const QStringList& codes)
{
    return codes.size() > 1 ? QStringLiteral("انتخابي:") + codes.join(QLatin1Char(',')) : codes.value(0);
}

} // namespace orvak::basedata
