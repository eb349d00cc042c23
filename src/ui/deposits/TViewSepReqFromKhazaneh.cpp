#include "ui/deposits/TViewSepReqFromKhazaneh.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/deposits/DepositPrinting.h"
#include "ui/deposits/TDE_SepReqFromKhazaneh.h"
#include "ui/deposits/TfGenDisketDarkhastVjh.h"
#include "ui/deposits/TViewSepReqFromKhazanehDETAILS.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "core/deposits/RequestPrints.h"
#include "core/deposits/Refunds.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/letters/LetterFooter.h"
#include "core/letters/ReportFooter.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::FundRequests;
using orvak::deposits::FundState;

framework::ListUi buttons()
{
    using framework::ListCommand;
    auto on = [](void (TViewSepReqFromKhazaneh::*f)()) {
        return [f](framework::ListScreen& l) { (static_cast<TViewSepReqFromKhazaneh&>(l).*f)(); };
    };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد (INS)"), {}, on(&TViewSepReqFromKhazaneh::newRequest), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش (ENTER)"), {}, on(&TViewSepReqFromKhazaneh::editRequest), true, true, 0},
        ListCommand{QStringLiteral("حذف(DEL)"), {}, on(&TViewSepReqFromKhazaneh::removeRequest), true, true, startup::AccessDelete},
        ListCommand{QStringLiteral("صورت ريز درخواست وجه"), {}, on(&TViewSepReqFromKhazaneh::showRows), true, false, 0},
    };
    return ui;
}

std::vector<io::ReportSignature> footer(Session& session)
{
    return letters::signatureBlocks(session, QStringLiteral("SEPREQ"), letters::DepositReportsGroup);
}

// A posting through the voucher-issue dialog: its steps in the wait window, what it
// says handed to the dialog.
class IssuePrompt : public framework::TFDoing {
public:
    using TFDoing::TFDoing;
    void info(const QString& text) override { told << text; }
    QStringList told;
};

} // namespace

TViewSepReqFromKhazaneh::TViewSepReqFromKhazaneh(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::fundRequestsList(), buttons(), parent)
{
    setWindowTitle(QStringLiteral("درخواست  وجه سپرده  از خزانه  "));
    addDateCondition(QStringLiteral("تاريخ درخواست از:"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("لغايت:"), QStringLiteral(":To"));
    addChoiceCondition(QString(), QStringLiteral(":State"),
                       {{QStringLiteral("همه"), -1},
                        {QStringLiteral("پيش نويس"), 0},
                        {QStringLiteral("ارسال  درخواست  به خزانه"), 1},
                        {QStringLiteral("ارسال  درخواست+فايل به خزانه"), 2},
                        {QStringLiteral("تاييد دريافتي از خزانه"), 3},
                        {QStringLiteral("قطعي شده-غير قابل تغيير"), 4}});
    QList<std::pair<QString, QVariant>> orders;
    const QStringList texts = orvak::deposits::fundRequestOrderTexts();
    for (int i = 0; i < texts.size(); ++i)
        orders.append({texts[i], i});
    order_ = addChoiceCondition(QStringLiteral("ترتيب:"), QStringLiteral(":Order"), orders);
    disconnect(order_, &QComboBox::activated, this, nullptr);
    connect(order_, &QComboBox::activated, this, [this] {
        setQuery(orvak::deposits::fundRequestsList(orvak::deposits::FundRequestOrder(order_->currentIndex())).sql);
        reopen();
    });
    addClearConditions();
    total_ = new QLabel(this);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->addWidget(total_);
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotal(); });
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(EditCommand); });
    bindKey(QKeySequence(Qt::Key_Insert), NewCommand);
    bindKey(QKeySequence(Qt::Key_Delete), DeleteCommand);
    buildMenus();
    resize(1150, 650);
}

QString TViewSepReqFromKhazaneh::totalText() const { return total_->text(); }

void TViewSepReqFromKhazaneh::updateTotal()
{
    // The rows the grid shows, so a filter of the frame counts too.
    qint64 sum = 0;
    const int field = model().rows().fieldIndex(QStringLiteral("REQ_AMOUNT"));
    for (int row : shownRows())
        sum += qint64(std::llround(model().rows().number(row, field)));
    total_->setText(QStringLiteral("جمع کل درخواست:") + QLatin1Char(' ') + io::isolateLtr(sum ? util::FormatAmount(sum) : QStringLiteral("0")));
}

