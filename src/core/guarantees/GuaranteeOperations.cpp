#include "core/guarantees/GuaranteeOperations.h"

#include "core/db/UnitOfWork.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/util/Jalali.h"

#include <QSqlQuery>

namespace orvak::guarantees {

namespace {

using db::Store;

const QString Hist = QStringLiteral("ZHIST");
const QString Zem = QStringLiteral("ZEMANAT");

QVariant textOrNull(const QString& s) { return s.trimmed().isEmpty() ? QVariant() : QVariant(s.trimmed()); }

HistoryRow historyFrom(const QSqlRecord& r)
{
    auto text = [&](const char* c) { return r.value(QString::fromLatin1(c)).toString().trimmed(); };
    HistoryRow h;
    h.zidx = r.value(QStringLiteral("ZIDX")).toInt();
    h.row = r.value(QStringLiteral("ROW")).toInt();
    h.kind = r.value(QStringLiteral("KIND")).toInt();
    h.letterDate = text("LETTERDATE");
    h.letterNo = text("LETTERNO");
    h.amount = rialsOf(r.value(QStringLiteral("AMOUNT")));
    h.sarresid = text("SARRESID");
    h.ans = r.value(QStringLiteral("ANS")).toInt();
    h.ansLetterNo = text("ANSLETTERNO");
    h.ansLetterDate = text("ANSLETTERDATE");
    h.date = text("DATE");
    h.ltrCode = r.value(QStringLiteral("LTRCODE")).toInt();
    h.content = r.value(QStringLiteral("LTRCONTENT")).toString();
    h.sabtDate = text("LTRSABTDATE");
    h.oldSarresid = text("OLD_SARRESID");
    h.oldAmount = rialsOf(r.value(QStringLiteral("OLD_AMOUNT")));
    if (!r.value(QStringLiteral("OLD_STATUSE")).isNull())
        h.oldStatus = r.value(QStringLiteral("OLD_STATUSE")).toInt();
    h.oldZno = text("OLD_ZNO");
    h.amountOk = rialsOf(r.value(QStringLiteral("AMOUNT_OK")));
    h.sarresidOk = text("SARRESID_OK");
    return h;
}

// A typed date: empty stays empty; otherwise a real date or nullopt.
std::optional<QString> dateOrEmpty(const QString& text)
{
    QString bare = text;
    bare.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
    if (bare.isEmpty())
        return QString();
    const auto d = util::parseJalali(text);
    if (!d)
        return std::nullopt;
    return d->toText();
}

// The flag column an operation sets (two for a reduction and extension).
QStringList flagsOf(int kind)
{
    switch (kind) {
    case OpExtension: return {QStringLiteral("TAMDIDSTATUSE")};
    case OpReduction: return {QStringLiteral("TAGHLILSTATUSE")};
    case OpCancellation:
    case OpTemporaryCancellation: return {QStringLiteral("EBTALSTATUSE")};
    case OpSeizure: return {QStringLiteral("ZABTSTATUSE")};
    case OpReductionExtension: return {QStringLiteral("TAMDIDSTATUSE"), QStringLiteral("TAGHLILSTATUSE")};
    case OpConfirmation: return {QStringLiteral("TAEIDSTATUSE")};
    default: return {};
    }
}

struct Applied {
    QString set;
    QVariantMap binds;
};

// What an answer writes on the guarantee, after checking it against the guarantee
// as it stands; nullopt with the reason.
std::optional<Applied> answerChanges(const Guarantee& g, int kind, const QString& requestedDue, qint64 requestedAmount, Answer& a, QString* why)
{
    auto refuse = [&](const QString& text) -> std::optional<Applied> {
        *why = text;
        return std::nullopt;
    };
    const auto ansDate = dateOrEmpty(a.letterDate);
    if (!ansDate || ansDate->isEmpty())
        return refuse(QStringLiteral("تاريخ نامه پاسخ درست نيست: ") + a.letterDate);
    a.letterDate = *ansDate;
    if (a.letterNo.trimmed().isEmpty())
        return refuse(QStringLiteral("شماره نامه پاسخ وارد نشده است"));
    const auto opDate = dateOrEmpty(a.operationDate);
    if (!opDate)
        return refuse(QStringLiteral("تاريخ عمليات درست نيست: ") + a.operationDate);
    a.operationDate = opDate->isEmpty() ? a.letterDate : *opDate;
    Applied out;
    out.binds.insert(QStringLiteral(":Idx"), g.idx);
    QStringList sets;
    if (const auto status = resultStatusOfKind(kind)) {
        sets << QStringLiteral("ZSTATUSE = :Status");
        out.binds.insert(QStringLiteral(":Status"), *status);
    }
    if (kindExtends(kind)) {
        const auto due = dateOrEmpty(a.due.isEmpty() ? requestedDue : a.due);
        if (!due || due->isEmpty())
            return refuse(QStringLiteral("تاريخ سررسيد جديد درست نيست: ") + a.due);
        if (!g.sarresid.isEmpty() && *due <= g.sarresid)
            return refuse(dueNotLaterText());
        a.due = *due;
        sets << QStringLiteral("SARRESID = :Due");
        out.binds.insert(QStringLiteral(":Due"), a.due);
    } else {
        a.due = g.sarresid;
    }
    if (kindReduces(kind)) {
        const qint64 amount = a.amount.value_or(requestedAmount);
        if (amount <= 0)
            return refuse(QStringLiteral("مبلغ پس از تقليل وارد نشده است"));
        if (amount > g.amount)
            return refuse(reductionTooLargeText());
        a.amount = amount;
        sets << QStringLiteral("AMOUNT = :Amount");
        out.binds.insert(QStringLiteral(":Amount"), double(amount));
    } else {
        a.amount = g.amount;
    }
    if (kind == OpCancellation || kind == OpTemporaryCancellation) {
        sets << QStringLiteral("EBTALDATE = :Ebtal");
        out.binds.insert(QStringLiteral(":Ebtal"), a.operationDate);
    }
    for (const QString& flag : flagsOf(kind))
        sets << flag + QStringLiteral(" = 1");
    const QString number = a.newNumber.trimmed();
    if (number.size() > 20)
        return refuse(QStringLiteral("شماره جديد تضمين بيش از 20 نويسه است"));
    if (!number.isEmpty() && number != g.zno) {
        sets << QStringLiteral("ZNO = :NewNo, TZNO_NEW = :NewNo");
        out.binds.insert(QStringLiteral(":NewNo"), number);
    }
    out.set = sets.join(QStringLiteral(", "));
    return out;
}

QVariantMap oldColumns(const Guarantee& g)
{
    return {{QStringLiteral("OLD_SARRESID"), textOrNull(g.sarresid)},
            {QStringLiteral("OLD_AMOUNT"), double(g.amount)},
            {QStringLiteral("OLD_STATUSE"), g.status},
            {QStringLiteral("OLD_ZNO"), textOrNull(g.zno)}};
}

} // namespace

QString historyKindLabel(int kind) { return kind >= 0 && kind < 25 ? statusLabel(kind) : QString(); }

QString answeredText(int ans)
{
    return ans == AnsAnswered ? QStringLiteral("بلي") : ans == AnsPending ? QStringLiteral("خير") : QString();
}

std::optional<int> requestStatusOfKind(int kind)
{
    switch (kind) {
    case OpExtension: return 10;
    case OpReduction: return 11;
    case OpCancellation: return 12;
    case OpSeizure: return 14;
    case OpReductionExtension: return 13;
    case OpConfirmation: return 9;
    default: return std::nullopt;
    }
}

std::optional<int> resultStatusOfKind(int kind)
{
    switch (kind) {
    case OpExtension:
    case OpReduction:
    case OpCancellation:
    case OpSeizure:
    case OpReductionExtension:
    case OpConfirmation:
    case OpTemporaryCancellation: return kind;
    case 6: return 6;   // issued, after an issuance request
    default: return std::nullopt;
    }
}

bool kindExtends(int kind) { return kind == OpExtension || kind == OpReductionExtension; }
bool kindReduces(int kind) { return kind == OpReduction || kind == OpReductionExtension; }

int letterKindOfHistory(int kind)
{
    switch (kind) {
    case OpExtension: return 1;
    case OpReduction: return 2;
    case OpReductionExtension: return 3;
    case OpConfirmation: return 4;
    case OpSeizure: return 5;
    case OpCancellation: return 6;
    default: return 0;
    }
}

QString subjectOfHistory(int kind)
{
    switch (kind) {
    case OpExtension: return QStringLiteral("درخواست تمديد ضمانت نامه");
    case OpReduction: return QStringLiteral("درخواست تقليل ضمانت نامه");
    case OpReductionExtension: return QStringLiteral("درخواست تمديد و تقليل ضمانت نامه");
    case OpConfirmation: return QStringLiteral("درخواست تاييد ضمانت نامه");
    case OpSeizure: return QStringLiteral("درخواست ضبط ضمانت نامه");
    case OpCancellation: return QStringLiteral("درخواست ابطال ضمانت نامه");
    default: return QString();
    }
}

const QStringList& operationKindTexts()
{
    static const QStringList texts = {QStringLiteral("0) معتبر"), QStringLiteral("1) تمديد"), QStringLiteral("2) تقليل"), QStringLiteral("3) ابطال"),
                                      QStringLiteral("4) ضبط"),   QStringLiteral("5) تقليل و تمديد"), QStringLiteral("6) صدور"),
                                      QStringLiteral("7) درخواست صدور"), QStringLiteral("8) تاييد"), QStringLiteral("9)ابطال موقت")};
    return texts;
}

int historyKindOfOperation(int entry) { return entry == 9 ? OpTemporaryCancellation : entry; }

QString nothingSelectedText() { return QStringLiteral("هيچ اطلاعاتي وارد نشده است"); }
QString onlyLastText() { return QStringLiteral("عمل حذف، فقط از آخرين نامه ايجاد شده امکان پذير مي باشد."); }
QString withdrawQuestion() { return QStringLiteral("حذف نامه و بازگشت به وضعيت قبلي ضمانتنامه، مطمئن هستيد؟"); }
QString noPreviousStateText()
{
    return QStringLiteral("سوابق قبلي اين ضمانتنامه موجود نيست پس ضمانتنامه به وضعيت قبلي برنمي گردد.فقط نامه حذف مي شود");
}
QString noLetterText() { return QStringLiteral("براي اين ضمانتنامه نامه اي ثبت نشده است"); }
QString alreadyAnsweredText() { return QStringLiteral("پاسخ اين نامه قبلا ثبت شده است"); }
QString dueNotLaterText() { return QStringLiteral("تاريخ سررسيد جديد بايد بعد از سررسيد فعلي ضمانتنامه باشد"); }
QString reductionTooLargeText() { return QStringLiteral("مبلغ پس از تقليل از مبلغ فعلي ضمانتنامه بيشتر است"); }
QString letterNotFoundText() { return QStringLiteral("نامه مورد نظر در سوابق اين ضمانتنامه نيست"); }

GuaranteeOperations::GuaranteeOperations(startup::Session& session)
    : session_(session)
{
}

db::Fetched<QList<HistoryRow>> GuaranteeOperations::history(int idx) const
{
    QSqlQuery q(session_.deposits());
    QString why;
    if (!db::prepareBound(q, QStringLiteral("SELECT * FROM ZHIST WHERE ZIDX = :Idx AND COALESCE(ANS, 0) <> 100 ORDER BY ROW"),
                          {{QStringLiteral(":Idx"), idx}}, &why)
        || !q.exec())
        return db::Fetched<QList<HistoryRow>>::failure(why.isEmpty() ? q.lastError().text() : why);
    QList<HistoryRow> rows;
    while (q.next())
        rows << historyFrom(q.record());
    return db::Fetched<QList<HistoryRow>>::found(rows);
}

db::Fetched<HistoryRow> GuaranteeOperations::letter(int idx, int row) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM ZHIST WHERE ZIDX = :Idx AND ROW = :Row AND COALESCE(ANS, 0) <> 100"),
                                {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
    if (r.failed())
        return db::Fetched<HistoryRow>::failure(r.error());
    if (!r)
        return db::Fetched<HistoryRow>::none();
    return db::Fetched<HistoryRow>::found(historyFrom(*r));
}

Outcome GuaranteeOperations::answer(int idx, int row, const Answer& given, startup::Prompt& prompt)
{
    Outcome out;
    QString error;
    Answer a = given;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            if (const auto refusal = Guarantees::writeRefusal(w, session_))
                return w.fail(*refusal);
            const auto g = Guarantees::readIn(w, idx);
            if (!g)
                return false;
            const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW = :Row AND COALESCE(ANS, 0) <> 100"),
                                      {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
            if (!r)
                return w.fail(r.failed() ? r.error() : letterNotFoundText());
            const HistoryRow h = historyFrom(*r);
            if (h.answered())
                return w.fail(alreadyAnsweredText());
            QString why;
            const auto changes = answerChanges(*g, h.kind, h.sarresid, h.amount, a, &why);
            if (!changes)
                return w.fail(why);
            const QVariantMap hist{{QStringLiteral(":Idx"), idx},
                                   {QStringLiteral(":Row"), row},
                                   {QStringLiteral(":No"), a.letterNo.trimmed().left(20)},
                                   {QStringLiteral(":Date"), a.letterDate},
                                   {QStringLiteral(":Due"), textOrNull(a.due)},
                                   {QStringLiteral(":Amount"), double(*a.amount)},
                                   {QStringLiteral(":Op"), a.operationDate}};
            if (!w.update(Store::Deposits, Hist,
                          QStringLiteral("ANS = 1, ANSLETTERNO = :No, ANSLETTERDATE = :Date, SARRESID_OK = :Due, AMOUNT_OK = :Amount, DATE = :Op"),
                          QStringLiteral("ZIDX = :Idx AND ROW = :Row"), hist))
                return false;
            if (!changes->set.isEmpty() && !w.update(Store::Deposits, Zem, changes->set, QStringLiteral("IDX = :Idx"), changes->binds))
                return false;
            out.changed = 1;
            return true;
        },
        &error);
    if (!ok) {
        out.message = error.isEmpty() ? QStringLiteral("پاسخ نامه ثبت نشد") : error;
        prompt.info(out.message);
        return out;
    }
    out.done = true;
    return out;
}

