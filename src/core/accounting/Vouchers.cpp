#include "core/accounting/Vouchers.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace orvak::accounting {

namespace {

std::optional<int> optionalInt(const QVariant& v)
{
    if (v.isNull() || v.toString().trimmed().isEmpty())
        return std::nullopt;
    return v.toInt();
}

VoucherHead headOf(const QSqlRecord& r)
{
    VoucherHead h;
    h.number = r.value(QStringLiteral("SNDNO")).toInt();
    h.date = r.value(QStringLiteral("SNDDATE")).toString().trimmed();
    h.description = r.value(QStringLiteral("DESCR")).toString().trimmed();
    h.kind = r.value(QStringLiteral("KIND")).toInt();
    h.state = r.value(QStringLiteral("STATE")).toInt();
    h.userId = r.value(QStringLiteral("USERID")).toInt();
    h.reference = r.value(QStringLiteral("ATFSND")).toString().trimmed();
    return h;
}

VoucherRow rowOf(const QSqlRecord& r)
{
    VoucherRow x;
    x.number = r.value(QStringLiteral("SNDNO")).toInt();
    x.row = r.value(QStringLiteral("ROW")).toInt();
    x.kol = r.value(QStringLiteral("KOL")).toInt();
    x.moin = r.value(QStringLiteral("MOIN")).toInt();
    x.tafsil = optionalInt(r.value(QStringLiteral("TAFSIL")));
    x.tafsil2 = optionalInt(r.value(QStringLiteral("TAFSIL2")));
    x.project = optionalInt(r.value(QStringLiteral("PROJEH")));
    x.plan = optionalInt(r.value(QStringLiteral("TARHNO")));
    x.centre = optionalInt(r.value(QStringLiteral("ACCENTER")));
    x.description = r.value(QStringLiteral("DESCR")).toString().trimmed();
    x.debit = rials(r.value(QStringLiteral("BED")));
    x.credit = rials(r.value(QStringLiteral("BES")));
    x.inclusion = r.value(QStringLiteral("REFNO")).toString().trimmed();
    const QVariant chk = r.value(QStringLiteral("CHKNO"));
    if (!chk.isNull())
        x.chequeNo = chk.toLongLong();
    x.chequeDate = r.value(QStringLiteral("CHKDAT")).toString().trimmed();
    x.fundingKind = optionalInt(r.value(QStringLiteral("TAMINKIND")));
    x.account = r.value(QStringLiteral("ACCOUNT")).toString().trimmed();
    return x;
}

template <class T, class Read>
db::Fetched<QList<T>> readAll(QSqlDatabase db, const QString& sql, const QVariantMap& binds, Read read)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString why;
    if (!db.isOpen())
        return db::Fetched<QList<T>>::failure(QStringLiteral("بانک اطلاعاتي باز نيست"));
    if (!db::prepareBound(q, sql, binds, &why))
        return db::Fetched<QList<T>>::failure(why);
    if (!q.exec())
        return db::Fetched<QList<T>>::failure(q.lastError().text());
    QList<T> out;
    while (q.next())
        out << read(q.record());
    if (q.lastError().isValid())
        return db::Fetched<QList<T>>::failure(q.lastError().text());
    return out.isEmpty() ? db::Fetched<QList<T>>::none() : db::Fetched<QList<T>>::found(std::move(out));
}

template <class T, class Make>
db::Fetched<T> oneRow(QSqlDatabase db, const QString& sql, const QVariantMap& binds, Make make)
{
    const db::Fetched<QSqlRecord> r = db::firstRow(db, sql, binds);
    if (r.failed())
        return db::Fetched<T>::failure(r.error());
    if (!r)
        return db::Fetched<T>::none();
    return db::Fetched<T>::found(make(*r));
}

// A voucher number read from an aggregate: none when the table has no such row.
db::Fetched<int> numberFrom(QSqlDatabase db, const QString& sql, const QVariantMap& binds)
{
    const db::Fetched<QVariant> v = db::scalar(db, sql, binds);
    if (v.failed())
        return db::Fetched<int>::failure(v.error());
    if (!v || v->isNull())
        return db::Fetched<int>::none();
    return db::Fetched<int>::found(v->toInt());
}

} // namespace

