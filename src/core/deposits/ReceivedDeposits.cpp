#include "core/deposits/ReceivedDeposits.h"

#include "core/accounting/Vouchers.h"
#include "core/basedata/CodedTable.h"
#include "core/basedata/Lookups.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositWork.h"
#include "core/deposits/VoucherYear.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>

namespace orvak::deposits {

using startup::Prompt;
using work::refused;
using work::Chunk;
using work::SureText;

QString writeRefusalText() { return QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"); }
QString notEnoughText() { return QStringLiteral("اطلاعات كافي نيست"); }

MissingField missingField(const Deposit& d)
{
    if (d.amount <= 0)
        return MissingField::Amount;
    if (d.tafsili == -1 || d.tafsili == 0)
        return MissingField::Owner;
    return MissingField::None;
}

QString missingFieldText(MissingField field)
{
    switch (field) {
    case MissingField::None: return {};
    case MissingField::Amount: return notEnoughText() + QStringLiteral(": مبلغ سپرده");
    case MissingField::Owner: return notEnoughText() + QStringLiteral(": صاحب سپرده");
    }
    return notEnoughText();
}
QString oneMonthOnlyText() { return QStringLiteral("اين عمليات فقط براي سپرده هاي يک ماه قابل انجام است"); }
QString chooseOneMonthText() { return QStringLiteral("ابتدا سپرده هاي دريافتي يک ماه خاص را انتخاب کنيد"); }
QString finalDataText() { return QStringLiteral("اطلاعات قطعي است و نمي تواند تغيير كند"); }
QString alreadyConfirmedText() { return QStringLiteral("توجه داشته باشيد که قبض سپرده قبلا با صورتحساب  بانک تائيد شده است"); }

QString nextStatementMark(const QString& mark)
{
    const QString m = mark.trimmed();
    if (m == Confirmed)
        return HalfConfirmed;
    if (m == HalfConfirmed)
        return QStringLiteral("O");
    if (m == QLatin1String("O"))
        return QStringLiteral(" ");
    return Confirmed;
}

int nextControlMark(int mark) { return mark == 1 ? 2 : mark == 2 ? 1 : mark; }

namespace {

using work::FinalSql;
using work::NothingEnteredText;
using work::ReferencedSql;

using work::referencedText;

// A typed date: empty (no digit typed) or a real Jalali date as YYYY/MM/DD.
} // namespace

std::optional<QString> work::dateOf(const QString& text)
{
    QString bare = text;
    bare.remove(QLatin1Char('/')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    if (bare.isEmpty())
        return QString();
    return basedata::storedDate(text);
}

namespace {

using work::dateOf;

qint64 digitsLimit(int digits)
{
    qint64 limit = 1;
    for (int i = 0; i < digits; ++i)
        limit *= 10;
    return limit - 1;
}

// The save's own checks after amount and owner; the message of the first that fails.
std::optional<QString> badField(startup::Session& session, Deposit& d)
{
    const std::pair<QString*, const char*> dates[] = {
        {&d.chkDate, "تاريخ واريز درست نيست"}, {&d.sepDate, "تاريخ قبض سپرده درست نيست"}, {&d.sabtDate, "تاريخ ثبت دفتر درست نيست"}};
    for (const auto& [date, message] : dates) {
        const std::optional<QString> read = dateOf(*date);
        if (!read)
            return QString::fromUtf8(message) + QStringLiteral(": ") + *date;
        *date = *read;
    }
    if (d.mm < 1 || d.mm > MonthCount)
        return QStringLiteral("ماه سپرده درست نيست");
    if (d.my < 1300 || d.my > 1600)
        return QStringLiteral("سال سپرده درست نيست");
    if (d.sepKind < 1 || d.sepKind > KindCount)
        return QStringLiteral("نوع سپرده را انتخاب کنيد");
    if (d.sepNo < 0 || d.sepNo > LargestReceiptNo)
        return QStringLiteral("شماره قبض سپرده حداکثر 8 رقم است");
    if (d.chkNo < 0 || d.chkNo > digitsLimit(14))
        return QStringLiteral("شماره مدرک واريزي حداکثر 14 رقم است");
    if (d.mosalsal < 0 || d.mosalsal > digitsLimit(10))
        return QStringLiteral("شماره مسلسل حداکثر 10 رقم است");
    if (d.descr.size() > 120)
        return QStringLiteral("شرح بيش از 120 حرف است");

    using basedata::Lookup;
    const std::tuple<int, Lookup, const char*> codes[] = {
        {d.tafsili, Lookup::DetailByCode, "کد تفضيلي يافت نشد"},
        {d.projNo, Lookup::ProjectByNumber, "کد پروژه يافت نشد"},
        {d.tarhNo, Lookup::Plan, "کد طرح يافت نشد"},
        {d.payment, Lookup::ContractByCode, "کد قرارداد يافت نشد"},
    };
    for (const auto& [code, kind, message] : codes) {
        if (code == -1)
            continue;
        const auto found = basedata::lookup(session, kind, code);
        if (found.failed())
            return found.error();
        if (found.empty())
            return QString::fromUtf8(message);
    }
    return std::nullopt;
}

// The columns the entry form writes on an existing row.
QVariantMap formColumns(const Deposit& d)
{
    const QVariantMap all = depositValues(d);
    QVariantMap form;
    for (const char* c : {"SEPNO", "SEPDATE", "SABTDATE", "TARHNO", "PROJNO", "TAFSILI", "PAYMENT", "AMOUNT", "SEPKIND", "MY", "MM",
                          "SEPROW", "SNDNO", "DESCR", "CHKNO", "CHKDATE", "MOSALSAL", "YERSEPROW", "AMOUNT_MANDEH",
                          "CONTROLBANKOK", "TAMINKIND", "ELAMBESIDX", "ERSALVAJHKHAZANE_NO", "ERSALVAJHKHAZANE_DATE"})
        form.insert(QString::fromLatin1(c), all.value(QString::fromLatin1(c)));
    return form;
}

std::optional<qint64> largestPlusOne(startup::Session& s, const QString& where, const QVariantMap& binds, const char* column, QString* why)
{
    return db::largestPlusOne(s.deposits(), QStringLiteral("SEP_DAR"), QString::fromLatin1(column), where, binds, why);
}

// Other deposits holding the deposit's receipt number where receipt numbers count:
// its numbering range (year, month and SAVABEGH, as receipts are numbered).
std::optional<qint64> receiptHolders(startup::Session& s, const Deposit& d, QString* why)
{
    const auto n = db::scalar(s.deposits(),
                              QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE SEPNO = :No AND IDX <> :Idx AND MY = :MY AND MM = :MM "
                                             "AND COALESCE(SAVABEGH, 0) = :Sav"),
                              {{QStringLiteral(":No"), d.sepNo}, {QStringLiteral(":Idx"), d.idx > 0 ? d.idx : -1}, {QStringLiteral(":MY"), d.my},
                               {QStringLiteral(":MM"), d.mm}, {QStringLiteral(":Sav"), d.savabegh}});
    if (!n) {
        *why = n.failed() ? n.error() : QStringLiteral("شماره قبض سپرده خوانده نشد");
        return std::nullopt;
    }
    return n->toLongLong();
}

QString emptyFieldRefusal(EmptyField f)
{
    switch (f) {
    case EmptyField::Owner: return QStringLiteral("براي تغيير پيمانکار از قسمت ويرايش استفاده کنيد");
    case EmptyField::Plan: return QStringLiteral("براي تغيير طرح از قسمت ويرايش استفاده کنيد");
    case EmptyField::Project: return QStringLiteral("براي تغيير پروژه از قسمت ويرايش استفاده کنيد");
    case EmptyField::Contract: return QStringLiteral("براي تغيير قرارداد از قسمت ويرايش استفاده کنيد");
    }
    return {};
}

} // namespace

ReceivedDeposits::ReceivedDeposits(startup::Session& session)
    : session_(session)
{
}

namespace {

// The write level's refusal, read afresh: nothing when the user may write.
std::optional<QString> writeLevelRefusal(startup::Session& session)
{
    return work::writeRefusal(db::scalar(session.common(), QString(work::levelSql()).remove(QStringLiteral("{common}.")), work::levelBinds(session)));
}

} // namespace

bool ReceivedDeposits::mayWrite() const { return !writeLevelRefusal(session_); }

bool ReceivedDeposits::mayWrite(Prompt& prompt) const
{
    const auto refusal = writeLevelRefusal(session_);
    if (refusal)
        prompt.info(*refusal);
    return !refusal;
}

bool ReceivedDeposits::mayDelete(Prompt& prompt) const
{
    if (!mayWrite(prompt))
        return false;
    QString refusal;
    if (!startup::mayUse(session_, DepositsMenuId, startup::AccessDelete, &refusal)) {
        prompt.info(refusal);
        return false;
    }
    return true;
}

db::Fetched<Deposit> ReceivedDeposits::read(int idx) const
{
    const auto r = db::firstRow(session_.deposits(), QStringLiteral("SELECT * FROM SEP_DAR WHERE IDX = :Idx"), {{QStringLiteral(":Idx"), idx}});
    if (r.failed())
        return db::Fetched<Deposit>::failure(r.error());
    if (r.empty())
        return db::Fetched<Deposit>::none();
    return db::Fetched<Deposit>::found(depositFrom(*r));
}

db::Fetched<Deposit> ReceivedDeposits::newDeposit(const DepositFilter& filter, int currentIdx) const
{
    Deposit d;
    d.my = filter.year;
    d.mm = filter.month;
    d.tafsili = filter.owner;
    d.fromOldM = 2;
    const QVariantMap month{{QStringLiteral(":MY"), d.my}, {QStringLiteral(":MM"), d.mm}};
    QString why;
    const auto row = largestPlusOne(session_, QStringLiteral("MY = :MY AND MM = :MM"), month, "SEPROW", &why);
    const auto serial = row ? largestPlusOne(session_, {}, {}, "MOSALSAL", &why) : std::nullopt;
    const auto book = serial ? largestPlusOne(session_, QStringLiteral("MY = :MY"), month, "YERSEPROW", &why) : std::nullopt;
    if (!book)
        return db::Fetched<Deposit>::failure(why);
    d.sepRow = int(*row);
    d.mosalsal = *serial;
    d.yerSepRow = int(*book);

    if (currentIdx > 0) {
        const auto current = read(currentIdx);
        if (current.failed())
            return db::Fetched<Deposit>::failure(current.error());
        if (current) {
            d.sepNo = current->sepNo + 1;
            d.sndNo = current->sndNo;
        }
    }
    // The proposal is a number no deposit of its numbering range holds, so that saving
    // it never asks about a repeat: the next after the range's largest otherwise.
    if (d.sepNo > 0) {
        const auto taken = receiptHolders(session_, d, &why);
        if (!taken)
            return db::Fetched<Deposit>::failure(why);
        if (*taken > 0) {
            const auto next = largestPlusOne(session_, QStringLiteral("MY = :MY AND MM = :MM AND COALESCE(SAVABEGH, 0) = :Sav"),
                                             {{QStringLiteral(":MY"), d.my}, {QStringLiteral(":MM"), d.mm}, {QStringLiteral(":Sav"), d.savabegh}},
                                             "SEPNO", &why);
            if (!next)
                return db::Fetched<Deposit>::failure(why);
            d.sepNo = *next;
        }
    }
    const auto latest = db::scalar(session_.deposits(), QStringLiteral("SELECT MAX(SEPDATE) FROM SEP_DAR WHERE MY = :MY AND MM = :MM"), month);
    if (latest.failed())
        return db::Fetched<Deposit>::failure(latest.error());
    const QString last = latest ? latest->toString().trimmed() : QString();
    d.sepDate = last.isEmpty() ? session_.clock().todayJalali() : last;
    return db::Fetched<Deposit>::found(d);
}

std::optional<qint64> ReceivedDeposits::amountOf(const QString& text) { return util::parseAmount(text); }

std::optional<qint64> ReceivedDeposits::chequeNoOf(const QString& text, QString* why)
{
    const QString digits = util::normalizeDigits(text).trimmed();
    if (digits.isEmpty())
        return 0;
    for (QChar c : digits) {
        if (!c.isDigit() || c.unicode() > 0x7F) {
            if (why)
                *why = QStringLiteral("شماره مدرک واريزي فقط از رقم تشکيل مي شود: ") + text.trimmed();
            return std::nullopt;
        }
    }
    if (digits.size() > 14) {
        if (why)
            *why = QStringLiteral("شماره مدرک واريزي حداکثر 14 رقم است");
        return std::nullopt;
    }
    return digits.toLongLong();
}

std::optional<int> ReceivedDeposits::save(const Deposit& deposit, bool insert, Prompt& prompt)
{
    Deposit d = deposit;
    if (const MissingField missing = missingField(d); missing != MissingField::None) {
        prompt.info(missingFieldText(missing));
        return std::nullopt;
    }
    if (const auto bad = badField(session_, d)) {
        prompt.info(*bad);
        return std::nullopt;
    }
    if (!mayWrite(prompt))
        return std::nullopt;

    if (d.sepNo > 0) {
        Deposit mine = d;
        if (insert) {
            mine.idx = -1;
            mine.savabegh = 0;
        }
        QString why;
        const auto other = receiptHolders(session_, mine, &why);
        if (!other) {
            prompt.info(why);
            return std::nullopt;
        }
        if (*other > 0 && !prompt.ask(QStringLiteral("شماره قبض سپرده تکراري است،ادامه مي دهيد؟")))
            return std::nullopt;
    }
    if (!insert) {
        const auto stored = read(d.idx);
        if (!stored) {
            prompt.info(stored.failed() ? stored.error() : QStringLiteral("سپرده مورد نظر يافت نشد"));
            return std::nullopt;
        }
        if (stored->matchedOrFinal())
            prompt.info(alreadyConfirmedText());
    }

    int saved = d.idx;
    const Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (insert) {
            const auto key = w.nextKey(work::Store, work::Table, QStringLiteral("IDX"));
            if (!key)
                return false;
            saved = int(*key);
            d.idx = saved;
            d.fromOldM = 2;
            d.savabegh = 0;
            d.amountMandeh = d.amount - d.amountRad;
            o.changed = 1;
            return w.insert(work::Store, work::Table, depositValues(d));
        }
        const std::optional<Deposit> stored = work::row(w, d.idx);
        if (!stored)
            return false;
        d.amountRad = stored->amountRad;
        d.amountMandeh = d.amount == 0 ? 0 : d.amount - d.amountRad;
        int changed = 0;
        if (!w.update(work::Store, work::Table, formColumns(d), QStringLiteral("IDX = :Idx"), {{QStringLiteral(":Idx"), d.idx}}, &changed))
            return false;
        o.changed = changed;
        return changed == 1 || w.fail(QStringLiteral("سپرده مورد نظر يافت نشد"));
    });
    if (!out)
        return std::nullopt;
    return saved;
}

