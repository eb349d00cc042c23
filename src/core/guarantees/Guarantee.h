#pragma once
// One guarantee: a row of ZEMANAT. The columns the register reads are fields; every
// other column is carried as it was read (carried), so that nothing a save does not
// write is ever lost. Amounts are whole rials; party, contract, plan, project and
// branch hold -1 when none.
#include "core/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace orvak::guarantees {

struct Guarantee {
    int idx = 0;                 // IDX
    QString zno;                 // ZNO, empty while issuance is only requested
    QString sudDate;             // SUDDATE issue date
    QString ebtalDate;           // EBTALDATE
    qint64 amount = 0;           // AMOUNT current value
    QString sarresid;            // SARRESID current due date
    int tafsilNo = -1;           // TAFSILNO party
    int payment = -1;            // PAYMENT contract
    int sudBankCode = -1;        // SUDBANKCODE issuing branch (BANKBRANCHNAME.CODE)
    int status = 0;              // ZSTATUSE
    int kind = 1;                // ZKIND
    int type = 0;                // ZTYPE
    int zpos = 0;                // ZPOS archive row
    int zcount = 0;              // ZCOUNT enclosures
    int sndNo = 0;               // SNDNO booking voucher
    int sndRow = 0;              // SNDROW
    QString descr;               // DESCR subject
    QString letterNo;            // LETTERNO last letter
    QString letterDate;          // LETTERDATE
    QString sarresid1;           // SARRESID1 initial due date
    qint64 amount1 = 0;          // AMOUNT1 initial amount
    QString zemPlace;            // ZEMPLACE folder
    int projNo = -1;             // PROJNO
    int tarhNo = -1;             // TARHNO
    int sndYer = 0;              // SNDYER
    int sndC = 0;                // SNDC
    QString sndSudDate;          // SNDSUDDATE booking voucher's date
    QString tvaziatNameHid;      // TVAZIAT_NAMEHID
    QString tvaziatDate;         // TVAZIAT_DATE
    QString tznoNew;             // TZNO_NEW
    QString esterdadNameHid;     // ESTERDAD_NAMEHID
    QString esterdadDate;        // ESTERDAD_DATE
    QString esterdadSanadNum;    // ESTERDAD_SANADNUM
    double amountArzi = 0;       // AMOUNTARZI foreign-currency value
    int currency = 0;            // VAHEDEPOOL
    QString sepamNo;             // SEPAMNO national registry number
    // ALTP, the status flags, the fund remittance, permitted amount, reference,
    // goods and the eight detail slots: as stored, by column name.
    QVariantMap carried;

    // Extended: the initial due date was earlier than the current one.
    bool extended() const;
    // Reduced: the initial amount was larger than the current one.
    bool reduced() const;
    // Left out of the live lists.
    bool cancelledOrSeized() const;
};

// ZEMANAT's columns in table order.
const QStringList& guaranteeColumns();
// The columns carried unread (those of Guarantee::carried).
const QStringList& carriedColumns();
// The columns a new row is written with, and those an edit writes (by IDX).
const QStringList& insertColumns();
const QStringList& editColumns();

// Every column's value by name (dates as stored, amounts as whole numbers; an
// empty text as NULL).
QVariantMap guaranteeValues(const Guarantee& g);
Guarantee guaranteeFrom(const QSqlRecord& record);

// A stored amount (a float column) as whole rials; NULL is 0.
qint64 rialsOf(const QVariant& value);

} // namespace orvak::guarantees
