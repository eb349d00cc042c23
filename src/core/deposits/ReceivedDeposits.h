#pragma once
// The register of received deposits (SEP_DAR): the new deposit's proposed values, a
// save with its checks and questions in order, deleting, moving to another month,
// the status operations on one row, on the listed rows of a filter and on selected
// rows, and the vouchers the register posts. Every change is one unit of work; a
// group operation changes every row it names or none. Writing needs the user's
// write level (SEL2) 0 or 2, read as it stands when the operation runs.
#include "core/accounting/VoucherWriter.h"
#include "core/accounting/Vouchers.h"
#include "core/deposits/Deposit.h"
#include "core/deposits/DepositFilter.h"
#include "core/deposits/ReceiptSerial.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::deposits {

// What an operation did: done or not (refused or failed with the message told
// through the prompt and kept here; no message when the user answered no), the rows
// it changed, and the rows it left alone on purpose.
struct Outcome {
    bool done = false;
    int changed = 0;
    int kept = 0;
    QString message;
    int voucher = 0;   // the voucher posted, where one was
    explicit operator bool() const { return done; }
};

// The access entry of the deposit registers (" اطلاعات سپرده ها"), whose delete bit a
// delete of the register needs besides the write level.
inline constexpr int DepositsMenuId = 8;
// The largest receipt number (SEPNO holds at most 8 digits).
inline constexpr qint64 LargestReceiptNo = 99'999'999;

// The messages the screens show as well.
QString writeRefusalText();      // "امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"
QString notEnoughText();         // "اطلاعات كافي نيست"
// The field whose value a save lacks, named after the text above.
enum class MissingField { None, Amount, Owner };
MissingField missingField(const Deposit& deposit);
QString missingFieldText(MissingField field);   // "اطلاعات كافي نيست: مبلغ سپرده"
QString oneMonthOnlyText();      // "اين عمليات فقط براي سپرده هاي يک ماه قابل انجام است"
QString chooseOneMonthText();    // "ابتدا سپرده هاي دريافتي يک ماه خاص را انتخاب کنيد"
QString finalDataText();         // "اطلاعات قطعي است و نمي تواند تغيير كند"
QString alreadyConfirmedText();  // the warning of a save or move of a matched or final row

// TIKSUDMO's next value under the space bar: blank → P → R → O → blank.
QString nextStatementMark(const QString& mark);
// CONTROLTIK's: 1 ↔ 2, anything else unchanged.
int nextControlMark(int mark);

// A credit notice or sending letter as the rows carry it.
struct CreditRef {
    int elamBesIdx = 0;       // BESTANKARI.IDXNO
    QString letterNo;         // ERSALVAJHKHAZANE_NO
    QString letterDate;       // ERSALVAJHKHAZANE_DATE
};

// A request row of the deposit (SEP_REQR).
struct RequestRow {
    int reqIdx = 0;
    int reqRow = 0;
    QString reqNo;     // of its request (SEP_REQH.REQNO)
    QString reqDate;
    qint64 amount = 0;
    QString descr;
};
// A refund cheque (SEP_RADR2) of a refund row of the deposit.
struct RefundCheque {
    int radIdx = 0;
    int radRow = 0;
    qint64 chkNo = 0;
    QString chkDate;
    qint64 amount = 0;
    int sndNo = 0;
    int year = 0;      // MY
    QString descr;
};
template <class Row>
struct RowsWithSum {
    QList<Row> rows;
    qint64 sum = 0;
};

// "تعيين" on one row: the field set from a picker while still empty.
enum class EmptyField { Owner, Plan, Project, Contract };

// "بياب در اسناد حسابداري": what the chosen voucher row hands over.
enum class VoucherMatch { Amount, ChequeNo };

// The target of a move to another month's list.
struct MonthTarget {
    int year = 0;
    int month = 0;   // 1..18
};

