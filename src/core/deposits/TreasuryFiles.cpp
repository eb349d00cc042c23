#include "core/deposits/TreasuryFiles.h"

#include "core/deposits/Deposit.h"
#include "core/deposits/DepositFilter.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/FundRequests.h"
#include "core/io/SheetFill.h"
#include "core/startup/Session.h"
#include "core/util/AtomicFile.h"
#include "core/util/CodePage1256.h"
#include "core/util/Jalali.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace orvak::deposits {

namespace {

QString s(const char* utf8) { return QString::fromUtf8(utf8); }
QString num(qint64 v) { return QString::number(v); }

// The bare text of a kind (the request file's layout 2 leaves kinds above 25 empty).
QString kindText(int kind)
{
    for (const DepositKind& k : depositKinds()) {
        if (k.code == kind)
            return k.text;
    }
    return {};
}

QString sixCharacterDate(const QString& date)
{
    const auto d = date.size() == 10 ? util::parseJalali(date) : std::nullopt;
    if (!d)
        return {};
    return d->toCompactText().mid(2);
}

// A name safe in a file name (a request number may hold "/").
QString namePart(const QString& text)
{
    QString out = text.trimmed();
    for (QChar& c : out) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('-');
    }
    return out;
}

// Names and identifiers of the section's detail accounts and contracts, each read once.
class Lookups {
public:
    Lookups(startup::Session& session)
        : db_(session.common()), ci_(session.SectionCode().toInt())
    {
    }
    bool owner(int code, QString* name, QString* nid, QString* why)
    {
        if (code <= 0) {
            name->clear();
            nid->clear();
            return true;
        }
        auto it = owners_.constFind(code);
        if (it == owners_.cend()) {
            const auto r = db::firstRow(db_, QStringLiteral("SELECT NAME, NID FROM TAFSILI WHERE CODE = :C AND CI = :CI"),
                                        {{QStringLiteral(":C"), code}, {QStringLiteral(":CI"), ci_}});
            if (r.failed()) {
                *why = r.error();
                return false;
            }
            it = owners_.insert(code, r ? std::pair{r->value(0).toString().trimmed(), r->value(1).toString().trimmed()} : std::pair<QString, QString>{});
        }
        *name = it->first;
        *nid = it->second;
        return true;
    }
    bool contract(int code, QString* number, QString* why)
    {
        if (code <= 0) {
            *number = QStringLiteral("0");
            return true;
        }
        auto it = contracts_.constFind(code);
        if (it == contracts_.cend()) {
            const auto r = db::scalar(db_, QStringLiteral("SELECT PAYMENTNO FROM PAYMENTS WHERE CODE = :C AND CI = :CI"),
                                      {{QStringLiteral(":C"), code}, {QStringLiteral(":CI"), ci_}});
            if (r.failed()) {
                *why = r.error();
                return false;
            }
            const QString no = r ? r->toString().trimmed() : QString();
            it = contracts_.insert(code, no.isEmpty() ? QStringLiteral("0") : no);
        }
        *number = *it;
        return true;
    }

private:
    QSqlDatabase db_;
    int ci_;
    QHash<int, std::pair<QString, QString>> owners_;
    QHash<int, QString> contracts_;
};

QString creditFilled(const QString& no)
{
    const QString t = no.trimmed();
    return t.isEmpty() || t == QLatin1String("0") ? QStringLiteral("11111111") : t;
}

bool folderMissing(const QString& folder)
{
    const QFileInfo f(folder);
    return folder.trimmed().isEmpty() || !f.exists() || !f.isDir();
}

QString unencodableText(const QString& chars, int row)
{
    return QStringLiteral("نويسه هاي «%1» در رديف %2 در کدپيج 1256 (ويندوز فارسي) کدي ندارند؛ فايل نوشته نشد").arg(chars).arg(row);
}

} // namespace

QStringList listAmountTexts()
{
    return {s("مبلغ  قبض  قبض سپرده"), s("مبلغ  کل سپرده"), s("مبلغ مانده پرداخت نشده سپرده"), s("مبلغ سپرده هاي درخواست نشده")};
}

QString noLayoutText() { return s("ابتدا قالب فايل را انتخاب کنيد"); }
QString noLetterNoText() { return s("شماره نامه وارد نشده است"); }
QString noFolderText() { return s(" مسير وجود ندارد "); }
QString fileCreatedText() { return s("فايل در مسير انتخابي ايجاد شد"); }
QString listFileCreatedText() { return s(" فايل ايجاد شد "); }
QString emptyRequestText() { return s("درخواست وجه رديفي ندارد؛ فايل نوشته نشد"); }
QString emptyListText() { return s("در دوره انتخابي سپرده اي براي نوشتن در فايل نيست؛ فايل نوشته نشد"); }