VoucherRow voucherRowOf(const QSqlRecord& record) { return rowOf(record); }

qint64 rials(const QVariant& v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return qint64(std::llround(v.toDouble()));
    bool ok = false;
    const qint64 whole = v.toLongLong(&ok);
    if (ok)
        return whole;
    return qint64(std::llround(v.toString().toDouble()));
}

qint64 Voucher::debit() const
{
    qint64 sum = 0;
    for (const VoucherRow& r : rows)
        sum += r.debit;
    return sum;
}

qint64 Voucher::credit() const
{
    qint64 sum = 0;
    for (const VoucherRow& r : rows)
        sum += r.credit;
    return sum;
}

int accountingYear(const startup::Session& session)
{
    if (!session.AccountingDbOpen())
        return 0;
    const QString name = session.accountingDbName();
    const qsizetype y = name.lastIndexOf(QLatin1Char('Y'), -1, Qt::CaseInsensitive);
    return y < 0 ? 0 : name.mid(y + 1).toInt();
}

Vouchers::Vouchers(startup::Session& session)
    : session_(session)
{
}

bool Vouchers::available() const { return session_.AccountingDbOpen(); }

QString Vouchers::missingText() const
{
    if (available())
        return {};
    QString name = session_.accountingDbName();
    if (name.isEmpty())
        name = startup::Session::accountingDbNameFor(session_.installationNumber(), session_.SectionCode(), session_.CurrentYear());
    return startup::accountingMissingMessage(name);
}

template <class T>
db::Fetched<T> Vouchers::closed() const
{
    return db::Fetched<T>::none();
}

db::Fetched<VoucherHead> Vouchers::head(int number)
{
    if (!available())
        return closed<VoucherHead>();
    return oneRow<VoucherHead>(session_.accounting(), QStringLiteral("Select * From SNDHEAD Where SndNo=:PSndNo"),
                               {{QStringLiteral(":PSndNo"), number}}, headOf);
}

db::Fetched<QList<VoucherRow>> Vouchers::readRows(const QString& where, const QVariantMap& binds)
{
    if (!available())
        return closed<QList<VoucherRow>>();
    return readAll<VoucherRow>(session_.accounting(), QStringLiteral("Select * From SNDROW Where ") + where + QStringLiteral(" Order By SNDNO, ROW"),
                               binds, rowOf);
}

db::Fetched<QList<VoucherRow>> Vouchers::rows(int number)
{
    return readRows(QStringLiteral("SndNo=:PSndNo"), {{QStringLiteral(":PSndNo"), number}});
}

db::Fetched<Voucher> Vouchers::voucher(int number)
{
    const db::Fetched<VoucherHead> h = head(number);
    if (!h)
        return h.failed() ? db::Fetched<Voucher>::failure(h.error()) : db::Fetched<Voucher>::none();
    const db::Fetched<QList<VoucherRow>> r = rows(number);
    if (r.failed())
        return db::Fetched<Voucher>::failure(r.error());
    return db::Fetched<Voucher>::found(Voucher{*h, r.value_or({})});
}

db::Fetched<int> Vouchers::lastNumber()
{
    if (!available())
        return closed<int>();
    return numberFrom(session_.accounting(), QStringLiteral("SElect Max(SndNo)as MAX_SNDNO From SNDHEAD"), {});
}

db::Fetched<int> Vouchers::firstOnOrAfter(const QString& date)
{
    if (!available())
        return closed<int>();
    return numberFrom(session_.accounting(), QStringLiteral("Select Min(SndNo) From SNDHEAD Where SndDate>=:PDate"),
                      {{QStringLiteral(":PDate"), date}});
}

db::Fetched<int> Vouchers::lastOnOrBefore(const QString& date)
{
    if (!available())
        return closed<int>();
    return numberFrom(session_.accounting(), QStringLiteral("Select Max(SndNo) From SNDHEAD Where SndDate<=:PDate"),
                      {{QStringLiteral(":PDate"), date}});
}

