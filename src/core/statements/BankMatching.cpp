#include "core/statements/BankMatching.h"

#include "core/deposits/Deposit.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositWork.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/statements/StatementDates.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>

#include <cmath>

namespace orvak::statements {

namespace {

// The kind a deposit added from the statement gets: nobody has said whose it is.
constexpr int UnidentifiedKind = 18;   // "واريزي نامشخص"

QString monthCondition(const MatchRequest& r, QVariantMap& binds)
{
    const QString from = monthStart(r.year, r.month);
    binds.insert(QStringLiteral(":mf"), storedDate(from).value_or(QString()).left(6) + QStringLiteral("00"));
    binds.insert(QStringLiteral(":mt"), storedDate(from).value_or(QString()).left(6) + QStringLiteral("99"));
    return QStringLiteral("CHKDATE >= :mf AND CHKDATE <= :mt");
}

QString requestProblem(const MatchRequest& r)
{
    if (r.account <= 0)
        return QStringLiteral("حساب بانکي صورتحساب تعيين نشده است");
    if (r.month < 1 || r.month > 12 || r.year < FirstWindowYear || r.year > LastWindowYear)
        return QStringLiteral("سال و ماه درست نيست");
    return {};
}

// Reads through a connection: the month's lines, its open deposits, the lines earlier
// runs took. Used for the preview (the session's databases) and inside the work.
struct Reads {
    std::function<bool(const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlQuery&)>& row, QString* why)> each;
};

std::optional<MatchPlan> computePlan(const MatchRequest& r, const Reads& reads, QString* why)
{
    QList<MonthLine> lines;
    QVariantMap binds{{QStringLiteral(":h"), r.account}};
    const QString month = monthCondition(r, binds);
    bool ok = reads.each(QStringLiteral("SELECT ROW, CHKDATE, CHKTIME, FLAG, AMOUNT, CHKNO, TRANSACTIONNO, DESCR, AMOUNTBANK FROM {deposits}.SURATHESAB "
                                        "WHERE HESABNO = :h AND ") + month + QStringLiteral(" ORDER BY CHKDATE, CHKTIME, ROW"),
                         binds, [&](const QSqlQuery& q) {
                             MonthLine l;
                             l.row = q.value(0).toInt();
                             l.date = fullDate(q.value(1).toString()).value_or(QString());
                             l.time = q.value(2).toString().trimmed();
                             l.credit = q.value(3).toInt() == 1;
                             l.amount = qint64(std::llround(q.value(4).toDouble()));
                             l.document = q.value(5).toLongLong();
                             l.transaction = q.value(6).toString().trimmed();
                             l.description = q.value(7).toString().trimmed();
                             l.hasBalance = !q.value(8).isNull();
                             l.balance = qint64(std::llround(q.value(8).toDouble()));
                             lines << l;
                         }, why);
    if (!ok)
        return std::nullopt;
    QList<OpenDeposit> open;
    qint64 book = 0;
    ok = reads.each(QStringLiteral("SELECT IDX, AMOUNT, CHKDATE, CHKNO, TIKSUDMO FROM {deposits}.SEP_DAR WHERE MY = :y AND MM = :m ORDER BY CHKDATE, IDX"),
                    {{QStringLiteral(":y"), r.year}, {QStringLiteral(":m"), r.month}}, [&](const QSqlQuery& q) {
                        const qint64 amount = qint64(std::llround(q.value(1).toDouble()));
                        book += amount;
                        const QString mark = q.value(4).toString();
                        const QString m = mark.trimmed();
                        if (!m.isEmpty() && m != QLatin1String("O"))
                            return;
                        open << OpenDeposit{q.value(0).toInt(), amount, q.value(2).toString().trimmed(), q.value(3).toLongLong(), mark};
                    }, why);
    if (!ok)
        return std::nullopt;
    QHash<quint64, int> consumed;
    ok = reads.each(QStringLiteral("SELECT CHKDATE, CHKTIME, AMOUNT, CHKNO, TRANSACTIONNO FROM {deposits}.SUDMOROW WHERE HESABNO = :h AND ") + month,
                    binds, [&](const QSqlQuery& q) {
                        ++consumed[lineKey(fullDate(q.value(0).toString()).value_or(QString()), q.value(1).toString(), true,
                                           qint64(std::llround(q.value(2).toDouble())), q.value(3).toLongLong())];
                    }, why);
    if (!ok)
        return std::nullopt;
    MatchPlan plan;
    plan.lines = int(lines.size());
    plan.match = matchMonth(lines, open, r.criteria, consumed);
    plan.bookBalance = book + plan.match.notFoundSum;
    return plan;
}

bool eachRow(QSqlDatabase db, const std::function<QString(const QString&)>& resolve, const QString& sql, const QVariantMap& binds,
             const std::function<void(const QSqlQuery&)>& row, QString* why)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!db::prepareBound(q, resolve(sql), binds, why) || !q.exec()) {
        if (why->isEmpty())
            *why = q.lastError().text();
        return false;
    }
    while (q.next())
        row(q);
    if (q.lastError().isValid()) {
        *why = q.lastError().text();
        return false;
    }
    return true;
}