QString treasuryPath(const QString& folder, const QString& fileName)
{
    // Either separator, whatever the system's.
    QString f = QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (f.isEmpty())
        return fileName;
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f + fileName;
}

QString defaultSendFolder(const QString& startDir) { return QDir(startDir).filePath(QStringLiteral("Send")); }

QString defaultRequestFileName(int layout, const QString& date, const QString& reqNo)
{
    const QString y = date.mid(0, 4), m = date.mid(5, 2), d = date.mid(8, 2);
    switch (layout) {
    case 1: return QStringLiteral("DETAILHL.DBF");
    case 2: return QStringLiteral("S_") + y + QLatin1Char('_') + m + QLatin1Char('_') + d + QStringLiteral(".TXT");
    case 3:
    case 4: return QStringLiteral("Esterdad.TXT");
    case 5: return QStringLiteral("DAR.CSV");
    case 7: return QStringLiteral("DARKHAST-") + y + QLatin1Char('-') + m + QStringLiteral(".TXT");
    case 8: return QStringLiteral("DARKHAST-") + namePart(reqNo) + QLatin1Char('_') + y + QLatin1Char('-') + m + QStringLiteral(".TXT");
    default: return {};
    }
}

QString defaultListFileName(int layout, int year, int month, const QString& agencyCode, const QString& fileDate)
{
    const QString y = QString::number(year), m = QString::number(month).rightJustified(2, QLatin1Char('0'));
    switch (layout) {
    case 1: return QStringLiteral("DETAILHL.DBF");
    case 2:
        return QStringLiteral("V_") + namePart(agencyCode) + QLatin1Char('_') + y + QLatin1Char('_') + m + QLatin1Char('_') + fileDate.mid(8, 2) +
               QStringLiteral(".TXT");
    case 3:
    case 4: return QStringLiteral("Daryaft.TXT");
    case 5: return QStringLiteral("ERSAL.CSV");
    case 7:
    case 8: return QStringLiteral("ERSALI-") + y + QLatin1Char('-') + m + QStringLiteral(".TXT");
    default: return {};
    }
}

QList<io::DbaseField> treasuryDbaseFields()
{
    return {{QStringLiteral("BESTNO"), 'N', 6, 0},   {QStringLiteral("SERIAL"), 'N', 20, 4},  {QStringLiteral("RIZNO"), 'C', 6, 0},
            {QStringLiteral("RIZDATE"), 'C', 6, 0},  {QStringLiteral("RIZDEP"), 'N', 20, 4},  {QStringLiteral("REMARK"), 'C', 25, 0},
            {QStringLiteral("KHBESTNO"), 'N', 6, 0}, {QStringLiteral("KHSERIAL"), 'N', 20, 4}, {QStringLiteral("DEPSLIP"), 'C', 9, 0},
            {QStringLiteral("DEPDATE"), 'C', 6, 0}};
}

QStringList treasurySheetColumns()
{
    return {QStringLiteral("radif_bodjeh"), QStringLiteral("sepordehgozar"), QStringLiteral("sepordeh_type"),
            QStringLiteral("mozoo"),        QStringLiteral("ghabz_no"),      QStringLiteral("ghabz_date"),
            QStringLiteral("bestan_no"),    QStringLiteral("bestankar"),     QStringLiteral("bedehkar")};
}

TreasuryFiles::TreasuryFiles(startup::Session& session)
    : session_(session)
{
}