Outcome ReceivedDeposits::remove(int idx, Prompt& prompt)
{
    if (idx <= 0)
        return refused(prompt, NothingEnteredText);
    const auto d = read(idx);
    if (auto stop = work::missing(d, prompt))
        return *stop;
    if (d->matchedOrFinal())
        return refused(prompt, finalDataText());
    if (!mayDelete(prompt))
        return work::writeRefused();
    if (!prompt.ask(SureText))
        return work::cancelled();
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QVariantMap binds{{QStringLiteral(":Idx"), idx}};
        const auto leaning = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.SEP_DAR WHERE IDX = :Idx AND ") + ReferencedSql, binds);
        if (!leaning)
            return w.fail(leaning.error());
        if (leaning->toInt() > 0)
            return w.fail(referencedText());
        return w.remove(work::Store, work::Table, QStringLiteral("IDX = :Idx AND NOT ") + FinalSql, binds, &o.changed)
            && (o.changed == 1 || w.fail(finalDataText()));
    });
}

Outcome ReceivedDeposits::moveYearMonth(int idx, int year, int month, Prompt& prompt)
{
    return moveTo(idx, {year, month}, false, prompt);
}

Outcome ReceivedDeposits::moveToMonth(int idx, const MonthTarget& target, Prompt& prompt) { return moveTo(idx, target, true, prompt); }