Reads sessionReads(startup::Session& s)
{
    return {[&s](const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlQuery&)>& row, QString* why) {
        return eachRow(s.deposits(), [](const QString& t) { return QString(t).remove(QStringLiteral("{deposits}.")); }, sql, binds, row, why);
    }};
}

Reads workReads(db::UnitOfWork& w)
{
    return {[&w](const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlQuery&)>& row, QString* why) {
        return eachRow(w.connection(), [&w](const QString& t) { return w.resolve(t); }, sql, binds, row, why);
    }};
}

MatchOutcome refusedWith(startup::Prompt& prompt, const QString& text)
{
    prompt.info(text);
    MatchOutcome o;
    o.message = text;
    return o;
}

// Fewer than SQL Server's 2,100 bound values per statement.
constexpr int Chunk = 500;

} // namespace

BankMatching::BankMatching(startup::Session& session, Writer writer)
    : session_(session)
    , writer_(writer)
{
}

QString BankMatching::matchButtonText() { return QStringLiteral("تطابق با صورتحساب بانک"); }
QString BankMatching::undoButtonText() { return QStringLiteral("برگشت آخرين تطابق"); }

QString BankMatching::planText(const MatchRequest& r, const MatchPlan& p)
{
    const MonthMatch& m = p.match;
    QStringList lines;
    lines << QStringLiteral("تطابق صورتحساب حساب %1 در %2 %3").arg(r.account).arg(util::jalaliMonthName(r.month)).arg(r.year);
    lines << QStringLiteral("سطرهاي صورتحساب ماه: %1 (برداشت: %2)").arg(p.lines).arg(m.debits);
    lines << QStringLiteral("سپرده هاي تطبيق داده شده (تائيد شده P): %1 به مبلغ %2").arg(m.matched).arg(util::FormatAmount(m.matchedSum));
    lines << QStringLiteral("واريزهاي بدون سپرده که سپرده نيمه تائيد (R) مي شوند: %1 به مبلغ %2").arg(m.notFound).arg(util::FormatAmount(m.notFoundSum));
    if (m.alreadyMatched > 0)
        lines << QStringLiteral("سطرهايي که در تطابق قبلي آمده اند و کنار گذاشته مي شوند: %1").arg(m.alreadyMatched);
    lines << sureText();
    return lines.join(QLatin1Char('\n'));
}

db::Fetched<MatchPlan> BankMatching::plan(const MatchRequest& r) const
{
    if (const QString problem = requestProblem(r); !problem.isEmpty())
        return db::Fetched<MatchPlan>::failure(problem);
    QString why;
    const std::optional<MatchPlan> p = computePlan(r, sessionReads(session_), &why);
    if (!p)
        return db::Fetched<MatchPlan>::failure(why);
    return db::Fetched<MatchPlan>::found(*p);
}

