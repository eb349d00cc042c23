#pragma once
// Posting into the accounting database of the current section and year: a voucher's
// head made when missing, its rows appended after the last one (or its earlier
// content cleared first), confirming and rejecting. Each voucher is one unit of
// work with its change history; a refused or failed posting changes nothing.
#include "core/accounting/Vouchers.h"
#include "core/db/UnitOfWork.h"

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
    QList<int> rows;   // the row number of each line, in order
};

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

private:
    startup::Session& session_;
};

// The largest amount a money column holds, in rials.
inline constexpr qint64 LargestAmount = 922337203685477LL;

} // namespace orvak::accounting
