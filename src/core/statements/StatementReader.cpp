#include "core/statements/StatementReader.h"

#include "core/deposits/ReceivedDeposits.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementParser.h"

#include <QFileInfo>

#include <cmath>
#include <QSqlQuery>

namespace orvak::statements {

QString ReadRequest::from() const { return monthStart(fromYear, fromMonth); }
QString ReadRequest::to() const { return monthEnd(toYear, toMonth); }

StatementReader::StatementReader(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

QString StatementReader::noFormatText() { return QStringLiteral("قالب فايل صورتحساب انتخاب نشده است"); }

QString StatementReader::replaceQuestion(const QString& from, const QString& to)
{
    return QStringLiteral("حذف صورتحساب قرائت شده از %1 تا %2").arg(from, to);
}

QString StatementReader::appendQuestion() { return QStringLiteral("اضافه شدن به صورتحساب قرائت شده موجود"); }

namespace {

ReadOutcome refusedWith(startup::Prompt& prompt, const QString& text)
{
    prompt.info(text);
    ReadOutcome o;
    o.message = text;
    return o;
}

// The user is asked this often whether to stop (the screen answers between lines).
constexpr int StopCheckEvery = 64;

} // namespace

std::optional<int> StatementReader::linesAlreadyThere(const ReadRequest& r, const StatementLayout& layout, QString* why)
{
    QHash<quint64, int> held;
    QVariantMap binds{{QStringLiteral(":h"), r.account}};
    const QString range = storedRangeSql(QStringLiteral("CHKDATE"), r.from(), r.to(), binds);
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    if (!db::prepareBound(q, QStringLiteral("SELECT CHKDATE, CHKTIME, FLAG, AMOUNT, CHKNO, TRANSACTIONNO FROM SURATHESAB WHERE HESABNO = :h AND ") + range,
                          binds, why)
        || !q.exec()) {
        if (why->isEmpty())
            *why = q.lastError().text();
        return std::nullopt;
    }
    while (q.next()) {
        const QString date = fullDate(q.value(0).toString()).value_or(QString());
        ++held[lineKey(date, q.value(1).toString(), q.value(2).toInt() == 1, qint64(std::llround(q.value(3).toDouble())), q.value(4).toLongLong())];
    }
    if (q.lastError().isValid()) {
        *why = q.lastError().text();
        return std::nullopt;
    }
    if (held.isEmpty())
        return 0;
    int again = 0;
    const QString from = r.from(), to = r.to();
    for (const QString& file : r.files) {
        const FileReading reading = readStatementFile(file, layout, r.separator, [&](const StatementLine& line) {
            if (line.date < from || line.date > to)
                return true;
            auto it = held.find(lineKey(line));
            if (it != held.end() && *it > 0) {
                --*it;
                ++again;
            }
            return true;
        }, {}, r.sheet);
        // The reading proper tells a file's failure.
        if (reading.failure)
            break;
    }
    return again;
}

ReadOutcome StatementReader::read(const ReadRequest& r, startup::Prompt& prompt)
{
    const StatementLayout* layout = statementLayout(r.format);
    if (!layout)
        return refusedWith(prompt, noFormatText());
    if (r.account <= 0)
        return refusedWith(prompt, QStringLiteral("حساب بانکي انتخاب نشده است"));
    if (const QString problem = monthRangeProblem(r.fromYear, r.fromMonth, r.toYear, r.toMonth); !problem.isEmpty())
        return refusedWith(prompt, problem);
    if (r.files.isEmpty())
        return refusedWith(prompt, QStringLiteral("فايلي براي قرائت انتخاب نشده است"));
    if (!prompt.ask(sureText()))
        return {};
    if (!layout->columnsMessage.isEmpty())
        prompt.info(layout->columnsMessage);
    ReadMode mode = ReadMode::Append;
    if (r.mode) {
        mode = *r.mode;
    } else if (prompt.ask(replaceQuestion(r.from(), r.to()))) {
        mode = ReadMode::Replace;
    } else if (!prompt.ask(appendQuestion())) {
        return {};
    }
    if (!mayWrite(session_, writer_, prompt)) {
        ReadOutcome o;
        o.message = deposits::writeRefusalText();
        return o;
    }

    ReadOutcome out;
    if (mode == ReadMode::Append) {
        QString why;
        const std::optional<int> again = linesAlreadyThere(r, *layout, &why);
        if (!again)
            return refusedWith(prompt, why);
        out.alreadyThere = *again;
        if (*again > 0
            && !prompt.ask(QStringLiteral("%1 سطر از فايل هاي انتخاب شده از قبل در صورتحساب اين حساب هست و دوباره اضافه مي شود. ادامه مي دهيد؟").arg(*again)))
            return {};
    }

    const QString from = r.from(), to = r.to();
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        const int already = out.alreadyThere;
        out = {};
        out.alreadyThere = already;
        if (!mayWriteIn(w, session_, writer_) || !accountExists(w, r.account))
            return false;
        const std::optional<BranchPlaces> places = branchPlaces(w);
        if (!places)
            return false;
        QVariantMap binds{{QStringLiteral(":h"), r.account}};
        if (mode == ReadMode::Replace) {
            const QString range = storedRangeSql(QStringLiteral("CHKDATE"), from, to, binds);
            if (!w.remove(db::Store::Deposits, StatementTable, QStringLiteral("HESABNO = :h AND ") + range, binds, &out.replaced))
                return false;
        }
        const auto last = w.scalar(QStringLiteral("SELECT MAX(ROW) FROM {deposits}.SURATHESAB WHERE HESABNO = :h"), {{QStringLiteral(":h"), r.account}});
        if (last.failed())
            return w.fail(last.error());
        int row = last ? last->toInt() : 0;
        int sinceCheck = 0;
        for (int i = 0; i < r.files.size(); ++i) {
            const QString& file = r.files[i];
            const QString title = QStringLiteral("قرائت فايل %1 (%2 از %3)").arg(QFileInfo(file).fileName()).arg(i + 1).arg(r.files.size());
            prompt.progress(title, 0, 1000);
            const FileReading reading = readStatementFile(file, *layout, r.separator, [&](const StatementLine& line) {
                if (line.date < from || line.date > to) {
                    ++out.outOfRange;
                } else {
                    if (!w.insert(db::Store::Deposits, StatementTable, statementValues(line, r.account, ++row, layout->bank, *places)))
                        return false;
                    ++out.written;
                }
                if (++sinceCheck >= StopCheckEvery) {
                    sinceCheck = 0;
                    if (prompt.stopRequested()) {
                        out.stopped = true;
                        return false;
                    }
                }
                return true;
            }, [&](qint64 done, qint64 total) {
                prompt.progress(title, total > 0 ? int(done * 1000 / total) : 0, total > 0 ? 1000 : 0);
                if (prompt.stopRequested()) {
                    out.stopped = true;
                    return false;
                }
                return true;
            }, r.sheet);
            if (!w.ok())
                return false;
            if (reading.failure) {
                out.failure = readFailureText(file, *reading.failure);
                break;
            }
            if (out.stopped)
                break;
            ++out.filesRead;
            prompt.progress(title, 1000, 1000);
        }
        return true;
    }, &error);
    if (!ok)
        return refusedWith(prompt, error.isEmpty() ? QStringLiteral("قرائت صورتحساب انجام نشد") : error);
    out.done = true;
    if (!out.failure.isEmpty())
        prompt.info(out.failure);
    return out;
}

