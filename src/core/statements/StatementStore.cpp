#include "core/statements/StatementStore.h"

#include "core/deposits/DepositWork.h"
#include "core/statements/StatementDates.h"

#include <QSqlQuery>

namespace orvak::statements {

QString cardPaymentMark() { return QStringLiteral("*شاپرک*"); }

QString sureText() { return QStringLiteral("مطمئن هستيد؟"); }

int signClass(const StatementLine& line)
{
    if (line.isCredit())
        return 1;
    const QString d = line.description;
    return d.contains(QStringLiteral("اصلاح")) || d.contains(QStringLiteral("اصـلاح")) ? -1 : 0;
}

QString storedDescription(const StatementLine& line)
{
    constexpr int Width = 60;
    if (!line.card || line.description.contains(cardPaymentMark()))
        return line.description.left(Width);
    const QString mark = cardPaymentMark();
    const QString text = line.description.left(Width - mark.size() - 1).trimmed();
    return text.isEmpty() ? mark : text + QLatin1Char(' ') + mark;
}

std::optional<BranchPlaces> branchPlaces(db::UnitOfWork& w)
{
    QHash<int, int> provinceOf;
    BranchPlaces places;
    {
        QSqlQuery q(w.connection());
        q.setForwardOnly(true);
        if (!q.exec(w.resolve(QStringLiteral("SELECT CODE, OSTAN FROM {common}.SARPARASTI")))) {
            w.fail(q.lastError().text());
            return std::nullopt;
        }
        while (q.next())
            provinceOf.insert(q.value(0).toInt(), q.value(1).toInt());
    }
    QSqlQuery q(w.connection());
    q.setForwardOnly(true);
    if (!q.exec(w.resolve(QStringLiteral("SELECT CODESHOBEH, SARPARASTI FROM {common}.SHOBEH")))) {
        w.fail(q.lastError().text());
        return std::nullopt;
    }
    while (q.next()) {
        bool ok = false;
        const qint64 code = q.value(0).toString().trimmed().toLongLong(&ok);
        if (!ok)
            continue;
        const int office = q.value(1).toInt();
        places.insert(code, {office, provinceOf.value(office)});
    }
    return places;
}

QVariantMap statementValues(const StatementLine& line, int account, int row, const QString& bank, const BranchPlaces& places)
{
    const BranchPlace place = places.value(line.branch);
    return {
        {QStringLiteral("ROW"), row},
        {QStringLiteral("HESABNO"), account},
        {QStringLiteral("CHKDATE"), storedDate(line.date).value_or(line.date.mid(2))},
        {QStringLiteral("DESCR"), storedDescription(line)},
        {QStringLiteral("FLAG"), line.isCredit() ? 1 : 0},
        {QStringLiteral("BANK"), bank.left(20)},
        {QStringLiteral("SHOBEH"), line.branch},
        {QStringLiteral("SARPARASTI"), place.office},
        {QStringLiteral("OSTAN"), place.province},
        {QStringLiteral("ZARIB"), signClass(line)},
        {QStringLiteral("SHENASEH"), line.identifier.left(20)},
        {QStringLiteral("CHKTIME"), line.time},
        {QStringLiteral("TRANSACTIONNO"), line.transaction.left(32)},
        {QStringLiteral("TRANSACTIONDATE"), line.bankDate.left(10)},
        {QStringLiteral("TRANSACTIONKIND"), line.kind},
        {QStringLiteral("AMOUNTBANK"), line.hasBalance ? QVariant(double(line.balance)) : QVariant(QMetaType(QMetaType::Double))},
        {QStringLiteral("AMOUNT"), double(line.isCredit() ? line.credit : line.debit)},
        {QStringLiteral("CHKNO"), line.document},
    };
}

quint64 lineKey(const QString& fullDate, const QString& time, bool credit, qint64 amount, qint64 document)
{
    const QString key = QStringLiteral("%1|%2|%3|%4|%5").arg(fullDate, time.trimmed()).arg(credit ? 1 : 0).arg(amount).arg(document);
    return quint64(qHash(key, 0x5eed));
}

quint64 lineKey(const StatementLine& line)
{
    return lineKey(line.date, line.time, line.isCredit(), line.isCredit() ? line.credit : line.debit, line.document);
}

bool mayWriteIn(db::UnitOfWork& w, startup::Session& session, Writer writer)
{
    if (writer == Writer::Administrator)
        return true;
    if (const std::optional<QString> refusal = deposits::work::writeRefusal(w.scalar(deposits::work::levelSql(), deposits::work::levelBinds(session))))
        return w.fail(*refusal);
    return true;
}

bool mayWrite(startup::Session& session, Writer writer, startup::Prompt& prompt)
{
    if (writer == Writer::Administrator)
        return true;
    const auto level = db::scalar(session.common(), QString(deposits::work::levelSql()).remove(QStringLiteral("{common}.")),
                                  deposits::work::levelBinds(session));
    if (const std::optional<QString> refusal = deposits::work::writeRefusal(level)) {
        prompt.info(*refusal);
        return false;
    }
    return true;
}

QString accountMissingText(int account) { return QStringLiteral("حساب بانکي با کد %1 تعريف نشده است").arg(account); }

bool accountExists(db::UnitOfWork& w, int account)
{
    const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {common}.HESAB WHERE CODE = :c"), {{QStringLiteral(":c"), account}});
    if (n.failed())
        return w.fail(n.error());
    if (!n || n->toInt() == 0)
        return w.fail(accountMissingText(account));
    return true;
}

} // namespace orvak::statements
