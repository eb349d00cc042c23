#include "core/deposits/CreditLetters.h"

namespace orvak::deposits {

namespace {

const QString letterColumns = QStringLiteral("IDXNO, BESNO, BESDATE, ERSALLETTERNO, ERSALLETTERDATE");

CreditLetter letterOf(const QSqlRecord& r)
{
    CreditLetter l;
    l.idx = r.value(0).toInt();
    l.creditNo = r.value(1).toString().trimmed();
    l.creditDate = r.value(2).toString().trimmed();
    l.letterNo = r.value(3).toString().trimmed();
    l.letterDate = r.value(4).toString().trimmed();
    return l;
}

} // namespace

db::Fetched<CreditLetter> creditLetter(startup::Session& session, int idx)
{
    const auto row = db::firstRow(session.deposits(), QStringLiteral("SELECT %1 FROM BESTANKARI WHERE IDXNO = :Idx").arg(letterColumns),
                                  {{QStringLiteral(":Idx"), idx}});
    if (row.failed())
        return db::Fetched<CreditLetter>::failure(row.error());
    if (!row)
        return db::Fetched<CreditLetter>::none();
    return db::Fetched<CreditLetter>::found(letterOf(*row));
}

db::Fetched<QList<QPair<int, QString>>> creditLetterChoices(startup::Session& session)
{
    using Result = db::Fetched<QList<QPair<int, QString>>>;
    QSqlQuery q(session.deposits());
    if (!q.exec(QStringLiteral("SELECT %1 FROM BESTANKARI ORDER BY IDXNO").arg(letterColumns)))
        return Result::failure(q.lastError().text());
    QList<QPair<int, QString>> choices;
    while (q.next()) {
        const CreditLetter l = letterOf(q.record());
        choices.append({l.idx, l.creditNo.isEmpty() ? QString::number(l.idx) : l.creditNo + QStringLiteral(" - ") + l.creditDate});
    }
    return Result::found(choices);
}

io::ListDefinition creditLettersList()
{
    using io::CellFormat;
    io::ListDefinition d;
    d.name = QStringLiteral("credit-letters");
    d.title = QStringLiteral("اعلاميه هاي بستانكاري و نامه هاي ارسال به خزانه");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM BESTANKARI\nORDER BY Y, M, IDXNO");
    d.columns = {io::dataField(QStringLiteral("IDXNO"), QStringLiteral("شناسه"), 60, CellFormat::Integer),
                 io::dataField(QStringLiteral("BESNO"), QStringLiteral("شماره بستانکاري"), 90),
                 io::dataField(QStringLiteral("BESDATE"), QStringLiteral("تاريخ بستانکاري"), 80, CellFormat::JalaliDate),
                 io::dataField(QStringLiteral("ERSALLETTERNO"), QStringLiteral("ش نامه صورت ريز ارسالي"), 110),
                 io::dataField(QStringLiteral("ERSALLETTERDATE"), QStringLiteral("تاريخ نامه"), 80, CellFormat::JalaliDate),
                 io::dataField(QStringLiteral("BESAMOUNT"), QStringLiteral("مبلغ بستانکاري"), 120, CellFormat::Amount, true),
                 io::dataField(QStringLiteral("Y"), QStringLiteral("سال"), 50, CellFormat::Integer),
                 io::dataField(QStringLiteral("M"), QStringLiteral("ماه"), 40, CellFormat::Integer)};
    d.keyField = QStringLiteral("IDXNO");
    return d;
}

} // namespace orvak::deposits
