#include "ui/deposits/TDE_RADCHK.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/deposits/FundRequests.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::IssuedCheque;
using orvak::deposits::Refunds;

std::optional<qint64> given(int code) { return code > 0 ? std::optional<qint64>(code) : std::nullopt; }

} // namespace

TDE_RADCHK::TDE_RADCHK(orvak::startup::Session& session, std::function<orvak::deposits::Refund()> header, std::function<void(int)> written, QWidget* parent)
    : framework::EntryForm(QStringLiteral("چک هاي مربوط به استرداد سپرده"), parent)
    , session_(session)
    , header_(std::move(header))
    , written_(std::move(written))
{
    saveAndNewButton()->setText(QStringLiteral("ثبت و جديد (F9)"));
    saveAndCloseButton()->setText(QStringLiteral("ثبت و خروج  (F10)"));
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("خروج بدون ذخيره"))
            b->setText(QStringLiteral("خروج"));
    }
    chequeNo = basedata::textField(this, 18);
    date = new framework::JalaliDateEdit(this);
    descr = basedata::textField(this, 120);
    kind = new QComboBox(this);
    kind->addItems(orvak::deposits::chequeKindTexts());
    owner = basedata::partyCodeEdit(session, this);
    contract = basedata::contractField(session, this);
    plan = basedata::planField(session, this);
    project = basedata::projectField(session, this);
    refund = new QLabel(this);
    amount = new framework::AmountEdit(this);
    remaining = new QLabel(this);
    auto* calc = new QPushButton(QStringLiteral("محاسبه"), this);
    calc->setAutoDefault(false);
    auto* menu = new QMenu(calc);
    connect(menu->addAction(QStringLiteral("پنج درصد اول (نصف)")), &QAction::triggered, this, [this] { half(); });
    calc->setMenu(menu);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(amount);
    amountRow->addWidget(calc);
    form()->addRow(QStringLiteral("شماره چک :"), chequeNo);
    form()->addRow(QStringLiteral("تاريخ چک"), date);
    form()->addRow(QStringLiteral("توضيح : "), descr);
    form()->addRow(QStringLiteral("نوع چک"), kind);
    form()->addRow(QStringLiteral("صاحب سپرده(F7)"), owner);
    form()->addRow(QStringLiteral("قرارداد(F7)"), contract);
    form()->addRow(QStringLiteral("طرح"), plan);
    form()->addRow(QStringLiteral("نام پروژه(F7)"), project);
    form()->addRow(QStringLiteral("استرداد"), refund);
    form()->addRow(QStringLiteral("مبلغ چک:"), amountRow);
    form()->addRow(QStringLiteral("مانده:"), remaining);
}

void TDE_RADCHK::showRefund()
{
    const orvak::deposits::Refund h = header_();
    refund->setText((h.radIdx > 0 ? io::isolateLtr(QString::number(h.radIdx)) : QString()) + QStringLiteral("   ") + io::isolateLtr(h.radDate));
    totals_ = h.radIdx > 0 ? Refunds(session_).totals(h.radIdx).value_or({}) : orvak::deposits::RefundTotals{};
    remaining->setText(io::isolateLtr(util::FormatAmount(totals_.remaining())));
}

void TDE_RADCHK::half() { amount->setAmount(orvak::deposits::shareOf(totals_.rows, 50)); }

void TDE_RADCHK::clearFields()
{
    const orvak::deposits::Refund h = header_();
    chequeNo->clear();
    date->setDate(h.radDate);
    descr->clear();
    kind->setCurrentIndex(0);
    owner->setCode(given(h.tafsili));
    contract->setCode(given(h.payman));
    plan->setCode(std::nullopt);
    project->setCode(std::nullopt);
    showRefund();
    amount->setAmount(std::max<qint64>(0, totals_.remaining()));
}

bool TDE_RADCHK::loadRecord(const QVariant& key)
{
    const orvak::deposits::Refund h = header_();
    const auto all = Refunds(session_).cheques(h.radIdx);
    if (!all) {
        framework::ShowError(all.error(), this);
        return false;
    }
    for (const IssuedCheque& c : *all) {
        if (c.radRow != key.toInt())
            continue;
        chequeNo->setText(basedata::numberText(c.chkNo));
        date->setDate(c.chkDate);
        descr->setText(c.descr);
        kind->setCurrentIndex(std::clamp(c.chkKind, 0, kind->count() - 1));
        owner->setCode(given(c.tafsili));
        contract->setCode(given(c.payman));
        plan->setCode(given(c.tarhNo));
        project->setCode(given(c.projNo));
        amount->setAmount(c.amount);
        showRefund();
        return true;
    }
    framework::ShowError(QStringLiteral("چک مورد نظر يافت نشد"), this);
    return false;
}

bool TDE_RADCHK::validate(QString* message)
{
    if (!basedata::numberIn(chequeNo)) {
        *message = QStringLiteral("شماره چک فقط از رقم تشکيل مي شود");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_RADCHK::saveRecord(QString* error)
{
    const orvak::deposits::Refund h = header_();
    IssuedCheque c;
    c.radIdx = h.radIdx;
    c.radRow = mode() == Mode::Edit ? key().toInt() : 0;
    c.chkNo = basedata::numberIn(chequeNo).value_or(0);
    c.chkDate = date->text();
    c.descr = descr->text().trimmed();
    c.chkKind = kind->currentIndex();
    c.tafsili = int(owner->code().value_or(-1));
    c.payman = int(contract->code().value_or(-1));
    c.tarhNo = int(plan->code().value_or(-1));
    c.projNo = int(project->code().value_or(-1));
    c.amount = amount->amount();
    c.my = session_.CurrentYear();
    const auto saved = basedata::savedThrough(
        this,
        [&](startup::Prompt& prompt) -> std::optional<qint64> {
            const auto rad = Refunds(session_).saveCheque(h, c, mode() == Mode::Insert, prompt);
            return rad ? std::optional<qint64>(*rad) : std::nullopt;
        },
        error);
    if (saved)
        written_(saved->toInt());
    return saved;
}

} // namespace orvak::ui::deposits
