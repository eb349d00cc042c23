#include "ui/deposits/TViewSepReq.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/FilterExpression.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"

#include <QComboBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::OwnerRequests;

framework::ListUi commands(Session& session)
{
    framework::ListUi ui = basedata::registerCommands(
        [&session](framework::ListScreen& l) { return std::make_unique<TDE_SEPREQ>(session, &l); },
        [&session](qint64 code, orvak::startup::Prompt& prompt) { return bool(OwnerRequests(session).remove(int(code), prompt)); });
    // "جستجو": a field, an operator and a value, as the frame's filter reads them.
    ui.commands << framework::ListCommand{QStringLiteral("جستجو"), {}, [](framework::ListScreen& l) {
                                              QStringList titles;
                                              for (const io::ListColumn& c : l.frame().columns)
                                                  titles << c.title;
                                              bool ok = false;
                                              const QString field = QInputDialog::getItem(&l, QStringLiteral("جستجو"), QStringLiteral("فيلد"), titles, 0, false, &ok);
                                              if (!ok)
                                                  return;
                                              const QStringList ops{QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("<>"),
                                                                    QStringLiteral("<="), QStringLiteral(">=")};
                                              const QString op = QInputDialog::getItem(&l, QStringLiteral("جستجو"), QStringLiteral("عملگر"), ops, 0, false, &ok);
                                              if (!ok)
                                                  return;
                                              const QString value = QInputDialog::getText(&l, QStringLiteral("جستجو"), QStringLiteral("مقدار"), QLineEdit::Normal, {}, &ok);
                                              if (!ok)
                                                  return;
                                              const io::ListColumn& c = l.frame().columns[titles.indexOf(field)];
                                              l.setFilterText(io::filterTerm(c.field, op, value, c.format == io::CellFormat::Text));
                                          },
                                          false, false, 0};
    return ui;
}

} // namespace

TViewSepReq::TViewSepReq(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::ownerRequestsList(), commands(session), parent)
{
    setWindowTitle(QStringLiteral("درخواست  سپرده  صاحبان سپرده "));
    addOwnerCondition(QStringLiteral("پيمانكار(F3)"), QStringLiteral(":Owner"), QKeySequence(Qt::Key_F3));
    addContractCondition(QStringLiteral("قرارداد:"), QStringLiteral(":Contract"), QStringLiteral(":Owner"));
    addChoiceCondition(QString(), QStringLiteral(":Answered"),
                       {{QStringLiteral("همه"), -1}, {QStringLiteral("پاسخ داده شده"), 1}, {QStringLiteral("پاسخ داده نشده"), 0}});
    addClearConditions();
}

TDE_SEPREQ::TDE_SEPREQ(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("درخواست هاي سپرده صاحبان سپرده"), parent)
    , session_(session)
{
    number = new QLineEdit(this);
    number->setReadOnly(true);
    registered = new framework::JalaliDateEdit(this);
    letterNo = basedata::textField(this, 20);
    letterDate = new framework::JalaliDateEdit(this);
    approved = new framework::AmountEdit(this);
    registryNo = basedata::textField(this, 20);
    registryDate = new framework::JalaliDateEdit(this);
    owner = basedata::partyCodeEdit(session, this);
    contract = basedata::contractField(session, this);
    answered = new QComboBox(this);
    answered->addItems({QStringLiteral("پاسخ داده نشده"), QStringLiteral("پاسخ داده شده")});
    descr = basedata::textField(this, 250);
    form()->addRow(QStringLiteral("شماره درخواست"), number);
    form()->addRow(QStringLiteral("تاريخ ثبت درخواست "), registered);
    form()->addRow(QStringLiteral("شماره نامه وارده"), letterNo);
    form()->addRow(QStringLiteral("تاريخ نامه وارده"), letterDate);
    form()->addRow(QStringLiteral("مبلغ تائيد شده:"), approved);
    form()->addRow(QStringLiteral("شماره ثبت دفتر انديکاتور"), registryNo);
    form()->addRow(QStringLiteral("تاريخ ثبت  دفتر انديکاتور"), registryDate);
    form()->addRow(QStringLiteral("صاحب سپرده(F7)"), owner);
    form()->addRow(QStringLiteral("قرارداد(F7)"), contract);
    form()->addRow(QStringLiteral("وضعيت"), answered);
    form()->addRow(QStringLiteral("شرح"), descr);
    saveAndCloseButton()->setText(QStringLiteral("ذخيره و خروج (F10)"));
}

