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
    // Its branches go with it.
    r.removeSatellites = [](db::UnitOfWork& w, qint64 code) {
        return w.remove(db::Store::Common, QStringLiteral("SHOBEH"), QStringLiteral("SARPARASTI = :s"), {{QStringLiteral(":s"), code}});
    };
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
