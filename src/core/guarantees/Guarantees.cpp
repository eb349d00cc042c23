#include "core/guarantees/Guarantees.h"

#include "core/basedata/CodedTable.h"
#include "core/basedata/Lookups.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/startup/Program.h"
#include "core/startup/Rights.h"

namespace orvak::guarantees {

using startup::Prompt;

QString dueBeforeIssueText() { return QStringLiteral("تاريخ سررسيد از تاريخ صدور كمتر است"); }
QString noAmountText() { return QStringLiteral("مبلغ وارد نشده است"); }
QString noBankText() { return QStringLiteral("بانك وارد نشده است"); }
QString issueRequestQuestion() { return QStringLiteral("شماره تضمين وارد نشده است.درخواست صدور مي شود ؟"); }
QString duplicateSaveQuestion() { return QStringLiteral("شماره تضمين تكراري است!ادامه ميدهيد؟"); }
QString duplicateLeaveQuestion() { return QStringLiteral("شماره تضمين تكراري است. ادامه ميدهيد ؟"); }
QString archiveRepeatText() { return QStringLiteral("توجه: شماره بايگاني تکراري است"); }
QString writeRefusalText() { return QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"); }
QString notFoundText() { return QStringLiteral("تضمين مورد نظر يافت نشد"); }

namespace {

const QString Table = QStringLiteral("ZEMANAT");
constexpr db::Store Store = db::Store::Deposits;
const QString LevelSql = QStringLiteral("SELECT SEL2 FROM {common}.PROGUSERS WHERE PROGID = :Prog AND UCODE = :User");

QVariantMap levelBinds(const startup::Session& s) { return {{QStringLiteral(":Prog"), startup::ProgID}, {QStringLiteral(":User"), s.currentUserCode()}}; }

// SEL2 0 (or unset) and 2 may write; anything else, no row or a failed read refuses.
std::optional<QString> levelRefusal(const db::Fetched<QVariant>& level)
{
    if (level.failed())
        return level.error();
    if (level.empty())
        return writeRefusalText();
    if (level->isNull())
        return std::nullopt;
    bool number = false;
    const int n = level->toInt(&number);
    return number && (n == 0 || n == 2) ? std::nullopt : std::optional<QString>(writeRefusalText());
}

Outcome refused(Prompt& prompt, const QString& text)
{
    prompt.info(text);
    Outcome o;
    o.message = text;
    return o;
}

// A typed date: empty or real, as stored; nullopt when it is no date.
std::optional<QString> dateOf(const QString& text)
{
    QString bare = text;
    bare.remove(QLatin1Char('/')).remove(QLatin1Char(' ')).remove(QLatin1Char('_'));
    if (bare.isEmpty())
        return QString();
    return basedata::storedDate(text);
}

// Runs body as one unit of work after the write level; the reason told on failure.
Outcome run(startup::Session& session, Prompt& prompt, const std::function<bool(db::UnitOfWork&, Outcome&)>& body)
{
    Outcome out;
    QString error;
    const bool ok = session.inWork(
        [&](db::UnitOfWork& w) {
            out = {};
            if (const auto refusal = Guarantees::writeRefusal(w, session))
                return w.fail(*refusal);
            return body(w, out);
        },
        &error);
    if (!ok)
        return refused(prompt, error.isEmpty() ? QStringLiteral("عمليات انجام نشد") : error);
    out.done = true;
    return out;
}

QVariantMap only(const QVariantMap& all, const QStringList& columns)
{
    QVariantMap v;
    for (const QString& c : columns)
        v.insert(c, all.value(c));
    return v;
}

} // namespace

Guarantees::Guarantees(startup::Session& session)
    : session_(session)
{
}

std::optional<QString> Guarantees::writeRefusal() const
{
    // Nobody logged in is the server machine's administrator (orvakctl without
    // --user), as the rights read it.
    if (session_.currentUserCode() <= 0)
        return std::nullopt;
    return levelRefusal(db::scalar(session_.common(), QString(LevelSql).remove(QStringLiteral("{common}.")), levelBinds(session_)));
}

std::optional<QString> Guarantees::writeRefusal(db::UnitOfWork& w, const startup::Session& session)
{
    if (session.currentUserCode() <= 0)
        return std::nullopt;
    return levelRefusal(w.scalar(LevelSql, levelBinds(session)));
}

bool Guarantees::mayWrite(Prompt& prompt) const
{
    const auto refusal = writeRefusal();
    if (refusal)
        prompt.info(*refusal);
    return !refusal;
}

bool Guarantees::mayChange(int accessBit, Prompt& prompt) const
{
    if (!mayWrite(prompt))
        return false;
    QString refusal;
    if (accessBit != 0 && !startup::mayUse(session_, GuaranteesMenuId, accessBit, &refusal)) {
        prompt.info(refusal);
        return false;
    }
    return true;
}

db::Fetched<Guarantee> Guarantees::read(int idx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :Idx"), {{QStringLiteral(":Idx"), idx}});
    if (r.failed())
        return db::Fetched<Guarantee>::failure(r.error());
    if (r.empty())
        return db::Fetched<Guarantee>::none();
    return db::Fetched<Guarantee>::found(guaranteeFrom(*r));
}

std::optional<Guarantee> Guarantees::readIn(db::UnitOfWork& w, int idx)
{
    const auto r = w.firstRow(QStringLiteral("SELECT * FROM {deposits}.ZEMANAT WHERE IDX = :Idx"), {{QStringLiteral(":Idx"), idx}});
    if (!r) {
        w.fail(r.failed() ? r.error() : notFoundText());
        return std::nullopt;
    }
    return guaranteeFrom(*r);
}

db::Fetched<Guarantee> Guarantees::newGuarantee() const
{
    QString why;
    const auto idx = db::largestPlusOne(session_.deposits(), Table, QStringLiteral("IDX"), {}, {}, &why);
    const auto zpos = idx ? db::largestPlusOne(session_.deposits(), Table, QStringLiteral("ZPOS"), {}, {}, &why) : std::nullopt;
    if (!zpos)
        return db::Fetched<Guarantee>::failure(why);
    Guarantee g;
    g.idx = int(*idx);
    g.zpos = int(*zpos);
    g.sudDate = session_.clock().todayJalali();
    g.status = StatusValid;
    g.type = TypeBankGuarantee;
    g.kind = 1;
    return db::Fetched<Guarantee>::found(g);
}

db::Fetched<bool> Guarantees::duplicateNumber(const Guarantee& g) const
{
    if (g.zno.trimmed().isEmpty())
        return db::Fetched<bool>::found(false);
    const auto n = db::scalar(session_.deposits(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZNO = :No AND TAFSILNO = :Party AND IDX <> :Idx"),
                              {{QStringLiteral(":No"), g.zno.trimmed()}, {QStringLiteral(":Party"), g.tafsilNo}, {QStringLiteral(":Idx"), g.idx}});
    if (!n)
        return db::Fetched<bool>::failure(n.failed() ? n.error() : QStringLiteral("شماره تضمين خوانده نشد"));
    return db::Fetched<bool>::found(n->toInt() > 0);
}

db::Fetched<bool> Guarantees::duplicateArchiveRow(const Guarantee& g) const
{
    if (g.zpos <= 0)
        return db::Fetched<bool>::found(false);
    const auto n = db::scalar(session_.deposits(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE ZPOS = :Pos AND IDX <> :Idx"),
                              {{QStringLiteral(":Pos"), g.zpos}, {QStringLiteral(":Idx"), g.idx}});
    if (!n)
        return db::Fetched<bool>::failure(n.failed() ? n.error() : QStringLiteral("شماره بايگاني خوانده نشد"));
    return db::Fetched<bool>::found(n->toInt() > 0);
}

bool Guarantees::confirmNumber(const Guarantee& g, Prompt& prompt) const
{
    const auto dup = duplicateNumber(g);
    if (dup.failed()) {
        prompt.info(dup.error());
        return false;
    }
    return !*dup || prompt.ask(duplicateLeaveQuestion());
}

void Guarantees::warnArchiveRow(const Guarantee& g, Prompt& prompt) const
{
    const auto dup = duplicateArchiveRow(g);
    if (dup.failed())
        prompt.info(dup.error());
    else if (*dup)
        prompt.info(archiveRepeatText());
}

std::optional<QString> Guarantees::badField(Guarantee& g) const
{
    const std::pair<QString*, const char*> dates[] = {{&g.sudDate, "تاريخ صدور درست نيست"},
                                                      {&g.sarresid, "تاريخ سر رسيد درست نيست"},
                                                      {&g.sndSudDate, "تاريخ صدور سند حسابداري درست نيست"}};
    for (const auto& [date, message] : dates) {
        const std::optional<QString> read = dateOf(*date);
        if (!read)
            return QString::fromUtf8(message) + QStringLiteral(": ") + *date;
        *date = *read;
    }
    if (g.type < 0 || g.type >= guaranteeTypes().size())
        return QStringLiteral("نوع تضمين را انتخاب کنيد");
    if (g.kind < 0 || g.kind >= guaranteeKinds().size())
        return QStringLiteral("ماهيت تضمين را انتخاب کنيد");
    if (g.currency < 0 || g.currency >= currencyNames().size())
        return QStringLiteral("واحد پول را انتخاب کنيد");
    if (g.status < 0 || g.status >= statusLabels().size())
        return QStringLiteral("وضعيت تضمين درست نيست");
    if (g.amount < 0 || g.amount > accounting::LargestAmount)
        return QStringLiteral("ارزش ريالي درست نيست");
    if (g.zcount < 0 || g.zcount > 32767)
        return QStringLiteral("تعداد ضمائم درست نيست");
    if (g.zpos < 0 || g.sndNo < 0)
        return QStringLiteral("رديف بايگاني يا شماره سند درست نيست");
    const std::tuple<const QString*, int, const char*> texts[] = {
        {&g.zno, 20, "شماره تضمين بيش از 20 حرف است"}, {&g.descr, 120, "موضوع تضمين بيش از 120 حرف است"},
        {&g.zemPlace, 10, "محل نگهداري بيش از 10 حرف است"}, {&g.sepamNo, 30, "شماره سپام بيش از 30 حرف است"}};
    for (const auto& [text, longest, message] : texts) {
        if (text->size() > longest)
            return QString::fromUtf8(message);
    }
    using basedata::Lookup;
    const std::tuple<int, Lookup, const char*> codes[] = {
        {g.tafsilNo, Lookup::DetailByCode, "کد تفضيلي يافت نشد"},
        {g.payment, Lookup::ContractByCode, "کد قرارداد يافت نشد"},
        {g.tarhNo, Lookup::Plan, "کد طرح يافت نشد"},
        {g.projNo, Lookup::ProjectByNumber, "کد پروژه يافت نشد"},
    };
    for (const auto& [code, kind, message] : codes) {
        if (code <= 0)
            continue;
        const auto found = basedata::lookup(session_, kind, code);
        if (found.failed())
            return found.error();
        if (found.empty())
            return QString::fromUtf8(message);
    }
    if (g.sudBankCode > 0) {
        const auto branch = db::scalar(session_.common(), QStringLiteral("SELECT COUNT(*) FROM BANKBRANCHNAME WHERE CODE = :Key"),
                                       {{QStringLiteral(":Key"), g.sudBankCode}});
        if (!branch)
            return branch.failed() ? branch.error() : QStringLiteral("شعبه بانک خوانده نشد");
        if (branch->toInt() == 0)
            return QStringLiteral("کد شعبه بانک يافت نشد");
    }
    return std::nullopt;
}

std::optional<int> Guarantees::save(const Guarantee& guarantee, bool insert, Prompt& prompt)
{
    Guarantee g = guarantee;
    g.zno = g.zno.trimmed();
    // A type that no branch issues keeps none.
    if (!typeHasBranch(g.type))
        g.sudBankCode = -1;
    if (g.sudBankCode == 0)
        g.sudBankCode = -1;
    if (const auto bad = badField(g)) {
        prompt.info(*bad);
        return std::nullopt;
    }
    // The screen's checks in their order: every failing one is told, then the save stops.
    QStringList failed;
    if (!g.sarresid.isEmpty() && !g.sudDate.isEmpty() && g.sarresid < g.sudDate)
        failed << dueBeforeIssueText();
    if (g.amount <= 0)
        failed << noAmountText();
    if (g.type == TypeBankGuarantee && g.sudBankCode <= 0)
        failed << noBankText();
    for (const QString& f : failed)
        prompt.info(f);
    if (!failed.isEmpty())
        return std::nullopt;
    if (g.zno.isEmpty() && (g.type == TypeBankGuarantee || g.type == TypeCreditInstitution)) {
        if (!prompt.ask(issueRequestQuestion()))
            return std::nullopt;
        g.status = StatusIssueRequested;
    }
    const auto dup = duplicateNumber(g);
    if (dup.failed()) {
        prompt.info(dup.error());
        return std::nullopt;
    }
    if (*dup && !prompt.ask(duplicateSaveQuestion()))
        return std::nullopt;
    if (!mayChange(insert ? startup::AccessInsert : startup::AccessEditOwn, prompt))
        return std::nullopt;

    int saved = g.idx;
    const Outcome out = run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (insert) {
            const auto key = w.nextKey(Store, Table, QStringLiteral("IDX"));
            if (!key)
                return false;
            g.idx = saved = int(*key);
            g.amount1 = g.amount;
            g.sarresid1 = g.sarresid;
            o.changed = 1;
            return w.insert(Store, Table, only(guaranteeValues(g), insertColumns()));
        }
        int changed = 0;
        if (!w.update(Store, Table, only(guaranteeValues(g), editColumns()), QStringLiteral("IDX = :Idx"), {{QStringLiteral(":Idx"), g.idx}}, &changed))
            return false;
        o.changed = changed;
        return changed == 1 || w.fail(notFoundText());
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome Guarantees::remove(int idx, Prompt& prompt)
{
    const auto g = read(idx);
    if (!g)
        return refused(prompt, g.failed() ? g.error() : notFoundText());
    if (g->sndNo > 0)
        return refused(prompt, QStringLiteral("اين تضمين با سند حسابداري شماره %1 ثبت شده است؛ ابتدا سند آن را برگشت دهيد").arg(g->sndNo));
    if (!mayChange(startup::AccessDelete, prompt))
        return Outcome{false, 0, writeRefusalText(), 0};
    const auto letters = db::scalar(session_.deposits(), QStringLiteral("SELECT COUNT(*) FROM ZHIST WHERE ZIDX = :Idx AND COALESCE(ANS, 0) <> 100"),
                                    {{QStringLiteral(":Idx"), idx}});
    if (!letters)
        return refused(prompt, letters.failed() ? letters.error() : notFoundText());
    if (letters->toInt() > 0)
        return refused(prompt, QStringLiteral("براي اين تضمين %1 نامه در سوابق ثبت شده است و نمي تواند حذف شود").arg(letters->toInt()));
    if (!prompt.ask(QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟")))
        return {};
    return run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QVariantMap binds{{QStringLiteral(":Idx"), idx}};
        // Checked again inside the work: a letter or voucher may have come meanwhile.
        const auto held = w.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM {deposits}.ZHIST WHERE ZIDX = :Idx AND COALESCE(ANS, 0) <> 100) "
                                                  "+ (SELECT COUNT(*) FROM {deposits}.ZEMANAT WHERE IDX = :Idx AND COALESCE(SNDNO, 0) > 0)"),
                                   binds);
        if (!held)
            return w.fail(held.error());
        if (held->toInt() > 0)
            return w.fail(QStringLiteral("اين تضمين داراي سوابق يا سند حسابداري است و نمي تواند حذف شود"));
        return w.remove(Store, QStringLiteral("ZHIST"), QStringLiteral("ZIDX = :Idx AND ANS = 100"), binds)
            && w.remove(Store, Table, QStringLiteral("IDX = :Idx"), binds, &o.changed) && (o.changed == 1 || w.fail(notFoundText()));
    });
}

namespace {

// A row on a memorandum code: the general ledger is its first three characters, the
// subsidiary the rest; the whole code goes into the newer chart's account.
accounting::VoucherLine lineOn(const QString& code)
{
    accounting::VoucherLine l;
    l.kol = code.left(3).toInt();
    l.moin = code.mid(3).toInt();
    l.account = code;
    return l;
}

std::optional<int> given(int code) { return code > 0 ? std::optional<int>(code) : std::nullopt; }

} // namespace

Outcome Guarantees::book(int idx, const BookingChoice& choice, Prompt& prompt)
{
    if (!session_.AccountingDbOpen())
        return refused(prompt, accounting::Vouchers(session_).missingText());
    const auto g = read(idx);
    if (!g)
        return refused(prompt, g.failed() ? g.error() : notFoundText());
    if (g->sndNo > 0)
        return refused(prompt, QStringLiteral("اين تضمين قبلا با سند شماره %1 ثبت شده است").arg(g->sndNo));
    if (g->cancelledOrSeized())
        return refused(prompt, QStringLiteral("تضمين ابطال يا ضبط شده است"));
    if (g->amount <= 0)
        return refused(prompt, noAmountText());
    if (!mayChange(startup::AccessEditOwn, prompt))
        return Outcome{false, 0, writeRefusalText(), 0};
    return run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<Guarantee> current = readIn(w, idx);
        if (!current)
            return false;
        if (current->sndNo > 0)
            return w.fail(QStringLiteral("اين تضمين قبلا با سند شماره %1 ثبت شده است").arg(current->sndNo));
        QString text = typeLabel(current->type) + QStringLiteral(" شماره ") + (current->zno.isEmpty() ? QStringLiteral("-") : current->zno)
            + QStringLiteral(" - ") + kindLabel(current->kind);
        if (!current->sarresid.isEmpty())
            text += QStringLiteral(" - سررسيد ") + current->sarresid;
        accounting::VoucherPosting p;
        p.number = choice.number;
        p.date = choice.date;
        p.kind = 1;
        p.state = 1;
        p.description = QStringLiteral("ثبت تضمين ") + text;
        for (const bool debit : {true, false}) {
            accounting::VoucherLine l = lineOn(debit ? typeLedger(current->type) : kindLedger(current->kind));
            l.tafsil = given(current->tafsilNo);
            l.tafsil2 = given(current->payment);
            l.plan = given(current->tarhNo);
            l.project = given(current->projNo);
            l.description = text.left(160);
            (debit ? l.debit : l.credit) = current->amount;
            p.lines << l;
        }
        const std::optional<accounting::PostedVoucher> posted = accounting::VoucherWriter(session_).post(w, p);
        if (!posted)
            return false;
        o.voucher = posted->number;
        int changed = 0;
        if (!w.update(Store, Table, QStringLiteral("SNDNO = :No, SNDROW = :Row, SNDYER = :Year, SNDC = :C, SNDSUDDATE = :Date"),
                      QStringLiteral("IDX = :Idx"),
                      {{QStringLiteral(":No"), posted->number}, {QStringLiteral(":Row"), posted->rows.value(0)}, {QStringLiteral(":Year"), posted->year},
                       {QStringLiteral(":C"), session_.SectionCode().toInt()}, {QStringLiteral(":Date"), choice.date}, {QStringLiteral(":Idx"), idx}},
                      &changed))
            return false;
        o.changed = changed;
        return changed == 1 || w.fail(notFoundText());
    });
}

