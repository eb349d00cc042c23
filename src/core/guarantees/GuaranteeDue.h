#pragma once
// Due-date monitoring ("بررسي سررسيد ضمانتنامه هاي بانکي"): the bank guarantees
// falling due within a window, not cancelled, seized, under an extension or a
// cancellation request, or temporarily cancelled; its windows, orders, report with
// the total, and the extension-letter run that issues one numbered request letter
// per guarantee (each letter one unit of work with the number it takes).
#include "core/db/Db.h"
#include "core/guarantees/Guarantee.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"
#include "core/letters/GuaranteeLetters.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::guarantees {

enum class DueOrder { DueDate, Idx, IssueDate, Amount, Status, Type, ArchiveRow };
// "تاريخ سر رسيد", "شماره تضمين", "تاريخ صدور", "مبلغ", "وضعيت تضمين", "نوع تضمين",
// "رديف بايگاني", in the order above.
QStringList dueOrderTexts();
// "همه", then the four natures the monitor offers (stored 0 to 3).
QStringList dueKindTexts();
// The seven windows: "تا 15 روز ديگر" ... "سه ماه ديگر", "تا تاريخ...".
QStringList dueWindowLabels();
inline constexpr int DueWindowTyped = 7;
inline constexpr int DefaultDueWindow = 2;   // "يك ماه ديگر"
// A window's end from its start (entries 1..6), always a real date.
std::optional<QString> dueWindowEnd(const QString& start, int entry);

QString dueTitle();          // "بررسي سررسيد ضمانتنامه هاي بانکي"
QString dueCountLabel();     // "فقره"
QString endBeforeStartText();

struct DueFilter {
    QString from;   // window start, YYYY/MM/DD
    QString to;     // window end
    int kind = -1;  // ZKIND, -1 all
    int party = -1; // TAFSILNO, -1 all
    DueOrder order = DueOrder::DueDate;
};

// The default window: from today to one month after it.
DueFilter defaultDueFilter(const QString& today);

// The list ("guarantees-due"); nullopt with the reason for a date that is no date
// or an end before the start.
std::optional<io::ListDefinition> dueList(const DueFilter& filter, QString* why = nullptr);
io::ListDefinition dueList();
db::Fetched<GuaranteeTotals> dueTotals(startup::Session& session, const DueFilter& filter);

// "گزارش (F9)": the listed rows with a running number and the total of the amounts.
db::Fetched<io::ReportModel> dueReport(startup::Session& session, const QList<int>& idx);

// The extension periods of the run: "سه ماهه" ... "يك ساله" (months), " تا تاريخ ....".
struct ExtensionPeriod {
    QString label;
    int months = 0;   // 0: up to a typed date
};
const QList<ExtensionPeriod>& extensionPeriods();
QString extensionLetterTitle();   // "درخواست تمديد ضمانت نامه بانكي"

// The extension-letter run over a window: the list re-read with every kind, by due
// date; then, guarantee by guarantee, show, issue (registering the request and its
// number in one unit of work) or skip; cancelling keeps what was issued.
class ExtensionRun {
public:
    struct Choice {
        int months = 3;           // the period; 0 with untilDate
        QString untilDate;        // " تا تاريخ ...."
        qint64 startNumber = 0;   // the first letter's counter; 0: the last issued + 1
        letters::LetterRequest letter;   // template, layout, signatory, copies, dates
    };

    ExtensionRun(startup::Session& session, DueFilter window, Choice choice);

    // Reads the guarantees and the first number; false, told, when it cannot.
    bool start(startup::Prompt& prompt);
    int count() const { return int(guarantees_.size()); }
    int position() const { return position_; }   // 0-based; count() when done
    bool done() const { return position_ >= count(); }
    const Guarantee& current() const { return guarantees_[size_t(position_)]; }
    // The new due date the current guarantee's letter asks for.
    std::optional<QString> newDue() const;
    QString nextNumberText() const;
    qint64 nextCounter() const { return counter_; }

    // "نمايش نامه": the letter as it would be issued, nothing registered.
    std::optional<letters::PreparedLetter> preview(startup::Prompt& prompt) const;
    // "صدور و چاپ نامه": issues the current letter and moves on; its pages are
    // appended to printed. False (told) leaves everything as it was, and stays.
    bool issue(std::vector<letters::LetterPage>& printed, startup::Prompt& prompt);
    // "نامه بعدي": moves on without a letter and without a number.
    void skip();
    // "صدور وچاپ همه": the rest; stops at the first failure or when asked to stop.
    int issueAll(std::vector<letters::LetterPage>& printed, startup::Prompt& prompt);

    QStringList issuedNumbers() const { return issued_; }
    QList<int> issuedGuarantees() const { return issuedIdx_; }

private:
    letters::LetterRequest requestFor(const Guarantee& g) const;

    startup::Session& session_;
    DueFilter window_;
    Choice choice_;
    letters::GuaranteeLetterSettings settings_;
    std::vector<Guarantee> guarantees_;
    int position_ = 0;
    qint64 counter_ = 0;
    QStringList issued_;
    QList<int> issuedIdx_;
};

// The refusal of an extension whose new due date is not after the guarantee's own.
QString dueNotLaterThanCurrent(const Guarantee& g);

// What the main window's start-up asks: how many guarantees fall due in the default
// window from today.
db::Fetched<int> dueSoonCount(startup::Session& session);

} // namespace orvak::guarantees