Outcome GuaranteeOperations::record(int idx, const RecordedOperation& op, startup::Prompt& prompt)
{
    Outcome out;
    QString error;
    Answer a = op.answer;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            if (const auto refusal = Guarantees::writeRefusal(w, session_))
                return w.fail(*refusal);
            if (op.kind <= 0 || op.kind >= 25 || !resultStatusOfKind(op.kind))
                return w.fail(QStringLiteral("نوع عمليات انتخاب نشده است"));
            const auto sent = dateOrEmpty(op.sentDate);
            if (!sent)
                return w.fail(QStringLiteral("تاريخ نامه ارسالي درست نيست: ") + op.sentDate);
            const auto g = Guarantees::readIn(w, idx);
            if (!g)
                return false;
            QString why;
            const auto changes = answerChanges(*g, op.kind, QString(), g->amount, a, &why);
            if (!changes)
                return w.fail(why);
            const auto next = w.nextKey(Store::Deposits, Hist, QStringLiteral("ROW"), QStringLiteral("ZIDX = :Idx"), {{QStringLiteral(":Idx"), idx}});
            if (!next)
                return false;
            QVariantMap h = oldColumns(*g);
            h.insert({{QStringLiteral("ZIDX"), idx},
                      {QStringLiteral("ROW"), int(*next)},
                      {QStringLiteral("KIND"), op.kind},
                      {QStringLiteral("LETTERNO"), textOrNull(op.sentNo.left(20))},
                      {QStringLiteral("LETTERDATE"), textOrNull(*sent)},
                      {QStringLiteral("ANSLETTERNO"), a.letterNo.trimmed().left(20)},
                      {QStringLiteral("ANSLETTERDATE"), a.letterDate},
                      {QStringLiteral("SARRESID"), textOrNull(a.due)},
                      {QStringLiteral("AMOUNT"), double(*a.amount)},
                      {QStringLiteral("ANS"), AnsAnswered},
                      {QStringLiteral("DATE"), a.operationDate},
                      {QStringLiteral("LTRSABTDATE"), session_.clock().todayJalali()},
                      {QStringLiteral("SARRESID_OK"), textOrNull(a.due)},
                      {QStringLiteral("AMOUNT_OK"), double(*a.amount)}});
            if (!w.insert(Store::Deposits, Hist, h))
                return false;
            if (!changes->set.isEmpty() && !w.update(Store::Deposits, Zem, changes->set, QStringLiteral("IDX = :Idx"), changes->binds))
                return false;
            out.changed = int(*next);
            return true;
        },
        &error);
    if (!ok) {
        out.message = error.isEmpty() ? QStringLiteral("عمليات ثبت نشد") : error;
        prompt.info(out.message);
        return out;
    }
    out.done = true;
    return out;
}

