#include "ui/deposits/TDE_VIEWREQSEPFROMKHAZANEHDETAILS.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/deposits/DepositPick.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/DetailAccounts.h"
#include "core/basedata/Lookups.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::FundRequests;

QString amountText(qint64 v) { return io::isolateLtr(v ? util::FormatAmount(v) : QStringLiteral("0")); }

} // namespace

TDE_VIEWREQSEPFROMKHAZANEHDETAILS::TDE_VIEWREQSEPFROMKHAZANEHDETAILS(orvak::startup::Session& session, int reqIdx, QWidget* parent, int owner,
                                                                     int contract)
    : framework::EntryForm(QStringLiteral("اطلاعات درخواست  وجه سپرده از خزانه"), parent)
    , session_(session)
    , reqIdx_(reqIdx)
    , owner_(owner)
    , contract_(contract)
{
    rowNo = new QLabel(this);
    amount = new framework::AmountEdit(this);
    depositIdx = new QLineEdit(this);
    receiptNo = new QLineEdit(this);
    descr = basedata::textField(this, 120);
    letterNo = basedata::textField(this, 15);
    letterDate = new framework::JalaliDateEdit(this);
    deposit = new QLabel(this);
    deposit->setTextFormat(Qt::PlainText);
    deposit->setFrameShape(QFrame::StyledPanel);

    auto* pick = new QPushButton(QStringLiteral("فهرست سپرده هاي دريافتي"), this);
    pick->setAutoDefault(false);
    auto* calc = new QPushButton(QStringLiteral("محاسبه ..."), this);
    calc->setAutoDefault(false);
    auto* shares = new QMenu(calc);
    for (int percent : {25, 50, 75})
        connect(shares->addAction(QStringLiteral("%1 درصد").arg(percent)), &QAction::triggered, this, [this, percent] { share(percent); });
    calc->setMenu(shares);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(amount);
    amountRow->addWidget(calc);

    form()->addRow(QStringLiteral("رديف درخواست"), rowNo);
    form()->addRow(QStringLiteral("شناسه"), depositIdx);
    form()->addRow(QStringLiteral("شماره قبض سپرده"), receiptNo);
    form()->addRow(QString(), pick);
    form()->addRow(QStringLiteral("مبلغ درخواستي"), amountRow);
    form()->addRow(QStringLiteral("ملاحظات"), descr);
    form()->addRow(QStringLiteral("ش. نامه درخواست "), letterNo);
    form()->addRow(QStringLiteral("تاريخ نامه درخواست"), letterDate);
    form()->addRow(QStringLiteral("سپرده"), deposit);

    connect(pick, &QPushButton::clicked, this, [this] {
        if (const auto idx = pickDeposit(this, session_, owner_))
            chooseDeposit(*idx);
    });
    connect(depositIdx, &QLineEdit::editingFinished, this, [this] {
        const auto idx = basedata::numberIn(depositIdx);
        if (idx && *idx > 0 && *idx != row_.sepIdx)
            chooseDeposit(int(*idx));
    });
    connect(receiptNo, &QLineEdit::returnPressed, this, [this] {
        const auto no = basedata::numberIn(receiptNo);
        if (!no || *no <= 0)
            return;
        framework::MessagePrompt prompt(this);
        if (const auto idx = FundRequests(session_).depositOfReceipt(*no, owner_, contract_, prompt))
            chooseDeposit(*idx);
    });
}

bool TDE_VIEWREQSEPFROMKHAZANEHDETAILS::chooseDeposit(int idx)
{
    const auto fresh = FundRequests(session_).rowFor(reqIdx_, idx);
    if (!fresh) {
        framework::ShowError(fresh.failed() ? fresh.error() : QStringLiteral("سپرده مورد نظر يافت نشد"), this);
        return false;
    }
    const int keepRow = row_.reqRow;
    const bool editing = mode() == Mode::Edit;
    row_ = *fresh;
    if (editing)
        row_.reqRow = keepRow;
    amount->setAmount(fresh->amount);
    showDeposit();
    return true;
}

void TDE_VIEWREQSEPFROMKHAZANEHDETAILS::share(int percent) { amount->setAmount(orvak::deposits::shareOf(row_.fishAmount, percent)); }