Outcome ReceivedDeposits::moveTo(int idx, const MonthTarget& target, bool fromOtherMonth, Prompt& prompt)
{
    if (target.month < 1 || target.month > MonthCount || target.year < 1300 || target.year > 1600)
        return refused(prompt, QStringLiteral("سال و ماه درست نيست"));
    const auto d = read(idx);
    if (auto stop = work::missing(d, prompt))
        return *stop;
    if (!mayWrite(prompt))
        return work::writeRefused();
    if (!fromOtherMonth && d->matchedOrFinal())
        prompt.info(alreadyConfirmedText());
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QString set = fromOtherMonth ? QStringLiteral("MY = :Y, MM = :M, FROMOLDM = 1") : QStringLiteral("MY = :Y, MM = :M");
        return work::setRow(w, idx, set, {{QStringLiteral(":Y"), target.year}, {QStringLiteral(":M"), target.month}}, o);
    });
}

Outcome ReceivedDeposits::stepStatement(int idx, Prompt& prompt)
{
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto d = work::row(w, idx);
        return d && work::setRow(w, idx, QStringLiteral("TIKSUDMO = :Mark"), {{QStringLiteral(":Mark"), nextStatementMark(d->tikSudmo)}}, o);
    });
}

Outcome ReceivedDeposits::toggleControl(int idx, Prompt& prompt)
{
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto d = work::row(w, idx);
        if (!d)
            return false;
        const int next = nextControlMark(d->controlTik);
        return next == d->controlTik || work::setRow(w, idx, QStringLiteral("CONTROLTIK = :Mark"), {{QStringLiteral(":Mark"), next}}, o);
    });
}

