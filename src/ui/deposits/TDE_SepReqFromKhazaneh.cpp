#include "ui/deposits/TDE_SepReqFromKhazaneh.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace orvak::ui::deposits {

using orvak::deposits::FundRequest;
using orvak::deposits::FundRequests;
using orvak::deposits::FundState;

TDE_SepReqFromKhazaneh::TDE_SepReqFromKhazaneh(orvak::startup::Session& session, QWidget* parent, std::optional<FundState> state)
    : framework::EntryForm(QStringLiteral("اطلاعات درخواست  وجه سپرده از خزانه"), parent, state ? Buttons::SaveOnly : Buttons::SaveAndNew)
    , session_(session)
    , state_(state)
{
    if (state)
        setWindowTitle(windowTitle() + QStringLiteral(" - ") + orvak::deposits::fundStateText(int(*state)));
    number = basedata::textField(this, 15);
    date = new framework::JalaliDateEdit(this);
    letterNo = basedata::textField(this, 15);
    letterDate = new framework::JalaliDateEdit(this);
    requested = new QLabel(this);
    letterNo2 = basedata::textField(this, 15);
    letterDate2 = new framework::JalaliDateEdit(this);
    paidIn = new framework::AmountEdit(this);
    chequeNo = basedata::textField(this, 18);
    rowNo = basedata::textField(this, 9);
    descr = basedata::textField(this, 120);
    creditNo = basedata::textField(this, 15);
    creditDate = new framework::JalaliDateEdit(this);
    form()->addRow(QStringLiteral("شماره درخواست وجه:"), number);
    form()->addRow(QStringLiteral("تاريخ درخواست وجه"), date);
    form()->addRow(QStringLiteral("شماره نامه ارسالي"), letterNo);
    form()->addRow(QStringLiteral("تاريخ نامه ارسالي"), letterDate);
    form()->addRow(QStringLiteral("مبلغ درخواست وجه"), requested);
    form()->addRow(QStringLiteral("شماره نامه تائيد واريزي"), letterNo2);
    form()->addRow(QStringLiteral("تاريخ نامه تائيد واريزي"), letterDate2);
    form()->addRow(QStringLiteral("مبلغ واريزي"), paidIn);
    form()->addRow(QStringLiteral("شماره چک صادره"), chequeNo);
    form()->addRow(QStringLiteral("شماره رديف:"), rowNo);
    form()->addRow(QStringLiteral("توضيحات"), descr);
    form()->addRow(QStringLiteral("شماره بستانکاري واريزي"), creditNo);
    form()->addRow(QStringLiteral("تاريخ بستانکاري واريزي"), creditDate);
}

void TDE_SepReqFromKhazaneh::display(const FundRequest& h)
{
    shown_ = h;
    number->setText(h.reqNo);
    date->setDate(h.reqDate);
    letterNo->setText(h.letterNo);
    letterDate->setDate(h.letterDate);
    requested->setText(io::isolateLtr(h.reqAmount ? util::FormatAmount(h.reqAmount) : QStringLiteral("0")) + QStringLiteral("   تعداد: ")
                       + io::isolateLtr(QString::number(h.tedad)));
    letterNo2->setText(h.letterNo2);
    letterDate2->setDate(h.letterDate2);
    paidIn->setAmount(h.ansAmount);
    chequeNo->setText(basedata::numberText(h.ansChkNo));
    rowNo->setText(basedata::numberText(h.accNo));
    descr->setText(h.descr);
    creditNo->setText(h.variziBesNo);
    creditDate->setDate(h.variziBesDate);
}

void TDE_SepReqFromKhazaneh::clearFields()
{
    const auto fresh = FundRequests(session_).newRequest();
    if (fresh.failed())
        framework::ShowError(fresh.error(), this);
    display(fresh.value_or({}));
}

bool TDE_SepReqFromKhazaneh::loadRecord(const QVariant& key)
{
    const auto h = FundRequests(session_).read(key.toInt());
    if (!h) {
        framework::ShowError(h.failed() ? h.error() : QStringLiteral("درخواست وجه مورد نظر يافت نشد"), this);
        return false;
    }
    display(*h);
    return true;
}

bool TDE_SepReqFromKhazaneh::validate(QString* message)
{
    if (!basedata::numberIn(chequeNo) || !basedata::numberIn(rowNo)) {
        *message = QStringLiteral("شماره چک و شماره رديف بايد عدد باشند");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_SepReqFromKhazaneh::saveRecord(QString* error)
{
    FundRequest h = shown_;
    h.reqIdx = mode() == Mode::Edit ? key().toInt() : shown_.reqIdx;
    h.reqNo = number->text().trimmed();
    h.reqDate = date->text();
    h.letterNo = letterNo->text().trimmed();
    h.letterDate = letterDate->text();
    h.letterNo2 = letterNo2->text().trimmed();
    h.letterDate2 = letterDate2->text();
    h.ansAmount = paidIn->amount();
    h.ansChkNo = basedata::numberIn(chequeNo).value_or(0);
    h.accNo = int(basedata::numberIn(rowNo).value_or(0));
    h.descr = descr->text().trimmed();
    h.variziBesNo = creditNo->text().trimmed();
    h.variziBesDate = creditDate->text();
    return basedata::savedThrough(
        this,
        [&](startup::Prompt& prompt) -> std::optional<qint64> {
            FundRequests requests(session_);
            const auto saved = state_ ? requests.changeState(h, *state_, prompt) : requests.save(h, mode() == Mode::Insert, prompt);
            return saved ? std::optional<qint64>(*saved) : std::nullopt;
        },
        error);
}

} // namespace orvak::ui::deposits