db::Fetched<TreasuryContent> TreasuryFiles::requestContent(const RequestFileInput& input) const
{
    using Result = db::Fetched<TreasuryContent>;
    const auto header = FundRequests(session_).read(input.reqIdx);
    if (!header)
        return header.failed() ? Result::failure(header.error()) : Result::none();
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q,
                          QStringLiteral("SELECT r.*, d.SEPKIND AS DEPKIND, b.BESLETTERNO AS BLNO, b.BESLETTERDATE AS BLDATE, b.BESAMOUNT AS BAMOUNT "
                                         "FROM SEP_REQR r LEFT JOIN SEP_DAR d ON d.IDX = r.SEPIDX LEFT JOIN BESTANKARI b ON b.IDXNO = r.BESIDX "
                                         "WHERE r.REQ_IDX = :R ORDER BY r.REQ_IDX, r.REQ_ROW"),
                          {{QStringLiteral(":R"), input.reqIdx}}, &why) ||
        !q.exec())
        return Result::failure(why.isEmpty() ? q.lastError().text() : why);

    const startup::OfficeData& office = session_.office();
    TreasuryContent c;
    Lookups look(session_);
    const QString agency = input.agencyCode.trimmed();
    const int cReqRow = q.record().indexOf(QStringLiteral("REQ_ROW"));
    const int cOwner = q.record().indexOf(QStringLiteral("TAFSILNO"));
    const int cContract = q.record().indexOf(QStringLiteral("PAYMANNO"));
    const int cFishNo = q.record().indexOf(QStringLiteral("FISHNO"));
    const int cFishDate = q.record().indexOf(QStringLiteral("FISHDATE"));
    const int cFishAmount = q.record().indexOf(QStringLiteral("FISHAMOUNT"));
    const int cErsalRow = q.record().indexOf(QStringLiteral("ERSAL_ROW"));
    const int cBesNo = q.record().indexOf(QStringLiteral("BESTANKARINO"));
    const int cBesDate = q.record().indexOf(QStringLiteral("BESTANKARIDATE"));
    const int cAmount = q.record().indexOf(QStringLiteral("AMOUNT"));
    const int cKind = q.record().indexOf(QStringLiteral("DEPKIND"));
    const int cLetterNo = q.record().indexOf(QStringLiteral("BLNO"));
    const int cLetterDate = q.record().indexOf(QStringLiteral("BLDATE"));
    const int cBesAmount = q.record().indexOf(QStringLiteral("BAMOUNT"));
    while (q.next()) {
        TreasuryRecord r;
        QString owner, nid, contract;
        if (!look.owner(q.value(cOwner).toInt(), &owner, &nid, &why) || !look.contract(q.value(cContract).toInt(), &contract, &why))
            return Result::failure(why);
        const qint64 amount = rialsOf(q.value(cAmount));
        const QString besNo = q.value(cBesNo).toString().trimmed();
        const QString fishNo = num(q.value(cFishNo).toLongLong());
        const QString fishDate = q.value(cFishDate).toString().trimmed();
        const int kind = q.value(cKind).toInt();
        r.insert(QStringLiteral("REQ_ROW"), num(q.value(cReqRow).toInt()));
        r.insert(QStringLiteral("FISHNO"), fishNo);
        r.insert(QStringLiteral("FISHDATE"), fishDate);
        r.insert(QStringLiteral("FISHAMOUNT"), num(rialsOf(q.value(cFishAmount))));
        r.insert(QStringLiteral("ERSAL_ROW"), num(q.value(cErsalRow).toInt()));
        r.insert(QStringLiteral("BESTANKARINO"), besNo);
        r.insert(QStringLiteral("BESTANKARIDATE"), q.value(cBesDate).toString().trimmed());
        r.insert(QStringLiteral("CREDITNO_FILLED"), creditFilled(besNo));
        r.insert(QStringLiteral("BESLETTERNO"), q.value(cLetterNo).toString().trimmed());
        r.insert(QStringLiteral("BESLETTERDATE"), q.value(cLetterDate).toString().trimmed());
        r.insert(QStringLiteral("BESAMOUNT"), num(rialsOf(q.value(cBesAmount))));
        r.insert(QStringLiteral("AMOUNT"), num(amount));
        r.insert(QStringLiteral("OWNER"), owner);
        r.insert(QStringLiteral("NID"), nid);
        r.insert(QStringLiteral("KIND"), kind > 25 ? QString() : kindText(kind));
        r.insert(QStringLiteral("KINDTEXT"), kindText(kind));
        r.insert(QStringLiteral("CONTRACTNO"), contract);
        r.insert(QStringLiteral("AGENCY"), agency);
        r.insert(QStringLiteral("AGENCYROW"), office.agencyRow);
        // What the dBASE table and the workbook take, named alike for both files.
        r.insert(QStringLiteral("SERIAL"), r.value(QStringLiteral("REQ_ROW")));
        r.insert(QStringLiteral("RECEIPTNO"), fishNo);
        r.insert(QStringLiteral("RECEIPTDATE"), fishDate);
        r.insert(QStringLiteral("RECEIPTAMOUNT"), r.value(QStringLiteral("FISHAMOUNT")));
        r.insert(QStringLiteral("CREDITNUMBER"), besNo);
        c.sum += amount;
        c.rows << r;
    }
    if (q.lastError().isValid())
        return Result::failure(q.lastError().text());

    const QString date = input.date.trimmed();
    c.head = {{QStringLiteral("AGENCY"), agency},
              {QStringLiteral("YEAR"), date.mid(0, 4)},
              {QStringLiteral("MONTH"), date.mid(5, 2)},
              {QStringLiteral("DAY"), date.mid(8, 2)},
              {QStringLiteral("TODAY"), session_.clock().todayJalali()},
              {QStringLiteral("REQDATE"), date},
              {QStringLiteral("REQNO"), header->reqNo},
              {QStringLiteral("REFUNDACC"), office.refundBankAccount.trimmed()},
              {QStringLiteral("SUM"), num(c.sum)},
              {QStringLiteral("COUNT"), num(c.count())}};
    return Result::found(c);
}