Outcome ReceivedDeposits::assignReceiptNumber(int idx, const QString& date, Prompt& prompt)
{
    const std::optional<QString> typed = dateOf(date);
    if (!typed)
        return refused(prompt, QStringLiteral("تاريخ قبض سپرده درست نيست: ") + date);
    const auto d = read(idx);
    if (auto stop = work::missing(d, prompt))
        return *stop;
    if (d->sepNo > 0)
        return refused(prompt, QStringLiteral("شماره قبض قبلا تعيين شده است"));
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto current = work::row(w, idx);
        if (!current)
            return false;
        if (current->sepNo > 0)
            return w.fail(QStringLiteral("شماره قبض قبلا تعيين شده است"));
        const auto next = w.nextKey(work::Store, work::Table, QStringLiteral("SEPNO"),
                                    QStringLiteral("MY = :MY AND MM = :MM AND COALESCE(SAVABEGH, 0) = :Sav"),
                                    {{QStringLiteral(":MY"), current->my}, {QStringLiteral(":MM"), current->mm},
                                     {QStringLiteral(":Sav"), current->savabegh}});
        if (!next)
            return false;
        const QString when = typed->isEmpty() ? session_.clock().todayJalali() : *typed;
        return work::setRow(w, idx, QStringLiteral("SEPNO = :No, SEPDATE = :Date"), {{QStringLiteral(":No"), *next}, {QStringLiteral(":Date"), when}}, o);
    });
}

