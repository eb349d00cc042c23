#include "core/deposits/DepositImport.h"
#include "core/io/GridExport.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;

namespace {

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

ImportMapping mappingOf(std::initializer_list<std::pair<ImportField, const char*>> fields)
{
    ImportMapping m;
    for (const auto& [f, c] : fields)
        m.set(f, QString::fromUtf8(c));
    return m;
}

// The mapping of the sheets below: every column by its Persian title.
ImportMapping fullMapping()
{
    return mappingOf({{ImportField::ReceiptNo, "شماره قبض"}, {ImportField::PaymentDate, "تاريخ واريز"}, {ImportField::DocumentNo, "فيش"},
                      {ImportField::OwnerCode, "کد"}, {ImportField::OwnerNid, "کد ملي"}, {ImportField::OwnerName, "نام"},
                      {ImportField::Project, "پروژه"}, {ImportField::Amount, "مبلغ"}, {ImportField::RefundMark, "مسترد"},
                      {ImportField::RefundDate, "تاريخ استرداد"}, {ImportField::RefundAmount, "مبلغ استرداد"}, {ImportField::Remarks, "شرح"}});
}
const QStringList Header{QStringLiteral("شماره قبض"), QStringLiteral("تاريخ واريز"), QStringLiteral("فيش"), QStringLiteral("کد"),
                         QStringLiteral("کد ملي"), QStringLiteral("نام"), QStringLiteral("پروژه"), QStringLiteral("مبلغ"),
                         QStringLiteral("مسترد"), QStringLiteral("تاريخ استرداد"), QStringLiteral("مبلغ استرداد"), QStringLiteral("شرح")};

QString csvOf(const QList<QStringList>& rows)
{
    QString out;
    for (const QStringList& r : rows) {
        QStringList cells;
        for (const QString& c : r)
            cells << (c.contains(QLatin1Char(',')) ? QLatin1Char('"') + c + QLatin1Char('"') : c);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

struct Office : test::DemoOffice {
    QString knownNid;
    int knownCode = 0;
    int anotherCode = 0;

    Office()
    {
        session->setCurrentUserCode(3);
        const auto r = db::firstRow(session->common(), QStringLiteral("SELECT CODE, NID FROM TAFSILI WHERE CI = 0 AND NID IS NOT NULL AND NID <> '' ORDER BY CODE"));
        knownCode = r->value(0).toInt();
        knownNid = r->value(1).toString().trimmed();
        anotherCode = int(count(session->common(), QStringLiteral("SELECT MAX(CODE) FROM TAFSILI WHERE CI = 0")));
    }
    QString file(const QString& name, const QString& text)
    {
        const QString p = dir.filePath(name);
        EXPECT_TRUE(test::writeBytes(p, text.toUtf8()));
        return p;
    }
    QString xlsx(const QList<QStringList>& rows)
    {
        io::ExportTable t;
        t.headers = rows.first();
        t.rowCount = int(rows.size()) - 1;
        for (int i = 0; i < t.headers.size(); ++i) {
            t.widths << 80;
            t.formats << io::CellFormat{};
            t.totals << false;
        }
        t.text = [&](int r, int c) { return rows.at(r + 1).value(c); };
        t.number = [](int, int) { return std::optional<double>(); };
        const QString p = dir.filePath(QStringLiteral("book.xlsx"));
        EXPECT_TRUE(io::exportTable(t, io::ExportFormat::Xlsx, p));
        return p;
    }
    ImportResult run(const QString& path, const ImportMapping& m, bool dryRun = false, std::function<bool(int)> progress = {})
    {
        ImportRequest r;
        r.path = path;
        r.mapping = m;
        r.kind = 3;
        r.dryRun = dryRun;
        ScriptedPrompt p({}, true);
        return DepositImport(*session).run(r, p, progress);
    }
    // Everything an import may write, to tell that nothing of a refused one stayed.
    QList<qint64> state()
    {
        return {count(session->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")),
                count(session->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_RADH")),
                count(session->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI")),
                count(session->common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH")), test::historyCount(*session)};
    }
};

TEST(DepositImport, CellReadings)
{
    EXPECT_EQ(importAmount(QStringLiteral("۱۲٬۵۰۰٬۰۰۰")), 12'500'000);
    EXPECT_EQ(importAmount(QStringLiteral("1,250,000")), 1'250'000);
    EXPECT_EQ(importAmount(QStringLiteral(" 2 500 000 ريال")), 2'500'000);
    EXPECT_EQ(importAmount(QStringLiteral("1250000.4")), 1'250'000);
    EXPECT_EQ(importAmount(QString()), 0);
    EXPECT_FALSE(importAmount(QStringLiteral("12a")));
    EXPECT_FALSE(importAmount(QStringLiteral("1e6")));
    const std::pair<const char*, const char*> dates[] = {
        {"1403/01/05", "1403/01/05"}, {"1403/1/5", "1403/01/05"}, {"1403-01-05", "1403/01/05"}, {"14030105", "1403/01/05"},
        {"۱۴۰۳/۰۱/۰۵", "1403/01/05"}, {"03/01/05", "1403/01/05"}, {"99/12/30", "1399/12/30"}, {"05/01/1403", "1403/01/05"},
        {"45000", "1401/12/24"},   // an Excel date cell: 2023-03-15
        {"", ""}, {"    /  /  ", ""},
    };
    for (const auto& [in, out] : dates)
        EXPECT_EQ(importDate(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    for (const char* bad : {"1403/13/01", "1403/12/31x", "فردا", "1403/02"})
        EXPECT_FALSE(importDate(QString::fromUtf8(bad))) << bad;
}

TEST(DepositImport, MappingSavedRestoredAndRefusedWhenForeign)
{
    QTemporaryDir dir;
    const QString path = mappingFilePath(dir.path());
    EXPECT_TRUE(path.endsWith(QStringLiteral(".TMP")));
    QString why;
    ASSERT_TRUE(fullMapping().save(path, &why)) << why.toStdString();
    const auto back = ImportMapping::load(path, &why);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->columns, fullMapping().columns);
    ASSERT_TRUE(test::writeBytes(path, "AMOUNT=x\nWHATEVER=y\n"));
    EXPECT_FALSE(ImportMapping::load(path, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("سطر 2"))) << why.toStdString();
}

// A hand-made book: an owner known by identifier, one by code, a new one twice, a
// new project, refunded rows and marks that are not "1".
TEST(DepositImport, ImportsOwnersProjectsAndRefundsAsOneUnit)
{
    Office o;
    const QList<qint64> before = o.state();
    const QString newNid = QStringLiteral("0012345679");
    const QString code = QString::number(o.anotherCode);
    const QList<QStringList> rows{
        Header,
        {"۱۰۱", "1409/02/03", "5501", "", o.knownNid, "", "", "۱۲٬۵۰۰٬۰۰۰", "", "", "", "حسن انجام کار"},
        {"102", "1409/2/4", "5502", code, "", "", "", "1,000,000", "1", "1409/05/01", "", "استرداد کامل"},
        {"103", "1409-02-05", "", "", newNid, "شرکت نمونه سازان", "777001", "2000000", "1", "1409/06/01", "500,000", ""},
        {"104", "14090206", "", "", newNid, "شرکت نمونه سازان", "777001", "3000000", "0", "", "", ""},
        {"105", "1409/02/07", "", "", "", "آقاي تازه وارد", "", "4000000", "بله", "", "", ""},
    };
    const ImportResult r = o.run(o.xlsx(rows), fullMapping());
    ASSERT_TRUE(r) << r.message.toStdString();
    EXPECT_EQ(r.message, QStringLiteral("انجام شد"));
    EXPECT_EQ(r.deposits, 5);
    EXPECT_EQ(r.ownersFound, 3);   // the identifier made by row 3 is found again in row 4
    EXPECT_EQ(r.ownersCreated, 2);
    EXPECT_EQ(r.projectsCreated, 1);
    EXPECT_EQ(r.refunds, 2);
    EXPECT_EQ(r.amount, 22'500'000);

    QSqlDatabase d = o.session->deposits();
    const auto first = db::firstRow(d, QStringLiteral("SELECT AMOUNT, AMOUNT_MANDEH, TAFSILI, SEPNO, MY, MM, SEPKIND, SAVABEGH, CHKDATE FROM SEP_DAR WHERE MY = 1409 AND SEPNO = 101"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->value(0).toLongLong(), 12'500'000);
    EXPECT_EQ(first->value(1).toLongLong(), 12'500'000);
    EXPECT_EQ(first->value(2).toInt(), o.knownCode);
    EXPECT_EQ(first->value(5).toInt(), 2);
    EXPECT_EQ(first->value(6).toInt(), 3);
    EXPECT_EQ(first->value(7).toInt(), 1);
    // A whole refund empties the balance, a part refund leaves the rest.
    const auto whole = db::firstRow(d, QStringLiteral("SELECT TIK_ESTERDAD, AMOUNT_RAD, AMOUNT_MANDEH, TAFSILI FROM SEP_DAR WHERE MY = 1409 AND SEPNO = 102"));
    EXPECT_EQ(whole->value(0).toInt(), 1);
    EXPECT_EQ(whole->value(1).toLongLong(), 1'000'000);
    EXPECT_EQ(whole->value(2).toLongLong(), 0);
    EXPECT_EQ(whole->value(3).toInt(), o.anotherCode);
    const auto part = db::firstRow(d, QStringLiteral("SELECT AMOUNT_RAD, AMOUNT_MANDEH, IDX, TAFSILI, PROJNO FROM SEP_DAR WHERE MY = 1409 AND SEPNO = 103"));
    EXPECT_EQ(part->value(0).toLongLong(), 500'000);
    EXPECT_EQ(part->value(1).toLongLong(), 1'500'000);
    EXPECT_EQ(part->value(4).toInt(), 777001);
    const auto refund = db::firstRow(d, QStringLiteral("SELECT h.RADDATE, h.AMOUNT, r.AMOUNT, c.AMOUNT, c.CHKKIND, c.CHKDATE, r.RAD_ROW FROM SEP_RADH h "
                                                       "JOIN SEP_RADR1 r ON r.RAD_IDX = h.RAD_IDX JOIN SEP_RADR2 c ON c.RAD_IDX = h.RAD_IDX WHERE r.SEPIDX = :i")
                                                       .replace(QStringLiteral(":i"), part->value(2).toString()));
    ASSERT_TRUE(refund);
    EXPECT_EQ(refund->value(0).toString(), QStringLiteral("1409/06/01"));
    for (int i : {1, 2, 3})
        EXPECT_EQ(refund->value(i).toLongLong(), 500'000);
    EXPECT_EQ(refund->value(4).toInt(), 1);
    EXPECT_EQ(refund->value(6).toInt(), 1);
    // The two rows of the new identifier share one new owner, named as the sheet says.
    const auto made = db::firstRow(o.session->common(), QStringLiteral("SELECT CODE, NAME FROM TAFSILI WHERE CI = 0 AND NID = '0012345679'"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->value(0).toInt(), o.anotherCode + 1);
    EXPECT_EQ(made->value(1).toString().trimmed(), QStringLiteral("شرکت نمونه سازان"));
    EXPECT_EQ(part->value(3).toInt(), made->value(0).toInt());
    const QList<qint64> after = o.state();
    EXPECT_EQ(after[0] - before[0], 5);
    EXPECT_EQ(after[1] - before[1], 2);
    EXPECT_EQ(after[2] - before[2], 2);
    EXPECT_EQ(after[3] - before[3], 1);
}

struct BadCase {
    const char* what;
    const char* file;
    QList<QStringList> rows;   // as CSV; none: the file's bytes are "garbage"
    const char* expected;
    int row;
};

TEST(DepositImport, RefusedFilesKeepNothing)
{
    const QStringList ok{"1", "1409/02/03", "", "", "", "مالک نو", "888001", "1000", "", "", "", ""};
    auto with = [&](int column, const char* value) {
        QStringList r = ok;
        r[column] = QString::fromUtf8(value);
        return r;
    };
    QStringList missingHeader = Header;
    missingHeader.removeAt(7);
    const BadCase cases[] = {
        {"a file that is no workbook", "a.xlsx", {}, "خطا! در شناسايي فايل اکسل", 0},
        {"an empty sheet", "a.csv", {{}}, "خالي است", 0},
        {"only the titles", "a.csv", {Header}, "رديفي", 0},
        {"a mapped column missing", "a.csv", {missingHeader, ok}, "ستونهاي انتخاب شده در صفحه نيست: مبلغ", 0},
        {"an amount that is no number, after rows that made an owner and a project", "a.csv", {Header, ok, ok, with(7, "12a")}, "مبلغ سپرده «12a» عدد نيست", 4},
        {"an empty amount", "a.csv", {Header, ok, with(7, "")}, "مبلغ سپرده خالي است", 3},
        {"a date that is no date", "a.csv", {Header, ok, with(1, "1409/13/40")}, "تاريخ واريز «1409/13/40» تاريخ نيست", 3},
        {"a refund beyond the deposit", "a.csv", {Header, with(8, "1"), [&] { QStringList r = with(8, "1"); r[10] = "5000"; return r; }()},
         "مبلغ استرداد بيش از مبلغ سپرده است", 3},
        {"a project that is no number", "a.csv", {Header, with(6, "پ12")}, "پروژه «پ12» عدد نيست", 2},
        {"no year or month", "a.csv", {Header, with(1, "")}, "سال سپرده معلوم نيست", 2},
    };
    for (const BadCase& c : cases) {
        Office o;
        const QList<qint64> before = o.state();
        const QString path = c.rows.isEmpty() ? o.file(QString::fromLatin1(c.file), QStringLiteral("garbage"))
                                              : o.file(QString::fromLatin1(c.file), csvOf(c.rows));
        const ImportResult r = o.run(path, fullMapping());
        EXPECT_FALSE(r) << c.what;
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.expected))) << c.what << ": " << r.message.toStdString();
        EXPECT_EQ(r.failedRow, c.row) << c.what;
        if (c.row > 0) {
            EXPECT_TRUE(r.message.startsWith(QStringLiteral("رديف %1 فايل: ").arg(c.row))) << c.what;
        }
        EXPECT_EQ(o.state(), before) << c.what;
    }
}

TEST(DepositImport, DryRunAndStopKeepNothing)
{
    Office o;
    QList<QStringList> rows{Header};
    for (int i = 0; i < 1200; ++i)
        rows << QStringList{QString::number(i + 1), "1409/03/01", "", "", "", QStringLiteral("مالک %1").arg(i % 7), "", "1000", "", "", "", ""};
    const QString path = o.file(QStringLiteral("b.csv"), csvOf(rows));
    const QList<qint64> before = o.state();
    const ImportResult dry = o.run(path, fullMapping(), true);
    ASSERT_TRUE(dry) << dry.message.toStdString();
    EXPECT_EQ(dry.deposits, 1200);
    EXPECT_EQ(dry.ownersCreated, 7);
    EXPECT_EQ(o.state(), before);
    int calls = 0;
    const ImportResult stopped = o.run(path, fullMapping(), false, [&](int) { return ++calls < 2; });
    EXPECT_FALSE(stopped);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(o.state(), before);
}

} // namespace
