#pragma once
// "اطلاعات صورتحساب دريافتي از بانک" (TFSURATHESAB): the statement lines of an account
// and date range with the screen's filters and orders, the settlement lines beside
// them, their totals ("جمع صورتحساب", "جمع شاپرک"), and the two reports: the listed
// lines ("گزارش صورتحساب بانک") and each account's balance on the last statement date
// not after a chosen date ("گزارش مانده حسابهاي بانکي", a zero balance printed "صفر").
#include "core/db/Db.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"

namespace orvak::startup {
class Session;
}

namespace orvak::statements {

// "همه", "فقط واريزي" (FLAG 1), "برداشت ها" (FLAG 0), "برداشت چک/انتقالي" (ZARIB 0),
// "برداشت اصلاحات" (ZARIB -1).
enum class AmountKind { All, Credits, Debits, ChequeOrTransfer, Corrections };
QStringList amountKindTexts();
// "همه", "شعبه", "POS", "حواله  بانکي": a card payment carries the mark "*شاپرک*"; a
// remittance names "حواله", "ساتنا" or "پايا"; the rest were paid at a branch.
enum class DepositPlace { All, Branch, Pos, Remittance };
QStringList depositPlaceTexts();
// "رديف ثبت" (ROW), "تاريخ عمليات" (date and time), "شماره چک", "مبلغ چک".
enum class StatementOrder { Row, Date, Number, Amount };
QStringList statementOrderTexts();

struct StatementFilter {
    int account = 0;
    QString from, to;   // YYYY/MM/DD; empty: the window's whole range
    AmountKind kind = AmountKind::All;
    int branch = -1;    // SHOBEH; -1: all
    int province = -1;  // OSTAN
    int office = -1;    // SARPARASTI
    DepositPlace place = DepositPlace::All;
    StatementOrder order = StatementOrder::Row;
};

// The lines of the filter; without one (the catalogue's copy), account 1 over the window.
io::ListDefinition statementLinesList(const StatementFilter& filter);
io::ListDefinition statementLinesList();
// The settlement lines of the filter's account and range (by the settlement date).
io::ListDefinition settlementLinesList(const StatementFilter& filter);
io::ListDefinition settlementLinesList();
QList<io::ListDefinition> statementLists();

struct StatementTotals {
    qint64 credit = 0, debit = 0;
    int credits = 0, debits = 0;
    qint64 settlement = 0;
    int settlements = 0;
};
db::Fetched<StatementTotals> statementTotals(startup::Session& session, const StatementFilter& filter);
// "جمع صورتحساب" and "جمع شاپرک" as the screen shows them.
QString statementTotalText(const StatementTotals& totals);
QString settlementTotalText(const StatementTotals& totals);

// One account's line of the balance report.
struct AccountBalance {
    int account = 0;
    QString number;        // HESABNO
    QString bank;          // the bank's name
    QString subject;       // HESABSUBJECT
    QString date;          // the last statement date not after the chosen one (YYYY/MM/DD); empty: none
    qint64 balance = 0;
    QString balanceText() const;   // "#,###", zero "صفر"
};
db::Fetched<QList<AccountBalance>> accountBalances(startup::Session& session, const QString& date);
io::ReportModel balanceReport(const QList<AccountBalance>& balances, const QString& date);

} // namespace orvak::statements
