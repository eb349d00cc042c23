#pragma once
// Reads of the accounting database of the current section and year: vouchers by
// number and by date, the ledgers and the new chart by code, a party's rows. With
// no accounting database of the year every read finds nothing, and missingText()
// is the message to show once.
#include "core/db/Db.h"
#include "core/startup/Session.h"

#include <QList>
#include <optional>

namespace orvak::accounting {

// A voucher head (SNDHEAD).
struct VoucherHead {
    int number = 0;         // SNDNO
    QString date;           // SNDDATE, YYYY/MM/DD
    QString description;    // DESCR
    int kind = 0;           // KIND
    int state = 0;          // STATE
    int userId = 0;         // USERID
    QString reference;      // ATFSND
};

// A voucher row (SNDROW); amounts in whole rials. Codes a row does not carry are empty.
struct VoucherRow {
    int number = 0;                  // SNDNO
    int row = 0;                     // ROW
    int kol = 0;                     // KOL
    int moin = 0;                    // MOIN
    std::optional<int> tafsil;       // TAFSIL: the party
    std::optional<int> tafsil2;      // TAFSIL2: the contract
    std::optional<int> project;      // PROJEH
    std::optional<int> plan;         // TARHNO
    std::optional<int> centre;       // ACCENTER
    QString description;             // DESCR
    qint64 debit = 0;                // BED
    qint64 credit = 0;               // BES
    QString inclusion;               // REFNO
    std::optional<qint64> chequeNo;  // CHKNO
    QString chequeDate;              // CHKDAT
    std::optional<int> fundingKind;  // TAMINKIND
    QString account;                 // ACCOUNT, code of the new chart
};

struct Voucher {
    VoucherHead head;
    QList<VoucherRow> rows;
    qint64 debit() const;
    qint64 credit() const;
};

// A general ledger (KOL, kol = code) or a subsidiary (MOIN, under kol).
struct Ledger {
    int kol = 0;
    int code = 0;
    QString name;
    int nature = 0;   // MAHIAT
    bool takesDetail = false;   // HVTAFSIL, subsidiaries only
};

// An account or a detail level of the new chart (accaccount, accdetail).
struct ChartEntry {
    QString code;
    QString name;
    QString parent;
    int kind = 0;
};

// The fiscal year of the open accounting database (from its name), 0 when none is open.
int accountingYear(const startup::Session& session);

class Vouchers {
public:
    explicit Vouchers(startup::Session& session);

    bool available() const;
    // The message for a missing accounting database of the year; empty while it is open.
    QString missingText() const;

    db::Fetched<VoucherHead> head(int number);
    db::Fetched<QList<VoucherRow>> rows(int number);   // ordered by ROW; none when the voucher has no rows
    db::Fetched<Voucher> voucher(int number);
    db::Fetched<int> lastNumber();
    // The first voucher on or after the date, the last one on or before it.
    db::Fetched<int> firstOnOrAfter(const QString& date);
    db::Fetched<int> lastOnOrBefore(const QString& date);
    // The vouchers numbered from .. to, with their rows, in number order.
    db::Fetched<QList<Voucher>> range(int from, int to);

    db::Fetched<Ledger> general(int code);
    db::Fetched<Ledger> subsidiary(int kol, int code);
    db::Fetched<ChartEntry> chartAccount(const QString& code);
    db::Fetched<ChartEntry> chartDetail(const QString& code);

    // Every row that names the party, in voucher and row order.
    db::Fetched<QList<VoucherRow>> rowsOfParty(int tafsil);

private:
    db::Fetched<QList<VoucherRow>> readRows(const QString& where, const QVariantMap& binds);
    template <class T>
    db::Fetched<T> closed() const;

    startup::Session& session_;
};

// A stored amount in whole rials: money columns may come back as decimals.
qint64 rials(const QVariant& v);
// A row as read from SNDROW's columns.
VoucherRow voucherRowOf(const QSqlRecord& record);

} // namespace orvak::accounting
