#include "core/basedata/PartyLists.h"

#include "core/basedata/DetailAccounts.h"
#include "core/basedata/DetailGroups.h"
#include "core/basedata/Lookups.h"
#include "core/basedata/Parameters.h"
#include "core/startup/Session.h"

namespace orvak::basedata {

namespace {

using io::CellFormat;

const io::LookupReader groupNames = namesReader("SELECT CODE, NAME FROM GROUP_TAFSILI WHERE CI = :CI", true);

QList<io::ListParameter> sectionParameter() { return {{QStringLiteral(":CI"), 0}}; }

} // namespace

io::ListDefinition detailAccountsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("detail-accounts");
    d.title = QStringLiteral("پيمانکاران");
    d.database = io::ListDatabase::Common;
    d.sql = detailAccountsSql();
    d.parameters = {{QStringLiteral(":PName"), QStringLiteral("0")}, sectionParameter().first()};
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("TAFSILI");
    d.historyKey = QStringList{QStringLiteral("CI"), QStringLiteral("CODE")};
    io::CodeTexts kinds;
    kinds.entries = {{1, QStringLiteral("حقوقي")}, {2, QStringLiteral("حقيقي")}};
    d.columns = {
        io::dataField(QStringLiteral("CODE"), QStringLiteral("کد تفصيلي"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("NID"), QStringLiteral("شناسه/کد ملي"), 110),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام"), 260),
        io::codeField(QStringLiteral("TAFSILKIND"), QStringLiteral("حقوقي/حقيقي"), 80, kinds),
        io::dataField(QStringLiteral("HESABJARI"), QStringLiteral("شرح حساب 1"), 160),
        io::dataField(QStringLiteral("HESABMOSHTARAK"), QStringLiteral("شرح حساب 2"), 160),
        io::lookupField(QStringLiteral("GROUPS"), QStringLiteral("گروه"), 140, groupNames),
    };
    return d;
}

io::ListDefinition detailGroupsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("detail-groups");
    d.title = QStringLiteral("گروه هاي تفصيلي");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select * From GROUP_TAFSILI Where CI=:CI\nOrder By CODE");
    d.parameters = sectionParameter();
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("GROUP_TAFSILI");
    d.historyKey = QStringList{QStringLiteral("CI"), QStringLiteral("CODE")};
    d.columns = {
        io::dataField(QStringLiteral("CODE"), QStringLiteral("کدينگ"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("شرح"), 240),
        io::dataField(QStringLiteral("TAFSIL_AZ"), QStringLiteral("از تفصيلي"), 90, CellFormat::Integer),
        io::dataField(QStringLiteral("TAFSIL_TA"), QStringLiteral("تا تفصيلي"), 90, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition tradesList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("trades");
    d.title = QStringLiteral("رشته ها");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select * From RASTEH\nOrder By Code");
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("RASTEH");
    d.historyKey = QStringList{QStringLiteral("CODE")};
    d.columns = {
        io::dataField(QStringLiteral("CODE"), QStringLiteral("کد"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("رشته"), 220),
    };
    return d;
}

io::ListDefinition standardDescriptionsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("standard-descriptions");
    d.title = QStringLiteral("شرح هاي عمومي و پرتكرار");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select * From SAVE_DESCR Where ((UID=:PUID)or(0=:PUID)Or(UID=:PUID2))and(DESCR like :PDESCR)\nOrder By DESCR");
    d.parameters = {{QStringLiteral(":PUID"), 0}, {QStringLiteral(":PUID2"), 0}, {QStringLiteral(":PDESCR"), QStringLiteral("%")}};
    d.keyField = QStringLiteral("ROW");
    d.historyTable = QStringLiteral("SAVE_DESCR");
    d.historyKey = QStringList{QStringLiteral("UID"), QStringLiteral("ROW")};
    io::CodeTexts owner;
    owner.entries = {{0, QStringLiteral("عمومي")}};
    owner.otherwise = QStringLiteral("کاربر");
    d.columns = {
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 420),
        io::codeField(QStringLiteral("UID"), QStringLiteral("نوع"), 70, owner),
        io::dataField(QStringLiteral("UID"), QStringLiteral("کد کاربر"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 60, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition parametersList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("parameters");
    d.title = QStringLiteral("پارامترها");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select *  From tbparams_pay where name like :name and kind =:kind\nOrder By code");
    d.parameters = {{QStringLiteral(":name"), QStringLiteral("%%")}, {QStringLiteral(":kind"), 0}};
    d.keyField = QStringLiteral("code");
    d.historyTable = QStringLiteral("TBPARAMS_PAY");
    d.historyKey = QStringList{QStringLiteral("kind"), QStringLiteral("code")};
    d.columns = {
        io::dataField(QStringLiteral("code"), QStringLiteral("کد"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("name"), QStringLiteral("نام"), 300),
        io::codeField(QStringLiteral("kind"), QStringLiteral("جدول"), 120, io::CodeTexts::numbered(parameterKinds())),
    };
    return d;
}

io::ReportModel contractorSheet(const DetailAccount& a, const QString& groupName, const std::vector<io::ReportSignature>& signatures)
{
    const auto listed = [](const QStringList& texts, int index) { return texts.value(index); };
    io::ReportModel r;
    r.titleLines = {QStringLiteral("فرم اطلاعات پيمانکار"), a.text(QStringLiteral("NAME"))};
    r.columns = {{QStringLiteral("عنوان"), 1.0}, {QStringLiteral("مقدار"), 2.2}};
    const std::pair<QString, QString> lines[] = {
        {QStringLiteral("کد تفصيلي"), io::isolateLtr(QString::number(a.code))},
        {QStringLiteral("نام"), a.text(QStringLiteral("NAME"))},
        {QStringLiteral("حقوقي/حقيقي"), listed(personKinds(), a.number(QStringLiteral("TAFSILKIND")) - 1)},
        {QStringLiteral("شناسه/کد ملي"), io::isolateLtr(a.text(QStringLiteral("NID")))},
        {QStringLiteral("گروه"), groupName},
        {QStringLiteral("نوع شرکت"), listed(companyKinds(), a.number(QStringLiteral("KIND")))},
        {QStringLiteral("شرح حساب 1"), a.text(QStringLiteral("HESABJARI"))},
        {QStringLiteral("شرح حساب 2"), a.text(QStringLiteral("HESABMOSHTARAK"))},
        {QStringLiteral("محل استقرار"), a.text(QStringLiteral("ADDRESS"))},
        {QStringLiteral("استان / شهر"), a.text(QStringLiteral("OSTAN")) + QStringLiteral(" / ") + a.text(QStringLiteral("CITY"))},
        {QStringLiteral("کد پستي"), io::isolateLtr(a.text(QStringLiteral("POSTCODE")))},
        {QStringLiteral("تلفن / دورنگار / همراه"), io::isolateLtr(a.text(QStringLiteral("TELL")) + QStringLiteral(" / ") + a.text(QStringLiteral("FAX"))
                                                       + QStringLiteral(" / ") + a.text(QStringLiteral("MOBILE")))},
        {QStringLiteral("پست الکترونيک / وب"), io::isolateLtr(a.text(QStringLiteral("EMAIL")) + QStringLiteral(" ") + a.text(QStringLiteral("WEB")))},
        {QStringLiteral("شماره حساب 1"), io::isolateLtr(a.text(QStringLiteral("HESABJARI1"))) + QStringLiteral(" ") + listed(partyBanks(), a.number(QStringLiteral("BANK1")))
                                          + QStringLiteral(" ") + a.text(QStringLiteral("SHOB1"))},
        {QStringLiteral("شماره حساب 2"), io::isolateLtr(a.text(QStringLiteral("HESABJARI2"))) + QStringLiteral(" ") + listed(partyBanks(), a.number(QStringLiteral("BANK2")))
                                          + QStringLiteral(" ") + a.text(QStringLiteral("SHOB2"))},
        {QStringLiteral("شماره شبا"), a.text(QStringLiteral("SHABA")).isEmpty() ? QString() : io::isolateLtr(QStringLiteral("IR") + a.text(QStringLiteral("SHABA")))},
        {QStringLiteral("شماره ثبت / محل / تاريخ"), io::isolateLtr(a.text(QStringLiteral("SABTNO"))) + QStringLiteral(" ") + a.text(QStringLiteral("SABTLOC"))
                                                     + QStringLiteral(" ") + io::isolateLtr(a.text(QStringLiteral("SABTDATE")))},
        {QStringLiteral("کد اقتصادي"), io::isolateLtr(a.text(QStringLiteral("CODE_EGHTESADI")))},
        {QStringLiteral("کد کارگاه"), io::isolateLtr(a.text(QStringLiteral("CODE_KARGAH")))},
        {QStringLiteral("مدير / کد ملي"), a.text(QStringLiteral("ADMIN_NAME")) + QStringLiteral(" ") + io::isolateLtr(a.text(QStringLiteral("ADMIN_MELICODE")))},
        {QStringLiteral("امضاي دوم"), a.text(QStringLiteral("EMZA_SECOND"))},
        {QStringLiteral("نماينده / کد ملي"), a.text(QStringLiteral("NAMYNDE_NAME")) + QStringLiteral(" ") + io::isolateLtr(a.text(QStringLiteral("NAMYNDE_MELICODE")))},
        {QStringLiteral("رتبه ها"), a.text(QStringLiteral("RANK1")) + QStringLiteral(" / ") + a.text(QStringLiteral("RANK2"))},
        {QStringLiteral("شناسه سماد"), io::isolateLtr(a.text(QStringLiteral("NOMINEECODE")))},
        {QStringLiteral("کد معاملاتي بورس"), io::isolateLtr(a.text(QStringLiteral("BOURSECODE")))},
        {QStringLiteral("پرونده بايگاني"), io::isolateLtr(a.text(QStringLiteral("ARCHIVENO")))},
    };
    for (const auto& [caption, value] : lines)
        r.addRow({caption, value});
    r.signatures = signatures;
    return r;
}

QList<io::ListDefinition> partyLists()
{
    return {detailAccountsList(), detailGroupsList(), tradesList(), standardDescriptionsList(), parametersList()};
}

} // namespace orvak::basedata
