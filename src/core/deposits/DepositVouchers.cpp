// The vouchers the received-deposits register posts: the month's receipt voucher,
// the sending of the month's list to the treasury, and the opening voucher from the
// latest balances. Each posting and the rows' references are one unit of work.
#include "core/deposits/DepositWork.h"
#include "core/deposits/ReceivedDeposits.h"

#include "core/accounting/VoucherWriter.h"
#include "core/deposits/DepositKinds.h"

#include <QSqlQuery>

namespace orvak::deposits {

using startup::Prompt;
using work::refused;

namespace {

// The program's fixed account codes (set when the section opens), with the values it
// sets should the accounting database be closed.
enum class Account { Deposits = 0, ReceivingBank = 1, Treasury = 4 };

QString accountCode(const startup::Session& s, Account a)
{
    static const char* const fallback[] = {"21007", "11005001", "11006002", "", "11512"};
    const int i = int(a);
    const QString code = s.defaultLedgerCodes().value(i);
    return code.isEmpty() ? QString::fromLatin1(fallback[i]) : code;
}

// A row on a fixed code: the ledger is its first three characters, the subsidiary
// the next five; the whole code goes into the row's account of the newer chart.
accounting::VoucherLine lineOn(const QString& code)
{
    accounting::VoucherLine l;
    l.kol = code.left(3).toInt();
    l.moin = code.mid(3, 5).toInt();
    l.account = code;
    return l;
}

std::optional<int> given(int code) { return code > 0 ? std::optional<int>(code) : std::nullopt; }

void describe(accounting::VoucherLine& l, const Deposit& d, const QString& text)
{
    l.tafsil = given(d.tafsili);
    l.tafsil2 = given(d.payment);
    l.plan = given(d.tarhNo);
    l.project = given(d.projNo);
    if (d.chkNo > 0)
        l.chequeNo = d.chkNo;
    l.chequeDate = d.chkDate;
    if (d.taminKind > 0)
        l.fundingKind = d.taminKind;
    l.description = text.left(160);
}

struct ContractText {
    QString number, date;
};

} // namespace

Outcome ReceivedDeposits::postVoucher(const DepositFilter& filter, const VoucherChoice& voucher, bool sending, Prompt& prompt)
{
    if (!filter.oneMonth())
        return refused(prompt, oneMonthOnlyText());
    if (!session_.AccountingDbOpen())
        return refused(prompt, accounting::Vouchers(session_).missingText());
    if (!mayWrite(prompt))
        return work::writeRefused();
    accounting::Vouchers books(session_);
    if (voucher.number > 0 && !voucher.clearEarlier) {
        const auto rows = books.rows(voucher.number);
        if (rows.failed())
            return refused(prompt, rows.error());
        if (rows && !prompt.ask(QStringLiteral("سند فوق در سيستم حسابداري داراي اطلاعات مي باشد.")))
            return work::cancelled();
    }
    // The number the header will take, to tell before it is made.
    int number = voucher.number;
    if (number <= 0) {
        const auto last = books.lastNumber();
        if (last.failed())
            return refused(prompt, last.error());
        number = last.value_or(0) + 1;
    }

    const QString month = monthName(filter.month) + QLatin1Char(' ') + QString::number(filter.year);
    const QString debitCode = accountCode(session_, sending ? Account::Treasury : Account::ReceivingBank);
    const QString creditCode = accountCode(session_, sending ? Account::ReceivingBank : Account::Deposits);
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto rows = work::listed(w, filter);
        if (!rows)
            return false;
        if (rows->isEmpty())
            return w.fail(work::NothingEnteredText);

        QHash<int, ContractText> contracts;
        accounting::VoucherPosting p;
        p.number = voucher.number;
        p.date = voucher.date;
        p.clearEarlier = voucher.clearEarlier;
        p.kind = 1;
        p.state = 1;
        p.description = (sending ? QStringLiteral(" ارسال صورت ريز سپرده به خزانه ") : QStringLiteral(" دريافت سپرده ")) + month;
        for (const Deposit& d : *rows) {
            QString text = QStringLiteral("قبض شماره ") + QString::number(d.sepNo) + QStringLiteral(" - ") + QStringLiteral("تاريخ ") + d.sepDate;
            if (d.payment > 0) {
                if (!contracts.contains(d.payment)) {
                    const auto c = w.firstRow(QStringLiteral("SELECT PAYMENTNO, PAYMENTDATE FROM {common}.PAYMENTS WHERE CODE = :Code AND CI = :CI"),
                                              {{QStringLiteral(":Code"), d.payment}, {QStringLiteral(":CI"), session_.SectionCode().toInt()}});
                    if (c.failed())
                        return w.fail(c.error());
                    contracts.insert(d.payment, c ? ContractText{c->value(0).toString().trimmed(), c->value(1).toString().trimmed()} : ContractText{});
                }
                const ContractText& c = contracts[d.payment];
                if (!c.number.isEmpty())
                    text += QStringLiteral("- قرارداد شماره  ") + c.number + QStringLiteral(" تاريخ ") + c.date;
            }
            accounting::VoucherLine debit = lineOn(debitCode);
            describe(debit, d, text);
            debit.debit = d.amount;
            accounting::VoucherLine credit = lineOn(creditCode);
            describe(credit, d, text);
            credit.credit = d.amount;
            p.lines << debit << credit;
        }
        prompt.progress(QStringLiteral("ايجاد سند شماره %1 تاريخ %2").arg(number).arg(voucher.date), 0, int(rows->size()));
        const std::optional<accounting::PostedVoucher> posted = accounting::VoucherWriter(session_).post(w, p);
        if (!posted)
            return false;
        o.voucher = posted->number;
        for (qsizetype i = 0; i < rows->size(); ++i) {
            const Deposit& d = (*rows)[i];
            // The deposit's own row: the deposits account on receipt, the treasury on sending.
            const int row = posted->rows.value(sending ? 2 * i : 2 * i + 1);
            const QString set = sending ? QStringLiteral("SNDNO_ERSAL = :No, SNDROW_ERSAL = :Row, SNDYER_ERSAL = :Year")
                                        : QStringLiteral("SNDNO = :No, SNDROW = :Row, SNDYER = :Year");
            if (!work::setRow(w, d.idx, set, {{QStringLiteral(":No"), posted->number}, {QStringLiteral(":Row"), row}, {QStringLiteral(":Year"), posted->year}}, o))
                return false;
            if (sending)
                continue;
            // Both rows of a receipt carry the deposit's detail levels of the newer
            // chart; the deposits row names the treasury's deposit codes in two of them.
            for (const int line : {int(2 * i), int(2 * i + 1)}) {
                QVariantMap levels{{QStringLiteral(":No"), posted->number}, {QStringLiteral(":Row"), posted->rows.value(line)}};
                QStringList set;
                for (int level = 0; level < 7; ++level) {
                    const QString name = QStringLiteral(":A%1").arg(level + 1);
                    set << QStringLiteral("ACCDETAIL%1 = %2").arg(level + 1).arg(name);
                    QString value = d.accDetail[size_t(level)];
                    if (line == 2 * i + 1 && level == 4)
                        value = QStringLiteral("125001401");
                    if (line == 2 * i + 1 && level == 5)
                        value = QStringLiteral("127000006");
                    levels.insert(name, value.isEmpty() ? QVariant() : QVariant(value));
                }
                if (!w.update(db::Store::Accounting, QStringLiteral("SNDROW"), set.join(QStringLiteral(", ")), QStringLiteral("SNDNO = :No AND ROW = :Row"),
                              levels))
                    return false;
            }
        }
        return true;
    });
}

