#include "core/deposits/SepDescriptions.h"

namespace orvak::deposits {

namespace {

basedata::RegisterRules descriptionRules()
{
    basedata::RegisterRules r;
    r.table = SepDescriptions::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

} // namespace

SepDescriptions::SepDescriptions(startup::Session& session)
    : NamedRegister(session, descriptionRules())
{
}

const basedata::CodedTable& SepDescriptions::table()
{
    static const basedata::CodedTable t{db::Store::Deposits, QStringLiteral("SEPDESCR"), QStringLiteral("CODE"), false};
    return t;
}

db::Fetched<QList<std::pair<qint64, QString>>> SepDescriptions::names() const
{
    return basedata::namesByCode(session_, table(), QStringLiteral("NAME"));
}

io::ListDefinition sepDescriptionsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("sep-descriptions");
    d.title = QStringLiteral("شرح هاي استاندارد سپرده ها");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM SEPDESCR\nORDER BY CODE");
    d.columns = {io::dataField(QStringLiteral("CODE"), QStringLiteral("کد"), 60, io::CellFormat::Integer),
                 io::dataField(QStringLiteral("NAME"), QStringLiteral("شرح"), 260)};
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("SEPDESCR");
    d.historyKey = {QStringLiteral("CODE")};
    return d;
}

QList<io::ListDefinition> sepDescriptionLists() { return {sepDescriptionsList()}; }

} // namespace orvak::deposits
