#include "core/deposits/VoucherReadingLists.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/VoucherReading.h"
#include "core/startup/Session.h"


namespace orvak::deposits {

namespace {

const io::LookupReader partyNames = basedata::namesReader("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI", true);

} // namespace

io::ListDefinition readRowsList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("voucher-reading");
    d.title = QStringLiteral("فراخواني پيمانکا از اسناد حسابداري");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("Select * From TEMPREADSND\nOrder By ROW");
    d.keyField = QStringLiteral("ROW");
    d.columns = {
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 50, io::CellFormat::Integer),
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 70, io::CellFormat::Integer),
        io::dataField(QStringLiteral("SNDROW"), QStringLiteral("رديف سند"), 60, io::CellFormat::Integer),
        io::dataField(QStringLiteral("TAFSIL"), QStringLiteral("تفصيلي"), 70, io::CellFormat::Integer),
        io::lookupField(QStringLiteral("TAFSIL"), QStringLiteral("نام"), 200, partyNames),
        io::dataField(QStringLiteral("TAFSIL2"), QStringLiteral("قرارداد"), 60, io::CellFormat::Integer),
        io::dataField(QStringLiteral("CHKNO"), QStringLiteral("شماره چک"), 110, io::CellFormat::Integer),
        io::dataField(QStringLiteral("CHKDATE"), QStringLiteral("تاريخ چک"), 80, io::CellFormat::JalaliDate),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 260),
        io::dataField(QStringLiteral("BED"), QStringLiteral("بدهکار"), 110, io::CellFormat::Amount, true),
        io::dataField(QStringLiteral("BES"), QStringLiteral("بستانکار"), 110, io::CellFormat::Amount, true),
        io::dataField(QStringLiteral("TIK"), QStringLiteral("انتخاب"), 40),
    };
    return d;
}

io::ListDefinition savedReadingCriteriaList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("reading-criteria");
    d.title = QStringLiteral("فهرست مربوط به قرائت اطلاعات چک هاي سپرده ها از  حسابداري");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("Select * From List4Get\nOrder By C,Kol,Moin");
    io::CodeTexts sections{{{1, QStringLiteral("عمراني")}, {2, QStringLiteral("جاري")}}, {}};
    d.columns = {
        io::codeField(QStringLiteral("C"), QStringLiteral("بخش"), 70, sections),
        io::dataField(QStringLiteral("KOL"), QStringLiteral("حساب كل"), 80, io::CellFormat::Integer),
        io::dataField(QStringLiteral("MOIN"), QStringLiteral("حساب معين"), 80, io::CellFormat::Integer),
        io::dataField(QStringLiteral("WORD1"), QStringLiteral("كلمه 1"), 110),
        io::dataField(QStringLiteral("WORD2"), QStringLiteral("كلمه 2"), 110),
        io::dataField(QStringLiteral("WORD3"), QStringLiteral("كلمه 3"), 110),
        io::dataField(QStringLiteral("WORD4"), QStringLiteral("كلمه 4"), 110),
        io::codeField(QStringLiteral("BEDBES"), QStringLiteral("بدهکار/بستانکار"), 90, io::CodeTexts::numbered(readSideTexts())),
    };
    d.historyTable = QStringLiteral("List4Get");
    d.historyKey = {QStringLiteral("C"), QStringLiteral("KOL"), QStringLiteral("MOIN")};
    return d;
}

QList<io::ListDefinition> voucherReadingLists() { return {readRowsList(), savedReadingCriteriaList()}; }

} // namespace orvak::deposits