db::Fetched<TreasuryContent> TreasuryFiles::listContent(const ListFileInput& input) const
{
    using Result = db::Fetched<TreasuryContent>;
    const TreasuryLayout* layout = listLayout(input.layout);
    DepositFilter filter;
    filter.mode = input.upToMonth ? PeriodMode::Cumulative : PeriodMode::OneMonth;
    filter.year = input.year;
    filter.month = input.month;
    if (!layout || layout->confirmedOnly)
        filter.confirmation = Confirmation::Confirmed;
    const FilterSql sql = listedSql(filter, QStringLiteral("SELECT SEP_DAR.*, (SELECT BESNO FROM BESTANKARI WHERE IDXNO = SEP_DAR.ELAMBESIDX) AS CREDITNO, "
                                                           "(SELECT COALESCE(SUM(AMOUNT), 0) FROM SEP_REQR WHERE SEPIDX = SEP_DAR.IDX) AS REQUESTED FROM SEP_DAR"));
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, sql.where, sql.binds, &why) || !q.exec())
        return Result::failure(why.isEmpty() ? q.lastError().text() : why);

    const startup::OfficeData& office = session_.office();
    const QString agency = input.agencyCode.trimmed();
    TreasuryContent c;
    Lookups look(session_);
    const int cCredit = q.record().indexOf(QStringLiteral("CREDITNO"));
    const int cRequested = q.record().indexOf(QStringLiteral("REQUESTED"));
    while (q.next()) {
        const QSqlRecord rec = q.record();
        const Deposit d = depositFrom(rec);
        QString owner, nid, contract;
        if (!look.owner(d.tafsili, &owner, &nid, &why) || !look.contract(d.payment, &contract, &why))
            return Result::failure(why);
        qint64 amount = d.amount;
        switch (input.amount) {
        case ListAmount::Receipt:
        case ListAmount::Total: break;
        case ListAmount::Balance: amount = d.amountMandeh; break;
        case ListAmount::NotRequested: amount = std::max<qint64>(0, d.amount - rialsOf(q.value(cRequested))); break;
        }
        QString credit = q.value(cCredit).toString().trimmed();
        if (credit.isEmpty() && d.besNo > 0)
            credit = num(d.besNo);
        TreasuryRecord r;
        r.insert(QStringLiteral("SEPROW"), num(d.sepRow));
        r.insert(QStringLiteral("SEPNO"), num(d.sepNo));
        r.insert(QStringLiteral("SEPDATE"), d.sepDate.trimmed());
        r.insert(QStringLiteral("AMOUNT"), num(amount));
        r.insert(QStringLiteral("CHKNO"), num(d.chkNo));
        r.insert(QStringLiteral("CHKDATE"), d.chkDate.trimmed());
        r.insert(QStringLiteral("OWNER"), owner);
        r.insert(QStringLiteral("OWNER_OR_UNKNOWN"), owner.isEmpty() ? s("پيمانکار نامشخص") : owner);
        r.insert(QStringLiteral("NID"), nid);
        r.insert(QStringLiteral("KIND"), kindText(d.sepKind));
        r.insert(QStringLiteral("KINDTEXT"), kindText(d.sepKind));
        r.insert(QStringLiteral("CONTRACTNO"), contract);
        r.insert(QStringLiteral("CREDITNO_FILLED"), creditFilled(credit));
        r.insert(QStringLiteral("CITY"), office.city.trimmed());
        r.insert(QStringLiteral("OFFICENAME"), office.officeName.trimmed());
        r.insert(QStringLiteral("AGENCYROW"), office.agencyRow.trimmed());
        r.insert(QStringLiteral("AGENCY"), agency);
        r.insert(QStringLiteral("SERIAL"), num(d.sepRow));
        r.insert(QStringLiteral("RECEIPTNO"), num(d.sepNo));
        r.insert(QStringLiteral("RECEIPTDATE"), d.sepDate.trimmed());
        r.insert(QStringLiteral("RECEIPTAMOUNT"), num(amount));
        r.insert(QStringLiteral("CREDITNUMBER"), credit);
        c.sum += amount;
        c.rows << r;
    }
    if (q.lastError().isValid())
        return Result::failure(q.lastError().text());
    c.head = {{QStringLiteral("AGENCY"), agency},
              {QStringLiteral("YEAR"), num(input.year)},
              {QStringLiteral("MONTH"), num(input.month).rightJustified(2, QLatin1Char('0'))},
              {QStringLiteral("YEARMONTH"), num(input.year) + num(input.month).rightJustified(2, QLatin1Char('0'))},
              {QStringLiteral("PAIDDATE"), input.paidDate.trimmed()},
              {QStringLiteral("FILEDATE"), input.fileDate.trimmed()},
              {QStringLiteral("LETTERNO"), input.letterNo},
              {QStringLiteral("LETTERDATE"), input.letterDate.trimmed()},
              {QStringLiteral("TREASURYACC"), office.treasuryAccount.trimmed()},
              {QStringLiteral("SUM"), num(c.sum)},
              {QStringLiteral("COUNT"), num(c.count())}};
    return Result::found(c);
}