// A voucher to post: number (0: the last + 1) and date.
struct VoucherChoice {
    int number = 0;
    QString date;
    bool clearEarlier = false;
};

class ReceivedDeposits {
public:
    explicit ReceivedDeposits(startup::Session& session);

    // Whether the user may write (SEL2 0 or 2); false tells the refusal.
    bool mayWrite(startup::Prompt& prompt) const;
    bool mayWrite() const;
    // Whether he may delete: the write level and the delete bit of the deposits'
    // access entry; false tells the refusal.
    bool mayDelete(startup::Prompt& prompt) const;

    db::Fetched<Deposit> read(int idx) const;

    // "جديد (INS)": the proposed values for the list's period, owner filter and
    // current row (0: none).
    db::Fetched<Deposit> newDeposit(const DepositFilter& filter, int currentIdx = 0) const;

    // Reads a typed amount (separators, Persian digits); nullopt when not an amount.
    static std::optional<qint64> amountOf(const QString& text);
    // A typed cheque number: digits only (Persian digits read), at most 14; the
    // reason when it is not.
    static std::optional<qint64> chequeNoOf(const QString& text, QString* why = nullptr);

    // "ذخيره و جديد(F9)" / "ذخيره و خروج (F10)": the checks in order, questions
    // through the prompt; the saved IDX, nullopt when nothing was written.
    std::optional<int> save(const Deposit& deposit, bool insert, startup::Prompt& prompt);

    // "حذف(DEL)"
    Outcome remove(int idx, startup::Prompt& prompt);
    // "ويرايش سال و ماه"
    Outcome moveYearMonth(int idx, int year, int month, startup::Prompt& prompt);

    // One row (by IDX).
    Outcome stepStatement(int idx, startup::Prompt& prompt);   // space bar
    Outcome toggleControl(int idx, startup::Prompt& prompt);   // "کنترل/عدم کنترل"
    Outcome assignReceiptNumber(int idx, const QString& date, startup::Prompt& prompt);   // "تعيين شماره قبض سپرده"
    // The same for every row of idx that has no receipt number yet, in that order, as
    // one unit of work (the receipts printed together).
    Outcome assignReceiptNumbers(const QList<int>& idx, const QString& date, startup::Prompt& prompt);
    Outcome setRequested(int idx, startup::Prompt& prompt);    // "درخواست سپرده"
    Outcome setCreditNumber(int idx, int besNo, startup::Prompt& prompt);   // "تعيين شماره بستانكاري "
    Outcome setEmptyField(int idx, EmptyField field, int value, startup::Prompt& prompt);
    Outcome moveToMonth(int idx, const MonthTarget& target, startup::Prompt& prompt);
    // "بياب در اسناد حسابداري": the chosen voucher row's party, voucher or contract.
    Outcome applyVoucherRow(int idx, const accounting::VoucherRow& row, VoucherMatch match, startup::Prompt& prompt);
    // "فراخواني پيمانکار و قرارداد از اسناد حسابداري": from the row's own voucher row.
    Outcome ownerFromVoucher(int idx, startup::Prompt& prompt);

