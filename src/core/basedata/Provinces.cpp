#include "core/basedata/Provinces.h"

namespace orvak::basedata {

namespace {

RegisterRules provinceRules()
{
    RegisterRules r;
    r.table = Provinces::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.deleteQuestion = QStringLiteral("اطلاعات جاري حذف گردد؟");
    // The offices under it (and the bank statements' lines that name them) keep it.
    r.blocking = {{db::Store::Common, QStringLiteral("SARPARASTI"), QStringLiteral("OSTAN")}};
    r.blockedText = QStringLiteral("براي اين استان سرپرستي تعريف شده است و نمي تواند حذف گردد");
    return r;
}

} // namespace

Provinces::Provinces(startup::Session& session)
    : NamedRegister(session, provinceRules())
{
}

const CodedTable& Provinces::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("OSTAN"), QStringLiteral("CODE"), false};
    return t;
}

} // namespace orvak::basedata