WrittenFile TreasuryFiles::writeRequestFile(const RequestFileInput& input, startup::Prompt& prompt) const
{
    WrittenFile w;
    auto refuse = [&](const QString& text) {
        w.message = text;
        prompt.info(text);
        return w;
    };
    const TreasuryLayout* layout = requestLayout(input.layout);
    if (!layout)
        return refuse(noLayoutText());
    const auto header = FundRequests(session_).read(input.reqIdx);
    if (!header)
        return refuse(header.failed() ? header.error() : QStringLiteral("درخواست وجه با کد %1 يافت نشد").arg(input.reqIdx));
    if (header->reqDate.trimmed().isEmpty() || !util::parseJalali(input.date.trimmed()) || input.date.trimmed().size() != 10)
        return refuse(noRequestDateText());
    if (folderMissing(input.folder))
        return refuse(noFolderText());
    if (input.fileName.trimmed().isEmpty())
        return refuse(s("نام فايل مشخص نشده است"));
    const auto content = requestContent(input);
    if (!content)
        return refuse(content.error());
    if (content->rows.isEmpty())
        return refuse(emptyRequestText());
    return write(*layout, *content, input.folder, input.fileName.trimmed(), true, prompt);
}

WrittenFile TreasuryFiles::writeListFile(const ListFileInput& input, startup::Prompt& prompt) const
{
    WrittenFile w;
    auto refuse = [&](const QString& text) {
        w.message = text;
        prompt.info(text);
        return w;
    };
    const TreasuryLayout* layout = listLayout(input.layout);
    if (!layout)
        return refuse(noLayoutText());
    QString letter = input.letterNo;
    letter.removeIf([](QChar c) { return c.unicode() < 0x20 || c.isSpace(); });
    if (input.layout == 3 && letter.isEmpty())
        return refuse(noLetterNoText());
    if (folderMissing(input.folder))
        return refuse(noFolderText());
    if (input.fileName.trimmed().isEmpty())
        return refuse(s("نام فايل مشخص نشده است"));
    const auto content = listContent(input);
    if (!content)
        return refuse(content.error());
    if (content->rows.isEmpty())
        return refuse(emptyListText());
    return write(*layout, *content, input.folder, input.fileName.trimmed(), false, prompt);
}

