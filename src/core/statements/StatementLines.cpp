#include "core/statements/StatementLines.h"

#include "core/deposits/ReceivedDeposits.h"
#include "core/statements/StatementDates.h"

namespace orvak::statements {

StatementLines::StatementLines(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

QString StatementLines::creditCannotChangeText() { return QStringLiteral("رديف جاري مبلغ واريزي است و نمي تواند تغيير کند"); }
QString StatementLines::changeQuestion() { return QStringLiteral("اطلاعات صورتحساب رديف جاري تغيير ميکند. مطمئن هستيد؟"); }
QString StatementLines::removeLineQuestion() { return QStringLiteral("اطلاعات صورتحساب رديف جاري حذف ميشود. مطمئن هستيد؟"); }
QString StatementLines::removeRangeQuestion() { return QStringLiteral("اطلاعات صورتحساب در محدوده فوق حذف ميشود. مطمئن هستيد؟"); }

namespace {

const QString LineWhere = QStringLiteral("HESABNO = :h AND ROW = :r");
QVariantMap lineBinds(int account, int row) { return {{QStringLiteral(":h"), account}, {QStringLiteral(":r"), row}}; }
QString noLineText() { return QStringLiteral("رديفي انتخاب نشده است"); }

} // namespace

EditOutcome StatementLines::run(startup::Prompt& prompt, const QString& question, const std::function<bool(db::UnitOfWork&, EditOutcome&)>& body)
{
    EditOutcome out;
    if (!mayWrite(session_, writer_, prompt)) {
        out.message = deposits::writeRefusalText();
        return out;
    }
    if (!question.isEmpty() && !prompt.ask(question))
        return out;
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        out = {};
        return mayWriteIn(w, session_, writer_) && body(w, out);
    }, &error);
    if (!ok) {
        out.message = error.isEmpty() ? QStringLiteral("عمليات انجام نشد") : error;
        prompt.info(out.message);
        return out;
    }
    out.done = true;
    return out;
}

EditOutcome StatementLines::reclassify(int account, int row, bool correction, startup::Prompt& prompt)
{
    const auto flag = db::scalar(session_.deposits(), QStringLiteral("SELECT FLAG FROM SURATHESAB WHERE ") + LineWhere, lineBinds(account, row));
    if (!flag) {
        EditOutcome o;
        o.message = flag.failed() ? flag.error() : noLineText();
        prompt.info(o.message);
        return o;
    }
    if (flag->toInt() == 1) {
        EditOutcome o;
        o.message = creditCannotChangeText();
        prompt.info(o.message);
        return o;
    }
    return run(prompt, changeQuestion(), [&](db::UnitOfWork& w, EditOutcome& o) {
        QVariantMap b = lineBinds(account, row);
        b.insert(QStringLiteral(":z"), correction ? -1 : 0);
        // A credit stays as it is, whatever happened since the question.
        return w.update(db::Store::Deposits, StatementTable, QStringLiteral("ZARIB = :z"), LineWhere + QStringLiteral(" AND FLAG = 0"), b, &o.changed)
            && (o.changed == 1 || w.fail(creditCannotChangeText()));
    });
}

EditOutcome StatementLines::removeLine(int account, int row, startup::Prompt& prompt)
{
    return run(prompt, removeLineQuestion(), [&](db::UnitOfWork& w, EditOutcome& o) {
        return w.remove(db::Store::Deposits, StatementTable, LineWhere, lineBinds(account, row), &o.changed) && (o.changed == 1 || w.fail(noLineText()));
    });
}

EditOutcome StatementLines::removeRange(const StatementFilter& f, startup::Prompt& prompt)
{
    return run(prompt, removeRangeQuestion(), [&](db::UnitOfWork& w, EditOutcome& o) {
        QVariantMap b{{QStringLiteral(":h"), f.account}};
        const QString range = storedRangeSql(QStringLiteral("CHKDATE"), f.from.isEmpty() ? monthStart(FirstWindowYear, 1) : f.from,
                                             f.to.isEmpty() ? monthEnd(LastWindowYear, 12) : f.to, b);
        return w.remove(db::Store::Deposits, StatementTable, QStringLiteral("HESABNO = :h AND ") + range, b, &o.changed);
    });
}

EditOutcome StatementLines::copyToSettlement(int account, int row, startup::Prompt& prompt)
{
    return run(prompt, sureText(), [&](db::UnitOfWork& w, EditOutcome& o) {
        const auto line = w.firstRow(QStringLiteral("SELECT CHKDATE, CHKTIME, AMOUNT, CHKNO, DESCR, SHOBEH, AMOUNTBANK FROM {deposits}.SURATHESAB WHERE ") + LineWhere,
                                     lineBinds(account, row));
        if (!line)
            return w.fail(line.failed() ? line.error() : noLineText());
        const auto next = w.nextKey(db::Store::Deposits, SettlementTable, QStringLiteral("ROW"), QStringLiteral("HESABNO = :h"), {{QStringLiteral(":h"), account}});
        if (!next)
            return false;
        const QString date = fullDate(line->value(0).toString()).value_or(QString());
        o.changed = 1;
        return w.insert(db::Store::Deposits, SettlementTable,
                        {{QStringLiteral("ROW"), int(*next)},
                         {QStringLiteral("HESABNO"), account},
                         {QStringLiteral("DATETRAKONESH"), date},
                         {QStringLiteral("TIMETRAKONESH"), line->value(1).toString().trimmed()},
                         {QStringLiteral("AMOUNT"), line->value(2).toDouble()},
                         {QStringLiteral("PAYGIRINO"), line->value(3).toString()},
                         {QStringLiteral("DATEVARIZPAZIRANDE"), date},
                         {QStringLiteral("AMOUNTBANK"), line->value(6)},
                         {QStringLiteral("USERCODE"), session_.currentUserCode()},
                         {QStringLiteral("SHOBEH"), line->value(5).toInt()},
                         {QStringLiteral("DESCRTRAKONESH"), line->value(4).toString().trimmed()}});
    });
}

EditOutcome StatementLines::removeSettlementLine(int account, int row, startup::Prompt& prompt)
{
    return run(prompt, QStringLiteral("اطلاعات شاپرک رديف جاري حذف ميشود. مطمئن هستيد؟"), [&](db::UnitOfWork& w, EditOutcome& o) {
        return w.remove(db::Store::Deposits, SettlementTable, LineWhere, lineBinds(account, row), &o.changed) && (o.changed == 1 || w.fail(noLineText()));
    });
}

EditOutcome StatementLines::removeSettlementRange(const StatementFilter& f, startup::Prompt& prompt)
{
    return run(prompt, QStringLiteral("اطلاعات شاپرک در محدوده فوق حذف ميشود. مطمئن هستيد؟"), [&](db::UnitOfWork& w, EditOutcome& o) {
        const QVariantMap b{{QStringLiteral(":h"), f.account},
                            {QStringLiteral(":f"), f.from.isEmpty() ? monthStart(FirstWindowYear, 1) : f.from},
                            {QStringLiteral(":t"), f.to.isEmpty() ? monthEnd(LastWindowYear, 12) : f.to}};
        return w.remove(db::Store::Deposits, SettlementTable, QStringLiteral("HESABNO = :h AND DATEVARIZPAZIRANDE >= :f AND DATEVARIZPAZIRANDE <= :t"), b,
                        &o.changed);
    });
}

} // namespace orvak::statements
