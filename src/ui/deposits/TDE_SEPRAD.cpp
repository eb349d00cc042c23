#include "ui/deposits/TDE_SEPRAD.h"

#include "ui/accounting/AccountingScreens.h"
#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/deposits/ConditionList.h"
#include "ui/deposits/DepositPick.h"
#include "ui/deposits/TDE_RADCHK.h"
#include "ui/deposits/TViewSepReq.h"
#include "ui/deposits/TViewTankhah.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/OwnerRequests.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/deposits/VoucherYear.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::Refund;
using orvak::deposits::Refunds;

QString amountText(qint64 v) { return io::isolateLtr(v ? util::FormatAmount(v) : QStringLiteral("0")); }
std::optional<qint64> given(int code) { return code > 0 ? std::optional<qint64>(code) : std::nullopt; }

// A grid of the form over one refund's rows (:Rad), without commands of its own.
framework::ListScreen* grid(orvak::startup::Session& session, const io::ListDefinition& list, QWidget* parent)
{
    auto* screen = new framework::ListScreen(session, list, {}, parent);
    screen->setMinimumHeight(170);
    return screen;
}

// The voucher's posting: its steps in the wait window; what it says goes to the
// issue dialog, which shows it once.
class IssuePrompt : public framework::TFDoing {
public:
    using TFDoing::TFDoing;
    void info(const QString& text) override { told << text; }
    QStringList told;
};

QPushButton* button(const QString& caption, QWidget* parent, QHBoxLayout* row)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

} // namespace