QAction* TViewSepReqFromKhazaneh::addEntry(QMenu* menu, const QString& caption, std::function<void()> run, bool writes)
{
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, run = std::move(run), writes] {
        if (writes && isReadOnly()) {
            framework::ShowInfo(orvak::deposits::writeRefusalText(), this);
            return;
        }
        run();
    });
    actions_.insert(caption, a);
    return a;
}

void TViewSepReqFromKhazaneh::buildMenus()
{
    menus_ = new QMenuBar(this);
    layout()->setMenuBar(menus_);
    QMenu* states = menus_->addMenu(QStringLiteral("عمليات"));
    addEntry(states, QStringLiteral("ارسال درخواست وجه "), [this] { changeState(FundState::Sent); });
    addEntry(states, QStringLiteral("ارسال درخواست وجه + فايل به خزانه"), [this] { changeState(FundState::SentWithFile); });
    addEntry(states, QStringLiteral("انصراف از ارسال درخواست وجه"), [this] { changeState(FundState::Draft); });
    addEntry(states, QStringLiteral("تائيد دريافت وجه از خزانه"), [this] { changeState(FundState::Confirmed); });
    states->addSeparator();
    addEntry(states, QStringLiteral("تعيين مبلغ همه"), [this] {
        framework::MessagePrompt prompt(this);
        if (FundRequests(session()).setAllAmounts(prompt))
            reopen();
    });
    addEntry(states, QStringLiteral("مبلغ صورت ريز درخواست"), [this] {
        if (!needRequest())
            return;
        const auto sums = FundRequests(session()).rowSums(currentRequest());
        if (!sums)
            framework::ShowError(sums.error(), this);
        else
            framework::ShowInfo(FundRequests(session()).rowSumsText(*sums), this);
    }, false);
    addEntry(states, QStringLiteral("بروز رساني پيکره واريزي از اعلاميه هاي بستانکاري"), [this] {
        framework::MessagePrompt prompt(this);
        const orvak::deposits::Outcome out = FundRequests(session()).refreshCreditTotals(-1, prompt);
        if (out)
            framework::ShowInfo(QStringLiteral("انجام شد. تعداد رديف هاي تغيير يافته: ") + io::isolateLtr(QString::number(out.changed)), this);
    });
    states->addSeparator();
    addEntry(states, QStringLiteral("استرداد جمعي سپرده ها به صورت مجزا "), [this] { refundAll(); });
    states->addSeparator();
    addEntry(states, QStringLiteral("تهيه فايل درخواست وجه از خزانه"), [this] {
        if (!needRequest())
            return;
        auto* screen = new TfGenDisketDarkhastVjh(session(), currentRequest(), this);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
    });

    QMenu* vouchers = menus_->addMenu(QStringLiteral("اسناد حسابداري"));
    addEntry(vouchers, QStringLiteral("صدور سند حسابداري واريز درخواست وجه سپرده از خزانه به حساب بانک رد وجوه سپرده"), [this] { issueVoucher(); });

    QMenu* print = menus_->addMenu(QStringLiteral("چاپ"));
    addEntry(print, QStringLiteral("نامه درخواست وجه سپرده"), [this] { printLetter(); }, false);
    addEntry(print, QStringLiteral("گزارشات درخواست وجه"), [this] { printDetail(true); }, false);
    addEntry(print, QStringLiteral("صورت ريز ارسالي به خزانه"), [this] { printDetail(false); }, false);
}

bool TViewSepReqFromKhazaneh::needRequest()
{
    if (currentSourceRow() >= 0)
        return true;
    framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
    return false;
}

void TViewSepReqFromKhazaneh::newRequest()
{
    TDE_SepReqFromKhazaneh form(session(), this);
    runEntryForm(form, true);
}

void TViewSepReqFromKhazaneh::editRequest()
{
    if (!needRequest())
        return;
    TDE_SepReqFromKhazaneh form(session(), this);
    runEntryForm(form, false);
}

void TViewSepReqFromKhazaneh::removeRequest()
{
    if (!needRequest())
        return;
    framework::MessagePrompt prompt(this);
    if (FundRequests(session()).remove(currentRequest(), prompt))
        reopen();
}