Outcome ReceivedDeposits::assignReceiptNumbers(const QList<int>& idxs, const QString& date, Prompt& prompt)
{
    const std::optional<QString> typed = dateOf(date);
    if (!typed)
        return refused(prompt, QStringLiteral("تاريخ قبض سپرده درست نيست: ") + date);
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const QString when = typed->isEmpty() ? session_.clock().todayJalali() : *typed;
        for (int idx : idxs) {
            const auto current = work::row(w, idx);
            if (!current)
                return false;
            if (current->sepNo > 0) {
                ++o.kept;
                continue;
            }
            // Read inside the work, so that each row follows the one numbered before it.
            const auto next = w.nextKey(work::Store, work::Table, QStringLiteral("SEPNO"),
                                        QStringLiteral("MY = :MY AND MM = :MM AND COALESCE(SAVABEGH, 0) = :Sav"),
                                        {{QStringLiteral(":MY"), current->my}, {QStringLiteral(":MM"), current->mm},
                                         {QStringLiteral(":Sav"), current->savabegh}});
            if (!next)
                return false;
            if (*next > LargestReceiptNo)
                return w.fail(QStringLiteral("شماره قبض سپرده بيش از 8 رقم مي شود: ") + QString::number(*next));
            if (!work::setRow(w, idx, QStringLiteral("SEPNO = :No, SEPDATE = :Date"), {{QStringLiteral(":No"), *next}, {QStringLiteral(":Date"), when}}, o))
                return false;
        }
        return true;
    });
}

