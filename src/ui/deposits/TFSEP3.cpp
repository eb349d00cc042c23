#include "ui/deposits/TFSEP3.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/deposits/ControlLists.h"
#include "ui/deposits/DepositPrinting.h"
#include "ui/deposits/TDE_SEPRAD.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/deposits/RequestPrints.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/deposits/Refunds.h"
#include "core/deposits/VoucherYear.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/ReportFooter.h"
#include "core/startup/Rights.h"
#include "core/util/Numbers.h"

#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace orvak::ui::deposits {

namespace {

framework::ListUi buttons()
{
    using framework::ListCommand;
    auto on = [](void (TFSEP3::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TFSEP3&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد (INS)"), {}, on(&TFSEP3::newRefund), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش (ENTER)"), {}, on(&TFSEP3::editRefund), true, false, 0},
        ListCommand{QStringLiteral("حذف(DEL)"), {}, on(&TFSEP3::removeRefund), true, true, startup::AccessDelete},
        ListCommand{QStringLiteral("نمايش سند"), {}, on(&TFSEP3::showVoucher), true, false, 0},
        reportCommand(QStringLiteral("گزارش (F9)")),
        ListCommand{QStringLiteral("دستور پرداخت"), {}, on(&TFSEP3::printOrder), true, false, 0},
    };
    return ui;
}

} // namespace

TFSEP3::TFSEP3(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::refundsList(), buttons(), parent)
{
    setWindowTitle(QStringLiteral("سپرده هاي استردادي"));
    addOwnerCondition(QStringLiteral(" صاحب سپرده(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addContractCondition(QStringLiteral("قرارداد:"), QStringLiteral(":Contract"), QStringLiteral(":Owner"));
    addClearConditions();
    total_ = new QLabel(this);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->addWidget(total_);
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotal(); });
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(EditCommand); });
    bindKey(QKeySequence(Qt::Key_Insert), NewCommand);
    bindKey(QKeySequence(Qt::Key_Delete), DeleteCommand);
    bindKey(QKeySequence(Qt::Key_F9), ReportCommand);
    resize(1150, 650);
}

QString TFSEP3::totalText() const { return total_->text(); }

void TFSEP3::updateTotal()
{
    qint64 sum = 0;
    const int field = model().rows().fieldIndex(QStringLiteral("AMOUNT"));
    for (int row : shownRows())
        sum += qint64(std::llround(model().rows().number(row, field)));
    total_->setText(QStringLiteral("جمع كل:") + QLatin1Char(' ') + io::isolateLtr(sum ? util::FormatAmount(sum) : QStringLiteral("0")));
}

void TFSEP3::newRefund()
{
    TDE_SEPRAD form(session(), this);
    runEntryForm(form, true);
    reopen();
}

void TFSEP3::editRefund()
{
    if (currentSourceRow() < 0)
        return;
    TDE_SEPRAD form(session(), this);
    runEntryForm(form, false);
    reopen(currentKey());
}

void TFSEP3::removeRefund()
{
    if (currentSourceRow() < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    if (orvak::deposits::Refunds(session()).remove(currentRefund(), prompt))
        reopen();
}

void TFSEP3::showVoucher()
{
    const int number = currentField(QStringLiteral("SNDNO")).toInt();
    if (number <= 0) {
        framework::ShowInfo(QStringLiteral("شماره سند مشخص نشده است"), this);
        return;
    }
    orvak::deposits::VoucherYear books(session(), currentField(QStringLiteral("SNDYER")).toInt());
    if (!books.open()) {
        framework::ShowInfo(books.missingText(), this);
        return;
    }
    accounting::showVoucher(this, session(), number);
}

void TFSEP3::printOrder()
{
    const auto order = orvak::deposits::refundPaymentOrder(session(), currentRefund(),
                                                           letters::signatureBlocks(session(), QStringLiteral("SEPRAD"), letters::DepositReportsGroup));
    if (!order)
        framework::ShowError(order.failed() ? order.error() : QStringLiteral("استرداد مورد نظر يافت نشد"), this);
    else
        previewReport(*order, this);
}

} // namespace orvak::ui::deposits
