#pragma once
// The guarantee register's code tables: the types of security (ZTYPE) and what a
// guarantee secures (ZKIND), each with the memorandum ledger code it is booked on,
// the 25 statuses (ZSTATUSE, also the kinds of the history rows), the currencies
// (VAHEDEPOOL), the due-date durations and the advance-payment rates.
#include "core/io/ListDefinition.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orvak::guarantees {

struct LedgerCoded {
    QString ledger;   // the memorandum ledger code, e.g. "131000001"
    QString label;
};

// Stored as the position in the list, from 0.
const QList<LedgerCoded>& guaranteeTypes();   // ZTYPE, 22 entries
const QList<LedgerCoded>& guaranteeKinds();   // ZKIND, 11 entries
const QStringList& statusLabels();            // ZSTATUSE, 25 entries
const QStringList& currencyNames();           // VAHEDEPOOL, 22 entries

// The statuses the register names by themselves.
inline constexpr int StatusValid = 0;
inline constexpr int StatusCancelled = 3;
inline constexpr int StatusSeized = 4;
inline constexpr int StatusIssueRequested = 7;
inline constexpr int TypeBankGuarantee = 0;
inline constexpr int TypeCreditInstitution = 1;
inline constexpr int KindAdvancePayment = 3;

// The texts a code shows; empty for a code outside its list.
QString typeLabel(int type);
QString kindLabel(int kind);
QString statusLabel(int status);
QString currencyName(int currency);
// As the entry screen's lists show them: "131000001) ضمانت نامه بانكي",
// "01)132000003: شركت در مناقصه".
QString typeChoiceText(int type);
QString kindChoiceText(int kind);
// The hint of the type list.
QString typeHint();   // "انواع  تضمين طبق تبصره 2 بند ل"
// The word a letter writes after a foreign-currency amount: "ريال", "دلار", "يورو",
// "فرانک", "پوند" for 0 to 4; the currency's name beyond.
QString currencyWord(int currency);

// The ledger code a type or a nature is booked on; empty outside the list.
QString typeLedger(int type);
QString kindLedger(int kind);

// Whether a type is issued by a bank branch (bank guarantee, credit institution,
// promissory note, cash, bank cheque, personal cheque, note and cheque).
bool typeHasBranch(int type);

// The list columns' code texts.
io::CodeTexts typeCodeTexts();
io::CodeTexts kindCodeTexts();
io::CodeTexts statusCodeTexts();
io::CodeTexts currencyCodeTexts();

// "سه ماهه" ... "دو ساله": the due-date durations, with their months; "ساير" asks.
struct Duration {
    QString label;
    int months = 0;
};
const QList<Duration>& dueDurations();
QString otherDurationText();     // "ساير"
QString monthsQuestionText();    // "تعداد ماهها را وارد كنيد"
QString noIssueDateText();       // "تاريخ صدور وارد نشده است"
// The issue date plus months: the month moves, whole years carry, the day of the
// month stays ("1402/11/30" + 3 = "1403/02/30"); nullopt for a date that is no date
// or months outside 1..1200. A day the target month lacks (the 31st of a month
// of 30 days, the 30th of Esfand in a common year) becomes its last day.
std::optional<QString> addMonths(const QString& date, int months);

// The due-date windows of the list and the due-date monitor: "دلخواه" (none), then
// "تا 15 روز ديگر" ... "سه ماه ديگر" (entry n: n div 2 months and (n mod 2) × 15 days).
const QStringList& dueWindowTexts();
// The window's end from its start; nullopt for a start that is no date or entry 0.
std::optional<QString> addDueWindow(const QString& start, int entry);

// "8% پيمان", "14.5% پيمان", "20% پيمان" and their rates in thousandths.
struct AdvanceRate {
    QString label;
    int perThousand = 0;
};
const QList<AdvanceRate>& advanceRates();
// The contract amount at the rate, rounded down to whole thousands of rials.
qint64 advanceValue(qint64 contractAmount, int perThousand);

// The words a letter writes for an extension of so many months: "سه ماه", "شش ماه",
// "نه ماه", "يک سال"; "n ماه" for others.
QString extensionWords(int months);

} // namespace orvak::guarantees
