#pragma once
// What the steps of the demo installation share: the session they write through, the
// one random generator they all draw from, the calendar around the chosen day, and
// the keys one step makes and a later one refers to. Plain data, so that a register
// added later reads what it needs without reaching into another step.
//
// The steps draw from the generator in a fixed order; a step that draws in another
// place or order changes every row after it, so a given seed and day would no
// longer give the data they gave before.
#include "core/demo/DemoInstallation.h"
#include "core/startup/Session.h"
#include "core/util/Jalali.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <random>

namespace orvak::db {
class BulkInserter;
}

namespace orvak::demo {

inline QString u8(const char* s) { return QString::fromUtf8(s); }

// Column names of a bulk insert, written as plain ASCII names.
QStringList columns(std::initializer_list<const char*> names);

class Rng {
public:
    explicit Rng(quint64 seed)
        : engine_(seed)
    {
    }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    qint64 between64(qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(engine_); }
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    bool chance(double p) { return unit() < p; }
    template <class T, size_t N>
    const T& pick(const T (&items)[N])
    {
        return items[between(0, int(N) - 1)];
    }
    // Amounts spread over orders of magnitude, rounded to a thousand rials.
    qint64 amount(double lo, double hi)
    {
        const double v = std::exp(std::log(lo) + unit() * (std::log(hi) - std::log(lo)));
        return std::max<qint64>(1000, qint64(std::llround(v / 1000.0)) * 1000);
    }

private:
    std::mt19937_64 engine_;
};

// Every day of the window, with its Jalali date and text computed once: the steps
// ask for them hundreds of thousands of times.
struct Calendar {
    QList<QDate> days;
    QStringList texts;
    QList<util::JalaliDate> jalali;
    int indexOf(const QDate& d) const { return int(days.first().daysTo(d)); }
    QString text(int i) const { return texts[std::clamp(i, 0, int(texts.size()) - 1)]; }
};

// ---------------------------------------------------------------- base data

struct Owner {
    int code = 0;
    QString name;
    bool company = true;
    QString nid;
    QList<int> contracts;
};

struct Contract {
    int code = 0;
    int owner = 0;
    QString number;
    QString date;
    qint64 amount = 0;
    int plan = -1;
    int project = -1;
};

// ---------------------------------------------------------------- deposits

struct Deposit {
    int idx = 0;
    int day = 0;          // index into the calendar
    int owner = 0;
    int contract = -1;
    int plan = -1;
    int project = -1;
    int kind = 1;
    qint64 amount = 0;
    qint64 chkno = 0;
    int sepno = 0;
    int sepDay = -1;
    int my = 0, mm = 0;
    int seprow = 0;
    int mosalsal = 0;
    QString tiksudmo;     // "", "R", "P", "O"
    bool sent = false;
    int credit = 0;       // BESTANKARI.IDXNO
    bool finalMark = false;
    int sndno = 0, sndrow = 0, sndyear = 0;
    // life after the list
    bool released = false;      // owner's request recorded
    int tafsilReq = 0;
    int fundReq = 0;            // SEP_REQH.REQ_IDX
    int fundRow = 0;
    qint64 requested = 0;
    qint64 refunded = 0;
    bool pettyCash = false;
    int refund = 0;             // SEP_RADH.RAD_IDX
    int refundRow = 0;          // SEP_RADR1.RAD_ROW
    int taminKind = 1;

    // Tenders are typed in rather than read from a voucher, and lost ones go back from the float.
    bool tender() const { return kind == 3 || kind == 20; }
};

// The treasury's credit notice for one month's list.
struct CreditNotice {
    int idx;
    int y;
    int m;
    qint64 amount = 0;
    int count = 0;
    qint64 requested = 0;
    int requestedCount = 0;
    int day = 0;
};

// An owner's request to have deposits released.
struct OwnerRequest {
    int idx;
    int owner;
    int contract;
    int day;
    qint64 amount = 0;
    bool answered = false;
};

// A request to the treasury for the money of released deposits.
struct FundRequest {
    int idx;
    int day;
    int state;
    qint64 amount = 0;
    int rows = 0;
};

struct Refund {
    int idx;
    int owner;
    int contract;
    int day;
    int kind;
    qint64 amount = 0;
    int rows = 0;
    bool petty = false;
    int tankhah = 0;
    int request = 0;
};

// One quarter's petty-cash float.
struct Float {
    int idx;
    int day;
    qint64 remitted = 0;
    qint64 spent = 0;
};

// What the deposits' life adds up to: the registers their rows belong to.
struct DepositBooks {
    QList<CreditNotice> credits;         // credits[idx - 1], and so on for the others
    QList<OwnerRequest> ownerRequests;
    QList<FundRequest> fundRequests;
    QList<Float> floats;
};

// Where the generator stood as each round of the deposits' draws began.
struct DepositRounds {
    Rng basics{0};
    Rng stages{0};
    Rng life{0};
    Rng vouchers{0};
};

// ---------------------------------------------------------------- context

struct DemoContext {
    DemoContext(const DemoOptions& o, startup::Prompt& p);

    DemoOptions options;
    startup::Prompt& prompt;
    Rng rng;
    DemoSummary summary;
    std::unique_ptr<startup::Session> session;
    Calendar cal;
    int todayIndex = 0;
    int windowStart = 0;
    QList<int> years;                    // fiscal years the window touches, oldest first

    QList<Owner> owners;
    QList<Contract> contracts;           // contracts[code - 1]
    QList<int> plans;
    QHash<int, QList<int>> projectsOfPlan;

    // The deposits are not kept: a DepositStream makes them again from these.
    DepositRounds rounds;
    QHash<int, Deposit> adjusted;        // the few changed after their life was drawn, by idx
    DepositBooks books;

    // Each returns false having put the reason in the summary, so a step can
    // simply return what it was told.
    bool fail(const QString& why);
    bool exec(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {});
    bool insert(db::BulkInserter& rows);
    // The body's rows are written whole or not at all.
    bool inTransaction(QSqlDatabase db, const std::function<bool()>& body);

    // A day between from and to that is not a Friday (from when none turns up).
    int workingDay(int from, int to) { return workingDay(rng, from, to); }
    int workingDay(Rng& r, int from, int to) const;
    QString letterNo(const char* prefix, int n) const { return QStringLiteral("%1/%2").arg(n).arg(u8(prefix)); }
};

} // namespace orvak::demo
