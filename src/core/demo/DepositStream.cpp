#include "core/demo/DepositStream.h"

namespace orvak::demo {

using util::JalaliDate;

namespace {

// The entry of list filed under key, made (numbered from 1) the first time it is asked for.
template <class T, class Key, class Make>
T& entryFor(QList<T>& list, QHash<Key, int>& index, const Key& key, Make make)
{
    auto it = index.constFind(key);
    if (it == index.constEnd()) {
        list << make(int(list.size()) + 1);
        it = index.insert(key, int(list.size()));
    }
    return list[*it - 1];
}

} // namespace

void putInFundRequest(Deposit& d, qint64 amount, FundRequest& fr, QList<CreditNotice>& credits)
{
    d.requested = amount;
    d.fundReq = fr.idx;
    d.fundRow = ++fr.rows;
    fr.amount += amount;
    CreditNotice& c = credits[d.credit - 1];
    c.requested += amount;
    ++c.requestedCount;
}

DepositStream::DepositStream(const DemoContext& ctx, int rounds, DepositBooks* books)
    : ctx_(ctx)
    , rounds_(rounds)
    , total_(ctx.options.deposits > 0 ? qint64(ctx.options.deposits) : qint64(10000) * ctx.options.scale)
    , basics_(ctx.rounds.basics)
    , stages_(ctx.rounds.stages)
    , life_(ctx.rounds.life)
    , vouchers_(ctx.rounds.vouchers)
    , books_(books ? books : &ownBooks_)
{
    if (rounds_ & Life)
        rounds_ |= Basics | Stages;
    if (rounds_ & Vouchers)
        rounds_ |= Basics;
    for (int d = ctx.windowStart; d <= ctx.todayIndex; ++d) {
        if (ctx.cal.days[d].dayOfWeek() != Qt::Friday)
            workdays_ << d;
    }
}

const Rng& DepositStream::generator(Round round) const
{
    return round == Basics ? basics_ : round == Stages ? stages_ : round == Life ? life_ : vouchers_;
}

Rng DepositStream::walkedThrough(const DemoContext& ctx, Round round)
{
    DepositStream walk(ctx, round);
    while (walk.next()) {
    }
    return walk.generator(round);
}

const Deposit* DepositStream::next()
{
    if (made_ == total_)
        return nullptr;
    current_ = Deposit{};
    opened_ = false;
    Deposit& d = current_;
    // Deposits in date order: identifiers grow with time as they do in an office.
    d.idx = int(made_ + 1);
    d.day = workdays_[int(made_ * workdays_.size() / total_)];
    ++made_;
    const JalaliDate j = ctx_.cal.jalali[d.day];
    d.my = j.year;
    d.mm = j.month;
    if (rounds_ & Basics)
        drawBasics(d);
    if (rounds_ & Stages)
        drawStages(d);
    if (rounds_ & Life) {
        drawLife(d);
        // The few the plan took afterwards to show every state of a fund request.
        if (const auto it = ctx_.adjusted.constFind(d.idx); it != ctx_.adjusted.constEnd())
            d = *it;
    }
    if (rounds_ & Vouchers)
        drawVoucher(d);
    return &d;
}

// Who paid in what.
void DepositStream::drawBasics(Deposit& dep)
{
    Rng& rng = basics_;
    const Owner& o = ctx_.owners[std::min(int(std::pow(rng.unit(), 1.6) * ctx_.owners.size()), int(ctx_.owners.size()) - 1)];
    dep.owner = o.code;
    const double r = rng.unit();
    dep.kind = r < 0.55 ? 1 : r < 0.70 ? 2 : r < 0.80 ? 3 : r < 0.84 ? 13 : r < 0.87 ? 14 : r < 0.90 ? 25 : r < 0.93 ? 20 : r < 0.96 ? 4 : r < 0.98 ? 18 : 23;
    if (!dep.tender() && !o.contracts.isEmpty()) {
        const Contract& c = ctx_.contracts[o.contracts[rng.between(0, int(o.contracts.size()) - 1)] - 1];
        dep.contract = c.code;
        dep.plan = c.plan;
        dep.project = c.project;
    }
    dep.amount = dep.tender() ? rng.amount(5e7, 2e9) : rng.amount(8e6, 4.5e9);
    dep.chkno = rng.between64(100000, 99999999);
    dep.taminKind = rng.between(1, 3);
}

// The stages by age: matched and numbered, listed and sent, final.
void DepositStream::drawStages(Deposit& d)
{
    Rng& rng = stages_;
    const int age = ctx_.todayIndex - d.day;
    if (age < 20) {
        const double r = rng.unit();
        d.tiksudmo = r < 0.4 ? QString() : r < 0.6 ? QStringLiteral("R") : QStringLiteral("P");
        return;
    }
    if (rng.chance(0.02)) {
        d.tiksudmo = QStringLiteral("O");   // never found on the statement
        return;
    }
    d.tiksudmo = QStringLiteral("P");
    d.sepno = ++receiptOfYear_[d.my];
    d.sepDay = d.day + rng.between(0, 3);
    d.mosalsal = ++serial_;
    d.seprow = ++rowOfMonth_[qMakePair(d.my, d.mm)];
    d.sent = age >= 35;
    d.finalMark = age >= 90;
}

// Credit notices: one per month list that was sent long enough ago. Then the owners'
// release requests, fund requests, refunds, and the floats lost tenders are paid from.
void DepositStream::drawLife(Deposit& d)
{
    Rng& rng = life_;
    DepositBooks& b = *books_;
    const int age = ctx_.todayIndex - d.day;
    if (d.sent && age >= 50) {
        CreditNotice& c = entryFor(b.credits, creditOfMonth_, qMakePair(d.my, d.mm), [&](int idx) {
            CreditNotice made{idx, d.my, d.mm};
            made.day = std::min(ctx_.todayIndex - 5, d.day + 45);
            return made;
        });
        d.credit = c.idx;
        c.amount += d.amount;
        ++c.count;
    }
    // Lost tenders are paid back from the petty-cash float without waiting for the treasury.
    if (d.tender() && d.credit && age > 60 && rng.chance(0.7)) {
        const int refundDay = ctx_.workingDay(rng, d.day + 55, std::min(ctx_.todayIndex, d.day + 80));
        const int quarter = refundDay / 90;
        while (b.floats.size() <= quarter - ctx_.windowStart / 90) {
            const int fd = ctx_.windowStart + int(b.floats.size()) * 90;
            b.floats << Float{int(b.floats.size()) + 1, fd};
        }
        Float& f = b.floats[quarter - ctx_.windowStart / 90];
        // Float refunds are kept apart from refunds the treasury paid for.
        putInRefund(d, d.amount, qMakePair(d.owner, -refundDay - 1), [&](int idx) {
            Refund made{idx, d.owner, -1, refundDay, 3};
            made.petty = true;
            made.tankhah = f.idx;
            return made;
        });
        f.spent += d.amount;
        d.pettyCash = true;
        return;
    }
    if (!d.credit || d.tender())
        return;
    // The older the deposit, the likelier its owner has asked for it back.
    if (!rng.chance(std::min(0.75, (age - 50) / 300.0)))
        return;
    const int askDay = ctx_.workingDay(rng, d.day + 50, std::min(ctx_.todayIndex, d.day + 50 + age / 3));
    d.released = true;
    OwnerRequest& tr = entryFor(b.ownerRequests, requestOf_, qMakePair(d.owner, askDay / 30),
                                [&](int idx) { return OwnerRequest{idx, d.owner, d.contract, askDay}; });
    tr.amount += d.amount;
    d.tafsilReq = tr.idx;
    const int fundDay = askDay + rng.between(3, 20);
    if (fundDay > ctx_.todayIndex - 2 || rng.chance(0.1))
        return;   // still waiting for the fund request
    tr.answered = true;
    FundRequest& fr = entryFor(b.fundRequests, fundRequestOfHalfMonth_, fundDay / 15, [&](int idx) {
        const int reqAge = ctx_.todayIndex - fundDay;
        const int state = reqAge < 10 ? rng.between(0, 1) : reqAge < 25 ? rng.between(1, 2) : reqAge < 60 ? (rng.chance(0.5) ? 2 : 3) : (rng.chance(0.3) ? 3 : 4);
        return FundRequest{idx, fundDay, state};
    });
    // A few owners ask for half now and half later.
    putInFundRequest(d, rng.chance(0.12) ? (d.amount / 2000) * 1000 : d.amount, fr, b.credits);
    if (fr.state < 3 || !rng.chance(0.9))
        return;
    const int refundDay = std::min(ctx_.todayIndex, fr.day + rng.between(20, 40));
    putInRefund(d, d.requested, qMakePair(d.owner, refundDay), [&](int idx) {
        Refund made{idx, d.owner, d.contract, refundDay, d.kind == 2 ? 1 : 0};
        made.request = d.tafsilReq;
        return made;
    });
}

// Refunds are the one register that grows with the deposits (one per owner and
// day): none is kept, only its number and how many rows it has so far.
void DepositStream::putInRefund(Deposit& d, qint64 amount, const QPair<int, int>& key, const std::function<Refund(int)>& make)
{
    auto it = refundOf_.find(key);
    if (it == refundOf_.end()) {
        it = refundOf_.insert(key, RefundSoFar{int(refundOf_.size()) + 1, 0});
        openedRefund_ = make(it->idx);
        opened_ = true;
    }
    d.refunded = amount;
    d.refund = it->idx;
    d.refundRow = ++it->rows;
}

// A deposit read from the accounting database points at its row there: one voucher
// a day, numbered through the year.
void DepositStream::drawVoucher(Deposit& d)
{
    if (d.tender() || vouchers_.chance(0.25))
        return;   // typed in, or paid in by the owner directly
    const int year = d.my;
    if (!voucherOfDay_.contains(d.day))
        voucherOfDay_.insert(d.day, ++voucherNoOfYear_[year]);
    d.sndno = voucherOfDay_.value(d.day);
    d.sndyear = year;
    // Each deposit brings three rows: the statement, the net payment, the retention.
    d.sndrow = (rowsOfVoucher_[d.day] += 3);
}

} // namespace orvak::demo