Outcome GuaranteeOperations::editReferences(int idx, int row, const LetterReferences& refs, startup::Prompt& prompt)
{
    Outcome out;
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            if (const auto refusal = Guarantees::writeRefusal(w, session_))
                return w.fail(*refusal);
            QVariantMap binds{{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}};
            const std::pair<const QString*, const char*> dates[] = {{&refs.letterDate, ":Date"}, {&refs.ansLetterDate, ":AnsDate"}};
            for (const auto& [text, name] : dates) {
                const auto d = dateOrEmpty(*text);
                if (!d)
                    return w.fail(QStringLiteral("تاريخ درست نيست: ") + *text);
                binds.insert(QString::fromLatin1(name), textOrNull(*d));
            }
            if (refs.letterNo.trimmed().size() > 20 || refs.ansLetterNo.trimmed().size() > 20)
                return w.fail(QStringLiteral("شماره نامه بيش از 20 نويسه است"));
            binds.insert(QStringLiteral(":No"), textOrNull(refs.letterNo));
            binds.insert(QStringLiteral(":AnsNo"), textOrNull(refs.ansLetterNo));
            int changed = 0;
            if (!w.update(Store::Deposits, Hist, QStringLiteral("LETTERNO = :No, LETTERDATE = :Date, ANSLETTERNO = :AnsNo, ANSLETTERDATE = :AnsDate"),
                          QStringLiteral("ZIDX = :Idx AND ROW = :Row AND COALESCE(ANS, 0) <> 100"), binds, &changed))
                return false;
            if (changed == 0)
                return w.fail(letterNotFoundText());
            out.changed = changed;
            return true;
        },
        &error);
    if (!ok) {
        out.message = error.isEmpty() ? QStringLiteral("تغييرات ثبت نشد") : error;
        prompt.info(out.message);
        return out;
    }
    out.done = true;
    return out;
}