TDE_SEPRAD::TDE_SEPRAD(orvak::startup::Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("استرداد سپرده"), parent)
    , session_(session)
{
    saveAndNewButton()->setText(QStringLiteral("ثبت استرداد و جديد(F9)"));
    saveAndCloseButton()->setText(QStringLiteral("ثبت استرداد و خروج (F10)"));
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("خروج بدون ذخيره"))
            b->setText(QStringLiteral("خروج بدون ثبت"));
    }
    number = new QLabel(this);
    date = new framework::JalaliDateEdit(this);
    owner = basedata::partyCodeEdit(session, this);
    contract = basedata::contractField(session, this);
    ownerRequest = new QLabel(this);
    kind = new QComboBox(this);
    kind->addItems(orvak::deposits::refundKindTexts());
    descr = basedata::textField(this, 120);
    voucher = new QLabel(this);
    fromFloat = new QCheckBox(QStringLiteral("استرداد از محل تنخواه گردان موقت"), this);
    floatNo = new QLabel(this);
    figures = new QLabel(this);
    totals = new QLabel(this);

    auto* requestButton = new QPushButton(QStringLiteral("ش نامه درخواست سپرده"), this);
    requestButton->setAutoDefault(false);
    auto* requestRow = new QHBoxLayout;
    requestRow->addWidget(requestButton);
    requestRow->addWidget(ownerRequest, 1);
    auto* floatButton = new QPushButton(QStringLiteral("شماره تنخواه"), this);
    floatButton->setAutoDefault(false);
    auto* floatRow = new QHBoxLayout;
    floatRow->addWidget(fromFloat);
    floatRow->addWidget(floatButton);
    floatRow->addWidget(floatNo, 1);
    form()->addRow(QStringLiteral("رديف استرداد سپرده : "), number);
    form()->addRow(QStringLiteral("تاريخ استرداد"), date);
    form()->addRow(QStringLiteral("صاحب سپرده(F7)"), owner);
    form()->addRow(QStringLiteral("قرارداد"), contract);
    form()->addRow(QString(), requestRow);
    form()->addRow(QStringLiteral("علت استرداد"), kind);
    form()->addRow(QStringLiteral("توضيحات"), descr);
    form()->addRow(QStringLiteral("سند استرداد"), voucher);
    form()->addRow(QString(), floatRow);
    form()->addRow(QString(), figures);

    rows = grid(session, orvak::deposits::refundRowsList(), this);
    cheques = grid(session, orvak::deposits::refundChequeRowsList(), this);
    auto* rowsBox = new QGroupBox(QStringLiteral("سپرده هاي استردادي"), this);
    auto* rowsLayout = new QVBoxLayout(rowsBox);
    auto* rowButtons = new QHBoxLayout;
    connect(button(QStringLiteral("از فهرست درخواستي"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::addFromRequests);
    connect(button(QStringLiteral("از فهرست سپرده ها"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::addFromOwnerDeposits);
    connect(button(QStringLiteral("انتخاب از سپرده ها"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::addFromRegister);
    connect(button(QStringLiteral("حذف"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::removeRow);
    connect(button(QStringLiteral("سند سپرده"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::showDepositVoucher);
    connect(button(QStringLiteral("سند دريافت"), this, rowButtons), &QPushButton::clicked, this, &TDE_SEPRAD::showDepositVoucher);
    rowButtons->addStretch();
    rowsLayout->addLayout(rowButtons);
    rowsLayout->addWidget(rows);
    auto* chequesBox = new QGroupBox(QStringLiteral("چکهاي صادره جهت استرداد"), this);
    auto* chequesLayout = new QVBoxLayout(chequesBox);
    auto* chequeButtons = new QHBoxLayout;
    connect(button(QStringLiteral("تخصيص چک"), this, chequeButtons), &QPushButton::clicked, this, &TDE_SEPRAD::newCheque);
    connect(button(QStringLiteral("ويرايش چک"), this, chequeButtons), &QPushButton::clicked, this, &TDE_SEPRAD::editCheque);
    connect(button(QStringLiteral("حذف چک"), this, chequeButtons), &QPushButton::clicked, this, &TDE_SEPRAD::removeCheque);
    chequeButtons->addStretch();
    chequesLayout->addLayout(chequeButtons);
    chequesLayout->addWidget(cheques);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->insertWidget(1, rowsBox, 1);
        box->insertWidget(2, chequesBox, 1);
        box->insertWidget(3, totals);
    }
    connect(addButton(QStringLiteral("صدور سند حسابداري")), &QPushButton::clicked, this, &TDE_SEPRAD::issueVoucher);
    connect(requestButton, &QPushButton::clicked, this, &TDE_SEPRAD::chooseOwnerRequest);
    connect(floatButton, &QPushButton::clicked, this, &TDE_SEPRAD::chooseFloat);
    connect(fromFloat, &QCheckBox::toggled, this, [this](bool on) {
        if (on && refund_.tankhahIdx <= 0)
            chooseFloat();
        refresh();
    });
    connect(cheques->grid(), &QTableView::doubleClicked, this, &TDE_SEPRAD::editCheque);
    connect(owner, &framework::CodeEdit::codeChanged, this, [this] { refresh(); });
    resize(1100, 860);
}

Refund TDE_SEPRAD::header() const
{
    Refund r = refund_;
    r.radDate = date->text();
    r.tafsili = int(owner->code().value_or(-1));
    r.payman = int(contract->code().value_or(-1));
    r.radKind = kind->currentIndex();
    r.descr = descr->text().trimmed();
    r.tikAzTankhah = fromFloat->isChecked() ? 1 : 0;
    return r;
}

void TDE_SEPRAD::display(const Refund& r)
{
    refund_ = r;
    if (r.radIdx > 0) {
        number->setText(QString::number(r.radIdx));
    } else {
        const auto proposed = Refunds(session_).proposedKey();
        number->setText(proposed ? QString::number(*proposed) : QString());
    }
    date->setDate(r.radDate);
    owner->setCode(given(r.tafsili));
    contract->setCode(given(r.payman));
    kind->setCurrentIndex(std::clamp(r.radKind, 0, kind->count() - 1));
    descr->setText(r.descr);
    {
        const QSignalBlocker quiet(fromFloat);
        fromFloat->setChecked(r.tikAzTankhah == 1);
    }
    floatNo->setText(r.tankhahIdx > 0 ? QString::number(r.tankhahIdx) : QString());
    ownerRequest->setText(QString());
    if (r.reqIdx > 0) {
        const auto q = orvak::deposits::OwnerRequests(session_).read(r.reqIdx);
        ownerRequest->setText(QString::number(r.reqIdx) + (q ? QStringLiteral("   تاريخ ") + io::isolateLtr(q->reqSabtDate) : QString()));
    }
    voucher->setText(r.sndNo > 0 ? QStringLiteral("شماره سند استرداد: ") + io::isolateLtr(QString::number(r.sndNo)) + QStringLiteral("   تاريخ سند استرداد ")
                                       + io::isolateLtr(r.sndDate) + QStringLiteral("   سال مالي: ") + io::isolateLtr(QString::number(r.sndYer))
                                 : QString());
    refresh();
}

void TDE_SEPRAD::refresh()
{
    for (framework::ListScreen* g : {rows, cheques}) {
        g->setParameter(QStringLiteral(":Rad"), refund_.radIdx);
        g->reopen();
    }
    const auto t = refund_.radIdx > 0 ? Refunds(session_).totals(refund_.radIdx) : db::Fetched<orvak::deposits::RefundTotals>::found({});
    if (t)
        totals->setText(QStringLiteral("جمع کل قبض ها:") + QLatin1Char(' ') + amountText(t->rows) + QStringLiteral("    تعداد کل قبض ها:") + QLatin1Char(' ')
                        + io::isolateLtr(QString::number(t->count)) + QStringLiteral("    ") + QStringLiteral(" جمع کل چک ها:") + QLatin1Char(' ')
                        + amountText(t->cheques) + QStringLiteral("    مانده:") + QLatin1Char(' ') + amountText(t->remaining()));
    else
        totals->setText(t.error());
    refreshFigures();
}

void TDE_SEPRAD::refreshFigures()
{
    // The refund account's balance changes with vouchers, not with rows: the year's
    // books are read once per opening and after a voucher.
    const Refund h = header();
    const auto f = Refunds(session_).figures(h.tafsili, h.tikAzTankhah ? h.tankhahIdx : 0, !bank_);
    if (!f) {
        figures->setText(f.error());
        return;
    }
    if (!bank_)
        bank_ = f->bankBalance ? amountText(*f->bankBalance) : QStringLiteral("-");
    figures->setText(QStringLiteral("موجودي بانک رد وجوه:") + QLatin1Char(' ') + *bank_ + QStringLiteral("    مانده تنخواه:") + QLatin1Char(' ')
                     + (f->floatBalance ? amountText(*f->floatBalance) : QStringLiteral("-")) + QStringLiteral("    درخواست شده پرداخت نشده ")
                     + amountText(f->requestedUnpaid));
}

void TDE_SEPRAD::written(int radIdx)
{
    if (refund_.radIdx <= 0) {
        createdHere_ = radIdx;
        refund_ = header();
        refund_.radIdx = radIdx;
        number->setText(QString::number(radIdx));
    }
    refresh();
}

bool TDE_SEPRAD::addRow(const Refunds::NewRow& row)
{
    framework::MessagePrompt prompt(this);
    const auto rad = Refunds(session_).addRow(header(), row, prompt);
    if (!rad)
        return false;
    written(*rad);
    return true;
}

void TDE_SEPRAD::addFromRequests()
{
    auto* list = new ConditionList(session_, orvak::deposits::fundRequestRowsList(false), {});
    list->setWindowTitle(QStringLiteral("از فهرست درخواستي"));
    list->setCondition(QStringLiteral(":Owner"), int(owner->code().value_or(-1)));
    framework::PickRequest request;
    request.fields = {QStringLiteral("REQ_IDX"), QStringLiteral("REQ_ROW"), QStringLiteral("SEPIDX"), QStringLiteral("AMOUNT")};
    request.continueText = QStringLiteral("انتخاب");
    const auto picked = framework::pickFrom(list, request, this);
    if (!picked)
        return;
    const QVariantMap& c = picked->current;
    addRow({c.value(QStringLiteral("SEPIDX")).toInt(), qint64(std::llround(c.value(QStringLiteral("AMOUNT")).toDouble())), {},
            c.value(QStringLiteral("REQ_IDX")).toInt(), c.value(QStringLiteral("REQ_ROW")).toInt()});
}

void TDE_SEPRAD::addFromOwnerDeposits()
{
    const int who = int(owner->code().value_or(-1));
    if (who <= 0) {
        framework::ShowInfo(QStringLiteral("اطلاعات كامل نيست: صاحب سپرده"), this);
        return;
    }
    auto* list = new framework::ListScreen(session_, orvak::deposits::personDepositsList(who), {});
    framework::PickRequest request;
    request.fields = {QStringLiteral("IDX"), QStringLiteral("AMOUNT_MANDEH")};
    request.continueText = QStringLiteral("انتخاب");
    const auto picked = framework::pickFrom(list, request, this);
    if (!picked)
        return;
    const qint64 left = qint64(std::llround(picked->current.value(QStringLiteral("AMOUNT_MANDEH")).toDouble()));
    if (const auto amount = askAmount(this, windowTitle(), QStringLiteral("مبلغ استرداد"), left))
        addRow({picked->current.value(QStringLiteral("IDX")).toInt(), *amount});
}

void TDE_SEPRAD::addFromRegister()
{
    const auto idx = pickDeposit(this, session_);
    if (!idx)
        return;
    const auto d = orvak::deposits::ReceivedDeposits(session_).read(*idx);
    if (!d) {
        framework::ShowError(d.failed() ? d.error() : QStringLiteral("سپرده مورد نظر يافت نشد"), this);
        return;
    }
    if (const auto amount = askAmount(this, windowTitle(), QStringLiteral("مبلغ استرداد"), d->amountMandeh))
        addRow({*idx, *amount});
}

void TDE_SEPRAD::removeRow()
{
    const int row = rows->currentSourceRow();
    if (row < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    if (Refunds(session_).removeRow(refund_.radIdx, io::fieldValue(rows->model().rows(), row, QStringLiteral("RAD_ROW")).toInt(), prompt))
        refresh();
}

void TDE_SEPRAD::newCheque()
{
    TDE_RADCHK form(session_, [this] { return header(); }, [this](int rad) { written(rad); }, this);
    form.startInsert();
    form.exec();
    refresh();
}

void TDE_SEPRAD::editCheque()
{
    const int row = cheques->currentSourceRow();
    if (row < 0)
        return;
    TDE_RADCHK form(session_, [this] { return header(); }, [this](int rad) { written(rad); }, this);
    if (!form.startEdit(io::fieldValue(cheques->model().rows(), row, QStringLiteral("RAD_ROW"))))
        return;
    form.exec();
    refresh();
}

void TDE_SEPRAD::removeCheque()
{
    const int row = cheques->currentSourceRow();
    if (row < 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    framework::MessagePrompt prompt(this);
    if (Refunds(session_).removeCheque(refund_.radIdx, io::fieldValue(cheques->model().rows(), row, QStringLiteral("RAD_ROW")).toInt(), prompt))
        refresh();
}

void TDE_SEPRAD::issueVoucher()
{
    if (refund_.radIdx <= 0) {
        framework::ShowInfo(QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return;
    }
    // The header as shown is the one the voucher names.
    framework::MessagePrompt quiet(this);
    if (!Refunds(session_).save(header(), quiet))
        return;
    const int rad = refund_.radIdx;
    accounting::VoucherIssueRequest request;
    request.title = QStringLiteral("صدور سند حسابداري");
    request.clearReferences = Refunds::clearVoucherReferences;
    accounting::issueVoucher(this, session_, request, [&](const accounting::VoucherIssue& issue) {
        IssuePrompt prompt(request.title, this);
        const orvak::deposits::Outcome out = Refunds(session_).issueVoucher(rad, {issue.number, issue.date, issue.clearEarlier}, prompt);
        if (out.done)
            return QString();
        return out.message.isEmpty() ? accounting::stoppedByUser() : out.message;
    });
    bank_.reset();
    if (const auto fresh = Refunds(session_).read(rad))
        display(*fresh);
}

void TDE_SEPRAD::showDepositVoucher()
{
    const int row = rows->currentSourceRow();
    if (row < 0)
        return;
    const auto d = orvak::deposits::ReceivedDeposits(session_).read(io::fieldValue(rows->model().rows(), row, QStringLiteral("SEPIDX")).toInt());
    if (!d || d->sndNo <= 0) {
        framework::ShowInfo(d.failed() ? d.error() : QStringLiteral("شماره سند مشخص نشده است"), this);
        return;
    }
    orvak::deposits::VoucherYear books(session_, d->sndYer);
    if (!books.open()) {
        framework::ShowInfo(books.missingText(), this);
        return;
    }
    accounting::showVoucher(this, session_, d->sndNo);
}

void TDE_SEPRAD::chooseOwnerRequest()
{
    const auto q = pickOwnerRequest(this, session_, int(owner->code().value_or(-1)));
    if (!q)
        return;
    refund_.reqIdx = q->reqIdx;
    if (!owner->code())
        owner->setCode(q->tafsilNo);
    ownerRequest->setText(QString::number(q->reqIdx) + QStringLiteral("   تاريخ ") + io::isolateLtr(q->reqSabtDate));
}

void TDE_SEPRAD::chooseFloat()
{
    const auto f = pickFloat(this, session_);
    if (!f) {
        if (refund_.tankhahIdx <= 0) {
            const QSignalBlocker quiet(fromFloat);
            fromFloat->setChecked(false);
        }
        return;
    }
    refund_.tankhahIdx = *f;
    floatNo->setText(QString::number(*f));
    const QSignalBlocker quiet(fromFloat);
    fromFloat->setChecked(true);
    refresh();
}

void TDE_SEPRAD::clearFields()
{
    createdHere_ = 0;
    display(Refunds(session_).newRefund());
}

bool TDE_SEPRAD::loadRecord(const QVariant& key)
{
    createdHere_ = 0;
    const auto r = Refunds(session_).read(key.toInt());
    if (!r) {
        framework::ShowError(r.failed() ? r.error() : QStringLiteral("استرداد مورد نظر يافت نشد"), this);
        return false;
    }
    display(*r);
    return true;
}

bool TDE_SEPRAD::validate(QString*) { return true; }

std::optional<QVariant> TDE_SEPRAD::saveRecord(QString* error)
{
    const Refund h = header();
    const auto saved = basedata::savedThrough(
        this,
        [&](startup::Prompt& prompt) -> std::optional<qint64> {
            const auto rad = Refunds(session_).save(h, prompt);
            return rad ? std::optional<qint64>(*rad) : std::nullopt;
        },
        error);
    if (saved) {
        createdHere_ = 0;
        refund_.radIdx = saved->toInt();
    }
    return saved;
}

void TDE_SEPRAD::reject()
{
    // "خروج بدون ثبت" on a refund this form began: nothing of it stays.
    if (createdHere_ > 0) {
        framework::MessagePrompt prompt(this);
        if (!Refunds(session_).discard(createdHere_, prompt))
            return;
        createdHere_ = 0;
    }
    framework::EntryForm::reject();
}

} // namespace orvak::ui::deposits
