#include "ui/deposits/ControlLists.h"

#include "ui/deposits/TViewSepReqFromKhazaneh.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "core/deposits/RequestRefundLists.h"

#include <QPushButton>
#include <QTableView>

namespace orvak::ui::deposits {

framework::ListCommand reportCommand(const QString& caption, const QKeySequence& key)
{
    return {caption, key, [](framework::ListScreen& l) {
                const io::ReportModel report = l.reportModel();
                framework::previewReport(report, report.titleLines.value(0), &l);
            },
            true, false, 0};
}

namespace {

framework::ListUi printed(const QString& caption = QStringLiteral("تهيه گزارش"))
{
    framework::ListUi ui;
    ui.commands << reportCommand(caption);
    return ui;
}

} // namespace

TViewSepRadNoReq::TViewSepRadNoReq(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::refundedNotRequestedList(), printed(), parent)
{
    addDateCondition(QStringLiteral("استرداد شده از تاريخ"), QStringLiteral(":Since"));
    addOwnerCondition(QStringLiteral(" صاحب سپرده(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addContractCondition(QStringLiteral("قرارداد:"), QStringLiteral(":Contract"), QStringLiteral(":Owner"));
    addClearConditions();
}

TViewSepReqNoRad::TViewSepReqNoRad(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::requestedNotRefundedList(), printed(), parent)
{
    addOwnerCondition(QStringLiteral(" صاحب سپرده(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addContractCondition(QStringLiteral("قرارداد:"), QStringLiteral(":Contract"), QStringLiteral(":Owner"));
    addSearch(QStringLiteral("درخواست وجه"), [this] {
        if (const auto chosen = pickFundRequest(this, this->session())) {
            setCondition(QStringLiteral(":Req"), *chosen);
            reopen();
        }
    });
    addClearConditions();
}

TFRep_RAD::TFRep_RAD(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::refundedDepositsList(), printed(QStringLiteral("گزارش (F9)")), parent)
{
    addDateCondition(QStringLiteral("تاريخ استرداد از"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("تا"), QStringLiteral(":To"));
    addOwnerCondition(QStringLiteral(" صاحب سپرده(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addChoiceCondition(QString(), QStringLiteral(":FromFloat"), {{QStringLiteral("همه"), -1}, {QStringLiteral("از تنخواه"), 1}});
    addClearConditions();
}

TFRep_RadCHK::TFRep_RadCHK(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::refundChequesList(), printed(QStringLiteral("گزارش (F9)")), parent)
{
    addDateCondition(QStringLiteral("تاريخ استرداد از"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("تا"), QStringLiteral(":To"));
    addOwnerCondition(QStringLiteral(" صاحب سپرده(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addDateCondition(QStringLiteral("تاريخ چک از"), QStringLiteral(":ChkFrom"));
    addDateCondition(QStringLiteral("تا"), QStringLiteral(":ChkTo"));
    addClearConditions();
    connect(grid(), &QTableView::doubleClicked, this, [this] { showRefundRows(); });
}

void TFRep_RadCHK::showRefundRows()
{
    const int rad = currentField(QStringLiteral("RAD_IDX")).toInt();
    if (rad <= 0)
        return;
    auto* rows = new ConditionList(session(), orvak::deposits::refundRowsList(), printed());
    rows->setWindowTitle(QStringLiteral("سپرده هاي استردادي") + QStringLiteral(" - ") + QString::number(rad));
    rows->setCondition(QStringLiteral(":Rad"), rad);
    rows->reopen();
    runModal(rows, this);
}

} // namespace orvak::ui::deposits