db::Fetched<QList<Voucher>> Vouchers::range(int from, int to)
{
    if (!available())
        return closed<QList<Voucher>>();
    const QVariantMap binds{{QStringLiteral(":PFrom"), from}, {QStringLiteral(":PTo"), to}};
    const auto heads = readAll<VoucherHead>(session_.accounting(),
                                            QStringLiteral("Select * From SNDHEAD Where SndNo>=:PFrom and SndNo<=:PTo Order By SndNo"), binds, headOf);
    if (!heads)
        return heads.failed() ? db::Fetched<QList<Voucher>>::failure(heads.error()) : db::Fetched<QList<Voucher>>::none();
    const auto rows = readRows(QStringLiteral("SndNo>=:PFrom and SndNo<=:PTo"), binds);
    if (rows.failed())
        return db::Fetched<QList<Voucher>>::failure(rows.error());
    QList<Voucher> out;
    out.reserve(heads->size());
    const QList<VoucherRow> all = rows.value_or({});
    qsizetype r = 0;
    // Both reads are in number order: each voucher takes its run of rows.
    for (const VoucherHead& h : *heads) {
        Voucher v{h, {}};
        while (r < all.size() && all[r].number < h.number)
            ++r;
        while (r < all.size() && all[r].number == h.number)
            v.rows << all[r++];
        out << std::move(v);
    }
    return db::Fetched<QList<Voucher>>::found(std::move(out));
}

db::Fetched<Ledger> Vouchers::general(int code)
{
    if (!available())
        return closed<Ledger>();
    return oneRow<Ledger>(session_.accounting(), QStringLiteral("select * From KOL where Code=:PCode"), {{QStringLiteral(":PCode"), code}},
                          [](const QSqlRecord& r) {
                              Ledger l;
                              l.code = l.kol = r.value(QStringLiteral("CODE")).toInt();
                              l.name = r.value(QStringLiteral("NAME")).toString().trimmed();
                              l.nature = r.value(QStringLiteral("MAHIAT")).toInt();
                              return l;
                          });
}

db::Fetched<Ledger> Vouchers::subsidiary(int kol, int code)
{
    if (!available())
        return closed<Ledger>();
    return oneRow<Ledger>(session_.accounting(), QStringLiteral("Select * From Moin Where (Kol=:PKol) and (Code=:PMoin)"),
                          {{QStringLiteral(":PKol"), kol}, {QStringLiteral(":PMoin"), code}}, [](const QSqlRecord& r) {
                              Ledger l;
                              l.kol = r.value(QStringLiteral("KOL")).toInt();
                              l.code = r.value(QStringLiteral("CODE")).toInt();
                              l.name = r.value(QStringLiteral("NAME")).toString().trimmed();
                              l.nature = r.value(QStringLiteral("MAHIAT")).toInt();
                              l.takesDetail = r.value(QStringLiteral("HVTAFSIL")).toInt() == 1;
                              return l;
                          });
}

namespace {

ChartEntry chartEntryOf(const QSqlRecord& r)
{
    return ChartEntry{r.value(QStringLiteral("CODE")).toString().trimmed(), r.value(QStringLiteral("NAME")).toString().trimmed(),
                      r.value(QStringLiteral("PARENT")).toString().trimmed(), r.value(QStringLiteral("KIND")).toInt()};
}

} // namespace

db::Fetched<ChartEntry> Vouchers::chartAccount(const QString& code)
{
    if (!available())
        return closed<ChartEntry>();
    return oneRow<ChartEntry>(session_.accounting(), QStringLiteral("select * From ACCACCOUNT where Code=:PCode"),
                              {{QStringLiteral(":PCode"), code.trimmed()}}, chartEntryOf);
}

db::Fetched<ChartEntry> Vouchers::chartDetail(const QString& code)
{
    if (!available())
        return closed<ChartEntry>();
    return oneRow<ChartEntry>(session_.accounting(), QStringLiteral("select * From ACCDETAIL where Code=:PCode"),
                              {{QStringLiteral(":PCode"), code.trimmed()}}, chartEntryOf);
}

db::Fetched<QList<VoucherRow>> Vouchers::rowsOfParty(int tafsil)
{
    return readRows(QStringLiteral("tafsil=:ptafsil"), {{QStringLiteral(":ptafsil"), tafsil}});
}

} // namespace orvak::accounting
