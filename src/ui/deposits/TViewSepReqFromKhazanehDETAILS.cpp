#include "ui/deposits/TViewSepReqFromKhazanehDETAILS.h"

#include "ui/deposits/DepositPick.h"
#include "ui/deposits/TDE_VIEWREQSEPFROMKHAZANEHDETAILS.h"
#include "ui/deposits/TViewSepReqFromKhazaneh.h"
#include "ui/deposits/ControlLists.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/Report.h"
#include "core/startup/Rights.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::FundRequests;

framework::ListUi buttons()
{
    using framework::ListCommand;
    using L = TViewSepReqFromKhazanehDETAILS;
    auto on = [](void (L::*f)()) { return [f](framework::ListScreen& l) { (static_cast<L&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {
        ListCommand{QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), on(&L::newRow), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("ويرايش"), {}, on(&L::editRow), true, true, 0},
        ListCommand{QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete), on(&L::removeRow), true, true, startup::AccessDelete},
        ListCommand{QStringLiteral("ويرايش رديف"), {}, on(&L::renumberRow), true, true, 0},
        ListCommand{QStringLiteral("اضافه نمودن درخواست نشده ها"), {}, on(&L::addNotRequested), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("اضافه نمودن تجميعي"), {}, on(&L::addBulk), false, true, startup::AccessInsert},
        ListCommand{QStringLiteral("مبلغ را وارد كنيد"), {}, [](framework::ListScreen& l) {
                        auto& list = static_cast<L&>(l);
                        if (const auto a = askAmount(&list, list.windowTitle(), QStringLiteral("مبلغ را وارد كنيد"), 0);
                            a && !list.standOnNumber(QStringLiteral("AMOUNT"), *a))
                            framework::ShowInfo(QStringLiteral(" يافت نشــد "), &list);
                    },
                    false, false, 0},
        ListCommand{QStringLiteral("شماره قبض سپرده را وارد کنيد"), {}, [](framework::ListScreen& l) {
                        auto& list = static_cast<L&>(l);
                        bool ok = false;
                        const QString text = QInputDialog::getText(&list, list.windowTitle(), QStringLiteral("شماره قبض سپرده را وارد کنيد"),
                                                                   QLineEdit::Normal, {}, &ok);
                        const auto no = util::parseTolerantInt(text);
                        if (ok && (!no || !list.standOnNumber(QStringLiteral("FISHNO"), *no)))
                            framework::ShowInfo(QStringLiteral(" يافت نشــد "), &list);
                    },
                    false, false, 0},
    };
    return ui;
}

} // namespace

TViewSepReqFromKhazanehDETAILS::TViewSepReqFromKhazanehDETAILS(Session& session, QWidget* parent)
    : TViewSepReqFromKhazanehDETAILS(session, -1, parent)
{
}

TViewSepReqFromKhazanehDETAILS::TViewSepReqFromKhazanehDETAILS(Session& session, int reqIdx, QWidget* parent)
    : ConditionList(session, orvak::deposits::fundRequestRowsList(false), buttons(), parent)
{
    setWindowTitle(QStringLiteral("ريز درخواست سپرده از خزانه"));
    scope_ = new QComboBox(this);
    scope_->addItems({QStringLiteral("همه"), QStringLiteral("درخواست مورد نظر")});
    addOwnerCondition(QStringLiteral("صاحب سپرده(F7)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F7));
    addContractCondition(QStringLiteral("قرارداد:"), QStringLiteral(":Contract"), QStringLiteral(":Owner"));
    addTextCondition(QStringLiteral("شماره درخواست"), QStringLiteral(":ReqNo"));
    addDateCondition(QStringLiteral("تاريخ درخواست از:"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("لغايت:"), QStringLiteral(":To"));
    QList<std::pair<QString, QVariant>> states;
    const QStringList texts = orvak::deposits::rowStateTexts();
    for (int i = 0; i < texts.size(); ++i)
        states.append({texts[i], i - 1});
    addChoiceCondition(QString(), QStringLiteral(":State"), states);
    addClearConditions();
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->insertWidget(1, scope_);
        total_ = new QLabel(this);
        box->addWidget(total_);
    }
    connect(scope_, &QComboBox::activated, this, [this] {
        if (scope_->currentIndex() == 0) {
            showRequest(-1);
            return;
        }
        const auto chosen = pickFundRequest(this, this->session());
        if (chosen)
            showRequest(*chosen);
        else
            scope_->setCurrentIndex(request_ > 0 ? 1 : 0);
    });
    connect(&model(), &QAbstractItemModel::modelReset, this, [this] { updateTotal(); });
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(EditCommand); });
    if (reqIdx > 0)
        showRequest(reqIdx);
    resize(1200, 650);
}

void TViewSepReqFromKhazanehDETAILS::showRequest(int reqIdx)
{
    request_ = reqIdx;
    setQuery(orvak::deposits::fundRequestRowsList(reqIdx > 0).sql);
    setParameter(QStringLiteral(":Req"), reqIdx > 0 ? reqIdx : -1);
    scope_->setCurrentIndex(reqIdx > 0 ? 1 : 0);
    if (reqIdx > 0) {
        const auto h = FundRequests(session()).read(reqIdx);
        setWindowTitle(QStringLiteral("ريز درخواست سپرده از خزانه") + QStringLiteral(" - ") + QStringLiteral("درخواست شماره ")
                       + (h ? h->reqNo : QString::number(reqIdx)));
    } else {
        setWindowTitle(QStringLiteral("ريز درخواست سپرده از خزانه"));
    }
    reopen();
}

