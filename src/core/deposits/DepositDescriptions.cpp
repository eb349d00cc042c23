#include "core/deposits/DepositDescriptions.h"

#include "core/deposits/DepositKinds.h"

namespace orvak::deposits {

namespace {

basedata::RegisterRules descriptionRules()
{
    basedata::RegisterRules r;
    r.table = DepositDescriptions::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.nameLength = 30;
    r.deleteQuestion = QStringLiteral("آيا اين مورد حذف شود؟");
    return r;
}

} // namespace

DepositDescriptions::DepositDescriptions(startup::Session& session)
    : NamedRegister(session, descriptionRules())
{
}

const basedata::CodedTable& DepositDescriptions::table()
{
    static const basedata::CodedTable t{db::Store::Deposits, QStringLiteral("SEPDESCR"), QStringLiteral("CODE"), false};
    return t;
}

db::Fetched<QStringList> DepositDescriptions::choices() const
{
    const auto rows = basedata::namesByCode(session_, table(), QStringLiteral("NAME"));
    if (rows.failed())
        return db::Fetched<QStringList>::failure(rows.error());
    QStringList texts;
    for (const auto& [code, name] : rows.value_or({}))
        texts << name;
    return db::Fetched<QStringList>::found(texts + fixedDescriptions());
}

io::ListDefinition depositDescriptionsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("deposit-descriptions");
    d.title = QStringLiteral("شرح هاي استاندارد سپرده");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM SEPDESCR\nORDER BY CODE");
    d.columns = {io::dataField(QStringLiteral("CODE"), QStringLiteral("کد"), 60, io::CellFormat::Integer),
                 io::dataField(QStringLiteral("NAME"), QStringLiteral("شرح"), 260)};
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("SEPDESCR");
    d.historyKey = {QStringLiteral("CODE")};
    return d;
}

} // namespace orvak::deposits
