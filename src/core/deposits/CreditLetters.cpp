#include "core/deposits/CreditLetters.h"

#include "core/basedata/CodedTable.h"
#include "core/deposits/DepositList.h"
#include "core/startup/Rights.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>
#include <cmath>

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

const basedata::CodedTable& noticesTable()
{
    static const basedata::CodedTable t{db::Store::Deposits, QStringLiteral("BESTANKARI"), QStringLiteral("IDXNO"), false};
    return t;
}

qint64 rials(const QVariant& v) { return std::llround(v.toDouble()); }
QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); }

const QString deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
const QString inRequests = QStringLiteral("اين اعلاميه بستانکاري در درخواست هاي وجه خزانه آمده است و حذف نمي شود");

// The deposits register's write level and the user's bit on its entry.
bool mayChange(startup::Session& session, int bit, startup::Prompt& prompt)
{
    if (!ReceivedDeposits(session).mayWrite(prompt))
        return false;
    QString refusal;
    if (!startup::mayUse(session, DepositsMenuId, bit, &refusal)) {
        prompt.info(refusal);
        return false;
    }
    return true;
}

QStringList reportHead(const startup::Session& session, const QString& title)
{
    return {QStringLiteral("سازمان امور اقتصادي و دارايي استان ") + session.office().province, title};
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

QStringList noticeOrderTexts()
{
    return {QStringLiteral("رديف"), QStringLiteral("تاريخ بستانکاري"), QStringLiteral("تاريخ نامه ارسالي")};
}

CreditNotices::CreditNotices(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

db::Fetched<qint64> CreditNotices::proposedIdx() const { return basedata::nextCode(session_, noticesTable()); }

db::Fetched<CreditNotice> CreditNotices::read(int idx) const
{
    return basedata::readAs<CreditNotice>(session_, noticesTable(), idx, [idx](const QSqlRecord& r) {
        const auto text = [&r](const char* f) { return r.value(QString::fromLatin1(f)).toString().trimmed(); };
        CreditNotice n;
        n.idx = idx;
        n.creditNo = text("BESNO");
        n.creditDate = text("BESDATE");
        n.creditLetterNo = text("BESLETTERNO");
        n.creditLetterDate = text("BESLETTERDATE");
        n.amount = rials(r.value(QStringLiteral("BESAMOUNT")));
        n.bank = r.value(QStringLiteral("BANK")).toInt();
        n.letterNo = text("ERSALLETTERNO");
        n.letterDate = text("ERSALLETTERDATE");
        n.requested = rials(r.value(QStringLiteral("PARAMOUNT")));
        n.status = r.value(QStringLiteral("STATUS")).toInt();
        n.sentCount = r.value(QStringLiteral("DEPNUM")).toInt();
        n.requestedCount = r.value(QStringLiteral("DEPPARNUM")).toInt();
        n.year = r.value(QStringLiteral("Y")).toInt();
        n.month = r.value(QStringLiteral("M")).toInt();
        return n;
    });
}

std::optional<int> CreditNotices::save(const CreditNotice& n, bool insert, startup::Prompt& prompt)
{
    if (writer_ == Writer::User && !mayChange(session_, insert ? startup::AccessInsert : startup::AccessEditOwn, prompt))
        return std::nullopt;
    QVariantMap values{{QStringLiteral("BESNO"), n.creditNo.trimmed()}, {QStringLiteral("BESLETTERNO"), n.creditLetterNo.trimmed()},
                       {QStringLiteral("BESAMOUNT"), double(n.amount)},   {QStringLiteral("BANK"), n.bank},
                       {QStringLiteral("ERSALLETTERNO"), n.letterNo.trimmed()}};
    const struct {
        const char* column;
        const QString& text;
        const char* caption;
    } dates[] = {{"BESDATE", n.creditDate, "تاريخ بستانکاري"},
                 {"BESLETTERDATE", n.creditLetterDate, "تاريخ نامه بستانکاري"},
                 {"ERSALLETTERDATE", n.letterDate, "تاريخ نامه صورت ريز ارسالي"}};
    for (const auto& d : dates) {
        QString stored;
        if (!d.text.trimmed().isEmpty()) {
            const std::optional<QString> s = basedata::storedDate(d.text);
            if (!s) {
                prompt.info(QString::fromUtf8(d.caption) + QStringLiteral(" درست نيست: ") + d.text.trimmed());
                return std::nullopt;
            }
            stored = *s;
        }
        values.insert(QString::fromLatin1(d.column), stored);
    }
    if (n.amount < 0) {
        prompt.info(QStringLiteral("پيکره واريزي نمي تواند منفي باشد"));
        return std::nullopt;
    }
    if (n.bank > 0) {
        const auto pooling = db::scalar(session_.deposits(), QStringLiteral("SELECT COUNT(*) FROM BankHa WHERE CODE = :b AND KIND = 3"),
                                        {{QStringLiteral(":b"), n.bank}});
        if (!pooling || pooling->toLongLong() == 0) {
            prompt.info(pooling.failed() ? pooling.error() : QStringLiteral("حساب تمرکز وجوه سپرده خزانه يافت نشد: ") + QString::number(n.bank));
            return std::nullopt;
        }
    }
    basedata::RegisterRules rules;
    rules.table = noticesTable();
    rules.missing = QStringLiteral("اعلاميه بستانکاري يافت نشد: ");
    const std::optional<qint64> saved = basedata::saveRecord(session_, rules, n.idx, values, insert, prompt);
    if (!saved)
        return std::nullopt;
    return int(*saved);
}

bool CreditNotices::remove(int idx, startup::Prompt& prompt)
{
    if (writer_ == Writer::User && !mayChange(session_, startup::AccessDelete, prompt))
        return false;
    basedata::RegisterRules rules;
    rules.table = noticesTable();
    rules.deleteQuestion = deleteQuestion;
    rules.missing = QStringLiteral("اعلاميه بستانکاري يافت نشد: ");
    // Asked before the question and again inside the work, so that a request that
    // takes the notice meanwhile still stops the delete.
    rules.refusal = [](db::UnitOfWork& w, qint64 code) -> std::optional<QString> {
        const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_REQR WHERE BESIDX = :i"), {{QStringLiteral(":i"), code}});
        if (!n) {
            w.fail(n.failed() ? n.error() : QStringLiteral("خواندن اطلاعات انجام نشد"));
            return std::nullopt;
        }
        return n->toLongLong() > 0 ? std::optional<QString>(inRequests) : std::nullopt;
    };
    rules.removeSatellites = [](db::UnitOfWork& w, qint64 code) {
        return w.update(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("ELAMBESIDX = 0, TIKBESTANKARI = '0'"),
                        QStringLiteral("ELAMBESIDX = :i"), {{QStringLiteral(":i"), code}});
    };
    return basedata::removeRecord(session_, rules, idx, prompt);
}

db::Fetched<NoticeCounts> CreditNotices::counts(int idx) const
{
    const QVariantMap at{{QStringLiteral(":i"), idx}};
    const auto received = db::firstRow(session_.deposits(), QStringLiteral("SELECT COUNT(*), SUM(AMOUNT) FROM SEP_DAR WHERE ELAMBESIDX = :i"), at);
    const auto requested = db::firstRow(session_.deposits(), QStringLiteral("SELECT COUNT(*), SUM(AMOUNT) FROM SEP_REQR WHERE BESIDX = :i"), at);
    if (!received || !requested)
        return db::Fetched<NoticeCounts>::failure(!received ? received.error() : requested.error());
    NoticeCounts c;
    c.deposits = received->value(0).toLongLong();
    c.depositsAmount = rials(received->value(1));
    c.requests = requested->value(0).toLongLong();
    c.requestsAmount = rials(requested->value(1));
    return db::Fetched<NoticeCounts>::found(c);
}

db::Fetched<QList<QPair<int, QString>>> CreditNotices::poolingAccounts() const
{
    using Result = db::Fetched<QList<QPair<int, QString>>>;
    QSqlQuery q(session_.deposits());
    if (!q.exec(QStringLiteral("SELECT CODE, NAME FROM BankHa WHERE KIND = 3 ORDER BY CODE")))
        return Result::failure(q.lastError().text());
    QList<QPair<int, QString>> accounts;
    while (q.next())
        accounts.append({q.value(0).toInt(), q.value(1).toString().trimmed()});
    return Result::found(accounts);
}

db::Fetched<io::ReportModel> CreditNotices::balanceReport(std::vector<io::ReportSignature> signatures) const
{
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    // One pass over the deposits: ELAMBESIDX has no index to serve a look-up per notice.
    if (!q.exec(QStringLiteral("SELECT b.IDXNO, b.BESNO, b.BESDATE, b.BESAMOUNT, p.PAID FROM BESTANKARI b LEFT JOIN "
                               "(SELECT ELAMBESIDX, SUM(AMOUNT_RAD) AS PAID FROM SEP_DAR WHERE ELAMBESIDX > 0 GROUP BY ELAMBESIDX) p "
                               "ON p.ELAMBESIDX = b.IDXNO ORDER BY b.Y, b.M, b.IDXNO")))
        return db::Fetched<io::ReportModel>::failure(q.lastError().text());
    io::ReportModel m;
    m.titleLines = reportHead(session_, QStringLiteral("مانده و پرداختي هر بستانکاري"));
    m.signatures = std::move(signatures);
    m.columns = {{QStringLiteral("رديف"), 0.6, io::CellFormat::Integer, false},
                 {QStringLiteral("شماره"), 1.0, io::CellFormat::Text, false},
                 {QStringLiteral("تاريخ"), 1.0, io::CellFormat::JalaliDate, false},
                 {QStringLiteral("پيکره واريزي "), 1.5, io::CellFormat::Amount, true},
                 {QStringLiteral("پرداختي "), 1.5, io::CellFormat::Amount, true},
                 {QStringLiteral("مانده پيکره  "), 1.5, io::CellFormat::Amount, true}};
    m.wordsColumn = 5;
    while (q.next()) {
        const qint64 total = rials(q.value(3));
        const qint64 paid = rials(q.value(4));
        m.addRow({QString::number(q.value(0).toInt()), q.value(1).toString().trimmed(), q.value(2).toString().trimmed(), amountText(total),
                  amountText(paid), amountText(total - paid)},
                 {0, 0, 0, double(total), double(paid), double(total - paid)});
    }
    return db::Fetched<io::ReportModel>::found(m);
}

db::Fetched<io::ReportModel> CreditNotices::historyReport(int idx, std::vector<io::ReportSignature> signatures) const
{
    const db::Fetched<CreditNotice> notice = read(idx);
    if (!notice)
        return db::Fetched<io::ReportModel>::failure(notice.failed() ? notice.error() : QStringLiteral("اعلاميه بستانکاري يافت نشد: ") + QString::number(idx));
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q,
                          QStringLiteral("SELECT d.SEPNO, d.SEPDATE, d.AMOUNT, d.TAFSILI, "
                                         "(SELECT SUM(r.AMOUNT) FROM SEP_REQR r WHERE r.SEPIDX = d.IDX), "
                                         "(SELECT COUNT(r.AMOUNT) FROM SEP_REQR r WHERE r.SEPIDX = d.IDX) "
                                         "FROM SEP_DAR d WHERE d.ELAMBESIDX = :i ORDER BY d.SEPDATE, d.SEPNO, d.IDX"),
                          {{QStringLiteral(":i"), idx}}, &why))
        return db::Fetched<io::ReportModel>::failure(why);
    if (!q.exec())
        return db::Fetched<io::ReportModel>::failure(q.lastError().text());
    io::LookupTable owners;
    for (const io::ListField& c : receivedDepositsList().columns) {
        if (c.title == QLatin1String("صاحب سپرده") && c.lookup)
            owners = c.lookup(session_);
    }
    io::ReportModel m;
    m.titleLines = reportHead(session_, QStringLiteral("سوابق بستانکاري"));
    m.titleLines << QStringLiteral("شماره بستانکاري ") + notice->creditNo + QStringLiteral("   تاريخ ") + io::isolateLtr(notice->creditDate)
                        + QStringLiteral("   پيکره واريزي ") + amountText(notice->amount);
    m.signatures = std::move(signatures);
    m.columns = {{QStringLiteral("رديف"), 0.5, io::CellFormat::Integer, false},
                 {QStringLiteral("شماره قبض"), 0.9, io::CellFormat::Integer, false},
                 {QStringLiteral("تاريخ قبض"), 1.0, io::CellFormat::JalaliDate, false},
                 {QStringLiteral("مبلغ سپرده"), 1.4, io::CellFormat::Amount, true},
                 {QStringLiteral("پيمانکار"), 2.2, io::CellFormat::Text, false},
                 {QStringLiteral("جمع درخواست"), 1.4, io::CellFormat::Amount, true},
                 {QStringLiteral("تعداد درخواست"), 0.8, io::CellFormat::Integer, true},
                 {QStringLiteral("مانده درخواست نشده"), 1.4, io::CellFormat::Amount, true}};
    m.wordsColumn = 3;
    int row = 0;
    while (q.next()) {
        const qint64 amount = rials(q.value(2));
        const qint64 requested = rials(q.value(4));
        const qint64 count = q.value(5).toLongLong();
        const qint64 sepNo = q.value(0).toLongLong();
        m.addRow({QString::number(++row), sepNo ? QString::number(sepNo) : QString(), q.value(1).toString().trimmed(), amountText(amount),
                  owners.value(q.value(3).toInt()), amountText(requested), QString::number(count), amountText(amount - requested)},
                 {0, 0, 0, double(amount), 0, double(requested), double(count), double(amount - requested)});
    }
    return db::Fetched<io::ReportModel>::found(m);
}