void TDE_VIEWREQSEPFROMKHAZANEHDETAILS::showDeposit()
{
    rowNo->setText(QString::number(row_.reqRow));
    depositIdx->setText(basedata::numberText(row_.sepIdx));
    receiptNo->setText(basedata::numberText(row_.fishNo));
    if (row_.sepIdx <= 0) {
        deposit->clear();
        return;
    }
    const auto d = orvak::deposits::ReceivedDeposits(session_).read(row_.sepIdx);
    if (!d) {
        deposit->setText(d.failed() ? d.error() : QStringLiteral("سپرده مورد نظر يافت نشد"));
        return;
    }
    const QString owner = orvak::basedata::DetailAccounts(session_).nameOf(d->tafsili).value_or(QString());
    const auto contract = orvak::basedata::lookup(session_, orvak::basedata::Lookup::ContractByCode, d->payment);
    QStringList lines{
        QStringLiteral("صاحب سپرده: ") + owner,
        QStringLiteral("قرارداد: ") + (contract ? contract->value(QStringLiteral("PAYMENTNO")).toString().trimmed() : QString()),
        QStringLiteral("ش. ثبت دفتر سپرده سال: ") + QString::number(d->yerSepRow) + QStringLiteral("    ش. مسلسل: ") + QString::number(d->mosalsal)
            + QStringLiteral("    تاريخ ثبت دفتر: ") + io::isolateLtr(d->sabtDate),
        QStringLiteral("نوع سپرده: ") + orvak::deposits::kindListText(d->sepKind),
        QStringLiteral("مبلغ سپرده: ") + amountText(d->amount) + QStringLiteral("    مبلغ استرداد شده: ") + amountText(d->amountRad)
            + QStringLiteral("    مانده: ") + amountText(d->amountMandeh),
        QStringLiteral("شماره قبض سپرده: ") + io::isolateLtr(QString::number(d->sepNo)) + QStringLiteral("    تاريخ قبض: ") + io::isolateLtr(d->sepDate),
        QStringLiteral("شماره بستانکاري: ") + row_.bestankariNo + QStringLiteral("    تاريخ بستانکاري: ") + io::isolateLtr(row_.bestankariDate)
            + QStringLiteral("    پيکره واريزي: ") + amountText(row_.peikareh),
        QStringLiteral("رديف در صورت ريز ارسالي به  خزانه: ") + QString::number(d->sepRow) + QStringLiteral("    ش نامه صورت ريز ارسالي: ") + d->ersalNo
            + QStringLiteral("    تاريخ: ") + io::isolateLtr(d->ersalDate),
    };
    deposit->setText(lines.join(QLatin1Char('\n')));
}

void TDE_VIEWREQSEPFROMKHAZANEHDETAILS::clearFields()
{
    row_ = {};
    row_.reqIdx = reqIdx_;
    const auto fresh = FundRequests(session_).rows(reqIdx_);
    int next = 1;
    for (const auto& r : fresh.value_or({}))
        next = std::max(next, r.reqRow + 1);
    row_.reqRow = next;
    amount->setAmount(0);
    descr->clear();
    letterNo->clear();
    letterDate->setDate(QString());
    showDeposit();
}

bool TDE_VIEWREQSEPFROMKHAZANEHDETAILS::loadRecord(const QVariant& key)
{
    const qint64 k = key.toLongLong();
    const int req = int(k / orvak::deposits::requestRowKey(1, 0));
    const int row = int(k % orvak::deposits::requestRowKey(1, 0));
    const auto r = FundRequests(session_).readRow(req, row);
    if (!r) {
        framework::ShowError(r.failed() ? r.error() : QStringLiteral("رديف درخواست يافت نشد"), this);
        return false;
    }
    reqIdx_ = req;
    row_ = *r;
    amount->setAmount(r->amount);
    descr->setText(r->descr);
    letterNo->setText(r->letterNo);
    letterDate->setDate(r->letterDate);
    showDeposit();
    return true;
}

bool TDE_VIEWREQSEPFROMKHAZANEHDETAILS::validate(QString*) { return true; }

std::optional<QVariant> TDE_VIEWREQSEPFROMKHAZANEHDETAILS::saveRecord(QString* error)
{
    orvak::deposits::FundRequestRow r = row_;
    r.reqIdx = reqIdx_;
    r.amount = amount->amount();
    r.descr = descr->text().trimmed();
    r.letterNo = letterNo->text().trimmed();
    r.letterDate = letterDate->text();
    const bool insert = mode() == Mode::Insert;
    // The "already requested" question is a box of its own, not a message of the save.
    framework::MessagePrompt asking(this);
    orvak::startup::CollectingPrompt told(true);
    struct Both : orvak::startup::Prompt {
        framework::MessagePrompt& ask_;
        orvak::startup::CollectingPrompt& tell_;
        Both(framework::MessagePrompt& a, orvak::startup::CollectingPrompt& t) : ask_(a), tell_(t) {}
        void info(const QString& text) override { tell_.info(text); }
        bool ask(const QString& text) override { return ask_.ask(text); }
    } prompt(asking, told);
    const auto saved = FundRequests(session_).saveRow(r, insert, prompt);
    if (!saved) {
        *error = told.text();
        return std::nullopt;
    }
    return QVariant(orvak::deposits::requestRowKey(reqIdx_, *saved));
}

} // namespace orvak::ui::deposits