void TDE_SEPREQ::clearFields()
{
    const auto key = OwnerRequests(session_).proposedKey();
    number->setText(key ? QString::number(*key) : QString());
    registered->setDate(util::TodayJalali());
    for (QLineEdit* f : {letterNo, registryNo, descr})
        f->clear();
    letterDate->setDate(QString());
    registryDate->setDate(QString());
    approved->setAmount(0);
    owner->setCode(std::nullopt);
    contract->setCode(std::nullopt);
    answered->setCurrentIndex(0);
}

bool TDE_SEPREQ::loadRecord(const QVariant& key)
{
    const auto q = OwnerRequests(session_).read(key.toInt());
    if (!q) {
        framework::ShowError(q.failed() ? q.error() : QStringLiteral("درخواست مورد نظر يافت نشد"), this);
        return false;
    }
    number->setText(QString::number(q->reqIdx));
    registered->setDate(q->reqSabtDate);
    letterNo->setText(q->inLetterNo);
    letterDate->setDate(q->inLetterDate);
    approved->setAmount(q->okAmount);
    registryNo->setText(q->andNo);
    registryDate->setDate(q->andDate);
    owner->setCode(q->tafsilNo > 0 ? std::optional<qint64>(q->tafsilNo) : std::nullopt);
    contract->setCode(q->paymanNo > 0 ? std::optional<qint64>(q->paymanNo) : std::nullopt);
    answered->setCurrentIndex(q->reqStatuse == 1 ? 1 : 0);
    descr->setText(q->descr);
    return true;
}

bool TDE_SEPREQ::validate(QString*) { return true; }

std::optional<QVariant> TDE_SEPREQ::saveRecord(QString* error)
{
    orvak::deposits::OwnerRequest q;
    q.reqIdx = mode() == Mode::Edit ? key().toInt() : 0;
    q.reqSabtDate = registered->text();
    q.inLetterNo = letterNo->text().trimmed();
    q.inLetterDate = letterDate->text();
    q.okAmount = approved->amount();
    q.andNo = registryNo->text().trimmed();
    q.andDate = registryDate->text();
    q.tafsilNo = int(owner->code().value_or(-1));
    q.paymanNo = int(contract->code().value_or(-1));
    q.reqStatuse = answered->currentIndex();
    q.descr = descr->text().trimmed();
    return basedata::savedThrough(
        this,
        [&](startup::Prompt& prompt) -> std::optional<qint64> {
            const auto saved = OwnerRequests(session_).save(q, mode() == Mode::Insert, prompt);
            return saved ? std::optional<qint64>(*saved) : std::nullopt;
        },
        error);
}

std::optional<orvak::deposits::OwnerRequest> pickOwnerRequest(QWidget* parent, Session& session, int owner)
{
    auto* list = new TViewSepReq(session);
    if (owner > 0)
        list->setCondition(QStringLiteral(":Owner"), owner, QString::number(owner));
    framework::PickRequest request;
    request.fields = {QStringLiteral("REQ_IDX")};
    request.continueText = QStringLiteral("انتخاب(F2)");
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    const auto q = OwnerRequests(session).read(picked->current.value(QStringLiteral("REQ_IDX")).toInt());
    if (!q) {
        framework::ShowError(q.failed() ? q.error() : QStringLiteral("درخواست مورد نظر يافت نشد"), parent);
        return std::nullopt;
    }
    return *q;
}

} // namespace orvak::ui::deposits