    // The listed rows of a filter, in list order; one unit of work each.
    Outcome confirmAll(const DepositFilter& filter, startup::Prompt& prompt);        // "تائيد  صورتحساب  بانك - كلي"
    Outcome invertAll(const DepositFilter& filter, startup::Prompt& prompt);         // "برعكس نمودن ..."
    Outcome confirmHalfAll(const DepositFilter& filter, startup::Prompt& prompt);    // "تائيد  نيمه تائيد ها - کلي"
    Outcome unconfirmAll(const DepositFilter& filter, startup::Prompt& prompt);      // "عدم تائيد - کلي"
    Outcome makeFinal(const DepositFilter& filter, startup::Prompt& prompt);         // "قطعي نمودن ..."
    Outcome undoFinal(const DepositFilter& filter, startup::Prompt& prompt);         // "برگشت ... از وضعيت قطعي"
    Outcome prepareDraft(const DepositFilter& filter, startup::Prompt& prompt);      // "تهيه پيش نويس"
    Outcome removeAll(const DepositFilter& filter, startup::Prompt& prompt);         // "حذف همه"
    Outcome serialReceipts(const DepositFilter& filter, const ReceiptSerial& serial, startup::Prompt& prompt);   // "تعيين خودكار سريال قبوض سپرده"
    Outcome renumberFrom(const DepositFilter& filter, int currentIdx, startup::Prompt& prompt);   // "... از رديف فعلي تا انتها"
    Outcome receiptFromCheque(const DepositFilter& filter, startup::Prompt& prompt); // "معادل سازي شماره چک/فيش ..."
    Outcome numberRows(const DepositFilter& filter, startup::Prompt& prompt);        // "مرتب سازي و تعيين رديف ..."
    Outcome moveAllToMonth(const DepositFilter& filter, const MonthTarget& target, startup::Prompt& prompt);
    Outcome setOwnerAll(const DepositFilter& filter, int owner, startup::Prompt& prompt);   // "تعيين تفضيلي ..."
    Outcome sendToTreasury(const DepositFilter& filter, int letterIdx, startup::Prompt& prompt);   // "ارسال به خزانه ..."
    Outcome assignCreditAll(const DepositFilter& filter, int letterIdx, startup::Prompt& prompt);  // "تعيين شماره بستانكاري - كلي "

    // Selected rows.
    db::Fetched<CreditRef> creditOf(int idx) const;
    Outcome applyCredit(const QList<int>& idxs, const CreditRef& credit, startup::Prompt& prompt);

    // The whole table.
    Outcome recomputeBalances(startup::Prompt& prompt);   // "محاسبه مانده ي سپرده ها"

    // Vouchers, each posted with the rows' references in one unit of work.
    Outcome issueReceiptVoucher(const DepositFilter& filter, const VoucherChoice& voucher, startup::Prompt& prompt);
    Outcome issueSendingVoucher(const DepositFilter& filter, const VoucherChoice& voucher, startup::Prompt& prompt);
    Outcome issueOpeningVoucher(const VoucherChoice& voucher, startup::Prompt& prompt);
    // The rejection of a receipt or sending voucher clears the deposits' references to
    // its rows (SNDNO/SNDROW/SNDYER, or their _ERSAL twins) in the rejecting work.
    static bool clearVoucherReferences(db::UnitOfWork& w, const accounting::PostedVoucher& posted, bool sending);

    // The entry form's two grids.
    db::Fetched<RowsWithSum<RequestRow>> requestRows(int idx) const;
    db::Fetched<RowsWithSum<RefundCheque>> refundCheques(int idx) const;

private:
    Outcome moveTo(int idx, const MonthTarget& target, bool fromOtherMonth, startup::Prompt& prompt);
    // Before a group change: the scope (empty: any), the write level, the question
    // (empty: none); the outcome to return when the change must not run.
    std::optional<Outcome> stopsGroup(const DepositFilter& filter, const QString& scopeRefusal, const QString& question,
                                      startup::Prompt& prompt) const;
    // A group change as one update over the listed rows (narrowed by extra).
    Outcome groupUpdate(const DepositFilter& filter, const QString& scopeRefusal, const QString& question, const QString& set,
                        const QVariantMap& binds, startup::Prompt& prompt, const QString& extra = {});
    // The listed rows deleted but those a single delete refuses and those other
    // registers lean on (reported as kept).
    Outcome groupRemove(const DepositFilter& filter, const QString& extra, startup::Prompt& prompt);
    Outcome lettersToRows(const DepositFilter& filter, int letterIdx, bool credit, startup::Prompt& prompt);
    Outcome postVoucher(const DepositFilter& filter, const VoucherChoice& voucher, bool sending, startup::Prompt& prompt);

    startup::Session& session_;
};

} // namespace orvak::deposits
