#include "core/basedata/BankBranches.h"

#include "core/basedata/BankNames.h"

namespace orvak::basedata {

namespace {

RegisterRules branchRules()
{
    RegisterRules r;
    r.table = BankBranches::table();
    r.nameColumn = QStringLiteral("BRANCHNAME");
    r.required = {QStringLiteral("BRANCHCODE"), QStringLiteral("BRANCHNAME")};
    r.incomplete = QStringLiteral("اطلاعات كامل نيست");
    r.links = {{QStringLiteral("BANKID"), BankNames::table()}};
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

} // namespace

BankBranches::BankBranches(startup::Session& session)
    : session_(session)
{
}

const CodedTable& BankBranches::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("BANKBRANCHNAME"), QStringLiteral("CODE"), false};
    return t;
}

std::optional<qint64> BankBranches::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<BankBranch> BankBranches::read(qint64 code) const
{
    return readAs<BankBranch>(session_, table(), code, [&](const QSqlRecord& r) {
        BankBranch b;
        b.code = code;
        b.bank = r.value(QStringLiteral("BANKID")).toLongLong();
        b.branchCode = r.value(QStringLiteral("BRANCHCODE")).toString().trimmed();
        b.name = r.value(QStringLiteral("BRANCHNAME")).toString().trimmed();
        b.address = r.value(QStringLiteral("ADRESS")).toString().trimmed();
        b.tel = r.value(QStringLiteral("TEL")).toString().trimmed();
        b.postCode = r.value(QStringLiteral("POSTCODE")).toString().trimmed();
        return b;
    });
}

std::optional<qint64> BankBranches::save(const BankBranch& b, bool insert, startup::Prompt& prompt)
{
    if (b.bank <= 0)
        prompt.info(QStringLiteral("هشدار : کد بانک وارد نشده است"));
    const QVariantMap values{{QStringLiteral("BANKID"), b.bank > 0 ? QVariant(b.bank) : QVariant()},
                             {QStringLiteral("BRANCHCODE"), b.branchCode.trimmed()},
                             {QStringLiteral("BRANCHNAME"), b.name.trimmed()},
                             {QStringLiteral("ADRESS"), b.address.trimmed()},
                             {QStringLiteral("TEL"), b.tel.trimmed()},
                             {QStringLiteral("POSTCODE"), b.postCode.trimmed()}};
    return saveRecord(session_, branchRules(), b.code, values, insert, prompt);
}

bool BankBranches::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, branchRules(), code, prompt); }

} // namespace orvak::basedata