QString TViewSepReqFromKhazanehDETAILS::totalText() const { return total_ ? total_->text() : QString(); }

void TViewSepReqFromKhazanehDETAILS::updateTotal()
{
    if (!total_)
        return;
    qint64 sum = 0;
    const int field = model().rows().fieldIndex(QStringLiteral("AMOUNT"));
    const std::vector<int> rows = shownRows();
    for (int row : rows)
        sum += qint64(std::llround(model().rows().number(row, field)));
    total_->setText(QStringLiteral("جمع درخواست:") + QLatin1Char(' ') + io::isolateLtr(sum ? util::FormatAmount(sum) : QStringLiteral("0"))
                    + QStringLiteral("   تعداد: ") + io::isolateLtr(QString::number(rows.size())));
}

bool TViewSepReqFromKhazanehDETAILS::needRequest()
{
    if (request_ > 0)
        return true;
    framework::ShowInfo(QStringLiteral("ابتدا درخواست وجه مورد نظر را انتخاب کنيد"), this);
    return false;
}

void TViewSepReqFromKhazanehDETAILS::newRow()
{
    if (!needRequest())
        return;
    TDE_VIEWREQSEPFROMKHAZANEHDETAILS form(session(), request_, this, frame().params.value(QStringLiteral(":Owner")).toInt(),
                                            frame().params.value(QStringLiteral(":Contract")).toInt());
    runEntryForm(form, true);
}

void TViewSepReqFromKhazanehDETAILS::editRow()
{
    if (currentSourceRow() < 0)
        return;
    TDE_VIEWREQSEPFROMKHAZANEHDETAILS form(session(), currentField(QStringLiteral("REQ_IDX")).toInt(), this);
    runEntryForm(form, false);
}

void TViewSepReqFromKhazanehDETAILS::removeRow()
{
    if (currentSourceRow() < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    if (FundRequests(session()).removeRow(currentField(QStringLiteral("REQ_IDX")).toInt(), currentField(QStringLiteral("REQ_ROW")).toInt(), prompt))
        reopen();
}

void TViewSepReqFromKhazanehDETAILS::renumberRow()
{
    if (currentSourceRow() < 0)
        return;
    const int req = currentField(QStringLiteral("REQ_IDX")).toInt();
    const int row = currentField(QStringLiteral("REQ_ROW")).toInt();
    bool ok = false;
    const int to = QInputDialog::getInt(this, QStringLiteral("ويرايش رديف"), QStringLiteral("رديف"), row, 1, 999999, 1, &ok);
    if (!ok)
        return;
    framework::MessagePrompt prompt(this);
    if (FundRequests(session()).renumberRow(req, row, to, prompt))
        reopen(orvak::deposits::requestRowKey(req, to));
}

void TViewSepReqFromKhazanehDETAILS::addDeposits(const QList<QVariantMap>& rows, bool withAmounts)
{
    QList<FundRequests::Wanted> wanted;
    for (const QVariantMap& r : rows)
        wanted.append({r.value(QStringLiteral("SEPIDX")).toInt(), withAmounts ? qint64(std::llround(r.value(QStringLiteral("AMOUNT")).toDouble())) : 0});
    framework::MessagePrompt prompt(this);
    const orvak::deposits::Outcome out = FundRequests(session()).addDeposits(request_, wanted, prompt);
    if (out)
        framework::ShowInfo(QStringLiteral("تعداد سپرده هاي درخواست شده : ") + io::isolateLtr(QString::number(out.changed)), this);
    reopen();
}

void TViewSepReqFromKhazanehDETAILS::addNotRequested()
{
    if (!needRequest())
        return;
    auto* list = new TViewSepRadNoReq(session());
    if (const auto chosen = chooseRows(list, {QStringLiteral("SEPIDX"), QStringLiteral("AMOUNT")}, this))
        addDeposits(*chosen, true);
}

void TViewSepReqFromKhazanehDETAILS::addBulk()
{
    if (!needRequest())
        return;
    const auto chosen = chooseDeposits(this, session());
    if (!chosen)
        return;
    QList<QVariantMap> rows;
    for (int idx : *chosen)
        rows << QVariantMap{{QStringLiteral("SEPIDX"), idx}};
    addDeposits(rows, false);
}

bool requestDepositFromTreasury(QWidget* parent, Session& session, int depositIdx)
{
    if (depositIdx <= 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), parent);
        return false;
    }
    const auto request = pickFundRequest(parent, session);
    if (!request)
        return false;
    TDE_VIEWREQSEPFROMKHAZANEHDETAILS form(session, *request, parent);
    form.startInsert();
    if (!form.chooseDeposit(depositIdx))
        return false;
    bool saved = false;
    QObject::connect(&form, &framework::EntryForm::saved, &form, [&saved] { saved = true; });
    form.exec();
    return saved;
}

} // namespace orvak::ui::deposits
