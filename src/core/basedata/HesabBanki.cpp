#include "core/basedata/HesabBanki.h"

#include "core/basedata/BankNames.h"

namespace orvak::basedata {

namespace {

RegisterRules accountRules()
{
    RegisterRules r;
    r.table = HesabBanki::table();
    r.nameColumn = QStringLiteral("HESABNO");
    r.required = {QStringLiteral("HESABNO")};
    r.links = {{QStringLiteral("BANK"), BankNames::table()}};
    r.missing = QStringLiteral("حسابي با اين کد يافت نشــد: ");
    r.deleteQuestion = QStringLiteral("آيا حساب مورد نظر حذف شود");
    return r;
}

// The widths of the columns, for a clear refusal instead of a cut value.
bool fits(const ShortBankAccount& a, startup::Prompt& prompt)
{
    for (const auto& [text, width] : {std::pair{a.accountNo, 15}, std::pair{a.branchName, 30}, std::pair{a.branchCode, 15}, std::pair{a.tel, 30}}) {
        if (text.trimmed().size() > width) {
            prompt.info(QStringLiteral("متن وارد شده بيش از %1 حرف است : ").arg(width) + text.trimmed().left(40));
            return false;
        }
    }
    return true;
}

} // namespace

HesabBanki::HesabBanki(startup::Session& session)
    : session_(session)
{
}

const CodedTable& HesabBanki::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("HesabBanki"), QStringLiteral("CODE"), false};
    return t;
}

std::optional<qint64> HesabBanki::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<ShortBankAccount> HesabBanki::read(qint64 code) const
{
    return readAs<ShortBankAccount>(session_, table(), code, [code](const QSqlRecord& r) {
        ShortBankAccount a;
        a.code = code;
        a.accountNo = r.value(QStringLiteral("HESABNO")).toString().trimmed();
        a.branchName = r.value(QStringLiteral("BRANCHNAME")).toString().trimmed();
        a.bank = r.value(QStringLiteral("BANK")).toLongLong();
        a.branchCode = r.value(QStringLiteral("BRANCHCODE")).toString().trimmed();
        a.tel = r.value(QStringLiteral("TEL")).toString().trimmed();
        return a;
    });
}

std::optional<qint64> HesabBanki::save(const ShortBankAccount& a, bool insert, startup::Prompt& prompt)
{
    if (!fits(a, prompt))
        return std::nullopt;
    const QVariantMap values{{QStringLiteral("HESABNO"), a.accountNo.trimmed()},
                             {QStringLiteral("BRANCHNAME"), a.branchName.trimmed()},
                             {QStringLiteral("BANK"), a.bank > 0 ? QVariant(a.bank) : QVariant()},
                             {QStringLiteral("BRANCHCODE"), a.branchCode.trimmed()},
                             {QStringLiteral("TEL"), a.tel.trimmed()}};
    return saveRecord(session_, accountRules(), a.code, values, insert, prompt);
}

bool HesabBanki::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, accountRules(), code, prompt); }

} // namespace orvak::basedata