MatchOutcome BankMatching::run(const MatchRequest& r, startup::Prompt& prompt)
{
    if (const QString problem = requestProblem(r); !problem.isEmpty())
        return refusedWith(prompt, problem);
    if (!mayWrite(session_, writer_, prompt)) {
        MatchOutcome o;
        o.message = deposits::writeRefusalText();
        return o;
    }
    const db::Fetched<MatchPlan> shown = plan(r);
    if (!shown)
        return refusedWith(prompt, shown.failed() ? shown.error() : QStringLiteral("صورتحساب خوانده نشد"));
    if (shown->match.matched == 0 && shown->match.notFound == 0)
        return refusedWith(prompt, QStringLiteral("در صورتحساب اين ماه واريزي براي تطابق نيست"));
    if (!prompt.ask(planText(r, *shown)))
        return {};

    MatchOutcome out;
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        out = {};
        if (!mayWriteIn(w, session_, writer_) || !accountExists(w, r.account))
            return false;
        QString why;
        const std::optional<MatchPlan> now = computePlan(r, workReads(w), &why);
        if (!now)
            return w.fail(why);
        if (now->match.lines != shown->match.lines)
            return w.fail(QStringLiteral("صورتحساب يا سپرده هاي ماه در اين فاصله تغيير کرده است؛ تطابق را دوباره انجام دهيد"));
        const auto head = w.nextKey(db::Store::Deposits, QStringLiteral("SUDMOHEAD"), QStringLiteral("IDX"));
        const auto firstIdx = head ? w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX")) : std::nullopt;
        const auto serial = firstIdx ? w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("MOSALSAL")) : std::nullopt;
        const auto book = serial ? w.nextKey(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("YERSEPROW"), QStringLiteral("MY = :y"),
                                             {{QStringLiteral(":y"), r.year}})
                                 : std::nullopt;
        if (!book)
            return false;
        out.run = int(*head);
        const QDateTime stamp = session_.clock().now();
        const QString today = util::toJalali(stamp.date()).toText();
        const MonthMatch& m = now->match;

        // The lines, by row, for the deposits added and the links.
        QHash<int, MonthLine> lineOf;
        {
            QVariantMap binds{{QStringLiteral(":h"), r.account}};
            const QString month = monthCondition(r, binds);
            if (!workReads(w).each(QStringLiteral("SELECT ROW, CHKDATE, CHKTIME, AMOUNT, CHKNO, TRANSACTIONNO, DESCR FROM {deposits}.SURATHESAB WHERE HESABNO = :h AND ")
                                       + month,
                                   binds, [&](const QSqlQuery& q) {
                                       MonthLine l;
                                       l.row = q.value(0).toInt();
                                       l.date = q.value(1).toString().trimmed();   // stored form, for the link
                                       l.time = q.value(2).toString().trimmed();
                                       l.amount = qint64(std::llround(q.value(3).toDouble()));
                                       l.document = q.value(4).toLongLong();
                                       l.transaction = q.value(5).toString().trimmed();
                                       l.description = q.value(6).toString().trimmed();
                                       lineOf.insert(l.row, l);
                                   }, &why))
                return w.fail(why);
        }
        const QString descr = QStringLiteral("تطابق با صورتحساب بانک %1 %2 - %3 تطبيق، %4 اضافه")
                                  .arg(today, stamp.time().toString(QStringLiteral("HH:mm")))
                                  .arg(m.matched)
                                  .arg(m.notFound);
        if (!w.insert(db::Store::Deposits, QStringLiteral("SUDMOHEAD"),
                      {{QStringLiteral("IDX"), out.run}, {QStringLiteral("HESABCODE"), r.account}, {QStringLiteral("Y"), r.year},
                       {QStringLiteral("M"), r.month}, {QStringLiteral("MANDEHBANK"), double(m.runningBalance)},
                       {QStringLiteral("MANDEHDAFTAR"), double(now->bookBalance)}, {QStringLiteral("DESCR"), descr}}))
            return false;

        // Matched deposits: still open, or another workstation came first.
        QList<int> matched;
        for (const LineMatch& l : m.lines) {
            if (l.outcome == LineOutcome::Matched)
                matched << l.deposit;
        }
        for (int i = 0; i < matched.size(); i += Chunk) {
            QVariantMap binds;
            const QList<int> part = matched.mid(i, Chunk);
            const QString in = deposits::work::idxIn(part, binds);
            int changed = 0;
            if (!w.update(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("TIKSUDMO = 'P'"),
                          in + QStringLiteral(" AND (TIKSUDMO IS NULL OR TIKSUDMO IN ('', ' ', 'O'))"), binds, &changed))
                return false;
            if (changed != part.size())
                return w.fail(QStringLiteral("سپرده هاي ماه در اين فاصله تغيير کرده است؛ تطابق را دوباره انجام دهيد"));
        }
        int idx = int(*firstIdx);
        qint64 nextSerial = *serial;
        int nextBook = int(*book);
        int link = 0;
        for (const LineMatch& l : m.lines) {
            if (l.outcome != LineOutcome::Matched && l.outcome != LineOutcome::NotFound)
                continue;
            const MonthLine line = lineOf.value(l.row);
            int deposit = l.deposit;
            if (l.outcome == LineOutcome::NotFound) {
                deposits::Deposit d;
                d.idx = deposit = idx++;
                d.my = r.year;
                d.mm = r.month;
                d.amount = line.amount;
                d.amountMandeh = line.amount;
                d.chkDate = fullDate(line.date).value_or(QString());
                d.chkNo = line.document;
                d.descr = line.description.left(120);
                d.sabtDate = today;
                d.fromOldM = 2;
                d.tikSudmo = deposits::HalfConfirmed;
                d.sepKind = UnidentifiedKind;
                d.mosalsal = nextSerial++;
                d.yerSepRow = nextBook++;
                if (!w.insert(db::Store::Deposits, QStringLiteral("SEP_DAR"), deposits::depositValues(d)))
                    return false;
                ++out.added;
            } else {
                ++out.matched;
            }
            if (!w.insert(db::Store::Deposits, QStringLiteral("SUDMOROW"),
                          {{QStringLiteral("HEADIDX"), out.run}, {QStringLiteral("LINE"), ++link}, {QStringLiteral("HESABNO"), r.account},
                           {QStringLiteral("ROW"), line.row}, {QStringLiteral("CHKDATE"), line.date}, {QStringLiteral("CHKTIME"), line.time},
                           {QStringLiteral("AMOUNT"), double(line.amount)}, {QStringLiteral("CHKNO"), line.document},
                           {QStringLiteral("TRANSACTIONNO"), line.transaction}, {QStringLiteral("SEPIDX"), deposit},
                           {QStringLiteral("OLDTIKSUDMO"), l.outcome == LineOutcome::Matched ? l.previousMark : QString()},
                           {QStringLiteral("ADDED"), l.outcome == LineOutcome::NotFound ? 1 : 0}}))
                return false;
        }
        return true;
    }, &error);
    if (!ok)
        return refusedWith(prompt, error.isEmpty() ? QStringLiteral("تطابق انجام نشد") : error);
    out.done = true;
    return out;
}

