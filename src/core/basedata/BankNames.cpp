#include "core/basedata/BankNames.h"

namespace orvak::basedata {

namespace {

RegisterRules bankRules()
{
    RegisterRules r;
    r.table = BankNames::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.blocking = {{db::Store::Common, QStringLiteral("HESAB"), QStringLiteral("BANK")}};
    r.blockedText = QStringLiteral("براي اين بانك شعبه بانكي تعريف شده است و نمي تواند حذف گردد");
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    // The bank's branches mean nothing without it.
    r.removeSatellites = [](db::UnitOfWork& w, qint64 code) {
        return w.remove(db::Store::Common, QStringLiteral("BANKBRANCHNAME"), QStringLiteral("BANKID = :b"), {{QStringLiteral(":b"), code}});
    };
    return r;
}

} // namespace

BankNames::BankNames(startup::Session& session)
    : NamedRegister(session, bankRules())
{
}

const CodedTable& BankNames::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("BANKNAME"), QStringLiteral("CODE"), false};
    return t;
}

} // namespace orvak::basedata
