#include "core/basedata/DepositAccounts.h"

namespace orvak::basedata {

namespace {

RegisterRules accountRules()
{
    RegisterRules r;
    r.table = DepositAccounts::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

} // namespace

DepositAccounts::DepositAccounts(startup::Session& session)
    : session_(session)
{
}

const CodedTable& DepositAccounts::table()
{
    static const CodedTable t{db::Store::Deposits, QStringLiteral("BankHa"), QStringLiteral("CODE"), false};
    return t;
}

const io::CodeTexts& DepositAccounts::kinds()
{
    static const io::CodeTexts k = io::CodeTexts::numbered({QStringLiteral("بانك دريافت سپرده"), QStringLiteral("بانك رد وجوه سپرده"),
                                                            QStringLiteral(" خزانه تمركز وجوه سپرده"), QStringLiteral("تنخواه گردان رد وجوه سپرده")});
    return k;
}

std::optional<qint64> DepositAccounts::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<DepositAccount> DepositAccounts::read(qint64 code) const
{
    return readAs<DepositAccount>(session_, table(), code, [&](const QSqlRecord& r) {
        DepositAccount a;
        a.code = code;
        a.name = r.value(QStringLiteral("NAME")).toString().trimmed();
        a.kind = r.value(QStringLiteral("KIND")).toInt();
        a.kol = r.value(QStringLiteral("ACCKOL")).toLongLong();
        a.moin = r.value(QStringLiteral("ACCMOIN")).toLongLong();
        a.branch = r.value(QStringLiteral("BRANCH")).toLongLong();
        return a;
    });
}

std::optional<qint64> DepositAccounts::save(const DepositAccount& a, bool insert, startup::Prompt& prompt)
{
    if (a.kind < 0 || a.kind >= kinds().entries.size()) {
        prompt.info(QStringLiteral("نوع حساب معتبر نيست"));
        return std::nullopt;
    }
    const QVariantMap values{{QStringLiteral("NAME"), a.name.trimmed()}, {QStringLiteral("KIND"), a.kind}, {QStringLiteral("ACCKOL"), a.kol},
                             {QStringLiteral("ACCMOIN"), a.moin},        {QStringLiteral("BRANCH"), a.branch}};
    return saveRecord(session_, accountRules(), a.code, values, insert, prompt);
}

bool DepositAccounts::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, accountRules(), code, prompt); }

} // namespace orvak::basedata
