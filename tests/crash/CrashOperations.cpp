#include "crash/CrashOperations.h"

#include "core/db/Db.h"
#include "core/deposits/DepositImport.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/Refunds.h"
#include "core/guarantees/Guarantees.h"
#include "core/guarantees/GuaranteeDue.h"
#include "core/statements/BankMatching.h"
#include "core/deposits/VoucherReading.h"
#include "support/ScriptedPrompt.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace orvak::test::crash {

namespace {

using startup::ScriptedPrompt;

deposits::DepositFilter month(int year, int m)
{
    deposits::DepositFilter f;
    f.year = year;
    f.month = m;
    return f;
}

// One row in each of the three databases, with their history entries in the common one.
Operation::Work threeDatabases(startup::Session& s, QString*)
{
    return [&s](QString* error) { return s.inWork([](db::UnitOfWork& w) {
        return w.insert(db::Store::Common, QStringLiteral("GROUP_TAFSILI"),
                        {{QStringLiteral("CI"), 0}, {QStringLiteral("CODE"), 9901}, {QStringLiteral("NAME"), QStringLiteral("گروه آزمايشي")}})
            && w.insert(db::Store::Deposits, QStringLiteral("SEPDESCR"), {{QStringLiteral("CODE"), 9901}, {QStringLiteral("NAME"), QStringLiteral("بابت آزمايش")}})
            && w.insert(db::Store::Accounting, QStringLiteral("SNDHEAD"),
                        {{QStringLiteral("SNDNO"), 99901}, {QStringLiteral("SNDDATE"), QStringLiteral("1405/09/01")}, {QStringLiteral("KIND"), 1},
                         {QStringLiteral("STATE"), 1}, {QStringLiteral("USERID"), 3}});
    }, error); };
}

// The reading of a month's vouchers and their transfer into the register, every row
// ticked (the demo holds the month already: the rows go in once more).
Operation::Work voucherTransfer(startup::Session& s, QString* error)
{
    deposits::ReadingCriteria c;
    c.year = 1405;
    c.monthIndex = 8;
    c.kol = 21007;
    c.side = deposits::ReadSide::Credit;
    auto reading = std::make_shared<deposits::VoucherReading>(s);
    ScriptedPrompt p({}, true);
    if (!reading->selectYear(c, p) || !reading->read(c, p, error))
        return {};
    for (const deposits::ReadRow& r : reading->rows().value_or({})) {
        if (!r.ticked && r.credit > 0)
            reading->toggle(r.row);
    }
    return [reading](QString* error) { return bool(reading->transfer(1405, 9, deposits::Repeats::EnterShown, error)); };
}

Operation::Work groupOperation(startup::Session& s, QString*)
{
    return [&s](QString* error) {
    ScriptedPrompt p({}, true);
    const deposits::Outcome out = deposits::ReceivedDeposits(s).invertAll(month(1405, 8), p);
    if (!out && error)
        *error = p.text();
    return bool(out);
    };
}

// Three databases at once: the voucher in the accounting database, its number on
// every deposit, the history in the common one.
Operation::Work receiptVoucher(startup::Session& s, QString*)
{
    return [&s](QString* error) {
    ScriptedPrompt p({}, true);
    const deposits::Outcome out = deposits::ReceivedDeposits(s).issueReceiptVoucher(month(1405, 8), {0, QStringLiteral("1405/08/30")}, p);
    if (!out && error)
        *error = p.text();
    return bool(out);
    };
}

// A fund request's collective refund: a refund head and row per request row, the
// deposits' refunded amounts and balances, and their history.
Operation::Work collectiveRefund(startup::Session& s, QString* error)
{
    const auto req = db::scalar(s.deposits(),
                                QStringLiteral("SELECT q.REQ_IDX FROM SEP_REQR q WHERE NOT EXISTS (SELECT 1 FROM SEP_RADR1 r WHERE r.REQIDX = q.REQ_IDX "
                                               "AND r.REQROW = q.REQ_ROW) GROUP BY q.REQ_IDX ORDER BY COUNT(*) DESC, q.REQ_IDX LIMIT 1"));
    if (!req || req->isNull()) {
        if (error)
            *error = req.failed() ? req.error() : QStringLiteral("no fund request with rows to refund");
        return {};
    }
    return [&s, reqIdx = req->toInt()](QString* error) {
        ScriptedPrompt p({true}, true);
        const deposits::Outcome out = deposits::Refunds(s).refundRequest(reqIdx, QStringLiteral("1405/09/10"), p);
        if (!out && error)
            *error = p.text();
        return bool(out) && out.changed > 0;
    };
}

// A guarantee's booking voucher: the voucher in the accounting database, its number on
// the guarantee in the deposits one, and their history.
Operation::Work guaranteeBooking(startup::Session& s, QString* error)
{
    const auto idx = db::scalar(s.deposits(), QStringLiteral("SELECT MIN(IDX) FROM ZEMANAT WHERE COALESCE(SNDNO, 0) = 0 AND COALESCE(AMOUNT, 0) > 0"));
    if (!idx || idx->isNull()) {
        if (error)
            *error = idx.failed() ? idx.error() : QStringLiteral("no guarantee to book");
        return {};
    }
    return [&s, guarantee = idx->toInt()](QString* error) {
        ScriptedPrompt p({}, true);
        const guarantees::Outcome out = guarantees::Guarantees(s).book(guarantee, {0, QStringLiteral("1405/09/10")}, p);
        if (!out && error)
            *error = p.text();
        return bool(out);
    };
}

// A month of the bank statement matched against the deposits: marks on the deposits,
// deposits added for the lines without one, the run's record, and their history.
Operation::Work statementMatching(startup::Session& s, QString*)
{
    return [&s](QString* error) {
        statements::MatchRequest r;
        r.account = 1;
        r.year = 1405;
        r.month = 9;
        ScriptedPrompt p({}, true);
        const statements::MatchOutcome out = statements::BankMatching(s, statements::Writer::Administrator).run(r, p);
        if (!out && error)
            *error = out.message.isEmpty() ? p.text() : out.message;
        return bool(out) && out.matched + out.added > 0;
    };
}

// A credit notice deleted: the notice and the references of its deposits to it.
Operation::Work creditNoticeDelete(startup::Session& s, QString* error)
{
    const auto idx = db::scalar(s.deposits(), QStringLiteral("SELECT MIN(IDXNO) FROM BESTANKARI b WHERE NOT EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.BESIDX = b.IDXNO) "
                                                             "AND EXISTS (SELECT 1 FROM SEP_DAR d WHERE d.ELAMBESIDX = b.IDXNO)"));
    if (!idx || idx->isNull()) {
        if (error)
            *error = idx.failed() ? idx.error() : QStringLiteral("no credit notice to delete");
        return {};
    }
    return [&s, notice = idx->toInt()](QString* error) {
        ScriptedPrompt p({}, true);
        const bool ok = deposits::CreditNotices(s, deposits::Writer::Administrator).remove(notice, p);
        if (!ok && error)
            *error = p.text();
        return ok;
    };
}

// A guarantee's extension-request letter from the due-date run: the history row, the
// guarantee's status and the letter counter, and their history.
Operation::Work guaranteeExtensionLetter(startup::Session& s, QString*)
{
    return [&s](QString* error) {
        guarantees::ExtensionRun::Choice choice;
        choice.months = 3;
        guarantees::ExtensionRun run(s, {QStringLiteral("1300/01/01"), QStringLiteral("1499/12/29")}, choice);
        ScriptedPrompt p({}, true);
        std::vector<letters::LetterPage> pages;
        const bool ok = run.start(p) && run.count() > 0 && run.issue(pages, p);
        if (!ok && error)
            *error = p.text();
        return ok;
    };
}

// A deposit book read from a spreadsheet: deposits, a new owner and project in the
// common database, a refund with its rows.
Operation::Work depositImport(startup::Session& s, QString* error)
{
    auto dir = std::make_shared<QTemporaryDir>();
    const QString path = dir->filePath(QStringLiteral("book.csv"));
    QFile f(path);
    QString text = QStringLiteral("no,date,name,nid,project,amount,refund\n");
    for (int i = 1; i <= 12; ++i)
        text += QStringLiteral("%1,1405/08/%2,owner %3,%4,%5,%6,%7\n").arg(i).arg(1 + i % 28).arg(i % 3).arg(i % 3 == 0 ? QStringLiteral("0012345679") : QString())
                    .arg(i % 5 == 0 ? 990001 : 0).arg(1000 * i).arg(i % 4 == 0 ? 1 : 0);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0) {
        *error = f.errorString();
        return {};
    }
    f.close();
    deposits::ImportRequest r;
    r.path = path;
    using F = deposits::ImportField;
    for (const auto& [field, column] : {std::pair{F::ReceiptNo, "no"}, {F::PaymentDate, "date"}, {F::OwnerName, "name"}, {F::OwnerNid, "nid"},
                                        {F::Project, "project"}, {F::Amount, "amount"}, {F::RefundMark, "refund"}})
        r.mapping.set(field, QString::fromLatin1(column));
    return [&s, dir, r](QString* error) {
        ScriptedPrompt p({}, true);
        const deposits::ImportResult out = deposits::DepositImport(s).run(r, p);
        if (!out && error)
            *error = out.message;
        return bool(out);
    };
}

} // namespace

const std::vector<Operation>& operations()
{
    static const std::vector<Operation> all = {
        {"three-databases", "a row in each database", threeDatabases},
        {"voucher-transfer", "a month read from vouchers into the register", voucherTransfer},
        {"group-operation", "a group operation with its history", groupOperation},
        {"receipt-voucher", "the receipt voucher of a month", receiptVoucher},
        {"collective-refund", "a fund request refunded row by row", collectiveRefund},
        {"guarantee-booking", "a guarantee's booking voucher", guaranteeBooking},
        {"statement-matching", "a month of the bank statement matched", statementMatching},
        {"deposit-import", "a deposit book read from a spreadsheet", depositImport},
        {"credit-notice-delete", "a credit notice deleted with its deposits' references", creditNoticeDelete},
        {"guarantee-extension-letter", "a guarantee's extension letter with its number", guaranteeExtensionLetter},
    };
    return all;
}

const Operation* findOperation(const QString& name)
{
    for (const Operation& o : operations()) {
        if (name == QLatin1String(o.name))
            return &o;
    }
    return nullptr;
}

} // namespace orvak::test::crash
