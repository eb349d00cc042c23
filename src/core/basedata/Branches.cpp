#include "core/basedata/Branches.h"

#include "core/basedata/SupervisingOffices.h"

namespace orvak::basedata {

namespace {

RegisterRules branchRules()
{
    RegisterRules r;
    r.table = Branches::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.links = {{QStringLiteral("SARPARASTI"), SupervisingOffices::table()}};
    r.deleteQuestion = QStringLiteral("اطلاعات جاري حذف گردد؟");
    return r;
}

} // namespace

Branches::Branches(startup::Session& session)
    : session_(session)
{
}

const CodedTable& Branches::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("SHOBEH"), QStringLiteral("CODE"), false};
    return t;
}

std::optional<qint64> Branches::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<Branch> Branches::read(qint64 code) const
{
    return readAs<Branch>(session_, table(), code, [&](const QSqlRecord& r) {
        Branch b;
        b.code = code;
        b.branchCode = r.value(QStringLiteral("CODESHOBEH")).toString().trimmed();
        b.name = r.value(QStringLiteral("NAME")).toString().trimmed();
        b.office = r.value(QStringLiteral("SARPARASTI")).toLongLong();
        b.address = r.value(QStringLiteral("ADRESS")).toString().trimmed();
        b.tel = r.value(QStringLiteral("TEL")).toString().trimmed();
        b.city = r.value(QStringLiteral("CITYDESCR")).toString().trimmed();
        b.grade = r.value(QStringLiteral("DEGRI")).toInt();
        b.shetab = r.value(QStringLiteral("SHETAB")).toInt() != 0;
        b.pinPad = r.value(QStringLiteral("PINPAD")).toInt() != 0;
        b.atm = r.value(QStringLiteral("ATM")).toInt() != 0;
        return b;
    });
}

std::optional<qint64> Branches::save(const Branch& b, bool insert, startup::Prompt& prompt)
{
    const QVariantMap values{{QStringLiteral("CODESHOBEH"), b.branchCode.trimmed()}, {QStringLiteral("NAME"), b.name.trimmed()},
                             {QStringLiteral("SARPARASTI"), b.office},               {QStringLiteral("ADRESS"), b.address.trimmed()},
                             {QStringLiteral("TEL"), b.tel.trimmed()},               {QStringLiteral("CITYDESCR"), b.city.trimmed()},
                             {QStringLiteral("DEGRI"), b.grade},                     {QStringLiteral("SHETAB"), b.shetab ? 1 : 0},
                             {QStringLiteral("PINPAD"), b.pinPad ? 1 : 0},           {QStringLiteral("ATM"), b.atm ? 1 : 0}};
    return saveRecord(session_, branchRules(), b.code, values, insert, prompt);
}

bool Branches::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, branchRules(), code, prompt); }

} // namespace orvak::basedata
