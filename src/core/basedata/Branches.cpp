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

bool Branches::remove(qint64 code, startup::Prompt& prompt)
{
    const db::Fetched<Branch> branch = read(code);
    if (!branch) {
        prompt.info(branch.failed() ? branch.error() : notFoundText(code));
        return false;
    }
    const QString bankCode = branch->branchCode;
    QString where = QStringLiteral("CODE = :code");
    QVariantMap binds{{QStringLiteral(":code"), code}};
    if (!bankCode.isEmpty()) {
        where = QStringLiteral("CODESHOBEH = :b");
        binds = {{QStringLiteral(":b"), bankCode}};
    }
    const db::Fetched<QVariant> shared = db::scalar(session_.common(), QStringLiteral("SELECT COUNT(*) FROM SHOBEH WHERE ") + where, binds);
    if (!shared) {
        prompt.info(shared.failed() ? shared.error() : notFoundText(code));
        return false;
    }
    const qint64 rows = shared->toLongLong();
    QString question = QStringLiteral("اطلاعات جاري حذف گردد؟");
    if (rows > 1)
        question = QStringLiteral("%1 شعبه با کد شعبه %2 ثبت شده است و همه حذف مي شوند. ").arg(rows).arg(bankCode) + question;
    if (!prompt.ask(question))
        return false;
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        int removed = 0;
        return w.remove(db::Store::Common, QStringLiteral("SHOBEH"), where, binds, &removed) && (removed > 0 || w.fail(notFoundText(code)));
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace orvak::basedata