bool Guarantees::clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted)
{
    QVariantMap binds{{QStringLiteral(":No"), posted.number}, {QStringLiteral(":Year"), posted.year}};
    QStringList rows;
    for (int i = 0; i < posted.rows.size(); ++i) {
        rows << QStringLiteral(":r%1").arg(i);
        binds.insert(rows.last(), posted.rows[i]);
    }
    if (rows.isEmpty())
        return true;
    return w.update(Store, Table, QStringLiteral("SNDNO = NULL, SNDROW = NULL, SNDYER = NULL, SNDC = NULL, SNDSUDDATE = NULL"),
                    QStringLiteral("SNDNO = :No AND SNDYER = :Year AND SNDROW IN (%1)").arg(rows.join(QStringLiteral(", "))), binds);
}

std::optional<QString> Guarantees::dueFromDuration(const QString& issueDate, int months, Prompt& prompt) const
{
    const std::optional<QString> issued = dateOf(issueDate);
    if (!issued || issued->isEmpty()) {
        prompt.info(issued ? noIssueDateText() : QStringLiteral("تاريخ صدور درست نيست: ") + issueDate);
        return std::nullopt;
    }
    const std::optional<QString> due = addMonths(*issued, months);
    if (!due)
        prompt.info(QStringLiteral("تعداد ماهها درست نيست"));
    return due;
}

