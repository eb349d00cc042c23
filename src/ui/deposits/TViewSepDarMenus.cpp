// The received-deposits list's menus: every operation of the register, each calling
// the register's service, and the vouchers, searches and prints reached from the list.
#include "ui/deposits/TViewSepDar.h"
#include "ui/statements/StatementScreens.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "ui/deposits/VoucherReadingScreens.h"
#include "ui/deposits/CreditLetterPicker.h"
#include "ui/deposits/DepositPrinting.h"
#include "ui/deposits/DepositSummaryPrinting.h"
#include "ui/deposits/TFSepYearMonth.h"
#include "ui/deposits/TfGenDisketSuratRizErsali.h"
#include "ui/deposits/TViewSepReqFromKhazanehDETAILS.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/PlanBankLists.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/VoucherYear.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QInputDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::DepositFilter;
using orvak::deposits::Outcome;
using orvak::deposits::ReceivedDeposits;
using Group = Outcome (ReceivedDeposits::*)(const DepositFilter&, startup::Prompt&);
using Single = Outcome (ReceivedDeposits::*)(int, startup::Prompt&);

// A posting through the voucher-issue dialog: its questions in boxes, its steps in
// the wait window, and what it tells handed to the dialog, which shows it once.
class IssuePrompt : public framework::TFDoing {
public:
    using TFDoing::TFDoing;
    void info(const QString& text) override { told << text; }
    QStringList told;
};

// What the dialog is handed back: nothing when posted, nothing to show when the user
// stopped at a question, else the reason.
QString issueAnswer(const Outcome& outcome)
{
    if (outcome.done)
        return {};
    if (outcome.message.isEmpty())
        return accounting::stoppedByUser();
    return outcome.message;
}

} // namespace