Outcome ReceivedDeposits::setRequested(int idx, Prompt& prompt)
{
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) { return work::setRow(w, idx, QStringLiteral("TIK_DARKHAST = 1"), {}, o); });
}

Outcome ReceivedDeposits::setCreditNumber(int idx, int besNo, Prompt& prompt)
{
    if (besNo < 0)
        return refused(prompt, QStringLiteral("شماره بستانکاري درست نيست"));
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        return work::setRow(w, idx, QStringLiteral("BESNO = :No"), {{QStringLiteral(":No"), besNo}}, o);
    });
}

Outcome ReceivedDeposits::setEmptyField(int idx, EmptyField field, int value, Prompt& prompt)
{
    const auto d = read(idx);
    if (auto stop = work::missing(d, prompt))
        return *stop;
    using basedata::Lookup;
    struct Target {
        int current;
        const char* column;
        Lookup lookup;
        const char* missing;
    };
    const Target t = field == EmptyField::Owner     ? Target{d->tafsili, "TAFSILI", Lookup::DetailByCode, "کد تفضيلي يافت نشد"}
                     : field == EmptyField::Plan    ? Target{d->tarhNo, "TARHNO", Lookup::Plan, "کد طرح يافت نشد"}
                     : field == EmptyField::Project ? Target{d->projNo, "PROJNO", Lookup::ProjectByNumber, "کد پروژه يافت نشد"}
                                                    : Target{d->payment, "PAYMENT", Lookup::ContractByCode, "کد قرارداد يافت نشد"};
    if (t.current != -1 && t.current != 0)
        return refused(prompt, emptyFieldRefusal(field));
    const auto found = basedata::lookup(session_, t.lookup, value);
    if (!found)
        return refused(prompt, found.failed() ? found.error() : QString::fromUtf8(t.missing));
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        return work::setRow(w, idx, QStringLiteral("%1 = :Value").arg(QLatin1String(t.column)), {{QStringLiteral(":Value"), value}}, o);
    });
}