Outcome GuaranteeOperations::withdraw(int idx, int row, startup::Prompt& prompt)
{
    Outcome out;
    auto refuse = [&](const QString& text) {
        out.message = text;
        prompt.info(text);
        return out;
    };
    if (row <= 0)
        return refuse(nothingSelectedText());
    if (const auto refusal = Guarantees(session_).writeRefusal())
        return refuse(*refusal);
    const auto last = db::scalar(session_.deposits(), QStringLiteral("SELECT MAX(ROW) FROM ZHIST WHERE ZIDX = :Idx AND COALESCE(ANS, 0) <> 100"),
                                 {{QStringLiteral(":Idx"), idx}});
    if (last.failed())
        return refuse(last.error());
    if (!last || last->isNull())
        return refuse(noLetterText());
    if (last->toInt() != row)
        return refuse(onlyLastText());
    const auto chosen = letter(idx, row);
    if (!chosen)
        return refuse(chosen.failed() ? chosen.error() : letterNotFoundText());
    if (!prompt.ask(withdrawQuestion()))
        return out;
    if (!chosen->oldStatus)
        prompt.info(noPreviousStateText());
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            if (const auto refusal = Guarantees::writeRefusal(w, session_))
                return w.fail(*refusal);
            const auto g = Guarantees::readIn(w, idx);
            if (!g)
                return false;
            // Read again inside the work: another workstation may have added a letter.
            const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW = :Row AND COALESCE(ANS, 0) <> 100"),
                                      {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
            if (!r)
                return w.fail(r.failed() ? r.error() : letterNotFoundText());
            const HistoryRow h = historyFrom(*r);
            const auto after = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW > :Row AND COALESCE(ANS, 0) <> 100"),
                                        {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
            if (!after)
                return w.fail(after.error());
            if (after->toInt() > 0)
                return w.fail(onlyLastText());
            if (h.oldStatus) {
                QStringList sets{QStringLiteral("ZSTATUSE = :Status")};
                QVariantMap binds{{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Status"), *h.oldStatus}};
                if (h.answered()) {
                    sets << QStringLiteral("AMOUNT = :Amount") << QStringLiteral("SARRESID = :Due");
                    binds.insert(QStringLiteral(":Amount"), double(h.oldAmount));
                    binds.insert(QStringLiteral(":Due"), textOrNull(h.oldSarresid));
                    // What the answer wrote besides: each taken back to what the
                    // letters left before it say.
                    const auto earlier = [&](const QString& where) {
                        return w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW < :Row AND ANS = 1 AND ") + where,
                                        {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
                    };
                    for (const QString& flag : flagsOf(h.kind)) {
                        const QString kinds = flag == QStringLiteral("TAMDIDSTATUSE")    ? QStringLiteral("(1, 5)")
                                              : flag == QStringLiteral("TAGHLILSTATUSE") ? QStringLiteral("(2, 5)")
                                              : flag == QStringLiteral("EBTALSTATUSE")   ? QStringLiteral("(3, 15)")
                                              : flag == QStringLiteral("ZABTSTATUSE")    ? QStringLiteral("(4)")
                                                                                         : QStringLiteral("(8)");
                        const auto n = earlier(QStringLiteral("KIND IN ") + kinds);
                        if (!n)
                            return w.fail(n.error());
                        // A new guarantee carries no flag (NULL); only answers set one.
                        sets << flag + (n->toInt() > 0 ? QStringLiteral(" = 1") : QStringLiteral(" = NULL"));
                    }
                    if (h.kind == OpCancellation || h.kind == OpTemporaryCancellation) {
                        const auto before = w.scalar(
                            QStringLiteral("SELECT DATE FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW < :Row AND ANS = 1 AND KIND IN (3, 15) ORDER BY ROW DESC"),
                            {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
                        if (before.failed())
                            return w.fail(before.error());
                        sets << QStringLiteral("EBTALDATE = :Ebtal");
                        binds.insert(QStringLiteral(":Ebtal"), before ? textOrNull(before->toString()) : QVariant());
                    }
                    // A replacement's new number: the number before it, and the
                    // replacement mark only where an earlier letter had replaced it.
                    if (!h.oldZno.isEmpty() && g->zno != h.oldZno) {
                        const auto first = w.scalar(QStringLiteral("SELECT OLD_ZNO FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND ROW < :Row AND "
                                                                   "COALESCE(ANS, 0) <> 100 ORDER BY ROW"),
                                                    {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}});
                        if (first.failed())
                            return w.fail(first.error());
                        const bool replacedBefore = first && !first->toString().trimmed().isEmpty() && first->toString().trimmed() != h.oldZno;
                        sets << QStringLiteral("ZNO = :OldNo, TZNO_NEW = :OldNew");
                        binds.insert(QStringLiteral(":OldNo"), h.oldZno);
                        binds.insert(QStringLiteral(":OldNew"), replacedBefore ? QVariant(h.oldZno) : QVariant());
                    }
                }
                if (!w.update(Store::Deposits, Zem, sets.join(QStringLiteral(", ")), QStringLiteral("IDX = :Idx"), binds))
                    return false;
            }
            int removed = 0;
            if (!w.remove(Store::Deposits, Hist, QStringLiteral("(ZIDX = :Idx AND ROW = :Row) OR ANS = 100"),
                          {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Row"), row}}, &removed))
                return false;
            out.changed = removed;
            return true;
        },
        &error);
    if (!ok)
        return refuse(error.isEmpty() ? QStringLiteral("نامه حذف نشد") : error);
    out.done = true;
    return out;
}

Outcome GuaranteeOperations::withdrawLast(int idx, startup::Prompt& prompt)
{
    const auto last = db::scalar(session_.deposits(), QStringLiteral("SELECT MAX(ROW) FROM ZHIST WHERE ZIDX = :Idx AND COALESCE(ANS, 0) <> 100"),
                                 {{QStringLiteral(":Idx"), idx}});
    if (last.failed()) {
        prompt.info(last.error());
        return Outcome{false, 0, last.error(), 0};
    }
    if (!last || last->isNull()) {
        prompt.info(noLetterText());
        return Outcome{false, 0, noLetterText(), 0};
    }
    return withdraw(idx, last->toInt(), prompt);
}

} // namespace orvak::guarantees
