#include "core/basedata/VoucherReadingLists.h"

#include "core/basedata/VoucherReading.h"

namespace orvak::basedata {

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

QList<io::ListDefinition> voucherReadingLists() { return {savedReadingCriteriaList()}; }

} // namespace orvak::basedata
