#include "core/basedata/DetailGroups.h"

namespace orvak::basedata {

DetailGroups::DetailGroups(startup::Session& session)
    : session_(session)
{
}

CodeNameTable DetailGroups::table() const
{
    // Deleting is kept to the section as every other statement on the table.
    return {QStringLiteral("GROUP_TAFSILI"), QStringLiteral("CODE"), QStringLiteral("NAME"), 60,
            {{QStringLiteral("CI"), session_.SectionCode().toInt()}}};
}

db::Fetched<DetailGroup> DetailGroups::read(qint64 code) const
{
    const auto row = db::firstRow(session_.common(), QStringLiteral("Select * From GROUP_TAFSILI Where CODE=:PCode and CI=:CI"), table().binds(code));
    if (!row)
        return row.failed() ? db::Fetched<DetailGroup>::failure(row.error()) : db::Fetched<DetailGroup>::none();
    DetailGroup g;
    g.code = code;
    g.name = row->value(QStringLiteral("NAME")).toString().trimmed();
    const QVariant from = row->value(QStringLiteral("TAFSIL_AZ"));
    const QVariant to = row->value(QStringLiteral("TAFSIL_TA"));
    if (!from.isNull())
        g.from = from.toLongLong();
    if (!to.isNull())
        g.to = to.toLongLong();
    return db::Fetched<DetailGroup>::found(g);
}

bool DetailGroups::save(const DetailGroup& group, bool insert, startup::Prompt& prompt)
{
    if (group.from && group.to && *group.from > *group.to) {
        prompt.info(QStringLiteral("شماره شروع محدوده تفصيلي ها از شماره پايان آن بزرگتر است."));
        return false;
    }
    const auto number = [](const std::optional<qint64>& n) { return n ? QVariant(*n) : QVariant(QMetaType(QMetaType::Int)); };
    return saveCoded(session_, table(), {group.code, group.name, {{QStringLiteral("TAFSIL_AZ"), number(group.from)}, {QStringLiteral("TAFSIL_TA"), number(group.to)}}},
                     insert, prompt);
}

QString DetailGroups::pickedText(const QStringList& codes)
{
    return codes.size() > 1 ? QStringLiteral("انتخابي:") + codes.join(QLatin1Char(',')) : codes.value(0);
}

} // namespace orvak::basedata
