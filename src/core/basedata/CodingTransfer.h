#pragma once
// "فراخواني اطلاعات اورواک از زير سيستم ها": the parties, projects, contracts and plans
// of a year's accounting database copied into the common database, and the parties,
// projects and contracts of one financial section copied into section 0. Each
// transfer is one unit of work; a row already there is left as it is (a party of
// the same name has its account numbers refreshed, one of another name is listed as
// a conflict), so that running a transfer twice inserts nothing the second time.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QStringList>

namespace orvak::basedata {

enum class AccountingKind { DetailAccounts, Projects, Contracts, Plans };
enum class SectionKind { DetailAccounts, Projects, Contracts };

struct TransferResult {
    bool done = false;
    int read = 0;        // source rows
    int inserted = 0;
    int updated = 0;
    int conflicts = 0;
    QStringList left;    // "code - source name"
    QStringList right;   // "code - common name", the same place as left
    QString message;     // "اطلاعات منتقل شد" or "<n> کد تغيير کرده است "
    explicit operator bool() const { return done; }
};

// The year list: 1385 up to the current Jalali year.
QList<int> transferYears();
// The source sections of the second group: "عمراني" 1, "جاري" 2, "ساير منابع" 3.
struct SourceSection {
    QString caption;
    int section;
};
const QList<SourceSection>& sourceSections();
inline constexpr int TargetSection = 0;
// A project's (or its plan's) number in the common database: year × 10000 + source.
inline qint64 commonProjectNo(int year, qint64 source) { return qint64(year) * 10000 + source; }

class CodingTransfer {
public:
    // administrator: the server machine's (orvakctl without --user), no write level asked.
    explicit CodingTransfer(startup::Session& session, bool administrator = false);

    TransferResult fromAccounting(AccountingKind kind, int year, startup::Prompt& prompt);
    // section < 0: no source chosen, nothing happens.
    TransferResult betweenSections(SectionKind kind, int fromSection, startup::Prompt& prompt);

private:
    startup::Session& session_;
    bool administrator_;
};

} // namespace orvak::basedata
