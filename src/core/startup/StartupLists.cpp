#include "core/startup/StartupLists.h"

#include "core/startup/Backup.h"
#include "core/startup/Program.h"
#include "core/startup/Users.h"

namespace orvak::startup {

namespace {

io::LookupTable userNameTable(io::ListSource& source)
{
    io::LookupTable table;
    const QHash<int, QString> names = userNames(source.listDatabase(io::ListDatabase::Common));
    for (auto it = names.begin(); it != names.end(); ++it)
        table.insert(it.key(), it.value());
    return table;
}

} // namespace

io::ListDefinition programUsersList()
{
    using io::CellFormat;
    io::ListDefinition d;
    d.name = QStringLiteral("program-users");
    d.title = QStringLiteral("کاربران اين نرم افزار");
    d.database = io::ListDatabase::Common;
    // :IsEnable -1 all, 1 the allowed, 0 the blocked (every value but 1 is blocked).
    d.sql = QStringLiteral("Select * From PROGUSERS Where 1=1 and progid=:ProgId"
                           " and ((-1=:IsEnable) or ((CASE WHEN ISENABLE = 1 THEN 1 ELSE 0 END)=:IsEnable))\nOrder By UCode");
    d.parameters = {{QStringLiteral(":ProgId"), ProgID}, {QStringLiteral(":IsEnable"), -1}};
    d.keyField = QStringLiteral("UCODE");
    d.historyTable = QStringLiteral("PROGUSERS");
    d.historyKey = QStringList{QStringLiteral("PROGID"), QStringLiteral("UCODE")};
    d.columns = {
        io::dataField(QStringLiteral("UCODE"), QStringLiteral("کد کاربر"), 80, CellFormat::Integer),
        io::lookupField(QStringLiteral("UCODE"), QStringLiteral("نام و نام خانوادگي"), 220, &userNameTable),
        io::dataField(QStringLiteral("ISMANAGER"), QStringLiteral("مدير"), 60, CellFormat::Boolean),
        io::codeField(QStringLiteral("ISENABLE"), QStringLiteral("وضعيت"), 80, userStates()),
        io::dataField(QStringLiteral("SEL2"), QStringLiteral("سطح ثبت اطلاعات"), 110, CellFormat::Integer),
    };
    d.rowKind = [](const io::RowSet& rows, int row) {
        return io::fieldValue(rows, row, QStringLiteral("ISENABLE")).toInt() == 1 ? io::RowKind::Normal : io::RowKind::Blocked;
    };
    return d;
}

io::ListDefinition familyUsersList()
{
    using io::CellFormat;
    io::ListDefinition d;
    d.name = QStringLiteral("family-users");
    d.title = QStringLiteral("کاربران اورواک");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select * From USERS Where 1=1\nOrder By UCode");
    d.keyField = QStringLiteral("UCode");
    d.historyTable = QStringLiteral("USERS");
    d.historyKey = QStringList{QStringLiteral("UCode")};
    d.columns = {
        io::dataField(QStringLiteral("UCode"), QStringLiteral("کد"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("Name"), QStringLiteral("نام"), 120),
        io::dataField(QStringLiteral("LastName"), QStringLiteral("نام خانوادگي"), 160),
        io::dataField(QStringLiteral("POST"), QStringLiteral("سمت"), 160),
        io::codeField(QStringLiteral("ESKIND"), QStringLiteral("نوع استخدام"), 100, employmentKinds()),
        io::dataField(QStringLiteral("JOB"), QStringLiteral("شغل"), 140),
        io::dataField(QStringLiteral("MADRAK"), QStringLiteral("مدرک تحصيلي"), 140),
        io::dataField(QStringLiteral("PERSONCODE"), QStringLiteral("شماره پرسنلي"), 90, CellFormat::Integer),
        io::dataField(QStringLiteral("BIRTH_DATE"), QStringLiteral("تاريخ تولد"), 90, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("EDATE"), QStringLiteral("تاريخ استخدام"), 90, CellFormat::JalaliDate),
    };
    return d;
}

io::ListDefinition backupHistoryList()
{
    using io::CellFormat;
    io::ListDefinition d;
    d.name = QStringLiteral("backup-history");
    d.title = QStringLiteral("مرور تهيه پشتيبان");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("Select * From HISTORY_RESBACK\nOrder By id DESC");
    d.keyField = QStringLiteral("id");
    d.historyTable = QStringLiteral("HISTORY_RESBACK");
    d.historyKey = QStringList{QStringLiteral("id")};
    d.columns = {
        io::dataField(QStringLiteral("id"), QStringLiteral("رديف"), 60, CellFormat::Integer),
        io::lookupField(QStringLiteral("usercode"), QStringLiteral("نام کاربر"), 160, &userNameTable),
        io::dataField(QStringLiteral("dat_bk"), QStringLiteral("تاريخ"), 90, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("time_bk"), QStringLiteral("ساعت"), 70),
        io::codeField(QStringLiteral("KindOperation"), QStringLiteral("نوع عمليات"), 160, backupKinds()),
        io::dataField(QStringLiteral("Filename"), QStringLiteral("نام فايل"), 220),
        io::dataField(QStringLiteral("path_bk"), QStringLiteral("مسير"), 220),
        io::dataField(QStringLiteral("Dbname"), QStringLiteral("بانک اطلاعاتي"), 130),
    };
    return d;
}

const io::CodeTexts& userStateChoices()
{
    static const io::CodeTexts choices{{{-1, QStringLiteral("همه کاربران")}, {1, userStates().textOf(1)}, {0, userStates().textOf(0)}}, {}};
    return choices;
}

QList<io::ListDefinition> startupLists() { return {programUsersList(), familyUsersList(), backupHistoryList()}; }

} // namespace orvak::startup