Outcome ReceivedDeposits::issueReceiptVoucher(const DepositFilter& filter, const VoucherChoice& voucher, Prompt& prompt)
{
    return postVoucher(filter, voucher, false, prompt);
}

Outcome ReceivedDeposits::issueSendingVoucher(const DepositFilter& filter, const VoucherChoice& voucher, Prompt& prompt)
{
    return postVoucher(filter, voucher, true, prompt);
}

bool ReceivedDeposits::clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted, bool sending)
{
    return sending ? accounting::clearRowReferences(w, db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("SNDNO_ERSAL"),
                                                    QStringLiteral("SNDROW_ERSAL"), QStringLiteral("SNDYER_ERSAL"), posted)
                   : accounting::clearRowReferences(w, db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("SNDNO"), QStringLiteral("SNDROW"),
                                                    QStringLiteral("SNDYER"), posted);
}

Outcome ReceivedDeposits::issueOpeningVoucher(const VoucherChoice& voucher, Prompt& prompt)
{
    if (!session_.AccountingDbOpen())
        return refused(prompt, accounting::Vouchers(session_).missingText());
    if (!mayWrite(prompt))
        return work::writeRefused();
    if (!prompt.ask(QStringLiteral("سند افتتاحيه با توجه به آخرين مانده سپرده ها صادر شود؟")))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        // Balances by owner, contract, plan and project; where the money stands (the
        // treasury once sent, the receiving account before) takes the debit side.
        QSqlQuery q(w.connection());
        q.setForwardOnly(true);
        const QString sql = w.resolve(QStringLiteral(
            "SELECT TAFSILI, PAYMENT, TARHNO, PROJNO, CASE WHEN TIK_ERSAL = 1 THEN 1 ELSE 0 END, SUM(AMOUNT_MANDEH), COUNT(*) "
            "FROM {deposits}.SEP_DAR WHERE AMOUNT_MANDEH > 0 GROUP BY TAFSILI, PAYMENT, TARHNO, PROJNO, CASE WHEN TIK_ERSAL = 1 THEN 1 ELSE 0 END "
            "ORDER BY TAFSILI, PAYMENT, TARHNO, PROJNO"));
        if (!w.ok() || !q.exec(sql))
            return w.ok() ? w.fail(q.lastError().text()) : false;
        accounting::VoucherPosting p;
        p.number = voucher.number;
        p.date = voucher.date;
        p.clearEarlier = voucher.clearEarlier;
        p.state = 1;
        p.description = QStringLiteral("سند افتتاحيه سپرده ها با توجه به آخرين مانده ها");
        qint64 atBank = 0, atTreasury = 0;
        while (q.next()) {
            Deposit d;
            d.tafsili = q.value(0).toInt();
            d.payment = q.isNull(1) ? -1 : q.value(1).toInt();
            d.tarhNo = q.isNull(2) ? -1 : q.value(2).toInt();
            d.projNo = q.isNull(3) ? -1 : q.value(3).toInt();
            const qint64 balance = rialsOf(q.value(5));
            (q.value(4).toInt() == 1 ? atTreasury : atBank) += balance;
            accounting::VoucherLine credit = lineOn(accountCode(session_, Account::Deposits));
            describe(credit, d, QStringLiteral("مانده سپرده ها"));
            credit.credit = balance;
            p.lines << credit;
            o.changed += q.value(6).toInt();
        }
        if (q.lastError().isValid())
            return w.fail(q.lastError().text());
        if (p.lines.isEmpty())
            return w.fail(QStringLiteral("سپرده اي با مانده وجود ندارد"));
        for (const auto& [code, sum] : {std::pair{Account::ReceivingBank, atBank}, std::pair{Account::Treasury, atTreasury}}) {
            if (sum <= 0)
                continue;
            accounting::VoucherLine debit = lineOn(accountCode(session_, code));
            debit.description = QStringLiteral("مانده سپرده ها");
            debit.debit = sum;
            p.lines << debit;
        }
        const auto posted = accounting::VoucherWriter(session_).post(w, p);
        if (!posted)
            return false;
        o.voucher = posted->number;
        return true;
    });
}

} // namespace orvak::deposits
