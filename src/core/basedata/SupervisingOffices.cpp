#include "core/basedata/SupervisingOffices.h"

#include "core/basedata/Provinces.h"

namespace orvak::basedata {

namespace {

RegisterRules officeRules()
{
    RegisterRules r;
    r.table = SupervisingOffices::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.links = {{QStringLiteral("OSTAN"), Provinces::table()}};
    r.deleteQuestion = QStringLiteral("اطلاعات جاري حذف گردد؟");
    // The branches under it keep it.
    r.blocking = {{db::Store::Common, QStringLiteral("SHOBEH"), QStringLiteral("SARPARASTI")}};
    r.blockedText = QStringLiteral("براي اين سرپرستي شعبه تعريف شده است و نمي تواند حذف گردد");
    return r;
}

} // namespace

SupervisingOffices::SupervisingOffices(startup::Session& session)
    : NamedRegister(session, officeRules(), QStringLiteral("OSTAN"))
{
}

const CodedTable& SupervisingOffices::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("SARPARASTI"), QStringLiteral("CODE"), false};
    return t;
}

} // namespace orvak::basedata
