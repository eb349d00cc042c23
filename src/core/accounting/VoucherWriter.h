#pragma once
// Posting into the accounting database of the current section and year: a voucher's
// head made when missing, its rows appended after the last one (or its earlier
// content cleared first), confirming and rejecting. Each voucher is one unit of
// work with its change history; a refused or failed posting changes nothing.
#include "core/accounting/Vouchers.h"
#include "core/db/UnitOfWork.h"

#include <functional>

namespace orvak::accounting {

// The state a confirmed voucher is given (the accounting program owns the codes;
// its own posted vouchers carry 2) and the one a new voucher starts in.
inline constexpr int ConfirmedState = 2;
inline constexpr int NewState = 0;

// One row to post; amounts in whole rials, one side only.
struct VoucherLine {
    int kol = 0;
    int moin = 0;
    std::optional<int> tafsil;
    std::optional<int> tafsil2;
    std::optional<int> project;
    std::optional<int> plan;
    std::optional<int> centre;
    QString description;
    qint64 debit = 0;
    qint64 credit = 0;
    QString inclusion = QStringLiteral("2");   // REFNO: 1 outside the inclusion, 2 the others
    std::optional<qint64> chequeNo;
    QString chequeDate;
    std::optional<int> fundingKind;
    QString account;
};

struct VoucherPosting {
    int number = 0;          // 0: the last voucher number + 1
    QString date;            // YYYY/MM/DD, within the year of the accounting database
    QString description;
    int kind = 1;
    int state = NewState;
    bool clearEarlier = false;   // "حذف محتواي قبلي سند حسابداري فوق"
    QList<VoucherLine> lines;
};

// Where the rows went: the reference the registers keep (SNDNO, SNDROW, SNDYER).
struct PostedVoucher {
    int number = 0;
    int year = 0;
    QList<int> rows;           // the row number of each line, in order (one run, ascending)
    bool headCreated = false;  // the posting made the voucher's head (it held nothing before)
};

// Notes the vouchers posted through any VoucherWriter while it lives, on this thread,
// and the row each line went to as it is written: a screen that hands the posting to
// a register's service (which posts inside its own work) learns exactly what that
// posting added, and can show its progress. The innermost recorder hears.
class PostingRecorder {
public:
    using RowWritten = std::function<void(int number, int row)>;
    explicit PostingRecorder(RowWritten onRow = {});
    ~PostingRecorder();
    PostingRecorder(const PostingRecorder&) = delete;
    PostingRecorder& operator=(const PostingRecorder&) = delete;

    // Every posting heard, in order; a work that was run again after a clash is
    // heard each time, so the last is the one that was kept.
    const QList<PostedVoucher>& postings() const { return postings_; }
    std::optional<PostedVoucher> last() const;

    static PostingRecorder* current();
    void heard(const PostedVoucher& posted) { postings_ << posted; }
    void rowWritten(int number, int row) const
    {
        if (onRow_)
            onRow_(number, row);
    }

private:
    PostingRecorder* outer_ = nullptr;
    RowWritten onRow_;
    QList<PostedVoucher> postings_;
};

// Clears, inside the rejecting work, the references a register wrote to the rows of
// a posting; false (with the work failed) when it could not.
using ClearReferences = std::function<bool(db::UnitOfWork& work, const PostedVoucher& posted)>;

class VoucherWriter {
public:
    explicit VoucherWriter(startup::Session& session);

    // The posting as its own unit of work; nullopt with the Persian reason otherwise.
    std::optional<PostedVoucher> post(const VoucherPosting& posting, QString* error = nullptr);
    // The posting inside the caller's work, so that the registers' references are
    // written in the same transaction.
    std::optional<PostedVoucher> post(db::UnitOfWork& work, const VoucherPosting& posting);

    // Whether the posting can be made; the reason when it cannot.
    QString check(const VoucherPosting& posting) const;

    bool confirm(int number, QString* error = nullptr, int state = ConfirmedState);
    // Deletes the voucher's head and all its rows.
    bool reject(int number, QString* error = nullptr);
    // "عدم تائيد سند" of a posting: as one unit of work, the rows the posting added
    // (never rows the voucher held before), its head when the posting made it and no
    // row is left under it, and the registers' references to those rows.
    bool reject(const PostedVoucher& posted, const ClearReferences& clearReferences, QString* error = nullptr);

private:
    startup::Session& session_;
};

// The largest amount a money column holds, in rials.
inline constexpr qint64 LargestAmount = 922337203685477LL;

// Sets the three columns of a reference to NULL on the rows of table that point at the
// posting's rows (voucher number and year, and a row among the posting's), inside
// the work; the registers' services build their ClearReferences on it.
bool clearRowReferences(db::UnitOfWork& work, db::Store store, const QString& table, const QString& numberColumn,
                        const QString& rowColumn, const QString& yearColumn, const PostedVoucher& posted);

} // namespace orvak::accounting
