#include "ui/guarantees/TFZEMANATINF.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/guarantees/Guarantees.h"
#include "core/letters/GuaranteeLetters.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace orvak::ui::guarantees {

namespace g = orvak::guarantees;

namespace {

framework::ListUi commands()
{
    using framework::ListCommand;
    auto on = [](void (TFZEMANATINF::*f)()) { return [f](framework::ListScreen& l) { (static_cast<TFZEMANATINF&>(l).*f)(); }; };
    framework::ListUi ui;
    ui.commands = {ListCommand{QStringLiteral("ثبت پاسخ نامه(F10)"), {}, on(&TFZEMANATINF::answerLetter), true, true, 0},
                   ListCommand{QStringLiteral("نمايش نامه (F9)"), {}, on(&TFZEMANATINF::showLetter), true, false, 0},
                   ListCommand{QStringLiteral("ويرايش"), {}, on(&TFZEMANATINF::editLetter), true, true, 0},
                   ListCommand{QStringLiteral("حذف نامه و بازگشت به وضعيت قبلي"), {}, on(&TFZEMANATINF::withdrawLetter), false, true, 0},
                   ListCommand{QStringLiteral("عمليات تضمين"), {}, on(&TFZEMANATINF::recordOperation), false, true, 0}};
    return ui;
}

QString dateOf(const framework::JalaliDateEdit* e) { return e->isEmptyDate() ? QString() : e->text(); }

} // namespace

TFzemchang::TFzemchang(Session& session, int idx, Mode mode, const g::HistoryRow& row, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , idx_(idx)
    , mode_(mode)
    , row_(row)
{
    setWindowTitle(mode == Mode::Edit ? QStringLiteral(" ويرايش اطلاعات") : QStringLiteral("عمليات تضمين"));
    setLayoutDirection(Qt::RightToLeft);
    const auto guarantee = g::Guarantees(session).read(idx);
    auto* form = new QFormLayout;
    receivedNo = new QLineEdit(mode == Mode::Edit ? row.ansLetterNo : QString(), this);
    receivedDate = new framework::JalaliDateEdit(this);
    receivedDate->setDate(mode == Mode::Edit ? row.ansLetterDate : session.clock().todayJalali());
    currentDue = new QLineEdit(guarantee ? guarantee->sarresid : QString(), this);
    currentDue->setReadOnly(true);
    newDue = new framework::JalaliDateEdit(this);
    newDue->setDate(row.sarresid);
    currentAmount = new QLineEdit(guarantee ? util::FormatAmount(guarantee->amount) : QString(), this);
    currentAmount->setReadOnly(true);
    reducedAmount = new QLineEdit(row.amount > 0 ? util::FormatAmount(row.amount) : QString(), this);
    operationDate = new framework::JalaliDateEdit(this);
    operationDate->setDate(session.clock().todayJalali());
    kindBox = new QComboBox(this);
    kindBox->addItems(g::operationKindTexts());
    kindBox->setCurrentIndex(row.kind == g::OpTemporaryCancellation ? 9 : std::clamp(row.kind, 0, 9));
    kindBox->setEnabled(mode == Mode::Record);
    approver = new QComboBox(this);
    approver->addItems({QStringLiteral("ذيحساب"), QStringLiteral("مديريت دستگاه")});
    sentNo = new QLineEdit(row.letterNo, this);
    sentDate = new framework::JalaliDateEdit(this);
    sentDate->setDate(row.letterDate);
    newNumber = new QLineEdit(this);
    form->addRow(QStringLiteral("شماره نامه دريافتي"), receivedNo);
    form->addRow(QStringLiteral("تاريخ نامه دريافتي"), receivedDate);
    form->addRow(QStringLiteral("سررسيد فعلي"), currentDue);
    form->addRow(QStringLiteral("تاييد کننده"), approver);
    form->addRow(QStringLiteral("سررسيد جديد"), newDue);
    form->addRow(QStringLiteral("مبلغ فعلي"), currentAmount);
    form->addRow(QStringLiteral("مبلغ پس از تقليل"), reducedAmount);
    form->addRow(QStringLiteral("تاريخ عمليات"), operationDate);
    form->addRow(QStringLiteral("نوع عمليات"), kindBox);
    form->addRow(QStringLiteral("شماره نامه ارسالي"), sentNo);
    form->addRow(QStringLiteral("تاريخ نامه ارسالي"), sentDate);
    form->addRow(QStringLiteral("شماره جديد تضمين"), newNumber);
    for (QWidget* w : {static_cast<QWidget*>(newDue), static_cast<QWidget*>(reducedAmount), static_cast<QWidget*>(operationDate),
                       static_cast<QWidget*>(approver), static_cast<QWidget*>(newNumber)})
        w->setEnabled(mode != Mode::Edit);
    sentNo->setEnabled(mode != Mode::Answer);
    sentDate->setEnabled(mode != Mode::Answer);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("ادامه (F10)"), this);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    box->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] { save(); });
}