WrittenFile TreasuryFiles::write(const TreasuryLayout& layout, const TreasuryContent& content, const QString& folder, const QString& fileName,
                                 bool requestFile, startup::Prompt& prompt) const
{
    WrittenFile w;
    w.path = QDir::cleanPath(treasuryPath(folder, fileName));
    w.count = content.count();
    w.sum = content.sum;
    auto refuse = [&](const QString& text) {
        w.message = text;
        prompt.info(text);
        return w;
    };
    const QString refusal = util::outputRefusal(w.path, {});
    if (!refusal.isEmpty())
        return refuse(refusal);
    const int total = content.count();
    prompt.progress(layout.caption, 0, total);

    QString why;
    switch (layout.kind) {
    case TreasuryFileKind::Text: {
        const TextFile file = writeTextFile(layout.text, content.head, content.rows);
        if (!file.ok())
            return refuse(unencodableText(file.unencodable, file.unencodableLine - int(layout.text.head.size())));
        prompt.progress(layout.caption, total, total);
        if (!util::writeFileAtomically(w.path, file.bytes, &why))
            return refuse(why);
        break;
    }
    case TreasuryFileKind::Dbase: {
        io::DbaseTable table = io::newDbaseTable(treasuryDbaseFields());
        if (QFileInfo::exists(w.path)) {
            QFile f(w.path);
            if (!f.open(QIODevice::ReadOnly))
                return refuse(QStringLiteral("فايل قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(w.path)));
            const auto read = io::readDbaseTable(f.readAll(), &why);
            if (!read)
                return refuse(why + QStringLiteral(": ") + QDir::toNativeSeparators(w.path));
            for (const io::DbaseField& wanted : treasuryDbaseFields()) {
                bool found = false;
                for (const io::DbaseField& have : read->fields)
                    found = found || have.name.compare(wanted.name, Qt::CaseInsensitive) == 0;
                if (!found)
                    return refuse(QStringLiteral("جدول %1 ستون %2 را ندارد").arg(QDir::toNativeSeparators(w.path), wanted.name));
            }
            table = *read;
        }
        QList<QHash<QString, QVariant>> records;
        records.reserve(total);
        for (const TreasuryRecord& r : content.rows) {
            const QString parts = dbaseDateParts(r.value(QStringLiteral("RECEIPTDATE")));
            const QString remark = parts.left(2) + QLatin1Char('/') + parts.mid(2, 2) + QLatin1Char('/') + parts.mid(4, 2) +
                                   QString(11, QLatin1Char(' ')) + r.value(QStringLiteral("RECEIPTNO"));
            const QString credit = r.value(QStringLiteral("CREDITNUMBER"));
            records << QHash<QString, QVariant>{{QStringLiteral("BESTNO"), credit},
                                                {QStringLiteral("SERIAL"), r.value(QStringLiteral("SERIAL"))},
                                                {QStringLiteral("RIZNO"), r.value(QStringLiteral("RECEIPTNO"))},
                                                {QStringLiteral("RIZDATE"), parts},
                                                {QStringLiteral("RIZDEP"), r.value(QStringLiteral("AMOUNT"))},
                                                {QStringLiteral("REMARK"), remark},
                                                {QStringLiteral("KHBESTNO"), credit},
                                                {QStringLiteral("KHSERIAL"), r.value(QStringLiteral("SERIAL"))},
                                                {QStringLiteral("DEPDATE"), parts}};
        }
        const QByteArray bytes = io::writeDbaseTable(table, records, QDate::currentDate(), &why);
        if (bytes.isEmpty())
            return refuse(QStringLiteral("فايل dBASE نوشته نشد: ") + why);
        prompt.progress(layout.caption, total, total);
        if (!util::writeFileAtomically(w.path, bytes, &why))
            return refuse(why);
        break;
    }
    case TreasuryFileKind::Workbook: {
        if (!QFileInfo::exists(w.path))
            return refuse(QStringLiteral("کارپوشه %1 وجود ندارد؛ کارپوشه اي با کاربرگ table1 انتخاب کنيد").arg(QDir::toNativeSeparators(w.path)));
        QList<QVariantList> rows;
        rows.reserve(total);
        for (const TreasuryRecord& r : content.rows) {
            const QString credit = r.value(QStringLiteral("CREDITNUMBER"));
            rows << QVariantList{r.value(QStringLiteral("AGENCYROW")),
                                 r.value(QStringLiteral("OWNER")),
                                 r.value(QStringLiteral("KINDTEXT")),
                                 s("سپرده حسن انجام کار"),
                                 r.value(QStringLiteral("RECEIPTNO")),
                                 sixCharacterDate(r.value(QStringLiteral("RECEIPTDATE"))),
                                 credit,
                                 double(r.value(QStringLiteral("RECEIPTAMOUNT")).toLongLong()),
                                 QVariant()};
        }
        if (!io::fillSheet(w.path, QStringLiteral("table1"), treasurySheetColumns(), rows, &why))
            return refuse(why);
        prompt.progress(layout.caption, total, total);
        break;
    }
    }
    w.done = true;
    w.message = !requestFile && layout.number == 2 ? listFileCreatedText() : fileCreatedText();
    prompt.info(w.message);
    return w;
}

} // namespace orvak::deposits
