#include "core/basedata/BankNames.h"

namespace orvak::basedata {

namespace {

RegisterRules bankRules()
{
    RegisterRules r;
    r.table = BankNames::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    // The bank stays while an account or a branch names it: a guarantee names its
    // issuing branch, which would lose its bank.
    r.blocking = {{db::Store::Common, QStringLiteral("HESAB"), QStringLiteral("BANK")},
                  {db::Store::Common, QStringLiteral("BANKBRANCHNAME"), QStringLiteral("BANKID")}};
    r.blockedText = QStringLiteral("براي اين بانك شعبه بانكي تعريف شده است و نمي تواند حذف گردد");
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
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
