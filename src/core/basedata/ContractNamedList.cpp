#include "core/basedata/ContractNamedList.h"

namespace orvak::basedata {

namespace {

RegisterRules namedListRules(ContractNamedList::Which which)
{
    RegisterRules r;
    r.table = ContractNamedList::table(which);
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.nameLength = 100;
    r.missing = QStringLiteral("رديفي با اين کد يافت نشــد: ");
    r.blocking = {{db::Store::Common, QStringLiteral("PAYMENTS"), r.table.table}};
    r.blockedText = QStringLiteral("اين مورد در قراردادها بکار رفته است و نميتواند حذف گردد.");
    r.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    return r;
}

} // namespace

ContractNamedList::ContractNamedList(startup::Session& session, Which which)
    : NamedRegister(session, namedListRules(which))
{
}

const CodedTable& ContractNamedList::table(Which which)
{
    static const CodedTable executors{db::Store::Common, QStringLiteral("MOJRI"), QStringLiteral("CODE")};
    static const CodedTable supervisors{db::Store::Common, QStringLiteral("NAZER"), QStringLiteral("CODE")};
    return which == Executors ? executors : supervisors;
}

} // namespace orvak::basedata
