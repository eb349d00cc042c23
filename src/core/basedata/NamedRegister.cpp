#include "core/basedata/NamedRegister.h"

namespace orvak::basedata {

NamedRegister::NamedRegister(startup::Session& session, RegisterRules rules, QString parentColumn)
    : session_(session)
    , rules_(std::move(rules))
    , parentColumn_(std::move(parentColumn))
{
}

std::optional<qint64> NamedRegister::proposedCode() const { return basedata::proposedCode(session_, rules_.table); }

db::Fetched<NamedRow> NamedRegister::read(qint64 code) const
{
    return readAs<NamedRow>(session_, rules_.table, code, [&](const QSqlRecord& r) {
        NamedRow row;
        row.code = code;
        row.name = r.value(rules_.nameColumn).toString().trimmed();
        if (!parentColumn_.isEmpty())
            row.parent = r.value(parentColumn_).toLongLong();
        return row;
    });
}

std::optional<qint64> NamedRegister::save(const NamedRow& row, bool insert, startup::Prompt& prompt)
{
    QVariantMap values{{rules_.nameColumn, row.name.trimmed()}};
    if (!parentColumn_.isEmpty())
        values.insert(parentColumn_, row.parent);
    return saveRecord(session_, rules_, row.code, values, insert, prompt);
}

bool NamedRegister::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, rules_, code, prompt); }

} // namespace orvak::basedata
