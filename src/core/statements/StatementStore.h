#pragma once
// How a statement line becomes a SURATHESAB row: the account's next ROW, the date in
// its stored form, AMOUNT/FLAG/ZARIB from the signed amount and the correction words,
// the card-payment mark, the branch's supervising office and province, each text cut
// to its column. And what the statement's writers share: who writes, the write level.
#include "core/db/UnitOfWork.h"
#include "core/statements/StatementLine.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QHash>
#include <optional>

namespace orvak::statements {

inline const QString StatementTable = QStringLiteral("SURATHESAB");
inline const QString SettlementTable = QStringLiteral("SURATHESABSHAPARAK");

// Who writes: a logged-in user, whose write level (SEL2) must allow it, or the server
// machine's administrator at the command line (no user), recorded as user 0.
enum class Writer { User, Administrator };

// The mark a card payment's description gets.
QString cardPaymentMark();   // "*شاپرک*"
// ZARIB: 1 for credits; for debits -1 when the description names a correction
// ("اصلاح", "اصـلاح"), 0 otherwise.
int signClass(const StatementLine& line);
// DESCR as stored: the bank's text cut to the column, with the card mark kept whole.
QString storedDescription(const StatementLine& line);

// A branch's supervising office and that office's province (0 where unknown).
struct BranchPlace {
    int office = 0;
    int province = 0;
};
using BranchPlaces = QHash<qint64, BranchPlace>;
// The branch network (SHOBEH by its bank code, SARPARASTI), read inside the work.
std::optional<BranchPlaces> branchPlaces(db::UnitOfWork& w);

// The row's values (ROW given).
QVariantMap statementValues(const StatementLine& line, int account, int row, const QString& bank, const BranchPlaces& places);

// What tells two lines of an account apart when a file is read again: date, time,
// side, amount and document number (not every layout carries a transaction number).
quint64 lineKey(const QString& fullDate, const QString& time, bool credit, qint64 amount, qint64 document);
quint64 lineKey(const StatementLine& line);

// The write level of the unit of work's user, read inside it; the refusal (the work
// failed with it) or nullopt when he may write.
bool mayWriteIn(db::UnitOfWork& w, startup::Session& session, Writer writer);
// The same before any work, told through the prompt.
bool mayWrite(startup::Session& session, Writer writer, startup::Prompt& prompt);

// The account (HESAB.CODE) exists; false with the message (read inside the work).
bool accountExists(db::UnitOfWork& w, int account);
QString accountMissingText(int account);

QString sureText();   // "مطمئن هستيد؟"

} // namespace orvak::statements