void TViewSepReqFromKhazaneh::showRows()
{
    if (!needRequest())
        return;
    auto* rows = new TViewSepReqFromKhazanehDETAILS(session(), currentRequest());
    rows->setReadOnly(isReadOnly());
    rows->reopen();
    runModal(rows, this);
    reopen(currentKey());
}

void TViewSepReqFromKhazaneh::changeState(FundState state)
{
    if (!needRequest())
        return;
    TDE_SepReqFromKhazaneh form(session(), this, state);
    runEntryForm(form, false);
}

void TViewSepReqFromKhazaneh::refundAll()
{
    if (!needRequest())
        return;
    bool ok = false;
    const QString date = QInputDialog::getText(this, QStringLiteral("استرداد جمعي سپرده ها به صورت مجزا "), QStringLiteral("تاريخ استرداد"),
                                               QLineEdit::Normal, util::TodayJalali(), &ok);
    if (!ok)
        return;
    framework::TFDoing prompt(QStringLiteral("استرداد جمعي سپرده ها به صورت مجزا "), this);
    const orvak::deposits::Outcome out = orvak::deposits::Refunds(session()).refundRequest(currentRequest(), date, prompt);
    prompt.hide();
    if (out)
        framework::ShowInfo(QStringLiteral("تعداد سپرده هاي استرداد شده : ") + io::isolateLtr(QString::number(out.changed)), this);
    reopen(currentKey());
}

void TViewSepReqFromKhazaneh::issueVoucher()
{
    if (!needRequest())
        return;
    const int req = currentRequest();
    std::optional<orvak::deposits::Outcome> outcome;
    accounting::VoucherIssueRequest request;
    request.title = QStringLiteral("صدور سند حسابداري واريز درخواست وجه سپرده از خزانه به حساب بانک رد وجوه سپرده");
    accounting::issueVoucher(this, session(), request, [&](const accounting::VoucherIssue& issue) {
        IssuePrompt prompt(request.title, this);
        outcome = FundRequests(session()).issuePaymentVoucher(req, {issue.number, issue.date, issue.clearEarlier}, prompt);
        if (outcome->done)
            return QString();
        return outcome->message.isEmpty() ? accounting::stoppedByUser() : outcome->message;
    });
}

void TViewSepReqFromKhazaneh::printLetter()
{
    if (!needRequest())
        return;
    bool ok = false;
    const QStringList models = orvak::deposits::requestLetterTexts();
    const QString chosen = QInputDialog::getItem(this, QStringLiteral("نامه درخواست وجه سپرده"), QStringLiteral("نمونه"), models, 0, false, &ok);
    if (!ok)
        return;
    const auto letter = orvak::deposits::requestLetter(session(), currentRequest(), int(models.indexOf(chosen)), footer(session()));
    if (!letter)
        framework::ShowError(letter.failed() ? letter.error() : QStringLiteral("درخواست وجه مورد نظر يافت نشد"), this);
    else
        previewReport(*letter, this);
}

void TViewSepReqFromKhazaneh::printDetail(bool choose)
{
    if (!needRequest())
        return;
    int model = orvak::deposits::DefaultDetailModel;
    if (choose) {
        bool ok = false;
        const QStringList models = orvak::deposits::requestDetailTexts();
        const QString chosen = QInputDialog::getItem(this, QStringLiteral("گزارشات درخواست وجه"), QStringLiteral("نمونه"), models, 0, false, &ok);
        if (!ok)
            return;
        model = int(models.indexOf(chosen));
    }
    const auto report = orvak::deposits::requestDetail(session(), currentRequest(), model, footer(session()));
    if (!report)
        framework::ShowError(report.failed() ? report.error() : QStringLiteral("درخواست وجه مورد نظر يافت نشد"), this);
    else
        previewReport(*report, this);
}

std::optional<int> pickFundRequest(QWidget* parent, Session& session)
{
    auto* list = new TViewSepReqFromKhazaneh(session);
    framework::PickRequest request;
    request.fields = {QStringLiteral("REQ_IDX")};
    request.continueText = QStringLiteral("انتخاب");
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    return picked->current.value(QStringLiteral("REQ_IDX")).toInt();
}

} // namespace orvak::ui::deposits
