// The received deposits' group operations: over the listed rows of a filter, each
// one unit of work in which every listed row changes or none.
#include "core/deposits/CreditLetters.h"
#include "core/deposits/DepositWork.h"
#include "core/deposits/ReceivedDeposits.h"

#include "core/basedata/Lookups.h"

namespace orvak::deposits {

using startup::Prompt;
using work::refused;

namespace {

QString sureOfMonth(const DepositFilter& f) { return QStringLiteral("مطمئن هستيد ؟ ") + f.monthQuoted(); }

} // namespace

std::optional<Outcome> ReceivedDeposits::stopsGroup(const DepositFilter& filter, const QString& scopeRefusal, const QString& question,
                                                    Prompt& prompt) const
{
    if (!scopeRefusal.isEmpty() && !filter.oneMonth())
        return refused(prompt, scopeRefusal);
    if (!mayWrite(prompt))
        return work::writeRefused();
    if (!question.isEmpty() && !prompt.ask(question))
        return work::cancelled();
    return std::nullopt;
}

Outcome ReceivedDeposits::groupUpdate(const DepositFilter& filter, const QString& scopeRefusal, const QString& question,
                                      const QString& set, const QVariantMap& binds, Prompt& prompt, const QString& extra)
{
    if (auto stop = stopsGroup(filter, scopeRefusal, question, prompt))
        return *stop;
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) { return work::updateListed(w, filter, set, binds, extra, &o.changed); });
}

Outcome ReceivedDeposits::confirmAll(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter), QStringLiteral("TIKSUDMO = 'P'"), {}, prompt);
}

Outcome ReceivedDeposits::invertAll(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter),
                       QStringLiteral("TIKSUDMO = CASE WHEN TIKSUDMO = 'P' THEN ' ' ELSE 'P' END"), {}, prompt);
}

Outcome ReceivedDeposits::confirmHalfAll(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter), QStringLiteral("TIKSUDMO = 'P'"), {}, prompt,
                       QStringLiteral("TIKSUDMO = 'R'"));
}

Outcome ReceivedDeposits::unconfirmAll(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter), QStringLiteral("TIKSUDMO = ' '"), {}, prompt);
}

Outcome ReceivedDeposits::makeFinal(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, chooseOneMonthText(), QStringLiteral(" اطلاعات سپرد هاي دريافتي ماه جاري قطعي شود ؟"), QStringLiteral("ALTP = 1"), {},
                       prompt);
}

Outcome ReceivedDeposits::undoFinal(const DepositFilter& filter, Prompt& prompt)
{
    return groupUpdate(filter, oneMonthOnlyText(),
                       QStringLiteral(" اطلاعات سپرده هاي دريافتي به وضعيت غير قطعي و قابل ويرايش تغيير ميکند. مطمئن هستيد؟"), QStringLiteral("ALTP = 0"),
                       {}, prompt);
}

Outcome ReceivedDeposits::groupRemove(const DepositFilter& filter, const QString& extra, Prompt& prompt)
{
    QString kept = QStringLiteral("NOT ") + work::FinalSql + QStringLiteral(" AND NOT ") + work::ReferencedSql;
    if (!extra.isEmpty())
        kept += QStringLiteral(" AND ") + extra;
    Outcome out = work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const std::optional<int> listedRows = work::listedCount(w, filter);
        if (!listedRows || !work::removeListed(w, filter, kept, &o.changed))
            return false;
        o.kept = *listedRows - o.changed;
        return true;
    });
    if (out && out.kept > 0)
        prompt.info(QStringLiteral("تعداد سپرده هاي حذف نشده: ") + QString::number(out.kept));
    return out;
}

Outcome ReceivedDeposits::prepareDraft(const DepositFilter& filter, Prompt& prompt)
{
    if (!filter.oneMonth())
        return refused(prompt, chooseOneMonthText());
    if (!mayDelete(prompt))
        return work::writeRefused();
    if (auto stop = stopsGroup(filter, chooseOneMonthText(), QStringLiteral("اطلاعات سپرده هاي دريافتي ماه حذف ميگردد. مطمئن هستيد؟"), prompt))
        return *stop;
    prompt.info(QStringLiteral("سپرده هايي که اطلاعات آنها قطعي است نمي توانند حذف شوند"));
    // Rows moved in from another month stay: the month's sources do not hold them.
    return groupRemove(filter, QStringLiteral("COALESCE(FROMOLDM, 0) <> 1"), prompt);
}

Outcome ReceivedDeposits::removeAll(const DepositFilter& filter, Prompt& prompt)
{
    if (!mayDelete(prompt))
        return work::writeRefused();
    if (auto stop = stopsGroup(filter, {}, sureOfMonth(filter), prompt))
        return *stop;
    return groupRemove(filter, {}, prompt);
}

