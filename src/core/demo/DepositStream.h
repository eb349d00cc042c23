#pragma once
// The demo's deposits, made again one at a time in date order whenever a step walks
// them instead of being held: at the largest scale there are ten million, and the
// builder's memory must not grow with them.
//
// The builder has always drawn the deposits' random numbers in four rounds over all
// of them (who paid what, then their stages, then their life, then their vouchers).
// Each round here has its own generator, started where the builder's one generator
// stood when that round began, so a seed gives the very rows it gave before.
#include "core/demo/DemoContext.h"

namespace orvak::demo {

class DepositStream {
public:
    enum Round {
        Basics = 1,     // owner, kind, contract, amount, cheque
        Stages = 2,     // matched, numbered, listed, sent, final
        Life = 4,       // credit notice, requests, refunds (with Basics and Stages)
        Vouchers = 8,   // the voucher row it was read from (with Basics)
        Everything = Basics | Stages | Life | Vouchers,
    };

    // rounds: what the walk's deposits need filled in. Life adds up its registers
    // in books: the plan passes the context's own; a later walk leaves them out and
    // gets a copy of its own, thrown away after. Refunds are in neither (see
    // openedRefund).
    DepositStream(const DemoContext& ctx, int rounds, DepositBooks* books = nullptr);

    // The next deposit, nullptr after the last; valid until the next call.
    const Deposit* next();
    // The refund the last deposit opened, nullptr when it went into one opened before
    // or none. Refunds grow with the deposits, so they are handed out rather than
    // kept; their amount and rows are left at zero, the sum of their deposits' rows.
    const Refund* openedRefund() const { return opened_ ? &openedRefund_ : nullptr; }
    // A round's generator; after the last deposit, where the next round starts.
    const Rng& generator(Round round) const;
    // Where a round leaves the generator, found by walking all the deposits.
    static Rng walkedThrough(const DemoContext& ctx, Round round);

private:
    void drawBasics(Deposit& d);
    void drawStages(Deposit& d);
    void drawLife(Deposit& d);
    void drawVoucher(Deposit& d);
    void putInRefund(Deposit& d, qint64 amount, const QPair<int, int>& key, const std::function<Refund(int)>& make);

    const DemoContext& ctx_;
    int rounds_;
    qint64 total_;
    qint64 made_ = 0;
    QList<int> workdays_;
    Deposit current_;
    Rng basics_, stages_, life_, vouchers_;

    // Running numbers kept from one deposit to the next.
    QHash<int, int> receiptOfYear_;
    QHash<QPair<int, int>, int> rowOfMonth_;
    int serial_ = 0;
    QHash<QPair<int, int>, int> creditOfMonth_;
    QHash<QPair<int, int>, int> requestOf_;    // (owner, month index) -> request
    QHash<int, int> fundRequestOfHalfMonth_;
    struct RefundSoFar {
        int idx;
        int rows;
    };
    QHash<QPair<int, int>, RefundSoFar> refundOf_;     // (owner, day) -> refund
    QHash<int, int> voucherOfDay_;
    QHash<int, int> voucherNoOfYear_;
    QHash<int, int> rowsOfVoucher_;
    DepositBooks ownBooks_;
    DepositBooks* books_;
    Refund openedRefund_{};
    bool opened_ = false;
};

// Puts a deposit into a fund request for amount, adding it to the request's and its
// credit notice's totals.
void putInFundRequest(Deposit& d, qint64 amount, FundRequest& fr, QList<CreditNotice>& credits);

} // namespace orvak::demo
