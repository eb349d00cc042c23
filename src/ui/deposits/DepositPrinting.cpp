#include "ui/deposits/DepositPrinting.h"

#include "ui/deposits/TViewSepDar.h"
#include "ui/framework/Doing.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/letters/ReportFooter.h"
#include "core/util/Jalali.h"

#include <QHash>
#include <QInputDialog>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::PrintedDeposit;

std::vector<io::ReportSignature> signatures(orvak::startup::Session& session)
{
    return letters::footerSignatures(letters::GetReportFooter(session, QString(), 0).value_or({}));
}

// The chosen entry's position; nullopt when the user leaves.
std::optional<int> choose(QWidget* parent, const QString& title, const QStringList& items)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, title, items, 0, false, &ok);
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
    QList<int> chosen;
    if (!all) {
        const int row = list.currentSourceRow();
        if (row < 0)
            return;
        const qint64 no = io::fieldValue(list.model().rows(), row, QStringLiteral("SEPNO")).toLongLong();
        if (framework::Ask(QStringLiteral(" قبض /فيش سپرده چاپ شود ؟ شماره") + QLatin1Char(' ') + io::isolateLtr(QString::number(no)), &list)
            != framework::AskYes)
            return;
        chosen << list.currentIdx();
    }
    const auto model = choose(&list, QStringLiteral("چاپ قبض هاي سپرده - كلي"), orvak::deposits::receiptPrintTexts());
    if (!model)
        return;
    if (orvak::deposits::ReceiptPrint(*model) == orvak::deposits::ReceiptPrint::Designed) {
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
        if (!orvak::deposits::ReceivedDeposits(session).assignReceiptNumbers(unnumbered, util::TodayJalali(), prompt).done)
            return;
        rows = orvak::deposits::printedDeposits(session, filter);
        printed = pick(rows.value_or({}));
        list.applyFilter(list.currentKey());
    }
    if (const auto report = orvak::deposits::receiptReport(printed, orvak::deposits::ReceiptPrint(*model), signatures(session)))
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
