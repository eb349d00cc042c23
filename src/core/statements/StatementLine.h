#pragma once
// One line of a bank statement as a layout gives it, before it is stored: what every
// bank's file carries, in one neutral form. The parser makes it; the reader stores
// it in SURATHESAB; the matcher compares it with deposits.
#include <QString>

namespace orvak::statements {

struct StatementLine {
    int sourceLine = 0;        // line of the file (or row of the sheet), from 1
    QString date;              // YYYY/MM/DD; "0000/00/00" when the file gives none
    QString time;              // HH:MM; "00:00" when the file gives none
    QString bankDate;          // the date as the file wrote it
    QString description;
    qint64 branch = 0;         // the bank's branch code, 0 when none
    qint64 document = 0;       // document / cheque / slip number ("شماره مدرک")
    QString identifier;        // payer's deposit identifier ("شناسه")
    QString transaction;       // the bank's transaction number
    int kind = 0;              // transaction kind, 0 when the file gives none
    qint64 debit = 0;          // withdrawn, rials
    qint64 credit = 0;         // paid in, rials
    qint64 balance = 0;        // running balance after the line
    bool hasBalance = false;
    bool card = false;         // a card payment (the acquirer's settlement line)

    qint64 signedAmount() const { return credit - debit; }
    bool isCredit() const { return signedAmount() >= 0; }
};

} // namespace orvak::statements