bool TFzemchang::save()
{
    framework::MessagePrompt prompt(this);
    g::GuaranteeOperations ops(session_);
    g::Answer a;
    a.letterNo = receivedNo->text();
    a.letterDate = dateOf(receivedDate);
    a.due = dateOf(newDue);
    a.operationDate = dateOf(operationDate);
    a.newNumber = newNumber->text();
    if (!reducedAmount->text().trimmed().isEmpty()) {
        const auto amount = util::parseAmount(reducedAmount->text());
        if (!amount) {
            prompt.info(QStringLiteral("مبلغ درست نيست: ") + reducedAmount->text());
            return false;
        }
        a.amount = *amount;
    }
    g::Outcome done;
    switch (mode_) {
    case Mode::Answer: done = ops.answer(idx_, row_.row, a, prompt); break;
    case Mode::Edit:
        done = ops.editReferences(idx_, row_.row, {sentNo->text(), dateOf(sentDate), receivedNo->text(), dateOf(receivedDate)}, prompt);
        break;
    case Mode::Record: {
        g::RecordedOperation op;
        op.kind = g::historyKindOfOperation(kindBox->currentIndex());
        op.sentNo = sentNo->text();
        op.sentDate = dateOf(sentDate);
        op.answer = a;
        done = ops.record(idx_, op, prompt);
        break;
    }
    }
    if (done)
        accept();
    return bool(done);
}

TFZEMANATINF::TFZEMANATINF(Session& session, int idx, QWidget* parent)
    : framework::ListScreen(session, g::guaranteeHistoryList(idx), commands(), parent)
    , session_(session)
    , idx_(idx)
{
    setWindowTitle(QStringLiteral("سوابق تغييرات،عمليات و صدور نامه ها"));
    setParameter(QStringLiteral(":PIdx"), idx);
    standOnLast();
    auto key = [this](Qt::Key k, int command) {
        auto* s = new QShortcut(QKeySequence(k), this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [this, command] { runCommand(command); });
    };
    key(Qt::Key_F10, 0);
    key(Qt::Key_F9, 1);
    resize(1000, 450);
}

void TFZEMANATINF::standOnLast()
{
    const auto h = g::GuaranteeOperations(session_).history(idx_);
    reopen(h && !h->isEmpty() ? QVariant(h->last().row) : QVariant());
}

void TFZEMANATINF::setGuaranteeReadOnly(bool readOnly) { setReadOnly(readOnly); }

void TFZEMANATINF::answerLetter()
{
    const auto h = g::GuaranteeOperations(session_).letter(idx_, currentRow());
    if (!h) {
        framework::ShowInfo(h.failed() ? h.error() : g::nothingSelectedText(), this);
        return;
    }
    if (h->answered()) {
        framework::ShowInfo(g::alreadyAnsweredText(), this);
        return;
    }
    TFzemchang dialog(session_, idx_, TFzemchang::Mode::Answer, *h, this);
    if (dialog.exec() == QDialog::Accepted)
        reopen(h->row);
}

QString TFZEMANATINF::letterText() const
{
    const auto h = g::GuaranteeOperations(session_).letter(idx_, currentKey().toInt());
    return h ? h->content : QString();
}

void TFZEMANATINF::showLetter()
{
    const auto h = g::GuaranteeOperations(session_).letter(idx_, currentRow());
    if (!h) {
        framework::ShowInfo(h.failed() ? h.error() : g::nothingSelectedText(), this);
        return;
    }
    QDialog view(this);
    view.setWindowTitle(g::subjectOfHistory(h->kind).isEmpty() ? QStringLiteral("نمايش نامه") : g::subjectOfHistory(h->kind));
    view.setLayoutDirection(Qt::RightToLeft);
    auto* box = new QVBoxLayout(&view);
    auto* text = new QTextBrowser(&view);
    // Shown exactly as it was produced: the kept text, not the template filled again.
    if (h->content.contains(QLatin1Char('<')))
        text->setHtml(h->content);
    else
        text->setPlainText(h->content);
    box->addWidget(text);
    view.resize(700, 600);
    view.exec();
}

void TFZEMANATINF::editLetter()
{
    const auto h = g::GuaranteeOperations(session_).letter(idx_, currentRow());
    if (!h) {
        framework::ShowInfo(h.failed() ? h.error() : g::nothingSelectedText(), this);
        return;
    }
    TFzemchang dialog(session_, idx_, TFzemchang::Mode::Edit, *h, this);
    if (dialog.exec() == QDialog::Accepted)
        reopen(h->row);
}

void TFZEMANATINF::withdrawLetter()
{
    framework::MessagePrompt prompt(this);
    if (g::GuaranteeOperations(session_).withdraw(idx_, currentRow(), prompt))
        standOnLast();
}

void TFZEMANATINF::recordOperation()
{
    g::HistoryRow blank;
    blank.kind = g::OpExtension;
    TFzemchang dialog(session_, idx_, TFzemchang::Mode::Record, blank, this);
    if (dialog.exec() == QDialog::Accepted)
        reopen();
}

} // namespace orvak::ui::guarantees
