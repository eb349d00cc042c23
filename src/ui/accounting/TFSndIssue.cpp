#include "ui/accounting/TFSndIssue.h"

#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/accounting/VoucherSearch.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvak::ui::accounting {

TFSndIssue::TFSndIssue(Session& session, const VoucherIssueRequest& request, PostVoucher post, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , post_(std::move(post))
    , clearReferences_(request.clearReferences)
{
    setWindowTitle(request.title.isEmpty() ? QStringLiteral("صدور سند حسابداري") : request.title);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("بخش مالي"), new QLabel(session.SectionTitle(), this));
    const int year = orvak::accounting::accountingYear(session);
    form->addRow(QStringLiteral("سال مالي"), new QLabel(year ? QString::number(year) : QString::number(session.CurrentYear()), this));

    auto* numberRow = new QHBoxLayout;
    number_ = new QLineEdit(this);
    numberRow->addWidget(number_);
    auto* again = new QPushButton(QStringLiteral(">>"), this);
    numberRow->addWidget(again);
    form->addRow(QStringLiteral("شماره سند"), numberRow);
    date_ = new framework::JalaliDateEdit(this);
    date_->setDate(session.clock().todayJalali());
    form->addRow(QStringLiteral("تاريخ سند"), date_);
    clear_ = new QCheckBox(QStringLiteral("حذف محتواي قبلي سند حسابداري فوق"), this);
    form->addRow(clear_);
    description_ = new QLineEdit(this);
    if (request.description) {
        description_->setText(*request.description);
        form->addRow(QStringLiteral("شرح سند"), description_);
    } else {
        description_->hide();
    }
    expenseNumber_ = new QLineEdit(this);
    form->addRow(QStringLiteral("شماره سند هزينه"), expenseNumber_);
    expenseDate_ = new framework::JalaliDateEdit(this);
    form->addRow(QStringLiteral("تاريخ سند هزينه"), expenseDate_);
    layout->addLayout(form);
    progress_ = new QLabel(this);
    layout->addWidget(progress_);

    auto* buttons = new QHBoxLayout;
    generate_ = new QPushButton(QStringLiteral("توليد سند( F10 )"), this);
    auto* show = new QPushButton(QStringLiteral("نمايش و چاپ سند (F9)"), this);
    confirm_ = new QPushButton(QStringLiteral("تائيد سند"), this);
    reject_ = new QPushButton(QStringLiteral("عدم تائيد سند"), this);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    for (QPushButton* b : {generate_, show, confirm_, reject_, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(again, &QPushButton::clicked, this, &TFSndIssue::proposeNumber);
    connect(generate_, &QPushButton::clicked, this, &TFSndIssue::generate);
    connect(show, &QPushButton::clicked, this, &TFSndIssue::showIssued);
    connect(confirm_, &QPushButton::clicked, this, &TFSndIssue::confirmIssued);
    connect(reject_, &QPushButton::clicked, this, &TFSndIssue::rejectIssued);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, generate_, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F9), this), &QShortcut::activated, show, &QPushButton::click);

    if (request.number > 0)
        number_->setText(QString::number(request.number));
    else
        proposeNumber();
    updateButtons();
}

void TFSndIssue::proposeNumber()
{
    const db::Fetched<int> last = orvak::accounting::Vouchers(session_).lastNumber();
    if (last.failed()) {
        framework::ShowError(last.error(), this);
        return;
    }
    number_->setText(QString::number(last.value_or(0) + 1));
}

bool TFSndIssue::generate()
{
    if (issued_)
        return false;
    const std::optional<int> n = orvak::accounting::voucherNumber(number_->text());
    if (!n) {
        framework::ShowError(QStringLiteral("شماره سند درست نيست: ") + number_->text().trimmed(), this);
        return false;
    }
    QString why;
    if (!date_->date()) {
        framework::ShowError(QStringLiteral("تاريخ سند درست نيست: ") + date_->text().trimmed(), this);
        return false;
    }
    if (!expenseDate_->validate(&why)) {
        framework::ShowError(why, this);
        return false;
    }
    VoucherIssue issue;
    issue.number = *n;
    issue.date = date_->date()->toText();
    issue.year = orvak::accounting::accountingYear(session_);
    issue.clearEarlier = clear_->isChecked();
    issue.expenseNumber = expenseNumber_->text().trimmed();
    issue.expenseDate = expenseDate_->date() ? expenseDate_->date()->toText() : QString();
    issue.description = description_->text().trimmed();
    progress_->clear();
    std::optional<orvak::accounting::PostedVoucher> posted;
    {
        // What the caller's service posts is heard here: its rows as they are written,
        // and what it added, which a rejection takes back.
        orvak::accounting::PostingRecorder recorder([this](int number, int row) {
            progress_->setText(QStringLiteral("سند شماره") + QString::number(number) + QStringLiteral(" رديف ") + QString::number(row));
            progress_->repaint();
        });
        why = post_ ? post_(issue) : QStringLiteral("عمليات انجام نشد");
        posted = recorder.last();
    }
    if (!why.isEmpty()) {
        if (why != stoppedByUser())
            framework::ShowError(why, this);
        return false;
    }
    issue.posted = posted;
    if (posted) {
        issue.number = posted->number;
        number_->setText(QString::number(posted->number));
    }
    issued_ = issue;
    updateButtons();
    return true;
}

void TFSndIssue::showIssued()
{
    showVoucher(this, session_, orvak::accounting::voucherNumber(number_->text()).value_or(0));
}

bool TFSndIssue::confirmIssued()
{
    if (!issued_ || !framework::Confirm(QString(), this))
        return false;
    QString why;
    if (!orvak::accounting::VoucherWriter(session_).confirm(issued_->number, &why)) {
        framework::ShowError(why, this);
        return false;
    }
    return true;
}

bool TFSndIssue::rejectIssued()
{
    if (!issued_ || !framework::Confirm(QString(), this))
        return false;
    QString why;
    if (!issued_->posted) {
        framework::ShowError(QStringLiteral("سند شماره %1 يافت نشد").arg(issued_->number), this);
        return false;
    }
    if (!orvak::accounting::VoucherWriter(session_).reject(*issued_->posted, clearReferences_, &why)) {
        framework::ShowError(why, this);
        return false;
    }
    progress_->clear();
    issued_.reset();
    updateButtons();
    return true;
}

void TFSndIssue::updateButtons()
{
    generate_->setEnabled(!issued_);
    confirm_->setEnabled(issued_.has_value());
    reject_->setEnabled(issued_.has_value());
}

} // namespace orvak::ui::accounting
