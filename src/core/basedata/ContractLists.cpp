#include "core/basedata/ContractLists.h"

#include "core/basedata/Contracts.h"

namespace orvak::basedata {

namespace {

using io::CellFormat;

io::ListDefinition base(const QString& name, const QString& title, const QString& table, const QString& sql, const QStringList& key)
{
    io::ListDefinition d;
    d.name = name;
    d.title = title;
    d.database = io::ListDatabase::Common;
    d.sql = sql;
    d.keyField = key.last();
    d.historyTable = table;
    d.historyKey = key;
    return d;
}

io::ListField codeColumn(const QString& field = QStringLiteral("CODE")) { return io::dataField(field, QStringLiteral("کد"), 60, CellFormat::Integer); }

} // namespace

QStringList contractOrders() { return {QStringLiteral("کد شناسائي قرارداد"), QStringLiteral("شماره قرارداد"), QStringLiteral("پيمانکار")}; }

QStringList transferUnitChoices() { return QStringList{QStringLiteral("همه")} << transferUnits().texts(); }

io::ListDefinition contractsList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("contracts"), QStringLiteral("فهرست قراردادها"), QStringLiteral("PAYMENTS"),
                                QStringLiteral("Select Payments.*, (Select Name From Tafsili T Where T.Code = Payments.Tafsil and T.CI = Payments.CI) AS TAFSILNAME "
                                               "From Payments Where   ((Tafsil=:PTafsil)or(0>=:PTafsil)) and (Ci=:PCi) "
                                               "and ((TransferUnit=:PUnit)or(0>=:PUnit)) and (1=1)\n"
                                               "order by CASE WHEN :POrder=1 THEN paymentno END, CASE WHEN :POrder=2 THEN Tafsil END, code"),
                                {QStringLiteral("CI"), QStringLiteral("CODE")});
    d.parameters = {{QStringLiteral(":PTafsil"), 0}, {QStringLiteral(":PCi"), section.toInt()}, {QStringLiteral(":PUnit"), 0}, {QStringLiteral(":POrder"), 0}};
    d.columns = {
        io::dataField(QStringLiteral("CODE"), QStringLiteral("شناسه قرارداد"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("PAYMENTNO"), QStringLiteral("شماره پيمان"), 110),
        io::dataField(QStringLiteral("PAYMENTDATE"), QStringLiteral("تاريخ قرارداد"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("TAFSIL"), QStringLiteral("کد پيمانکار"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("TAFSILNAME"), QStringLiteral("پيمانکار"), 220),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح قرارداد"), 240),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ اوليه پيمان"), 120, CellFormat::Amount, true),
        io::dataField(QStringLiteral("EZAFEHKAR"), QStringLiteral("مبلغ25%تغييرات"), 110, CellFormat::Amount, true),
        io::dataField(QStringLiteral("AMOUNTFINAL"), QStringLiteral("مبلغ نهائي پيمان"), 120, CellFormat::Amount, true),
        io::codeField(QStringLiteral("TRANSFERUNIT"), QStringLiteral("واحد انتقالي"), 120, transferUnits()),
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("SNDNO25"), QStringLiteral("شماره سند تغييرات"), 80, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition contractDeductionsList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("contract-deductions"), QStringLiteral("ليست کسورات قرارداد"), QStringLiteral("PAYMAN_KOSURAT"),
                                QStringLiteral("select PAYMAN_KOSURAT.*, (select name from TBPARAMS_PAY P where P.kind = 2 and P.code = PAYMAN_KOSURAT.CODE_KOSUR) AS KOSURNAME, "
                                               "(select name from TBPARAMS_PAY P where P.kind = 3 and P.code = PAYMAN_KOSURAT.DEVICE) AS DEVICENAME "
                                               "from PAYMAN_KOSURAT where code_pay=:Pcode_pay and CI=:CI\n"
                                               "order by code"),
                                {QStringLiteral("CI"), QStringLiteral("CODE")});
    d.parameters = {{QStringLiteral(":Pcode_pay"), 0}, {QStringLiteral(":CI"), section.toInt()}};
    d.columns = {
        codeColumn(),
        io::dataField(QStringLiteral("KOSURNAME"), QStringLiteral("نوع کسور"), 180),
        io::dataField(QStringLiteral("DARSAD_KARF"), QStringLiteral("درصد کارفرما"), 80),
        io::dataField(QStringLiteral("DARSAD_PAY"), QStringLiteral("درصد پيمانکار"), 80),
        io::dataField(QStringLiteral("DEVICENAME"), QStringLiteral("دستگاه گيرنده"), 160),
        io::dataField(QStringLiteral("HESAB"), QStringLiteral("حساب"), 200),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 110, CellFormat::Amount, true),
    };
    return d;
}

