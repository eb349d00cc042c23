#include "core/basedata/ContractCreditSources.h"

namespace orvak::basedata {

const CodedTable& ContractCreditSources::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("MTE"), QStringLiteral("KIND"), true};
    return t;
}

RegisterRules ContractCreditSources::rules() const
{
    RegisterRules r;
    r.table = table();
    r.nameColumn = QStringLiteral("DESCR");
    r.required = {QStringLiteral("DESCR")};
    r.nameLength = 60;
    r.missing = QStringLiteral("رديفي با اين کد يافت نشــد: ");
    r.blocking = {{db::Store::Common, QStringLiteral("PAYMAN_ETE"), QStringLiteral("code"), true}};
    r.blockedText = QStringLiteral("اين مورد در قراردادها بکار رفته است و نميتواند حذف گردد.");
    r.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    return r;
}

db::Fetched<CreditSource> ContractCreditSources::read(qint64 kind) const
{
    return readAs<CreditSource>(session_, table(), kind, [](const QSqlRecord& r) {
        CreditSource s;
        s.kind = r.value(QStringLiteral("KIND")).toLongLong();
        s.description = r.value(QStringLiteral("DESCR")).toString().trimmed();
        s.creditKind = r.value(QStringLiteral("ETKIND")).toInt();
        s.creditGroup = r.value(QStringLiteral("ETGROUP")).toInt();
        s.hasBudgetRow = r.value(QStringLiteral("ISRADIF")).toInt() == 1;
        s.budgetRow = r.value(QStringLiteral("RADIF")).toInt();
        return s;
    });
}

std::optional<qint64> ContractCreditSources::save(const CreditSource& s, bool insert, startup::Prompt& prompt)
{
    return saveRecord(session_, rules(), s.kind,
                      {{QStringLiteral("DESCR"), s.description.trimmed()}, {QStringLiteral("ETKIND"), s.creditKind},
                       {QStringLiteral("ETGROUP"), s.creditGroup}, {QStringLiteral("ISRADIF"), s.hasBudgetRow ? 1 : 0},
                       {QStringLiteral("RADIF"), s.hasBudgetRow ? s.budgetRow : 0}},
                      insert, prompt);
}

bool ContractCreditSources::remove(qint64 kind, startup::Prompt& prompt) { return removeRecord(session_, rules(), kind, prompt); }

} // namespace orvak::basedata
