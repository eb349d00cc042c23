#include "ui/deposits/DepositPrinting.h"

#include "ui/deposits/TViewSepDar.h"
#include "ui/framework/Doing.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/ReportFooter.h"
#include "core/util/Jalali.h"

#include <QHash>
#include <QInputDialog>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::PrintedDeposit;

std::vector<io::ReportSignature> signatures(orvak::startup::Session& session)
{
    return letters::signatureBlocks(session, QStringLiteral("SEPDAR"), letters::DepositReportsGroup);
}

// The chosen entry's position; nullopt when the user leaves.
std::optional<int> choose(QWidget* parent, const QString& title, const QStringList& items, int current = 0)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, title, items, current, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(items.indexOf(chosen));
}

// The printed rows as the grid shows them: its rows in its order while the frame
// rearranges them (the prints read the conditions' rows).
QList<PrintedDeposit> asShown(const QList<PrintedDeposit>& rows, const orvak::deposits::DepositFilter& filter)
{
    if (!filter.shown)
        return rows;
    QHash<int, qsizetype> at;
    for (qsizetype i = 0; i < rows.size(); ++i)
        at.insert(rows[i].deposit.idx, i);
    QList<PrintedDeposit> out;
    for (int idx : *filter.shown) {
        if (const auto it = at.constFind(idx); it != at.cend())
            out << rows[*it];
    }
    return out;
}

} // namespace

void previewReport(const io::ReportModel& report, QWidget* parent)
{
    framework::previewReport(report, report.titleLines.value(0), parent);
}

void printDepositList(orvak::startup::Session& session, TViewSepDar& list)
{
    const auto model = choose(&list, QStringLiteral("نمايش/چاپ"), orvak::deposits::listPrintTexts());
    if (!model)
        return;
    const orvak::deposits::DepositFilter filter = list.shownFilter();
    const auto rows = orvak::deposits::printedDeposits(session, filter);
    if (rows.failed()) {
        framework::ShowError(rows.error(), &list);
        return;
    }
    previewReport(orvak::deposits::depositListReport(asShown(rows.value_or({}), filter), orvak::deposits::ListPrint(*model), util::TodayJalali(),
                                                     signatures(session)),
                  &list);
}

void printDepositReceipts(orvak::startup::Session& session, TViewSepDar& list, bool all)
{
    using orvak::deposits::ReceiptPrint;
    QList<int> chosen;
    // A single receipt without a number: the number and date it will take, told
    // before it takes them.
    std::optional<orvak::deposits::ReceiptToGive> toGive;
    if (!all) {
        if (list.currentSourceRow() < 0)
            return;
        const auto deposit = orvak::deposits::ReceivedDeposits(session).read(list.currentIdx());
        if (!deposit) {
            framework::ShowError(deposit.failed() ? deposit.error() : QStringLiteral("هيچ اطلاعاتي وارد نشده است"), &list);
            return;
        }
        if (deposit->sepNo == 0) {
            const auto next = orvak::deposits::receiptToGive(session, *deposit);
            if (!next) {
                framework::ShowError(next.error(), &list);
                return;
            }
            toGive = *next;
        }
        if (framework::Ask(orvak::deposits::printReceiptQuestion(*deposit, toGive), &list) != framework::AskYes)
            return;
        chosen << deposit->idx;
    }
    const QString title = all ? QStringLiteral("چاپ قبض هاي سپرده - كلي") : QStringLiteral("چاپ قبض سپرده");
    const auto model = choose(&list, title, orvak::deposits::receiptPrintTexts(), int(orvak::deposits::DefaultReceiptPrint));
    if (!model)
        return;
    if (ReceiptPrint(*model) == ReceiptPrint::Designed) {
        framework::ShowInfo(orvak::deposits::designedReceiptMissingText(), &list);
        return;
    }
    const orvak::deposits::DepositFilter filter = list.shownFilter();
    auto rows = orvak::deposits::printedDeposits(session, filter);
    if (rows.failed()) {
        framework::ShowError(rows.error(), &list);
        return;
    }
    const auto pick = [&](const QList<PrintedDeposit>& from) {
        QList<PrintedDeposit> out;
        for (const PrintedDeposit& p : asShown(from, filter)) {
            if (all || chosen.contains(p.deposit.idx))
                out << p;
        }
        return out;
    };
    QList<PrintedDeposit> printed = pick(rows.value_or({}));
    // Receipts without a number are numbered first, as "تعيين شماره قبض سپرده" does,
    // all of them in one unit of work: a failure numbers none.
    QList<int> unnumbered;
    for (const PrintedDeposit& p : printed) {
        if (p.deposit.sepNo == 0)
            unnumbered << p.deposit.idx;
    }
    if (!unnumbered.isEmpty()) {
        framework::MessagePrompt prompt(&list);
        const QString date = toGive ? toGive->date : util::TodayJalali();
        if (!orvak::deposits::ReceivedDeposits(session).assignReceiptNumbers(unnumbered, date, prompt).done)
            return;
        rows = orvak::deposits::printedDeposits(session, filter);
        printed = pick(rows.value_or({}));
        list.applyFilter(list.currentKey());
        // Another workstation may have taken the told number in between: say which
        // one the receipt holds.
        if (toGive && !printed.isEmpty() && printed.first().deposit.sepNo != toGive->number)
            framework::ShowInfo(QStringLiteral("شماره قبض ") + io::isolateLtr(QString::number(toGive->number))
                                    + QStringLiteral(" در اين فاصله به سپرده ديگري داده شد؛ اين قبض شماره ")
                                    + io::isolateLtr(QString::number(printed.first().deposit.sepNo)) + QStringLiteral(" گرفت."),
                                &list);
    }
    if (const auto report = orvak::deposits::receiptReport(printed, ReceiptPrint(*model), signatures(session)))
        previewReport(*report, &list);
}

void showPersonDeposits(orvak::startup::Session& session, int owner, QWidget* parent)
{
    auto* screen = new framework::ListScreen(session, orvak::deposits::personDepositsList(owner), framework::ListUi{}, parent);
    screen->setWindowFlag(Qt::Window);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setParameter(QStringLiteral(":Owner"), owner);
    if (!screen->reopen()) {
        delete screen;
        return;
    }
    screen->show();
}

} // namespace orvak::ui::deposits
