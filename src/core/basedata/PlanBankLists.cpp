#include "core/basedata/PlanBankLists.h"

#include "core/basedata/DepositAccounts.h"
#include "core/basedata/Lookups.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"
#include "core/io/FilterExpression.h"
#include "core/startup/Program.h"
#include "core/startup/Session.h"
#include "core/util/TextKey.h"

namespace orvak::basedata {

namespace {

using io::CellFormat;

// Names by code from a query of two columns (code, name).
io::ListDefinition base(const QString& name, const QString& title, const QString& table, const QString& sql)
{
    io::ListDefinition d;
    d.name = name;
    d.title = title;
    d.database = io::ListDatabase::Common;
    d.sql = sql;
    d.keyField = QStringLiteral("CODE");
    d.historyTable = table;
    d.historyKey = {QStringLiteral("CODE")};
    return d;
}

io::ListField codeColumn(const QString& title = QStringLiteral("کد")) { return io::dataField(QStringLiteral("CODE"), title, 60, CellFormat::Integer); }

} // namespace

io::ListDefinition plansList(const QString& section)
{
    auto w = [&](const char* text) { return planWording(section, QString::fromUtf8(text)); };
    io::ListDefinition d = base(QStringLiteral("plans"), w("فهرست طرح ها"), QStringLiteral("TARH"),
                                QStringLiteral("Select * From Tarh Where (CI=:CI)and ((NAMET like :PName))and((SAL_MOF=:SAL_MOF)or(-1=:SAL_MOF))and (1=1)\n"
                                               "Order By CASE WHEN :POrder=1 THEN NAMET END, CASE WHEN :POrder=2 THEN KIND END, "
                                               "CASE WHEN :POrder=3 THEN SUBSTRING(CODT,5,5) END, CASE WHEN :POrder=3 THEN SUBSTRING(CODT,1,3) END, Code"));
    d.parameters = {{QStringLiteral(":CI"), section.toInt()}, {QStringLiteral(":PName"), QStringLiteral("%")},
                    {QStringLiteral(":SAL_MOF"), -1}, {QStringLiteral(":POrder"), 0}};
    d.historyKey = {QStringLiteral("CI"), QStringLiteral("CODE")};
    d.columns = {
        codeColumn(w(" کد طرح ").trimmed()),
        io::dataField(QStringLiteral("CODT"), QStringLiteral("كد حساب"), 90),
        io::dataField(QStringLiteral("NAMET"), w(" نام طرح ").trimmed(), 260),
        io::codeField(QStringLiteral("KIND"), w(" نوع طرح ").trimmed(), 90, Plans::kinds()),
        io::dataField(QStringLiteral("SAL"), w("سنوات طرح"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("SAL_MOF"), QStringLiteral("سال موافقتنامه"), 90, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition projectsList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("projects"), QStringLiteral("اطلاعات پروژه ها"), QStringLiteral("PROJEH"),
                                QStringLiteral("Select *, (Select NAMET From Tarh T Where T.CODE = Projeh.TARHNO and T.CI = Projeh.CI) AS TARHNAME From Projeh Where (CI=:CI)and (NAMEP like :PName) and ((TarhNo=:PTarhNo)or(0>=:PTarhNo))"
                                               "and((SAL_MOF=:SAL_MOF)or(-1=:SAL_MOF))AND (1=1)\n"
                                               "Order By CASE WHEN :POrder=1 THEN NAMEP END, CASE WHEN :POrder=2 THEN CODP END, ProjNo"));
    d.parameters = {{QStringLiteral(":CI"), section.toInt()}, {QStringLiteral(":PName"), QStringLiteral("%")}, {QStringLiteral(":PTarhNo"), 0},
                    {QStringLiteral(":SAL_MOF"), -1}, {QStringLiteral(":POrder"), 0}};
    d.keyField = QStringLiteral("PROJNO");
    d.historyKey = {QStringLiteral("CI"), QStringLiteral("PROJNO")};
    d.columns = {
        io::dataField(QStringLiteral("PROJNO"), QStringLiteral("شماره پروژه"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("CODP"), QStringLiteral("كد موافقتنامه اي پروژه"), 110),
        io::dataField(QStringLiteral("NAMEP"), QStringLiteral("نام پروژه"), 260),
        io::dataField(QStringLiteral("TARHNO"), planWording(section, QStringLiteral(" کد طرح ")).trimmed(), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("TARHNAME"), planWording(section, QStringLiteral(" نام طرح ")).trimmed(), 200),
        io::codeField(QStringLiteral("KIND"), QStringLiteral("نحوه  اجراي پروژه"), 100, Projects::kinds()),
        io::lookupField(QStringLiteral("CENTERCODE"), QStringLiteral("محل اجرا"), 140, namesReader("SELECT CODE, NAME FROM CENTERS")),
        io::dataField(QStringLiteral("START_YEAR"), QStringLiteral("سال شروع پروژه"), 80, CellFormat::Integer),
        io::dataField(QStringLiteral("SAL_MOF"), QStringLiteral("سال موافقتنامه"), 80, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition centresList()
{
    io::ListDefinition d = base(QStringLiteral("centres"), QStringLiteral("فهرست محل اجرا ي پروژه"), QStringLiteral("CENTERS"),
                                QStringLiteral("select *  from Centers\norder by code"));
    d.columns = {codeColumn(), io::dataField(QStringLiteral("NAME"), QStringLiteral("محل اجرا"), 300)};
    return d;
}

io::ListDefinition bankNamesList()
{
    io::ListDefinition d = base(QStringLiteral("bank-names"), QStringLiteral("فهرست بانك ها"), QStringLiteral("BANKNAME"),
                                QStringLiteral("SELECT * from bankNAME\nORDER BY CODE"));
    d.columns = {codeColumn(), io::dataField(QStringLiteral("NAME"), QStringLiteral("نام بانک"), 220)};
    return d;
}

io::ListDefinition bankBranchesList()
{
    io::ListDefinition d = base(QStringLiteral("bank-branches"), QStringLiteral("فهرست شعب بانك ها"), QStringLiteral("BANKBRANCHNAME"),
                                QStringLiteral("Select * From BANKBRANCHNAME where ((bankid=:PBank)or(-1=:PBank))\nOrder By CODE"));
    d.parameters = {{QStringLiteral(":PBank"), -1}};
    d.columns = {
        codeColumn(),
        io::lookupField(QStringLiteral("BANKID"), QStringLiteral("نام بانک"), 120, namesReader("SELECT CODE, NAME FROM BANKNAME")),
        io::dataField(QStringLiteral("BRANCHCODE"), QStringLiteral("کد شعبه"), 80),
        io::dataField(QStringLiteral("BRANCHNAME"), QStringLiteral("نام شعبه"), 180),
        io::dataField(QStringLiteral("ADRESS"), QStringLiteral("نشاني"), 220),
        io::dataField(QStringLiteral("TEL"), QStringLiteral("تلفن"), 100),
        io::dataField(QStringLiteral("POSTCODE"), QStringLiteral("کد پستي"), 100),
    };
    return d;
}

io::ListDefinition officeAccountsList(const QString& section)
{
    io::ListDefinition d = base(QStringLiteral("office-accounts"), QStringLiteral("فهرست حسابهاي بانكي"), QStringLiteral("HESAB"),
                                QStringLiteral("Select * From Hesab Where (1=1) and ((branchc=:pbranchc)Or(branchc=0))"
                                               "and((ProgID=:ProgID)OR(PROGID is NULL)or(3=:ProgID)) and 1=1\nORDER BY  [BRANCHCODE] DESC"));
    d.parameters = {{QStringLiteral(":pbranchc"), section.toInt()}, {QStringLiteral(":ProgID"), startup::ProgID}};
    d.columns = {
        codeColumn(QStringLiteral("كد ")),
        io::dataField(QStringLiteral("HESABNO"), QStringLiteral("حساب بانكي"), 150),
        io::lookupField(QStringLiteral("BANK"), QStringLiteral("بانک"), 100, namesReader("SELECT CODE, NAME FROM BANKNAME")),
        io::dataField(QStringLiteral("BRANCHCODE"), QStringLiteral("كد شعبه"), 70),
        io::dataField(QStringLiteral("BRANCHNAME"), QStringLiteral("نام شعبه"), 150),
        io::dataField(QStringLiteral("HESABSUBJECT"), QStringLiteral("موضوع حساب"), 200),
        io::dataField(QStringLiteral("STARTDATE"), QStringLiteral("تاريخ افتتاح"), 90, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("KOL"), QStringLiteral("کل"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("MOIN"), QStringLiteral("معين"), 60, CellFormat::Integer),
        io::lookupField(QStringLiteral("TAFSIL"), QStringLiteral("تفصيلي"), 160, namesReader("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI", true)),
        io::dataField(QStringLiteral("BRANCHC"), QStringLiteral("بخش مالي"), 60, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition shortBankAccountsList()
{
    io::ListDefinition d = base(QStringLiteral("short-bank-accounts"), QStringLiteral("فهرست حسابهاي بانكي"), QStringLiteral("HesabBanki"),
                                QStringLiteral("Select * From HesabBanki\nOrder By code"));
    d.columns = {
        codeColumn(QStringLiteral("كد ")),
        io::dataField(QStringLiteral("HESABNO"), QStringLiteral("حساب بانكي"), 150),
        io::dataField(QStringLiteral("BRANCHNAME"), QStringLiteral("نام شعبه"), 150),
        io::dataField(QStringLiteral("BRANCHCODE"), QStringLiteral("كد شعبه"), 80),
        io::lookupField(QStringLiteral("BANK"), QStringLiteral("بانک"), 100, namesReader("SELECT CODE, NAME FROM BANKNAME")),
        io::dataField(QStringLiteral("TEL"), QStringLiteral("شماره تلفن"), 120),
    };
    return d;
}

io::ListDefinition depositAccountsList()
{
    io::ListDefinition d = base(QStringLiteral("deposit-accounts"), QStringLiteral("فهرست حسابهاي بانكي مربوط به سپرده ها - تضمينات"),
                                QStringLiteral("BankHa"), QStringLiteral("Select * From BankHa Where ((KIND=:PKind)or(-1=:PKind))\nOrder By Code"));
    d.database = io::ListDatabase::Deposits;
    d.parameters = {{QStringLiteral(":PKind"), -1}};
    d.columns = {
        codeColumn(),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("شرح حساب"), 260),
        io::codeField(QStringLiteral("KIND"), QStringLiteral("نوع حساب"), 160, DepositAccounts::kinds()),
        io::dataField(QStringLiteral("ACCKOL"), QStringLiteral("کل"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("ACCMOIN"), QStringLiteral("معين"), 70, CellFormat::Integer),
        io::dataField(QStringLiteral("BRANCH"), QStringLiteral("شعبه"), 60, CellFormat::Integer),
    };
    return d;
}

io::ListDefinition provincesList()
{
    io::ListDefinition d = base(QStringLiteral("provinces"), QStringLiteral("فهرست استان ها"), QStringLiteral("OSTAN"),
                                QStringLiteral("Select * From OSTAN\nOrder By Code"));
    d.columns = {codeColumn(), io::dataField(QStringLiteral("NAME"), QStringLiteral("نام استان"), 240)};
    return d;
}

io::ListDefinition supervisingOfficesList()
{
    io::ListDefinition d = base(QStringLiteral("supervising-offices"), QStringLiteral("فهرست سرپرستي ها"), QStringLiteral("SARPARASTI"),
                                QStringLiteral("Select * From SARPARASTI Where ((OSTAN=:POstan)or(-1=:POstan))\nOrder By Code"));
    d.parameters = {{QStringLiteral(":POstan"), -1}};
    d.columns = {
        codeColumn(),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام سرپرستي"), 260),
        io::lookupField(QStringLiteral("OSTAN"), QStringLiteral("نام استان"), 160, namesReader("SELECT CODE, NAME FROM OSTAN")),
    };
    return d;
}

io::ListDefinition branchesList()
{
    io::ListDefinition d = base(QStringLiteral("branches"), QStringLiteral("فهرست شعب"), QStringLiteral("SHOBEH"),
                                QStringLiteral("Select * From SHOBEH Where ((SARPARASTI=:PSarparasti)or(-1=:PSarparasti))\nOrder By Code"));
    d.parameters = {{QStringLiteral(":PSarparasti"), -1}};
    d.columns = {
        codeColumn(),
        io::dataField(QStringLiteral("CODESHOBEH"), QStringLiteral("کد شعبه"), 80),
        io::dataField(QStringLiteral("NAME"), QStringLiteral("نام شعبه"), 180),
        io::lookupField(QStringLiteral("SARPARASTI"), QStringLiteral("سرپرستي"), 180, namesReader("SELECT CODE, NAME FROM SARPARASTI")),
        io::dataField(QStringLiteral("CITYDESCR"), QStringLiteral("شهر"), 100),
        io::dataField(QStringLiteral("ADRESS"), QStringLiteral("نشاني"), 200),
        io::dataField(QStringLiteral("TEL"), QStringLiteral("تلفن"), 100),
        io::dataField(QStringLiteral("DEGRI"), QStringLiteral("درجه"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("SHETAB"), QStringLiteral("شتاب"), 50, CellFormat::Boolean),
        io::dataField(QStringLiteral("PINPAD"), QStringLiteral("پين پد"), 50, CellFormat::Boolean),
        io::dataField(QStringLiteral("ATM"), QStringLiteral("خودپرداز"), 60, CellFormat::Boolean),
    };
    return d;
}

QList<io::ListDefinition> planBankLists()
{
    return {plansList(),        projectsList(),          centresList(),       bankNamesList(),
            bankBranchesList(), officeAccountsList(),    shortBankAccountsList(), depositAccountsList(), provincesList(),
            supervisingOfficesList(), branchesList()};
}

QString codesFilter(const QString& field, const QList<qint64>& codes)
{
    if (codes.isEmpty())
        return io::filterTerm(field, QStringLiteral("="), QStringLiteral("-1"), false);
    QString expression;
    for (qint64 code : codes)
        expression = io::filterJoin(expression, io::filterTerm(field, QStringLiteral("="), QString::number(code), false), false);
    return expression;
}

int findRow(const io::RowSet& rows, const QString& field, const QString& text)
{
    const int column = rows.fieldIndex(field);
    const QString key = util::searchKey(text.trimmed());
    if (column < 0 || key.isEmpty())
        return -1;
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (util::searchKey(rows.text(r, column).trimmed()) == key)
            return r;
    }
    return -1;
}

} // namespace orvak::basedata