db::Fetched<LastRun> BankMatching::lastRun(int account) const
{
    const auto row = db::firstRow(session_.deposits(),
                                  QStringLiteral("SELECT h.IDX, h.Y, h.M, h.DESCR, "
                                                 "(SELECT COUNT(*) FROM SUDMOROW r WHERE r.HEADIDX = h.IDX AND r.ADDED = 0), "
                                                 "(SELECT COUNT(*) FROM SUDMOROW r WHERE r.HEADIDX = h.IDX AND r.ADDED = 1) "
                                                 "FROM SUDMOHEAD h WHERE h.IDX = (SELECT MAX(HEADIDX) FROM SUDMOROW WHERE HESABNO = :h)"),
                                  {{QStringLiteral(":h"), account}});
    if (row.failed())
        return db::Fetched<LastRun>::failure(row.error());
    if (row.empty())
        return db::Fetched<LastRun>::none();
    LastRun l;
    l.run = row->value(0).toInt();
    l.year = row->value(1).toInt();
    l.month = row->value(2).toInt();
    l.description = row->value(3).toString();
    l.matched = row->value(4).toInt();
    l.added = row->value(5).toInt();
    return db::Fetched<LastRun>::found(l);
}

MatchOutcome BankMatching::undoLast(int account, startup::Prompt& prompt)
{
    const db::Fetched<LastRun> last = lastRun(account);
    if (last.failed())
        return refusedWith(prompt, last.error());
    if (!last)
        return refusedWith(prompt, QStringLiteral("براي اين حساب تطابقي ثبت نشده است که برگشت داده شود"));
    if (!mayWrite(session_, writer_, prompt)) {
        MatchOutcome o;
        o.message = deposits::writeRefusalText();
        return o;
    }
    const QString question = QStringLiteral("%1 (%2 %3): %4 سپرده از تائيد برمي گردد و %5 سپرده افزوده شده حذف مي شود. %6")
                                 .arg(undoButtonText(), util::jalaliMonthName(last->month))
                                 .arg(last->year)
                                 .arg(last->matched)
                                 .arg(last->added)
                                 .arg(sureText());
    if (!prompt.ask(question))
        return {};
    MatchOutcome out;
    QString error;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        out = {};
        out.run = last->run;
        if (!mayWriteIn(w, session_, writer_))
            return false;
        const auto still = w.scalar(QStringLiteral("SELECT MAX(HEADIDX) FROM {deposits}.SUDMOROW WHERE HESABNO = :h"), {{QStringLiteral(":h"), account}});
        if (!still || still->toInt() != last->run)
            return w.fail(still.failed() ? still.error() : QStringLiteral("تطابق ديگري در اين فاصله ثبت شده است؛ دوباره امتحان کنيد"));
        struct Link {
            int idx;
            QString old;
            bool added;
        };
        QList<Link> links;
        QString why;
        if (!workReads(w).each(QStringLiteral("SELECT SEPIDX, OLDTIKSUDMO, ADDED FROM {deposits}.SUDMOROW WHERE HEADIDX = :r ORDER BY LINE"),
                               {{QStringLiteral(":r"), last->run}}, [&](const QSqlQuery& q) {
                                   links << Link{q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt() == 1};
                               }, &why))
            return w.fail(why);
        // A deposit the run added must be as the run left it; one it matched still matched.
        for (const Link& l : links) {
            const QVariantMap b{{QStringLiteral(":i"), l.idx}};
            const QString untouched = l.added
                ? QStringLiteral("TIKSUDMO = 'R' AND COALESCE(TAFSILI, -1) IN (-1, 0) AND COALESCE(SEPNO, 0) = 0 AND COALESCE(SNDNO, 0) = 0 "
                                 "AND COALESCE(ALTP, 0) = 0 AND COALESCE(PAYMENT, -1) = -1 AND COALESCE(AMOUNT_RAD, 0) = 0 AND NOT ")
                    + deposits::work::ReferencedSql
                : QStringLiteral("TIKSUDMO = 'P'");
            const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_DAR WHERE IDX = :i AND ") + untouched, b);
            if (n.failed())
                return w.fail(n.error());
            if (!n || n->toInt() != 1)
                return w.fail(QStringLiteral("سپرده شناسه %1 پس از تطابق تغيير کرده است؛ برگشت آخرين تطابق ممکن نيست").arg(l.idx));
        }
        for (const Link& l : links) {
            const QVariantMap b{{QStringLiteral(":i"), l.idx}, {QStringLiteral(":o"), l.old.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(l.old)}};
            if (l.added) {
                if (!w.remove(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("IDX = :i"), b))
                    return false;
                ++out.added;
            } else {
                if (!w.update(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("TIKSUDMO = :o"), QStringLiteral("IDX = :i"), b))
                    return false;
                ++out.matched;
            }
        }
        const QVariantMap run{{QStringLiteral(":r"), last->run}};
        return w.remove(db::Store::Deposits, QStringLiteral("SUDMOROW"), QStringLiteral("HEADIDX = :r"), run)
            && w.remove(db::Store::Deposits, QStringLiteral("SUDMOHEAD"), QStringLiteral("IDX = :r"), run);
    }, &error);
    if (!ok)
        return refusedWith(prompt, error.isEmpty() ? QStringLiteral("برگشت تطابق انجام نشد") : error);
    out.done = true;
    return out;
}

} // namespace orvak::statements