QString noticeNumberPattern(const QString& typed)
{
    const QString word = typed.trimmed();
    if (word.isEmpty())
        return {};
    QString p(QLatin1Char('%'));
    for (QChar c : word) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            p += QLatin1Char('\\');
        p += c;
    }
    return p + QLatin1Char('%');
}

io::ListDefinition creditLettersList(NoticeOrder order)
{
    using io::CellFormat;
    io::ListDefinition d;
    d.name = QStringLiteral("credit-letters");
    d.title = QStringLiteral("اعلاميه هاي بستانكاري و اطلاعات مربوطه ");
    d.database = io::ListDatabase::Deposits;
    const QString by = order == NoticeOrder::CreditDate ? QStringLiteral("BESDATE, IDXNO")
        : order == NoticeOrder::LetterDate              ? QStringLiteral("ERSALLETTERDATE, IDXNO")
                                                        : QStringLiteral("Y, M, IDXNO");
    d.sql = QStringLiteral("SELECT * FROM BESTANKARI WHERE (:No = '' OR BESNO LIKE :No ESCAPE '\\') AND (:Date = '' OR BESDATE = :Date)\nORDER BY ") + by;
    d.parameters = {{QStringLiteral(":No"), QString()}, {QStringLiteral(":Date"), QString()}};
    d.columns = {io::dataField(QStringLiteral("IDXNO"), QStringLiteral("ش رديف"), 60, CellFormat::Integer),
                 io::dataField(QStringLiteral("Y"), QStringLiteral("سال"), 50, CellFormat::Integer),
                 io::dataField(QStringLiteral("M"), QStringLiteral("ماه"), 40, CellFormat::Integer),
                 io::dataField(QStringLiteral("BESNO"), QStringLiteral("شماره بستانكاري خزانه"), 100),
                 io::dataField(QStringLiteral("BESDATE"), QStringLiteral("تاريخ بستانكاري"), 80, CellFormat::JalaliDate),
                 io::dataField(QStringLiteral("BESAMOUNT"), QStringLiteral("پيكره واريزي"), 120, CellFormat::Amount, true),
                 io::dataField(QStringLiteral("BESLETTERNO"), QStringLiteral("شماره نامه بستانكاري"), 100),
                 io::dataField(QStringLiteral("BESLETTERDATE"), QStringLiteral("تاريخ نامه بستانكاري"), 80, CellFormat::JalaliDate),
                 io::dataField(QStringLiteral("ERSALLETTERNO"), QStringLiteral("ش نامه ذيحسابي"), 110),
                 io::dataField(QStringLiteral("ERSALLETTERDATE"), QStringLiteral("تاريخ نامه صورت ريز ارسالي"), 80, CellFormat::JalaliDate),
                 io::dataField(QStringLiteral("PARAMOUNT"), QStringLiteral("مبلغ درخواستي"), 120, CellFormat::Amount, true),
                 io::dataField(QStringLiteral("STATUS"), QStringLiteral("کد وضعيت"), 50, CellFormat::Integer),
                 io::dataField(QStringLiteral("DEPNUM"), QStringLiteral("ارسال شده"), 60, CellFormat::Integer, true),
                 io::dataField(QStringLiteral("DEPPARNUM"), QStringLiteral("درخواست شده"), 60, CellFormat::Integer, true)};
    d.keyField = QStringLiteral("IDXNO");
    d.historyTable = QStringLiteral("BESTANKARI");
    d.historyKey = {QStringLiteral("IDXNO")};
    return d;
}

} // namespace orvak::deposits