Outcome ReceivedDeposits::applyVoucherRow(int idx, const accounting::VoucherRow& row, VoucherMatch match, Prompt& prompt)
{
    QStringList set{QStringLiteral("TIKSUDMO = 'P'")};
    QVariantMap binds;
    if (row.tafsil) {
        set << QStringLiteral("TAFSILI = :Owner");
        binds.insert(QStringLiteral(":Owner"), *row.tafsil);
    }
    if (match == VoucherMatch::Amount) {
        set << QStringLiteral("SNDNO = :No, SNDROW = :Row, SNDYER = :Year");
        binds.insert(QStringLiteral(":No"), row.number);
        binds.insert(QStringLiteral(":Row"), row.row);
        binds.insert(QStringLiteral(":Year"), accounting::accountingYear(session_));
    } else if (row.tafsil2) {
        set << QStringLiteral("PAYMENT = :Contract");
        binds.insert(QStringLiteral(":Contract"), *row.tafsil2);
    }
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) { return work::setRow(w, idx, set.join(QStringLiteral(", ")), binds, o); });
}

Outcome ReceivedDeposits::ownerFromVoucher(int idx, Prompt& prompt)
{
    const auto d = read(idx);
    if (auto stop = work::missing(d, prompt))
        return *stop;
    if (d->sndNo <= 0)
        return refused(prompt, QStringLiteral("شماره سند مشخص نشده است"));
    std::optional<accounting::VoucherRow> found;
    {
        // The voucher is the one of the deposit's voucher year, not the number in the year open.
        VoucherYear year(session_, d->sndYer);
        if (!year.open())
            return refused(prompt, year.missingText());
        accounting::Vouchers vouchers(session_);
        const auto rows = vouchers.rows(d->sndNo);
        if (rows.failed())
            return refused(prompt, rows.error());
        for (const accounting::VoucherRow& r : rows.value_or({})) {
            if ((d->sndRow > 0 && r.row == d->sndRow) || (d->sndRow <= 0 && r.tafsil && !found))
                found = r;
        }
        if (!found || !found->tafsil)
            return refused(prompt, vouchers.available() ? QStringLiteral("رديف سند حسابداري يافت نشد") : vouchers.missingText());
    }
    QVariantMap binds{{QStringLiteral(":Owner"), *found->tafsil}, {QStringLiteral(":No"), found->number},
                      {QStringLiteral(":Contract"), found->tafsil2.value_or(-1)}};
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        return work::setRow(w, idx, QStringLiteral("TIKSUDMO = 'P', TAFSILI = :Owner, PAYMENT = :Contract, SNDNO = :No"), binds, o);
    });
}

db::Fetched<CreditRef> ReceivedDeposits::creditOf(int idx) const
{
    const auto d = read(idx);
    if (!d)
        return d.failed() ? db::Fetched<CreditRef>::failure(d.error()) : db::Fetched<CreditRef>::none();
    return db::Fetched<CreditRef>::found({d->elamBesIdx, d->ersalNo, d->ersalDate});
}

Outcome ReceivedDeposits::applyCredit(const QList<int>& idxs, const CreditRef& credit, Prompt& prompt)
{
    if (idxs.isEmpty())
        return refused(prompt, NothingEnteredText);
    if (credit.elamBesIdx <= 0)
        return refused(prompt, QStringLiteral("شماره بستانکاري مشخص نشده است"));
    Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        for (int from = 0; from < idxs.size(); from += Chunk) {
            QVariantMap binds{{QStringLiteral(":Bes"), credit.elamBesIdx}, {QStringLiteral(":LNo"), credit.letterNo},
                              {QStringLiteral(":LDate"), credit.letterDate}};
            const QString where = work::idxIn(idxs.mid(from, Chunk), binds);
            int changed = 0;
            if (!w.update(work::Store, work::Table,
                          QStringLiteral("ELAMBESIDX = :Bes, ERSALVAJHKHAZANE_NO = :LNo, ERSALVAJHKHAZANE_DATE = :LDate, "
                                         "TIKBESTANKARI = '1', TIK_ERSAL = 1"),
                          where, binds, &changed))
                return false;
            o.changed += changed;
        }
        return true;
    });
    if (out)
        prompt.info(QStringLiteral("  تعداد سپرده هاي انتخابي ") + QString::number(out.changed));
    return out;
}