std::optional<qint64> Guarantees::advanceFromContract(const Guarantee& g, int perThousand, Prompt& prompt) const
{
    if (g.kind != KindAdvancePayment)
        return std::nullopt;
    if (g.payment <= 0) {
        prompt.info(QStringLiteral("قرارداد وارد نشده است"));
        return std::nullopt;
    }
    const auto c = basedata::lookup(session_, basedata::Lookup::ContractByCode, g.payment);
    if (!c) {
        prompt.info(c.failed() ? c.error() : QStringLiteral("کد قرارداد يافت نشد"));
        return std::nullopt;
    }
    return advanceValue(rialsOf(c->value(QStringLiteral("AMOUNT"))), perThousand);
}

db::Fetched<PartySummary> Guarantees::partySummary(int party) const
{
    const auto r = db::firstRow(session_.deposits(),
                                QStringLiteral("SELECT SUM(CASE WHEN COALESCE(ZSTATUSE, 0) <> 3 THEN AMOUNT ELSE 0 END), "
                                               "SUM(CASE WHEN COALESCE(ZSTATUSE, 0) <> 3 THEN AMOUNT1 ELSE 0 END), "
                                               "SUM(CASE WHEN ZSTATUSE = 3 THEN AMOUNT ELSE 0 END) FROM ZEMANAT WHERE TAFSILNO = :Party"),
                                {{QStringLiteral(":Party"), party}});
    if (r.failed())
        return db::Fetched<PartySummary>::failure(r.error());
    PartySummary s;
    if (r) {
        s.liveAmount = rialsOf(r->value(0));
        s.liveInitialAmount = rialsOf(r->value(1));
        s.cancelledAmount = rialsOf(r->value(2));
    }
    return db::Fetched<PartySummary>::found(s);
}

db::Fetched<QString> Guarantees::branchName(int code) const
{
    const auto r = db::firstRow(session_.common(),
                                QStringLiteral("SELECT b.BRANCHNAME, n.NAME FROM BANKBRANCHNAME b LEFT JOIN BANKNAME n ON n.CODE = b.BANKID WHERE b.CODE = :Key"),
                                {{QStringLiteral(":Key"), code}});
    if (!r)
        return r.failed() ? db::Fetched<QString>::failure(r.error()) : db::Fetched<QString>::none();
    const QString bank = r->value(1).toString().trimmed(), branch = r->value(0).toString().trimmed();
    return db::Fetched<QString>::found(bank.isEmpty() ? branch : bank + QStringLiteral(" - ") + branch);
}

} // namespace orvak::guarantees
