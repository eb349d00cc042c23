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
    // The province's supervising offices go with it, and their branches with them.
    r.removeSatellites = [](db::UnitOfWork& w, qint64 code) {
        const QVariantMap binds{{QStringLiteral(":o"), code}};
        return w.remove(db::Store::Common, QStringLiteral("SHOBEH"),
                        QStringLiteral("SARPARASTI IN (SELECT CODE FROM {common}.SARPARASTI WHERE OSTAN = :o)"), binds)
            && w.remove(db::Store::Common, QStringLiteral("SARPARASTI"), QStringLiteral("OSTAN = :o"), binds);
    };
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