StatementReader::Rebuilt StatementReader::rebuildBranches(int account, const QString& from, const QString& to, startup::Prompt& prompt)
{
    Rebuilt out;
    if (!mayWrite(session_, writer_, prompt)) {
        out.message = deposits::writeRefusalText();
        return out;
    }
    if (!storedDate(from) || !storedDate(to) || to < from) {
        out.message = QStringLiteral("محدوده تاريخ درست نيست");
        prompt.info(out.message);
        return out;
    }
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        out.changed = 0;
        if (!mayWriteIn(w, session_, writer_))
            return false;
        QVariantMap binds{{QStringLiteral(":h"), account}};
        const QString where = QStringLiteral("HESABNO = :h AND ") + storedRangeSql(QStringLiteral("CHKDATE"), from, to, binds);
        int n = 0;
        if (!w.update(db::Store::Deposits, StatementTable, QStringLiteral("SHOBEH = 0"), where + QStringLiteral(" AND SHOBEH IS NULL"), binds, &n))
            return false;
        out.changed += n;
        const std::optional<BranchPlaces> places = branchPlaces(w);
        if (!places)
            return false;
        // One update per branch the range holds.
        QList<qint64> branches;
        {
            QSqlQuery q(w.connection());
            q.setForwardOnly(true);
            QString why;
            if (!db::prepareBound(q, w.resolve(QStringLiteral("SELECT DISTINCT SHOBEH FROM {deposits}.SURATHESAB WHERE ") + where), binds, &why) || !q.exec())
                return w.fail(why.isEmpty() ? q.lastError().text() : why);
            while (q.next())
                branches << q.value(0).toLongLong();
        }
        for (qint64 b : branches) {
            const BranchPlace p = places->value(b);
            QVariantMap set = binds;
            set.insert(QStringLiteral(":b"), b);
            set.insert(QStringLiteral(":o"), p.office);
            set.insert(QStringLiteral(":p"), p.province);
            if (!w.update(db::Store::Deposits, StatementTable, QStringLiteral("SARPARASTI = :o, OSTAN = :p"), where + QStringLiteral(" AND SHOBEH = :b"), set, &n))
                return false;
            out.changed += n;
        }
        return true;
    }, &error);
    if (!ok) {
        out.message = error.isEmpty() ? QStringLiteral("بازسازي انجام نشد") : error;
        prompt.info(out.message);
        return out;
    }
    out.done = true;
    return out;
}

} // namespace orvak::statements