void TViewSepDar::buildMenus()
{
    menus_ = new QMenuBar(this);
    layout()->setMenuBar(menus_);
    auto group = [this](Group op) { return [this, op] { runGroup([op](auto& r, const auto& f, auto& p) { return (r.*op)(f, p); }); }; };
    auto single = [this](Single op) { return [this, op] { runOnRow([op](auto& r, int idx, auto& p) { return (r.*op)(idx, p); }); }; };
    const auto later = [this] { notBuiltYet(); };

    QMenu* marks = menus_->addMenu(QStringLiteral("عمليات"));
    addEntry(marks, QStringLiteral("SPACE      تائيد/عدم تائيد صورتحساب بانک"), [this] { stepMark(); });
    addEntry(marks, QStringLiteral("تائيد  صورتحساب  بانك - كلي"), group(&ReceivedDeposits::confirmAll));
    addEntry(marks, QStringLiteral("برعكس نمودن تائيد  صورتحساب  بانك - كلي "), group(&ReceivedDeposits::invertAll));
    addEntry(marks, QStringLiteral("تائيد  نيمه تائيد ها - کلي"), group(&ReceivedDeposits::confirmHalfAll));
    addEntry(marks, QStringLiteral("عدم تائيد - کلي"), group(&ReceivedDeposits::unconfirmAll));
    addEntry(marks, QStringLiteral("کنترل/عدم کنترل"), single(&ReceivedDeposits::toggleControl));
    marks->addSeparator();
    addEntry(marks, QStringLiteral("قطعي نمودن اطلاعات سپرده هاي دريافتي ماه"), group(&ReceivedDeposits::makeFinal));
    addEntry(marks, QStringLiteral("برگشت سپرده هاي دريافتي ماه  از وضعيت قطعي"), group(&ReceivedDeposits::undoFinal));
    addEntry(marks, QStringLiteral("تهيه پيش نويس"), group(&ReceivedDeposits::prepareDraft));
    addEntry(marks, QStringLiteral("حذف همه"), group(&ReceivedDeposits::removeAll));
    marks->addSeparator();
    addEntry(marks, QStringLiteral("درخواست سپرده"), single(&ReceivedDeposits::setRequested));
    addEntry(marks, QStringLiteral("درخواست وجه سپرده از خزانه"), [this] {
        if (requestDepositFromTreasury(this, session_, currentSourceRow() >= 0 ? currentIdx() : 0))
            applyFilter(currentKey());
    });
    addEntry(marks, QStringLiteral("محاسبه مانده ي سپرده ها"), [this] {
        framework::MessagePrompt prompt(this);
        finish(ReceivedDeposits(session_).recomputeBalances(prompt), false);
    });

    QMenu* numbers = menus_->addMenu(QStringLiteral("شماره گذاري"));
    addEntry(numbers, QStringLiteral("تعيين شماره قبض سپرده"), [this] {
        runOnRow([](auto& r, int idx, auto& p) { return r.assignReceiptNumber(idx, util::TodayJalali(), p); });
    });
    addEntry(numbers, QStringLiteral("تعيين خودكار سريال قبوض سپرده"), [this] { autoSerial(); });
    addEntry(numbers, QStringLiteral("تعيين شماره قبض سپرده   از رديف فعلي تا انتها"), [this] {
        const int idx = currentIdx();
        runGroup([idx](auto& r, const auto& f, auto& p) { return r.renumberFrom(f, idx, p); });
    });
    addEntry(numbers, QStringLiteral("معادل سازي شماره چک/فيش با شماره قبض سپرده"), group(&ReceivedDeposits::receiptFromCheque));
    addEntry(numbers, QStringLiteral("مرتب سازي و تعيين رديف سپرده هاي ارسالي"), group(&ReceivedDeposits::numberRows));
    numbers->addSeparator();
    addEntry(numbers, QStringLiteral("انتقال به صورت ريز سپرده هاي ماه مورد نظر"), [this] { moveToMonth(false); });
    addEntry(numbers, QStringLiteral("انتقال به صورت ريز سپرده هاي ماه مورد نظر - کلي"), [this] { moveToMonth(true); });
    addEntry(numbers, QStringLiteral("تعيين تفضيلي  براي سپرده هاي نا مشخص و بدون صاحب"), [this] { ownerForUnknown(); });
    QMenu* set = numbers->addMenu(QStringLiteral("تعيين"));
    addEntry(set, QStringLiteral("پيمانکار"), [this] { setEmpty(orvak::deposits::EmptyField::Owner); });
    addEntry(set, QStringLiteral("طرح"), [this] { setEmpty(orvak::deposits::EmptyField::Plan); });
    addEntry(set, QStringLiteral("پروژه"), [this] { setEmpty(orvak::deposits::EmptyField::Project); });
    addEntry(set, QStringLiteral("قرارداد"), [this] { setEmpty(orvak::deposits::EmptyField::Contract); });

    QMenu* credit = menus_->addMenu(QStringLiteral("بستانکاري"));
    addEntry(credit, QStringLiteral("ارسال به خزانه و تعيين شماره نامه صورت ريز ارسالي - کلي"), [this] { lettersToList(false); });
    addEntry(credit, QStringLiteral("تعيين شماره بستانكاري - كلي "), [this] { lettersToList(true); });
    addEntry(credit, QStringLiteral("تعيين شماره بستانكاري "), [this] { creditNumber(); });
    credit->addSeparator();
    addEntry(credit, QStringLiteral("کپي بستانکاري در حافظه"), [this] {
        const auto c = ReceivedDeposits(session_).creditOf(currentIdx());
        if (c)
            heldCredit_ = *c;
        else
            framework::ShowError(c.failed() ? c.error() : QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
    }, false);
    addEntry(credit, QStringLiteral("بستانکاري رديف بالا را در نظر بگير"), [this] { copyCredit(-1); });
    addEntry(credit, QStringLiteral("بستانکاري رديف پايين را در نظر بگير"), [this] { copyCredit(1); });
    addEntry(credit, QStringLiteral("تعيين شماره بستانکاري براي رديف هاي انتخابي"), [this] {
        if (const auto letter = pickCreditLetter(this, session_, QStringLiteral("تعيين شماره بستانکاري براي رديف هاي انتخابي")))
            creditToSelected(letter->ref());
    });
    addEntry(credit, QStringLiteral("فراخواني شماره بستانکاري  از حافظه براي رديف هاي انتخابي "), [this] { copyCredit(0); });

    QMenu* search = menus_->addMenu(QStringLiteral("جستجو"));
    addEntry(search, QStringLiteral("جستجو ..."), [this] { locate(); }, false);
    addEntry(search, QStringLiteral("جستجو در شرح سپرده"), [this] { searchDescription(); }, false);
    addEntry(search, QStringLiteral("جستجو در اطلاعات اسناد حسابداري"), [this] { accounting::searchVouchers(this, session_); }, false);
    addEntry(search, QStringLiteral("برو به سند حسابداري"), [this] { showRowVoucher(false); }, false);
    QMenu* find = search->addMenu(QStringLiteral("بياب در اسناد حسابداري"));
    addEntry(find, QStringLiteral("اين مبلغ را"), [this] { findInVouchers(orvak::deposits::VoucherMatch::Amount); });
    addEntry(find, QStringLiteral("اين شماره چک را"), [this] { findInVouchers(orvak::deposits::VoucherMatch::ChequeNo); });
    addEntry(search, QStringLiteral("فراخواني پيمانکار و قرارداد از اسناد حسابداري"), single(&ReceivedDeposits::ownerFromVoucher));

    QMenu* vouchers = menus_->addMenu(QStringLiteral("اسناد حسابداري"));
    addEntry(vouchers, QStringLiteral("صدور سند حسابداري دريافت سپرده "), [this] { issueVoucher(false); });
    addEntry(vouchers, QStringLiteral("صدور سند حسابداري ارسال صورت ريز سپرده به خزانه"), [this] { issueVoucher(true); });
    addEntry(vouchers, QStringLiteral("نمايش سند حسابداري - دريافت سپرده "), [this] { showRowVoucher(false); }, false);
    addEntry(vouchers, QStringLiteral("نمايش سند حسابداري - ارسال سپرده به خزانه"), [this] { showRowVoucher(true); }, false);
    addEntry(vouchers, QStringLiteral("تهيه سند افتتاحيه با توجه به آخرين مانده ها"), [this] {
        std::optional<Outcome> outcome;
        accounting::VoucherIssueRequest request;
        request.title = QStringLiteral("تهيه سند افتتاحيه با توجه به آخرين مانده ها");
        accounting::issueVoucher(this, session_, request, [&](const accounting::VoucherIssue& issue) {
            IssuePrompt prompt(request.title, this);
            outcome = ReceivedDeposits(session_).issueOpeningVoucher({issue.number, issue.date, issue.clearEarlier}, prompt);
            return issueAnswer(*outcome);
        });
        if (outcome)
            finish(*outcome, false);
    });
    vouchers->addSeparator();
    addEntry(vouchers, QStringLiteral("خواندن اطلاعات سپرده از اسناد حسابداري"), [this] { readFromVouchers(false); });
    addEntry(vouchers, QStringLiteral("خواندن اطلاعات سپرده از اسناد حسابداري - با شماره چک رديف جاري"), [this] { readFromVouchers(true); });
    addEntry(vouchers, QStringLiteral("خواندن اطلاعات سپرده ها از صورتحساب بانک دريافت سپرده"),
             [this] { statements::openMatching(session_, this, filter().year, filter().month); });
    addEntry(vouchers, QStringLiteral("تهيه فايل/ديسکت/سي دي حاوي صورت ريز ارسالي به خزانه"), [this] {
        framework::ShowInfo(filter().mode == orvak::deposits::PeriodMode::Cumulative
                                ? QStringLiteral("در اين قسمت ، فايلي از همه سپرده ها تا سال و ماه مورد نظر تهيه مي شود")
                                : QStringLiteral("در اين قسمت ، فايلي از سپرده هاي سال و ماه مورد نظر تهيه مي شود"),
                            this);
        // Beside the list, not over it: the list stays at hand while the file is prepared.
        auto* screen = new TfGenDisketSuratRizErsali(session_, filter().year, filter().month,
                                                     filter().mode == orvak::deposits::PeriodMode::Cumulative, this);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
    }, false);

    QMenu* print = menus_->addMenu(QStringLiteral("چاپ"));
    // Printing reads; numbering a receipt on the way is the register's to refuse.
    addEntry(print, QStringLiteral("چاپ قبض سپرده"), [this] { printReceipts(false); }, false);
    addEntry(print, QStringLiteral("چاپ قبض هاي سپرده - كلي"), [this] { printReceipts(true); }, false);
    addEntry(print, QStringLiteral("نمايش/چاپ"), [this] { printList(); }, false);
    QMenu* reports = menus_->addMenu(QStringLiteral("گزارشات"));
    for (const char* r : {"گزارش سپرده اشخاص", "گزارش سازي", "گزارش ساليانه"}) {
        const QString caption = QString::fromUtf8(r);
        if (caption == QStringLiteral("گزارش سپرده اشخاص"))
            addEntry(reports, caption, [this] { personDeposits(); }, false);
        else if (caption == QStringLiteral("گزارش ساليانه"))
            addEntry(reports, caption, [this] { summary(orvak::deposits::Summary::Yearly); }, false);
        else
            addEntry(reports, caption, later, false);
    }
    // Over the list's conditions; a deposit's requests over the current row.
    QMenu* summaries = reports->addMenu(QStringLiteral("خلاصه سپرده ها"));
    for (const orvak::deposits::SummaryInfo& s : summaryMenuEntries()) {
        const orvak::deposits::Summary id = s.id;
        addEntry(summaries, summaryMenuText(s), [this, id] { summary(id); }, false);
    }
}

void TViewSepDar::moveYearMonth()
{
    const int row = currentSourceRow();
    if (row < 0)
        return;
    const YearMonth current{io::fieldValue(model().rows(), row, QStringLiteral("MY")).toInt(),
                            io::fieldValue(model().rows(), row, QStringLiteral("MM")).toInt()};
    const auto chosen = askYearMonth(orvak::deposits::monthTexts(), current, this);
    if (!chosen)
        return;
    runOnRow([&](auto& r, int idx, auto& p) { return r.moveYearMonth(idx, chosen->year, chosen->month, p); });
}

void TViewSepDar::moveToMonth(bool all)
{
    // "انتقال در سال مالي فعلي", "انتقال به سال مالي جديد" or "انتقال به سال مالي قبل".
    const QStringList years = {QStringLiteral("انتقال در سال مالي فعلي"), QStringLiteral("انتقال به سال مالي جديد"),
                               QStringLiteral("انتقال به سال مالي قبل")};
    bool ok = false;
    const QString which = QInputDialog::getItem(this, windowTitle(), QStringLiteral("سال مالي"), years, 0, false, &ok);
    if (!ok)
        return;
    const int shift = which == years[1] ? 1 : which == years[2] ? -1 : 0;
    const DepositFilter f = filter();
    const QString month = QInputDialog::getItem(this, windowTitle(), QStringLiteral("ماه"), orvak::deposits::monthTexts(), f.month - 1, false, &ok);
    if (!ok)
        return;
    const orvak::deposits::MonthTarget target{f.year + shift, int(orvak::deposits::monthTexts().indexOf(month)) + 1};
    if (all)
        runGroup([target](auto& r, const auto& flt, auto& p) { return r.moveAllToMonth(flt, target, p); });
    else
        runOnRow([target](auto& r, int idx, auto& p) { return r.moveToMonth(idx, target, p); });
}

void TViewSepDar::setEmpty(orvak::deposits::EmptyField field)
{
    if (currentSourceRow() < 0)
        return;
    std::optional<qint64> value;
    switch (field) {
    case orvak::deposits::EmptyField::Owner:
        if (const auto p = basedata::pickParty(this, session_))
            value = p->code;
        break;
    case orvak::deposits::EmptyField::Plan:
        if (const auto p = basedata::pickPlan(this, session_))
            value = p->current.value(QStringLiteral("CODE")).toLongLong();
        break;
    case orvak::deposits::EmptyField::Project:
        if (const auto p = basedata::pickProject(this, session_))
            value = p->current.value(QStringLiteral("PROJNO")).toLongLong();
        break;
    case orvak::deposits::EmptyField::Contract:
        if (const auto p = basedata::pickContract(this, session_))
            value = p->current.value(QStringLiteral("CODE")).toLongLong();
        break;
    }
    if (!value)
        return;
    runOnRow([field, v = int(*value)](auto& r, int idx, auto& p) { return r.setEmptyField(idx, field, v, p); });
}

void TViewSepDar::ownerForUnknown()
{
    const auto picked = basedata::pickParty(this, session_);
    if (!picked)
        return;
    runGroup([owner = int(picked->code)](auto& r, const auto& f, auto& p) { return r.setOwnerAll(f, owner, p); });
}

void TViewSepDar::creditNumber()
{
    framework::MessagePrompt prompt(this);
    const auto text = prompt.askText(QStringLiteral("تعيين شماره بستانكاري "), false);
    if (!text)
        return;
    const auto number = util::parseTolerantInt(*text);
    if (!number || *number < 0) {
        framework::ShowError(QStringLiteral("شماره بستانكاري درست وارد نشده است"), this);
        return;
    }
    runOnRow([n = *number](auto& r, int idx, auto& p) { return r.setCreditNumber(idx, n, p); });
}

void TViewSepDar::copyCredit(int from)
{
    std::optional<orvak::deposits::CreditRef> credit = heldCredit_;
    if (from != 0) {
        const int gridRow = grid()->currentIndex().row() + from;
        if (gridRow < 0 || gridRow >= model().rowCount())
            return;
        const auto c = ReceivedDeposits(session_).creditOf(io::fieldValue(model().rows(), model().sourceRow(gridRow), QStringLiteral("IDX")).toInt());
        if (c.failed()) {
            framework::ShowError(c.error(), this);
            return;
        }
        credit = c ? std::optional<orvak::deposits::CreditRef>(*c) : std::nullopt;
    }
    if (!credit) {
        framework::ShowInfo(QStringLiteral("بستانکاري در حافظه نيست"), this);
        return;
    }
    creditToSelected(*credit);
}

void TViewSepDar::creditToSelected(const orvak::deposits::CreditRef& credit)
{
    QList<int> idxs;
    for (const QVariant& k : selectedKeys())
        idxs << k.toInt();
    if (idxs.isEmpty() && currentSourceRow() >= 0)
        idxs << currentIdx();
    framework::MessagePrompt prompt(this);
    // The register tells how many were chosen.
    finish(ReceivedDeposits(session_).applyCredit(idxs, credit, prompt), false);
}

void TViewSepDar::lettersToList(bool creditNotice)
{
    const QString title = creditNotice ? QStringLiteral("تعيين شماره بستانكاري - كلي ")
                                       : QStringLiteral("ارسال به خزانه و تعيين شماره نامه صورت ريز ارسالي - کلي");
    const auto letter = pickCreditLetter(this, session_, title);
    if (!letter)
        return;
    const int idx = letter->idx;
    runGroup([idx, creditNotice](auto& r, const auto& f, auto& p) {
        return creditNotice ? r.assignCreditAll(f, idx, p) : r.sendToTreasury(f, idx, p);
    });
}

void TViewSepDar::locate()
{
    framework::MessagePrompt prompt(this);
    const auto text = prompt.askText(QStringLiteral("شماره قبض، شماره چک/فيش يا شناسه"), false);
    if (!text || text->trimmed().isEmpty())
        return;
    model().fetchAll();
    const QString typed = util::normalizeDigits(text->trimmed());
    for (const char* field : {"SEPNO", "CHKNO", "IDX"}) {
        const int row = orvak::basedata::findRow(model().rows(), QString::fromLatin1(field), typed);
        if (row >= 0 && model().gridRowOf(row) >= 0) {
            const QModelIndex index = model().index(model().gridRowOf(row), 0);
            grid()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            grid()->scrollTo(index);
            return;
        }
    }
    framework::ShowInfo(QStringLiteral(" يافت نشــد "), this);
}

void TViewSepDar::searchDescription()
{
    framework::MessagePrompt prompt(this);
    const auto word = prompt.askText(QStringLiteral("كلمه در شرح"), false);
    if (!word)
        return;
    descriptionWord_ = word->trimmed();
    applyFilter();
}

void TViewSepDar::findInVouchers(orvak::deposits::VoucherMatch match)
{
    const int row = currentSourceRow();
    if (row < 0)
        return;
    accounting::VoucherSearchPreset preset;
    if (match == orvak::deposits::VoucherMatch::Amount)
        preset.amount = qint64(io::fieldValue(model().rows(), row, QStringLiteral("AMOUNT")).toDouble());
    else
        preset.chequeNo = io::fieldValue(model().rows(), row, QStringLiteral("CHKNO")).toLongLong();
    preset.runAtOnce = true;
    const auto found = accounting::searchVouchers(this, session_, preset);
    if (!found)
        return;
    runOnRow([&](auto& r, int idx, auto& p) { return r.applyVoucherRow(idx, found->row, match, p); });
}

void TViewSepDar::showRowVoucher(bool sending)
{
    const int row = currentSourceRow();
    if (row < 0)
        return;
    const int number = io::fieldValue(model().rows(), row, sending ? QStringLiteral("SNDNO_ERSAL") : QStringLiteral("SNDNO")).toInt();
    if (number <= 0) {
        framework::ShowInfo(sending ? QStringLiteral("شماره سند ارسال به خزانه مشخص نشده است") : QStringLiteral("شماره سند مشخص نشده است"), this);
        return;
    }
    // The voucher of the year the row keeps, not the same number in the year open.
    const int year = io::fieldValue(model().rows(), row, sending ? QStringLiteral("SNDYER_ERSAL") : QStringLiteral("SNDYER")).toInt();
    orvak::deposits::VoucherYear books(session_, year);
    if (!books.open()) {
        framework::ShowInfo(books.missingText(), this);
        return;
    }
    accounting::showVoucher(this, session_, number);
}

void TViewSepDar::issueVoucher(bool sending)
{
    const DepositFilter f = shownFilter();
    if (!f.oneMonth()) {
        framework::ShowInfo(orvak::deposits::oneMonthOnlyText(), this);
        return;
    }
    std::optional<Outcome> outcome;
    accounting::VoucherIssueRequest request;
    request.title = sending ? QStringLiteral("صدور سند حسابداري ارسال صورت ريز سپرده به خزانه") : QStringLiteral("صدور سند حسابداري دريافت سپرده ");
    request.clearReferences = [sending](db::UnitOfWork& w, const orvak::accounting::PostedVoucher& v) {
        return ReceivedDeposits::clearVoucherReferences(w, v, sending);
    };
    accounting::issueVoucher(this, session_, request, [&](const accounting::VoucherIssue& issue) {
        IssuePrompt prompt(request.title, this);
        const orvak::deposits::VoucherChoice choice{issue.number, issue.date, issue.clearEarlier};
        ReceivedDeposits reg(session_);
        outcome = sending ? reg.issueSendingVoucher(f, choice, prompt) : reg.issueReceiptVoucher(f, choice, prompt);
        return issueAnswer(*outcome);
    });
    if (outcome)
        finish(*outcome, false);
}

void TViewSepDar::readFromVouchers(bool byCheque)
{
    const DepositFilter f = filter();
    qint64 cheque = 0;
    if (byCheque) {
        const int row = currentSourceRow();
        if (row < 0)
            return;
        cheque = io::fieldValue(model().rows(), row, QStringLiteral("CHKNO")).toLongLong();
    }
    const auto outcome = readDepositsFromVouchers(this, session_, f.year, f.month, cheque);
    if (outcome && outcome->transferred > 0)
        applyFilter();
}

void TViewSepDar::autoSerial()
{
    const auto serial = askReceiptSerial(this, session_);
    if (!serial)
        return;
    runGroup([s = *serial](auto& r, const auto& f, auto& p) { return r.serialReceipts(f, s, p); });
}

void TViewSepDar::personDeposits()
{
    const int row = currentSourceRow();
    if (row < 0)
        return;
    const int owner = io::fieldValue(model().rows(), row, QStringLiteral("TAFSILI")).toInt();
    showPersonDeposits(session_, owner, this);
}

void TViewSepDar::printList() { printDepositList(session_, *this); }

void TViewSepDar::printReceipts(bool all) { printDepositReceipts(session_, *this, all); }

} // namespace orvak::ui::deposits

namespace orvak::ui::deposits {

void TViewSepDar::summary(orvak::deposits::Summary id)
{
    orvak::deposits::SummaryRequest r;
    r.filter = filter();
    r.owner = r.filter.owner;
    r.deposit = currentIdx();
    if (id == orvak::deposits::Summary::DepositRequests && r.deposit <= 0)
        return;
    previewSummary(session_, id, r, this);
}

} // namespace orvak::ui::deposits
