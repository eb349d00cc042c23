#pragma once
// One received deposit: a row of SEP_DAR with every column. Amounts are whole rials;
// plan, project and contract hold -1 when none.
#include "core/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <array>

namespace orvak::deposits {

// TIKSUDMO's values: open is NULL, empty, blank or "O".
inline const QString HalfConfirmed = QStringLiteral("R");
inline const QString Confirmed = QStringLiteral("P");

struct Deposit {
    int idx = 0;                   // IDX
    qint64 sepNo = 0;              // SEPNO, 0: no receipt yet
    QString sepDate;               // SEPDATE, YYYY/MM/DD or empty
    QString sabtDate;              // SABTDATE
    int tarhNo = -1;               // TARHNO
    int projNo = -1;               // PROJNO
    int tafsili = -1;              // TAFSILI, -1: no owner
    int payment = -1;              // PAYMENT
    qint64 amount = 0;             // AMOUNT
    int sepKind = 1;               // SEPKIND 1..26
    int my = 0;                    // MY
    int mm = 0;                    // MM 1..18
    int sepRow = 0;                // SEPROW
    QString tikSudmo;              // TIKSUDMO
    QString tikBestankari;         // TIKBESTANKARI
    int sndNo = 0;                 // SNDNO
    int sndRow = 0;                // SNDROW
    QString descr;                 // DESCR
    qint64 chkNo = 0;              // CHKNO
    QString chkDate;               // CHKDATE
    int fromOldM = 2;              // FROMOLDM
    int altp = 0;                  // ALTP
    int sndYer = 0;                // SNDYER
    qint64 mosalsal = 0;           // MOSALSAL
    int yerSepRow = 0;             // YERSEPROW
    int savabegh = 0;              // SAVABEGH
    QString ersalNo;               // ERSALVAJHKHAZANE_NO
    QString ersalDate;             // ERSALVAJHKHAZANE_DATE
    int elamBesIdx = 0;            // ELAMBESIDX
    qint64 amountRad = 0;          // AMOUNT_RAD
    qint64 amountMandeh = 0;       // AMOUNT_MANDEH
    int controlBankOk = 0;         // CONTROLBANKOK
    int tikErsal = 0;              // TIK_ERSAL
    int tikDarkhast = 0;           // TIK_DARKHAST
    int tikDarkhastVjh = 0;        // TIK_DARKHASTVJH
    int tikDarkhastVjhOk = 0;      // TIK_DARKHASTVJHOK
    int tikEsterdad = 0;           // TIK_ESTERDAD
    int tankhahStatus = 0;         // TANKHAHSTATUS
    int controlTik = 0;            // CONTROLTIK
    int sndNoErsal = 0;            // SNDNO_ERSAL
    int sndRowErsal = 0;           // SNDROW_ERSAL
    int sndYerErsal = 0;           // SNDYER_ERSAL
    std::array<QString, 7> accDetail;   // ACCDETAIL1..7
    int besNo = 0;                 // BESNO
    int taminKind = 0;             // TAMINKIND

    // Open on the bank statement: neither half-confirmed nor confirmed.
    bool statementOpen() const;
    // Matched (R or P) or final: the warning of a save and a move.
    bool matchedOrFinal() const;
};

// A stored amount (a float column) as whole rials; NULL is 0.
qint64 rialsOf(const QVariant& value);

// SEP_DAR's columns in table order.
const QStringList& depositColumns();
// The row's values by column name (dates as stored, amounts as whole numbers).
QVariantMap depositValues(const Deposit& d);
Deposit depositFrom(const QSqlRecord& record);

} // namespace orvak::deposits