Outcome ReceivedDeposits::recomputeBalances(Prompt& prompt)
{
    if (!mayWrite(prompt))
        return work::writeRefused();
    if (!prompt.ask(QStringLiteral("در صورت تاييد، مبلغ مانده براي سپرده هايي که مبلغ استرداد آنها صفر است، برابر با مبلغ سپرده مي شود.مطمئن هستيد؟")))
        return work::cancelled();
    Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        return w.update(work::Store, work::Table, QStringLiteral("AMOUNT_MANDEH = AMOUNT"),
                        QStringLiteral("COALESCE(AMOUNT_RAD, 0) = 0 AND (AMOUNT_MANDEH IS NULL OR AMOUNT_MANDEH <> COALESCE(AMOUNT, 0))"), {},
                        &o.changed);
    });
    if (out)
        prompt.info(QStringLiteral("انجام شد"));
    return out;
}

namespace {

// The rows of a query over the deposits database with their amounts summed.
template <class Row>
db::Fetched<RowsWithSum<Row>> summedRows(QSqlDatabase db, const QString& sql, int idx, const std::function<Row(const QSqlQuery&)>& make)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, sql, {{QStringLiteral(":Idx"), idx}}, &why) || !q.exec())
        return db::Fetched<RowsWithSum<Row>>::failure(why.isEmpty() ? q.lastError().text() : why);
    RowsWithSum<Row> result;
    while (q.next()) {
        result.rows << make(q);
        result.sum += result.rows.last().amount;
    }
    if (q.lastError().isValid())
        return db::Fetched<RowsWithSum<Row>>::failure(q.lastError().text());
    return db::Fetched<RowsWithSum<Row>>::found(result);
}

QString textAt(const QSqlQuery& q, int i) { return q.value(i).toString().trimmed(); }

} // namespace

db::Fetched<RowsWithSum<RequestRow>> ReceivedDeposits::requestRows(int idx) const
{
    return summedRows<RequestRow>(session_.deposits(),
                                  QStringLiteral("SELECT r.REQ_IDX, r.REQ_ROW, h.REQNO, h.REQDATE, r.AMOUNT, r.DESCR FROM SEP_REQR r "
                                                 "LEFT JOIN SEP_REQH h ON h.REQ_IDX = r.REQ_IDX WHERE r.SEPIDX = :Idx ORDER BY r.REQ_IDX, r.REQ_ROW"),
                                  idx, [](const QSqlQuery& q) {
                                      return RequestRow{q.value(0).toInt(), q.value(1).toInt(), textAt(q, 2), textAt(q, 3), rialsOf(q.value(4)),
                                                        textAt(q, 5)};
                                  });
}

db::Fetched<RowsWithSum<RefundCheque>> ReceivedDeposits::refundCheques(int idx) const
{
    return summedRows<RefundCheque>(session_.deposits(),
                                    QStringLiteral("SELECT RAD_IDX, RAD_ROW, CHKNO, CHKDATE, AMOUNT, SNDNO, MY, DESCR FROM SEP_RADR2 "
                                                   "WHERE RAD_IDX IN (SELECT RAD_IDX FROM SEP_RADR1 WHERE SEPIDX = :Idx) ORDER BY RAD_IDX, RAD_ROW"),
                                    idx, [](const QSqlQuery& q) {
                                        return RefundCheque{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toLongLong(), textAt(q, 3),
                                                            rialsOf(q.value(4)),  q.value(5).toInt(), q.value(6).toInt(), textAt(q, 7)};
                                    });
}

} // namespace orvak::deposits
