#pragma once
// "جستجو در اسناد": voucher rows of the accounting year found by what the user
// typed, one condition per filled field, every value bound (typed words are
// searched as plain text, never as SQL), with the debit and credit sums of the
// same conditions. Without the year's accounting database nothing is found.
#include "core/accounting/Vouchers.h"
#include "core/io/ListDefinition.h"

namespace orvak::accounting {

enum class AmountSide { Debit, Credit, Either };   // "بدهكار", "بستانكار", "بد/بس"
enum class InclusionChoice { All, Outside, Others };   // "شمول و خ. شمول", "خارج شمول", "غير خ. شمول"

// The fields as typed; an empty text is no condition. Numbers and amounts may carry
// separators and Persian digits, dates are YYYY/MM/DD.
struct VoucherCriteria {
    QString words;                 // words of the row description, separated by spaces
    bool wordsInHead = false;      // the words are looked for in the voucher's description instead
    QString partyWords;            // words of the detail account's name
    bool byDate = false;           // the range is of voucher dates, not numbers
    QString from, to;
    InclusionChoice inclusion = InclusionChoice::All;
    QString kol, moin, tafsil, plan, project;
    QString subsidiaryGroup;       // MOINGRP12 or MG1
    QString chequeNo;
    QString chequeDate1, chequeDate2;
    AmountSide side = AmountSide::Either;
    QString amountFrom, amountTo;
};

// The search as one statement: its conditions and their bound values.
struct VoucherQuery {
    QString where;        // " AND (...)" per condition, on SNDROW and SNDHEAD
    QVariantMap binds;
};

// A found row with what the voucher's head adds to it.
struct FoundRow {
    VoucherRow row;
    QString voucherDate;          // SNDDATE
    QString voucherDescription;   // the head's DESCR
};

struct VoucherSearchResult {
    QList<FoundRow> rows;   // in voucher and row order
    qint64 debit = 0;
    qint64 credit = 0;
};

class VoucherSearch {
public:
    explicit VoucherSearch(startup::Session& session);

    // The conditions of the criteria; nullopt with the Persian reason for a value
    // that is not a number, an amount or a date.
    std::optional<VoucherQuery> query(const VoucherCriteria& criteria, QString* error = nullptr) const;
    // The rows and sums; a bad value fails with its reason, a closed year finds none.
    db::Fetched<VoucherSearchResult> run(const VoucherCriteria& criteria);
    // The same search as a list for the grid, orvakctl and reports.
    std::optional<io::ListDefinition> list(const VoucherCriteria& criteria, QString* error = nullptr) const;

private:
    startup::Session& session_;
};

// A typed voucher number (separators and Persian digits allowed); nullopt unless it
// is a whole number a voucher can carry.
std::optional<int> voucherNumber(const QString& text);

// The statement of the search list (rows with their voucher's date and description,
// the ledgers' names) over the conditions.
QString voucherSearchSql(const QString& where);

// "فهرست حسابهاي كل" (:PName) and "فهرست معين" (:PKol, -1 for every general ledger,
// and :PName) with the general ledger's name, as their pickers and orvakctl show them.
io::ListDefinition generalLedgersList();
io::ListDefinition subsidiaryLedgersList();
// The search with nothing filled but a voucher range (:PFromNo, :PToNo): every row.
io::ListDefinition voucherRowsList();
// The vouchers of the year's book numbered :PFrom to :PTo, one line per row (a
// voucher without rows as its head alone), in number and row order.
io::ListDefinition voucherBookList();

// "انتخاب ماه": the month numbers and names of the common database (ABD_CONSTANT).
io::ListDefinition monthsList();

QList<io::ListDefinition> accountingLists();

} // namespace orvak::accounting