Outcome ReceivedDeposits::serialReceipts(const DepositFilter& filter, const ReceiptSerial& serial, Prompt& prompt)
{
    const qint64 first = serial.next > 0 ? serial.next : serial.first;
    if (first <= 0)
        return refused(prompt, QStringLiteral("اولين شماره قبض سپرده را وارد کنيد"));
    const std::optional<QString> date = work::dateOf(serial.date);
    if (!date)
        return refused(prompt, QStringLiteral("تاريخ قبض سپرده درست نيست: ") + serial.date);
    if (auto stop = stopsGroup(filter, {}, sureOfMonth(filter), prompt))
        return *stop;
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto rows = work::listed(w, filter);
        if (!rows)
            return false;
        qint64 number = first;
        for (const Deposit& d : *rows) {
            if (d.tikSudmo.trimmed() != Confirmed) {
                ++o.kept;
                continue;
            }
            if (serial.last > 0 && number > serial.last)
                return w.fail(QStringLiteral("شماره هاي قبض سپرده کافي نيست: آخرين شماره ") + QString::number(serial.last));
            QString when = d.sepDate;
            if (serial.dateFromCheque)
                when = d.chkDate;
            else if (!date->isEmpty() && (serial.changeDate || d.sepDate.isEmpty()))
                when = *date;
            if (!work::setRow(w, d.idx, QStringLiteral("SEPNO = :No, SEPDATE = :Date"),
                              {{QStringLiteral(":No"), number}, {QStringLiteral(":Date"), when}}, o))
                return false;
            ++number;
        }
        return true;
    });
}

Outcome ReceivedDeposits::renumberFrom(const DepositFilter& filter, int currentIdx, Prompt& prompt)
{
    if (auto stop = stopsGroup(filter, oneMonthOnlyText(), sureOfMonth(filter), prompt))
        return *stop;
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto rows = work::listed(w, filter);
        if (!rows)
            return false;
        qsizetype at = -1;
        for (qsizetype i = 0; i < rows->size() && at < 0; ++i) {
            if ((*rows)[i].idx == currentIdx)
                at = i;
        }
        if (at < 0)
            return w.fail(QStringLiteral("سپرده مورد نظر در فهرست نيست"));
        qint64 number = (*rows)[at].sepNo;
        if (number <= 0) {
            const Deposit& d = (*rows)[at];
            const auto next = w.nextKey(work::Store, work::Table, QStringLiteral("SEPNO"),
                                        QStringLiteral("MY = :MY AND MM = :MM AND COALESCE(SAVABEGH, 0) = :Sav"),
                                        {{QStringLiteral(":MY"), d.my}, {QStringLiteral(":MM"), d.mm}, {QStringLiteral(":Sav"), d.savabegh}});
            if (!next)
                return false;
            number = *next;
        }
        for (qsizetype i = at; i < rows->size(); ++i, ++number) {
            if (!work::setRow(w, (*rows)[i].idx, QStringLiteral("SEPNO = :No"), {{QStringLiteral(":No"), number}}, o))
                return false;
        }
        return true;
    });
}

Outcome ReceivedDeposits::receiptFromCheque(const DepositFilter& filter, Prompt& prompt)
{
    if (auto stop = stopsGroup(filter, oneMonthOnlyText(), sureOfMonth(filter), prompt))
        return *stop;
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto rows = work::listed(w, filter);
        if (!rows)
            return false;
        // A receipt number has at most 8 digits: a longer cheque number would not fit.
        QList<int> idx;
        for (const Deposit& d : *rows) {
            if (d.chkNo < 0 || d.chkNo > LargestReceiptNo)
                return w.fail(QStringLiteral("شماره چک/فيش سپرده شناسه %1 (%2) بيش از 8 رقم است و شماره قبض سپرده نمي شود").arg(d.idx).arg(d.chkNo));
            idx << d.idx;
        }
        return work::updateRows(w, idx, QStringLiteral("SEPNO = CHKNO"), {}, {}, &o.changed);
    });
}

Outcome ReceivedDeposits::numberRows(const DepositFilter& filter, Prompt& prompt)
{
    if (auto stop = stopsGroup(filter, QStringLiteral("عمليات گروهي فقط براي سپرده هاي دريافتي يک ماه خاص قابل انجام است"), sureOfMonth(filter),
                               prompt))
        return *stop;
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        const auto rows = work::listed(w, filter);
        if (!rows)
            return false;
        // Every row of the month loses its place first, so that a row the list hides
        // never keeps a number the listed rows take.
        const QVariantMap month{{QStringLiteral(":MY"), filter.year}, {QStringLiteral(":MM"), filter.month}};
        if (!w.update(work::Store, work::Table, QStringLiteral("SEPROW = 0"), QStringLiteral("MY = :MY AND MM = :MM AND COALESCE(SEPROW, 0) <> 0"),
                      month))
            return false;
        // The year's book goes on after the earlier months of the year.
        const auto before = w.scalar(QStringLiteral("SELECT MAX(YERSEPROW) FROM {deposits}.SEP_DAR WHERE MY = :MY AND MM < :MM"),
                                     {{QStringLiteral(":MY"), filter.year}, {QStringLiteral(":MM"), filter.month}});
        if (before.failed())
            return w.fail(before.error());
        const int base = before ? before->toInt() : 0;
        int n = 0;
        for (const Deposit& d : *rows) {
            ++n;
            if (!work::setRow(w, d.idx, QStringLiteral("SEPROW = :Row, YERSEPROW = :Book"),
                              {{QStringLiteral(":Row"), n}, {QStringLiteral(":Book"), base + n}}, o))
                return false;
        }
        o.changed = n;
        return true;
    });
}

