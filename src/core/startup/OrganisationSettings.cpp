#include "core/startup/OrganisationSettings.h"

#include "core/db/Db.h"

#include <QSqlRecord>

namespace orvak::startup {

const QList<OrganisationColumn>& organisationColumns()
{
    static const QList<OrganisationColumn> columns{
        {QStringLiteral("OSTANNAME"), QStringLiteral("نام استان"), &OfficeData::province},
        {QStringLiteral("SHAHR"), QStringLiteral("نام شهر"), &OfficeData::city},
        {QStringLiteral("GENERALOFFICENAME"), QStringLiteral("وزارت/سازمان مرکزي"), &OfficeData::generalOfficeName},
        {QStringLiteral("officeName"), QStringLiteral("نام دستگاه اجرايي"), &OfficeData::officeName},
        {QStringLiteral("RADIFEDASTGAH"), QStringLiteral("رديف دستگاه اجرايي"), &OfficeData::agencyRow},
        {QStringLiteral("KhazanehRaiiseName"), QStringLiteral("نام رئيس خزانه"), &OfficeData::treasuryHeadName},
        {QStringLiteral("HESABNO_SEP_BANKDAR"), QStringLiteral("شماره حساب بانک دريافت وجوه سپرده"), &OfficeData::depositBankAccount},
        {QStringLiteral("SEP_BANKDAR"), QStringLiteral("بانک دريافت وجوه سپرده"), nullptr},
        {QStringLiteral("SEP_BANKDAR_SHOBEH"), QStringLiteral("شعبه بانک دريافت وجوه سپرده"), nullptr},
        {QStringLiteral("HESABNO_SEP_BANKRAD"), QStringLiteral("شماره حساب بانک رد وجوه سپرده"), &OfficeData::refundBankAccount},
        {QStringLiteral("SEP_BANKRAD"), QStringLiteral("بانک رد وجوه سپرده"), nullptr},
        {QStringLiteral("SEP_BANKRAD_SHOBEH"), QStringLiteral("شعبه بانک رد وجوه سپرده"), nullptr},
        {QStringLiteral("HESABNO_TamarkozeVojuh"), QStringLiteral("شماره حساب بانکي خزانه تمرکز وجوه سپرده"), &OfficeData::treasuryAccount},
        {QStringLiteral("BANK_TamarkozeVojuh"), QStringLiteral("بانک تمرکز خزانه وجوه سپرده"), nullptr},
        {QStringLiteral("SHOBEH_TamarkozeVojuh"), QStringLiteral("شعبه بانک تمرکز خزانه وجوه سپرده"), nullptr},
    };
    return columns;
}

OfficeData OrganisationSettings::officeData() const
{
    OfficeData office;
    for (const OrganisationColumn& c : organisationColumns()) {
        if (c.office)
            office.*c.office = value(c.field);
    }
    return office;
}

OrganisationSettings readOrganisationSettings(Session& session)
{
    OrganisationSettings settings;
    if (const auto r = db::firstRow(session.deposits(), QStringLiteral("Select * From GENERAL_INFO"), {})) {
        for (const OrganisationColumn& c : organisationColumns())
            settings.values.insert(c.field, r->value(c.field).toString().trimmed());
    }
    return settings;
}

bool saveOrganisationSettings(Session& session, const OrganisationSettings& settings, Prompt& prompt)
{
    // One settings row (CODE 1): written anew whole, as the other programs expect.
    QVariantMap values{{QStringLiteral("CODE"), 1}};
    for (const OrganisationColumn& c : organisationColumns())
        values.insert(c.field, settings.value(c.field).trimmed());
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Deposits, QStringLiteral("GENERAL_INFO"), {}, {})
            && w.insert(db::Store::Deposits, QStringLiteral("GENERAL_INFO"), values);
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace orvak::startup
