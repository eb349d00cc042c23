#pragma once
// "مغايرت بانکي" (TSudMo): the matching of one account's statement for a month with
// the received deposits of that month, as one unit of work: matched deposits are
// marked P, credits nobody paid a deposit for become deposits marked R (no owner,
// contract or project), and the run is recorded (SUDMOHEAD, with the lines it took in
// SUDMOROW) so that a later run leaves those lines alone and the last run can be
// undone ("برگشت آخرين تطابق") to the state before it. Nothing is written before the
// user has seen the plan (lines matched, deposits to be added) and said yes; a plan
// that no longer holds when the work runs is not carried out.
#include "core/statements/Matcher.h"
#include "core/statements/StatementStore.h"

namespace orvak::statements {

struct MatchRequest {
    int account = 0;   // HESAB.CODE
    int year = 0;
    int month = 0;     // 1..12
    MatchCriteria criteria;
};

struct MatchPlan {
    MonthMatch match;
    int lines = 0;          // of the month on the statement
    qint64 bookBalance = 0; // the month's deposits after the plan
};

struct MatchOutcome {
    bool done = false;
    int matched = 0;
    int added = 0;
    int run = 0;            // SUDMOHEAD.IDX
    QString message;
    explicit operator bool() const { return done; }
};

// The last run of an account that can be undone.
struct LastRun {
    int run = 0;
    int year = 0, month = 0;
    int matched = 0, added = 0;
    QString description;
};

class BankMatching {
public:
    explicit BankMatching(startup::Session& session, Writer writer = Writer::User);

    static QString matchButtonText();   // "تطابق با صورتحساب بانک"
    static QString undoButtonText();    // "برگشت آخرين تطابق"
    // What the plan will do, as the confirmation shows it.
    static QString planText(const MatchRequest& request, const MatchPlan& plan);

    // The plan, read without writing (the screen's preview, orvakctl's --dry-run).
    db::Fetched<MatchPlan> plan(const MatchRequest& request) const;
    // Shows the plan, asks, and carries it out.
    MatchOutcome run(const MatchRequest& request, startup::Prompt& prompt);

    db::Fetched<LastRun> lastRun(int account) const;
    // Undoes the account's last run after the question; refused when a deposit it
    // added has been worked on since (an owner, a receipt, a voucher, a request...) or
    // a deposit it matched is no longer marked P.
    MatchOutcome undoLast(int account, startup::Prompt& prompt);

private:
    startup::Session& session_;
    Writer writer_;
};

} // namespace orvak::statements