Outcome ReceivedDeposits::moveAllToMonth(const DepositFilter& filter, const MonthTarget& target, Prompt& prompt)
{
    if (target.month < 1 || target.month > 18 || target.year < 1300 || target.year > 1600)
        return refused(prompt, QStringLiteral("سال و ماه درست نيست"));
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter), QStringLiteral("FROMOLDM = 1, MM = :ToMonth, MY = :ToYear"),
                       {{QStringLiteral(":ToMonth"), target.month}, {QStringLiteral(":ToYear"), target.year}}, prompt);
}

Outcome ReceivedDeposits::setOwnerAll(const DepositFilter& filter, int owner, Prompt& prompt)
{
    if (!filter.oneMonth())
        return refused(prompt, oneMonthOnlyText());
    const auto party = basedata::lookup(session_, basedata::Lookup::DetailByCode, owner);
    if (!party)
        return refused(prompt, party.failed() ? party.error() : QStringLiteral("کد تفضيلي يافت نشد"));
    return groupUpdate(filter, oneMonthOnlyText(), sureOfMonth(filter), QStringLiteral("TAFSILI = :NewOwner"),
                       {{QStringLiteral(":NewOwner"), owner}}, prompt);
}

Outcome ReceivedDeposits::lettersToRows(const DepositFilter& filter, int letterIdx, bool credit, Prompt& prompt)
{
    const auto letter = creditLetter(session_, letterIdx);
    if (!letter)
        return refused(prompt, letter.failed() ? letter.error() : QStringLiteral("نامه ارسالي به خزانه يافت نشد"));
    // The credit notice goes on rows that were sent with a letter: the rows must carry
    // one (the notice just picked may name none).
    const QString noLetter = QStringLiteral("در قسمت عمليات،شماره نامه ارسالي به خزانه را تعيين کنيد");
    const QString withoutLetter = QStringLiteral("COALESCE(ERSALVAJHKHAZANE_NO, '') = ''");
    if (credit) {
        const FilterSql f = filterSql(filter, withoutLetter);
        const auto unsent = db::firstRow(session_.deposits(), QStringLiteral("SELECT IDX FROM SEP_DAR WHERE ") + f.where, f.binds);
        if (unsent.failed())
            return refused(prompt, unsent.error());
        if (unsent && (!filter.shown || filter.shown->contains(unsent->value(0).toInt())))
            return refused(prompt, noLetter);
    }
    if (filter.mode == PeriodMode::Cumulative
        && !prompt.ask(QStringLiteral("اين عمليات همه سپرده هاي ثبت شده تا ماه انتخابي را در بر مي گيرد. ادامه مي دهيد؟")))
        return work::cancelled();
    if (auto stop = stopsGroup(filter, {}, sureOfMonth(filter), prompt))
        return *stop;
    // A notice that names no letter leaves the rows' own.
    QString set = QStringLiteral("ELAMBESIDX = :Letter, TIK_ERSAL = 1, ERSALVAJHKHAZANE_NO = COALESCE(:LNo, ERSALVAJHKHAZANE_NO), "
                                 "ERSALVAJHKHAZANE_DATE = COALESCE(:LDate, ERSALVAJHKHAZANE_DATE)");
    if (credit)
        set += QStringLiteral(", TIKBESTANKARI = '1'");
    const auto given = [](const QString& v) { return v.trimmed().isEmpty() ? QVariant() : QVariant(v); };
    const QVariantMap binds{{QStringLiteral(":Letter"), letterIdx}, {QStringLiteral(":LNo"), given(letter->letterNo)},
                            {QStringLiteral(":LDate"), given(letter->letterDate)}};
    return work::run(session_, prompt, [&](db::UnitOfWork& w, Outcome& o) {
        if (credit) {
            const auto rows = work::listedIdx(w, filter, withoutLetter);
            if (!rows)
                return false;
            if (!rows->isEmpty())
                return w.fail(noLetter);
        }
        return work::updateListed(w, filter, set, binds, {}, &o.changed);
    });
}

Outcome ReceivedDeposits::sendToTreasury(const DepositFilter& filter, int letterIdx, Prompt& prompt)
{
    return lettersToRows(filter, letterIdx, false, prompt);
}

Outcome ReceivedDeposits::assignCreditAll(const DepositFilter& filter, int letterIdx, Prompt& prompt)
{
    return lettersToRows(filter, letterIdx, true, prompt);
}

} // namespace orvak::deposits
