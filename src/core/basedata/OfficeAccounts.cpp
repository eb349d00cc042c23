#include "core/basedata/OfficeAccounts.h"

#include "core/basedata/BankNames.h"
#include "core/util/Jalali.h"

#include <QSet>

namespace orvak::basedata {

namespace {

RegisterRules accountRules()
{
    RegisterRules r;
    r.table = OfficeAccounts::table();
    r.nameColumn = QStringLiteral("HESABNO");
    r.required = {QStringLiteral("HESABNO"), QStringLiteral("BANK"), QStringLiteral("STARTDATE")};
    static const CodedTable details{db::Store::Common, QStringLiteral("TAFSILI"), QStringLiteral("CODE"), true};
    r.links = {{QStringLiteral("BANK"), BankNames::table()}, {QStringLiteral("TAFSIL"), details}};
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

} // namespace

OfficeAccounts::OfficeAccounts(startup::Session& session)
    : session_(session)
{
}

const CodedTable& OfficeAccounts::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("HESAB"), QStringLiteral("CODE"), false};
    return t;
}

std::optional<qint64> OfficeAccounts::proposedCode() const { return basedata::proposedCode(session_, table()); }

db::Fetched<OfficeAccount> OfficeAccounts::read(qint64 code) const
{
    return readAs<OfficeAccount>(session_, table(), code, [&](const QSqlRecord& r) {
        auto text = [&](const char* column) { return r.value(QLatin1String(column)).toString().trimmed(); };
        OfficeAccount a;
        a.code = code;
        a.accountNo = text("HESABNO");
        a.bank = r.value(QStringLiteral("BANK")).toLongLong();
        a.startDate = text("STARTDATE");
        a.kol = r.value(QStringLiteral("KOL")).toLongLong();
        a.moin = r.value(QStringLiteral("MOIN")).toLongLong();
        a.detail = r.value(QStringLiteral("TAFSIL")).toLongLong();
        a.branchCode = text("BRANCHCODE");
        a.branchName = text("BRANCHNAME");
        a.address = text("ADDRESS");
        a.tel = text("TEL");
        a.subject = text("HESABSUBJECT");
        a.section = r.value(QStringLiteral("BRANCHC")).toInt();
        return a;
    });
}

std::optional<qint64> OfficeAccounts::save(const OfficeAccount& a, bool insert, startup::Prompt& prompt)
{
    const bool dateGiven = !a.startDate.trimmed().isEmpty() && a.startDate.trimmed() != QString::fromUtf16(util::EmptyDateText).trimmed();
    const std::optional<QString> date = storedDate(a.startDate);
    if (dateGiven && !date) {
        prompt.info(QStringLiteral("تاريخ افتتاح حساب معتبر نيست: ") + a.startDate.trimmed());
        return std::nullopt;
    }
    const QVariantMap values{{QStringLiteral("HESABNO"), a.accountNo.trimmed()},
                             {QStringLiteral("BANK"), a.bank > 0 ? QVariant(a.bank) : QVariant()},
                             {QStringLiteral("STARTDATE"), date.value_or(QString())},
                             {QStringLiteral("KOL"), a.kol},
                             {QStringLiteral("MOIN"), a.moin},
                             {QStringLiteral("TAFSIL"), a.detail > 0 ? QVariant(a.detail) : QVariant()},
                             {QStringLiteral("BRANCHCODE"), a.branchCode.trimmed()},
                             {QStringLiteral("BRANCHNAME"), a.branchName.trimmed()},
                             {QStringLiteral("ADDRESS"), a.address.trimmed()},
                             {QStringLiteral("TEL"), a.tel.trimmed()},
                             {QStringLiteral("HESABSUBJECT"), a.subject.trimmed()},
                             {QStringLiteral("BRANCHC"), a.section}};
    return saveRecord(session_, accountRules(), a.code, values, insert, prompt);
}

namespace {

db::Fetched<QList<qint64>> codesOf(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    QSqlQuery q(db);
    QString why;
    if (!db::prepareBound(q, sql, binds, &why) || !q.exec())
        return db::Fetched<QList<qint64>>::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<qint64> codes;
    while (q.next())
        codes << q.value(0).toLongLong();
    return db::Fetched<QList<qint64>>::found(codes);
}

} // namespace

db::Fetched<QList<qint64>> OfficeAccounts::withAccountingMovements() const
{
    if (!session_.AccountingDbOpen())
        return db::Fetched<QList<qint64>>::found({});
    // Account codes are texts ("021006" is not "21006"; "21006-1" is a code too).
    QSqlQuery rows(session_.accounting());
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT DISTINCT ACCOUNT FROM SNDROW WHERE ACCOUNT IS NOT NULL")))
        return db::Fetched<QList<qint64>>::failure(rows.lastError().text());
    QSet<QString> used;
    while (rows.next())
        used.insert(rows.value(0).toString().trimmed());
    if (rows.lastError().isValid())
        return db::Fetched<QList<qint64>>::failure(rows.lastError().text());
    QSqlQuery q(session_.common());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT CODE, ACCOUNTNO FROM HESAB")))
        return db::Fetched<QList<qint64>>::failure(q.lastError().text());
    QList<qint64> codes;
    while (q.next()) {
        const QString account = q.value(1).toString().trimmed();
        if (!account.isEmpty() && used.contains(account))
            codes << q.value(0).toLongLong();
    }
    if (q.lastError().isValid())
        return db::Fetched<QList<qint64>>::failure(q.lastError().text());
    return db::Fetched<QList<qint64>>::found(codes);
}

db::Fetched<QList<qint64>> OfficeAccounts::reconciledIn(int month) const
{
    if (!session_.hasDeposits())
        return db::Fetched<QList<qint64>>::failure(QStringLiteral("بانک اطلاعاتي سپرده هاي بخش مالي باز نيست"));
    return codesOf(session_.deposits(), QStringLiteral("SELECT DISTINCT HESABCODE FROM SUDMOHEAD WHERE M = :m"), {{QStringLiteral(":m"), month}});
}

bool OfficeAccounts::remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, accountRules(), code, prompt); }

} // namespace orvak::basedata