io::ListDefinition contractLettersList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("contract-letters"), QStringLiteral("سوابق قرارداد"), QStringLiteral("PAYMAN_LETTERS"),
                                QStringLiteral("select PAYMAN_LETTERS.*, (select name from TBPARAMS_PAY P where P.kind = 0 and P.code = PAYMAN_LETTERS.PMOZOO) AS MOZOONAME "
                                               "from PAYMAN_LETTERS where LtrID=:PLtrID and CI=:CI\n"
                                               "order by PaymanCode"),
                                {QStringLiteral("CI"), QStringLiteral("LtrID"), QStringLiteral("PaymanCode")});
    d.parameters = {{QStringLiteral(":PLtrID"), 0}, {QStringLiteral(":CI"), section.toInt()}};
    d.columns = {
        io::dataField(QStringLiteral("PaymanCode"), QStringLiteral("رديف"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("LtrDate"), QStringLiteral("تاريخ نامه"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("LtrNO"), QStringLiteral("شماره نامه"), 110),
        io::dataField(QStringLiteral("MOZOONAME"), QStringLiteral("موضوع"), 150),
        io::dataField(QStringLiteral("Description"), QStringLiteral("شرح"), 260),
        io::dataField(QStringLiteral("extradescr"), QStringLiteral("توضيحات"), 200),
    };
    return d;
}

io::ListDefinition contractDepositsList()
{
    io::ListDefinition d = base(QStringLiteral("contract-deposits"), QStringLiteral("سوابق پرداخت"), QStringLiteral("SEP_DAR"),
                                QStringLiteral("select * from SEP_DAR where PAYMENT=:PPayment\norder by IDX"), {QStringLiteral("IDX")});
    d.database = io::ListDatabase::Deposits;
    d.parameters = {{QStringLiteral(":PPayment"), 0}};
    d.columns = {
        io::dataField(QStringLiteral("IDX"), QStringLiteral("رديف"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("SEPNO"), QStringLiteral("شماره سپرده"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("SABTDATE"), QStringLiteral("تاريخ ثبت"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SEPDATE"), QStringLiteral("تاريخ سپرده"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 260),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 110, CellFormat::Amount, true),
        io::dataField(QStringLiteral("AMOUNT_RAD"), QStringLiteral("مبلغ مسترد شده"), 110, CellFormat::Amount, true),
    };
    return d;
}

io::ListDefinition executorsList()
{
    io::ListDefinition d = base(QStringLiteral("executors"), QStringLiteral("فهرست مجريها"), QStringLiteral("MOJRI"),
                                QStringLiteral("select * from MOJRI\norder by CODE"), {QStringLiteral("CODE")});
    d.columns = {codeColumn(), io::dataField(QStringLiteral("NAME"), QStringLiteral("نام"), 300)};
    return d;
}

io::ListDefinition supervisorsList()
{
    io::ListDefinition d = base(QStringLiteral("supervisors"), QStringLiteral("فهرست ناظرين"), QStringLiteral("NAZER"),
                                QStringLiteral("select * from NAZER\norder by CODE"), {QStringLiteral("CODE")});
    d.columns = {codeColumn(), io::dataField(QStringLiteral("NAME"), QStringLiteral("نام"), 300)};
    return d;
}

io::ListDefinition creditSourcesList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("credit-sources"), QStringLiteral("منابع تامين اعتبار"), QStringLiteral("MTE"),
                                QStringLiteral("select * from MTE where CI=:CI\norder by KIND"), {QStringLiteral("CI"), QStringLiteral("KIND")});
    d.parameters = {{QStringLiteral(":CI"), section.toInt()}};
    d.columns = {
        codeColumn(QStringLiteral("KIND")),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 260),
        io::dataField(QStringLiteral("ETKIND"), QStringLiteral("نوع اعتبار"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("ETGROUP"), QStringLiteral("گروه"), 60, CellFormat::Integer),
        io::codeField(QStringLiteral("ISRADIF"), QStringLiteral("رديف بودجه دارد"), 90, yesNo()),
        io::dataField(QStringLiteral("RADIF"), QStringLiteral("رديف بودجه"), 80, CellFormat::Integer),
    };
    return d;
}

QList<io::ListDefinition> contractLists()
{
    return {contractsList(), contractDeductionsList(), contractLettersList(), contractDepositsList(), executorsList(), supervisorsList(), creditSourcesList()};
}

} // namespace orvak::basedata
