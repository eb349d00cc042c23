#include "core/basedata/Centres.h"

namespace orvak::basedata {

namespace {

RegisterRules centreRules()
{
    RegisterRules r;
    r.table = Centres::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.deleteQuestion = QStringLiteral("آيا اين مورد حذف شود؟");
    return r;
}

} // namespace

Centres::Centres(startup::Session& session)
    : NamedRegister(session, centreRules())
{
}

const CodedTable& Centres::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("CENTERS"), QStringLiteral("CODE"), false};
    return t;
}

} // namespace orvak::basedata
