#include "core/statements/SettlementReader.h"

#include "core/deposits/ReceivedDeposits.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementParser.h"
#include "core/util/Numbers.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>

namespace orvak::statements {

namespace {

using S = SettlementField;

// The table's text columns and their widths.
struct TextColumn {
    SettlementField field;
    const char* column;
    int width;
};
constexpr TextColumn TextColumns[] = {
    {S::Terminal, "PAYANENO", 20},  {S::MerchantAccount, "HESABPAZIRANDENO", 30}, {S::Card, "KARTNO", 20},
    {S::Trace, "PAYGIRINO", 20},    {S::Reference, "ERJANO", 20},                 {S::Kind, "KINDTRAKONESH", 50},
    {S::Extra, "ETELAATEZAFI", 100}, {S::Order, "SEFARSHNO", 30},                  {S::Cycle, "SIKLVARIZINO", 20},
    {S::SettlementTrace, "PAYGIRIVARIZINO", 30}, {S::Description, "DESCRTRAKONESH", 100},
};

QString cellOf(const Record& r, const SettlementLayout& l, SettlementField f)
{
    const Position& p = l.at(f);
    return p.present() ? r.cells.value(p.index).trimmed() : QString();
}

// The last digits of a number's text (trace and document numbers).
qint64 lastDigits(const QString& text, int digits)
{
    QString d;
    for (QChar c : util::normalizeDigits(text)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d += c;
    }
    if (d.isEmpty())
        return -1;
    return d.right(digits).toLongLong();
}

struct Parsed {
    QVariantMap values;
    QString settledDate;
    qint64 amount = 0;
    QString trace;
};

std::optional<Parsed> parseSettlement(const Record& r, const SettlementLayout& l, QString* why)
{
    Parsed p;
    const auto date = readDate(cellOf(r, l, S::Date), DateForm::YearFirst, why);
    if (!date)
        return std::nullopt;
    const auto settled = readDate(cellOf(r, l, S::SettledDate), DateForm::YearFirst, why);
    if (!settled)
        return std::nullopt;
    const auto time = readTime(l.at(S::Time).present() ? cellOf(r, l, S::Time) : date->time, why);
    if (!time)
        return std::nullopt;
    const auto amount = readAmount(cellOf(r, l, S::Amount), why);
    if (!amount)
        return std::nullopt;
    const QString balanceText = cellOf(r, l, S::Balance);
    const auto balance = readAmount(balanceText, why);
    if (!balance)
        return std::nullopt;
    const QString branch = util::normalizeDigits(cellOf(r, l, S::Branch));
    bool branchOk = true;
    const qint64 b = branch.isEmpty() ? 0 : branch.toLongLong(&branchOk);
    if (!branchOk || b < 0 || b > 999'999'999) {
        *why = QStringLiteral("کد شعبه درست نيست: ") + branch.left(20);
        return std::nullopt;
    }
    p.settledDate = settled->date;
    p.amount = *amount;
    p.values = {{QStringLiteral("DATETRAKONESH"), date->date}, {QStringLiteral("TIMETRAKONESH"), *time},
                {QStringLiteral("AMOUNT"), double(*amount)},   {QStringLiteral("DATEVARIZPAZIRANDE"), settled->date},
                {QStringLiteral("AMOUNTBANK"), balanceText.isEmpty() ? QVariant(QMetaType(QMetaType::Double)) : QVariant(double(*balance))},
                {QStringLiteral("SHOBEH"), b}};
    for (const TextColumn& c : TextColumns)
        p.values.insert(QString::fromLatin1(c.column), util::normalizeDigits(cellOf(r, l, c.field)).simplified().left(c.width));
    p.trace = cellOf(r, l, S::SettlementTrace);
    if (p.trace.isEmpty())
        p.trace = cellOf(r, l, S::Trace);
    return p;
}

} // namespace

QString SettlementRequest::from() const { return monthStart(fromYear, fromMonth); }
QString SettlementRequest::to() const { return monthEnd(toYear, toMonth); }

SettlementReader::SettlementReader(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

QString SettlementReader::chequeDigitsQuestion() { return QStringLiteral("تعداد ارقام چك جهت مقايسه(پيش فرض: 6)"); }

QString SettlementReader::outOfRangeText(int line, const QString& date)
{
    return QStringLiteral(" اشکال : تاريخ در محدوده نيست . رديف شماره ") + QString::number(line) + QStringLiteral("  تاريخ ") + date;
}

SettlementOutcome SettlementReader::read(const SettlementRequest& r, startup::Prompt& prompt)
{
    SettlementOutcome out;
    auto refuse = [&](const QString& text) {
        prompt.info(text);
        out.message = text;
        return out;
    };
    if (r.account <= 0)
        return refuse(QStringLiteral("حساب بانکي انتخاب نشده است"));
    if (const QString problem = monthRangeProblem(r.fromYear, r.fromMonth, r.toYear, r.toMonth); !problem.isEmpty())
        return refuse(problem);
    if (r.files.isEmpty())
        return refuse(QStringLiteral("فايلي براي قرائت انتخاب نشده است"));
    if (r.chequeDigits < 1 || r.chequeDigits > 18)
        return refuse(QStringLiteral("تعداد ارقام چک بايد از 1 تا 18 باشد"));
    if (!prompt.ask(sureText()))
        return out;
    ReadMode mode = ReadMode::Append;
    if (r.mode)
        mode = *r.mode;
    else if (prompt.ask(StatementReader::replaceQuestion(r.from(), r.to())))
        mode = ReadMode::Replace;
    else if (!prompt.ask(StatementReader::appendQuestion()))
        return out;
    if (!mayWrite(session_, writer_, prompt)) {
        out.message = deposits::writeRefusalText();
        return out;
    }
    const SettlementLayout& layout = settlementLayout();
    SourceOptions o;
    o.source = Source::Delimited;
    o.separator = r.separator.isNull() ? QLatin1Char(';') : r.separator;
    o.headerLines = layout.headerLines;
    const QString from = r.from(), to = r.to();
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        out = {};
        if (!mayWriteIn(w, session_, writer_) || !accountExists(w, r.account))
            return false;
        const QVariantMap account{{QStringLiteral(":h"), r.account}, {QStringLiteral(":f"), from}, {QStringLiteral(":t"), to}};
        if (mode == ReadMode::Replace
            && !w.remove(db::Store::Deposits, SettlementTable, QStringLiteral("HESABNO = :h AND DATEVARIZPAZIRANDE >= :f AND DATEVARIZPAZIRANDE <= :t"),
                         account, &out.replaced))
            return false;
        // The statement's credits of the range, by the last digits of their document numbers.
        QSet<qint64> onStatement;
        {
            QVariantMap binds{{QStringLiteral(":h"), r.account}};
            const QString range = storedRangeSql(QStringLiteral("CHKDATE"), from, to, binds);
            QSqlQuery q(w.connection());
            q.setForwardOnly(true);
            QString why;
            if (!db::prepareBound(q, w.resolve(QStringLiteral("SELECT CHKNO FROM {deposits}.SURATHESAB WHERE FLAG = 1 AND HESABNO = :h AND ") + range), binds, &why)
                || !q.exec())
                return w.fail(why.isEmpty() ? q.lastError().text() : why);
            while (q.next())
                onStatement.insert(lastDigits(q.value(0).toString(), r.chequeDigits));
        }
        const auto last = w.scalar(QStringLiteral("SELECT MAX(ROW) FROM {deposits}.SURATHESABSHAPARAK WHERE HESABNO = :h"), account);
        if (last.failed())
            return w.fail(last.error());
        int row = last ? last->toInt() : 0;
        for (const QString& file : r.files) {
            const QString title = QStringLiteral("قرائت فايل %1").arg(QFileInfo(file).fileName());
            prompt.progress(title, 0, 1000);
            QString why;
            std::optional<ReadFailure> failure;
            int lines = 0;
            const std::optional<ReadFailure> source = forEachRecord(file, o, [&](const Record& rec) {
                if (std::all_of(rec.cells.cbegin(), rec.cells.cend(), [](const QString& c) { return c.trimmed().isEmpty(); }))
                    return true;
                const std::optional<Parsed> p = parseSettlement(rec, layout, &why);
                if (!p) {
                    failure = ReadFailure{rec.line, why};
                    return false;
                }
                ++lines;
                if (p->settledDate < from || p->settledDate > to) {
                    out.outOfRange << outOfRangeText(rec.line, p->settledDate);
                    return true;
                }
                QVariantMap values = p->values;
                values.insert(QStringLiteral("ROW"), ++row);
                values.insert(QStringLiteral("HESABNO"), r.account);
                values.insert(QStringLiteral("USERCODE"), session_.currentUserCode());
                if (!w.insert(db::Store::Deposits, SettlementTable, values))
                    return false;
                ++out.written;
                if (onStatement.contains(lastDigits(p->trace, r.chequeDigits)))
                    ++out.onStatement;
                if (out.written % 64 == 0 && prompt.stopRequested()) {
                    out.stopped = true;
                    return false;
                }
                return true;
            }, [&](qint64 done, qint64 total) {
                prompt.progress(title, total > 0 ? int(done * 1000 / total) : 0, 1000);
                if (prompt.stopRequested()) {
                    out.stopped = true;
                    return false;
                }
                return true;
            });
            if (!w.ok())
                return false;
            if (source)
                failure = source;
            if (!failure && !out.stopped && lines == 0)
                failure = ReadFailure{0, QStringLiteral("در فايل سطري از تسويه نيست")};
            if (failure) {
                out.failure = readFailureText(file, *failure);
                break;
            }
            if (out.stopped)
                break;
        }
        return true;
    }, &error);
    if (!ok)
        return refuse(error.isEmpty() ? QStringLiteral("قرائت فايل تسويه انجام نشد") : error);
    out.done = true;
    if (!out.outOfRange.isEmpty())
        prompt.info(out.outOfRange.join(QLatin1Char('\n')));
    if (!out.failure.isEmpty())
        prompt.info(out.failure);
    return out;
}

} // namespace orvak::statements
