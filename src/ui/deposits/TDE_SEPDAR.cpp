#include "ui/deposits/TDE_SEPDAR.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "ui/deposits/CreditLetterPicker.h"
#include "ui/deposits/TViewSepDar.h"
#include "ui/deposits/TViewSepDescr.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/Contracts.h"
#include "core/basedata/Lookups.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/DepositDescriptions.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::Deposit;
using orvak::deposits::ReceivedDeposits;

QLineEdit* digitsField(QWidget* parent, int digits)
{
    auto* f = new QLineEdit(parent);
    f->setMaxLength(digits);
    f->setLayoutDirection(Qt::LeftToRight);
    // Persian digits are read as digits when the value is read.
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9\u06F0-\u06F9\u0660-\u0669]*")), f));
    return f;
}

QLineEdit* shownField(QWidget* parent)
{
    auto* f = new QLineEdit(parent);
    f->setReadOnly(true);
    return f;
}

using basedata::numberText;
qint64 numberOf(const QLineEdit* f) { return basedata::numberIn(f).value_or(0); }
std::optional<qint64> codeOf(qint64 v) { return v > 0 ? std::optional<qint64>(v) : std::nullopt; }

// A caption that opens a picker when clicked.
QPushButton* clickable(const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral("text-align: right; color: #1a4f9c;"));
    return b;
}

QTableWidget* rowsGrid(const QStringList& titles, QWidget* parent)
{
    auto* t = new QTableWidget(0, int(titles.size()), parent);
    t->setHorizontalHeaderLabels(titles);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setMinimumHeight(90);
    t->setContextMenuPolicy(Qt::ActionsContextMenu);
    return t;
}

void putRow(QTableWidget* t, const QStringList& cells)
{
    const int r = t->rowCount();
    t->insertRow(r);
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(r, c, new QTableWidgetItem(cells[c]));
}

QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); }


} // namespace

TDE_SEPDAR::TDE_SEPDAR(orvak::startup::Session& session, TViewSepDar* list)
    : framework::EntryForm(QStringLiteral("اطلاعات سپرده هاي دريافتي"), list)
    , session_(session)
    , list_(list)
{
    chequeDate = new framework::JalaliDateEdit(this);
    chequeNo = digitsField(this, 14);
    month = new QComboBox(this);
    month->addItems(orvak::deposits::monthTexts());
    year = digitsField(this, 4);
    voucherNo = digitsField(this, 9);
    receiptNo = digitsField(this, 8);
    receiptDate = new framework::JalaliDateEdit(this);
    owner = basedata::partyCodeEdit(session, this);
    // The owner's contracts come first; all of them when the user asks.
    contract = new framework::CodeEdit(
        [&session](qint64 code) -> std::optional<QString> {
            const db::Fetched<orvak::basedata::Contract> c = orvak::basedata::Contracts(session).read(code);
            return c ? std::optional<QString>(c->text(QStringLiteral("DESCR"))) : std::nullopt;
        },
        [this, &session](QWidget* p) -> std::optional<qint64> {
            const std::optional<qint64> party = owner->isKnown() ? owner->code() : std::nullopt;
            auto r = basedata::pickContract(p, session, party.value_or(0));
            if (!r && party
                && framework::Ask(QStringLiteral("قراردادهاي ساير پيمانکاران هم نمايش داده شود؟"), this) == framework::AskYes)
                r = basedata::pickContract(p, session);
            return r ? std::optional<qint64>(r->current.value(QStringLiteral("CODE")).toLongLong()) : std::nullopt;
        },
        this);
    plan = basedata::planField(session, this);
    // A project picked brings its plan.
    project = new framework::CodeEdit(
        [&session](qint64 code) -> std::optional<QString> {
            const auto p = orvak::basedata::lookup(session, orvak::basedata::Lookup::ProjectByNumber, code);
            return p ? std::optional<QString>(p->value(QStringLiteral("NAMEP")).toString().trimmed()) : std::nullopt;
        },
        [this, &session](QWidget* p) -> std::optional<qint64> {
            const auto r = basedata::pickProject(p, session);
            if (!r)
                return std::nullopt;
            const qint64 ofPlan = r->current.value(QStringLiteral("TARHNO")).toLongLong();
            if (ofPlan > 0)
                plan->setCode(ofPlan);
            return r->current.value(QStringLiteral("PROJNO")).toLongLong();
        },
        this);
    kind = new QComboBox(this);
    kind->addItems(orvak::deposits::kindFormTexts());
    description = new QComboBox(this);
    description->setEditable(true);
    description->lineEdit()->setMaxLength(120);
    description->setMinimumWidth(320);
    bookDate = new framework::JalaliDateEdit(this);
    serial = digitsField(this, 10);
    bookNo = digitsField(this, 9);
    amount = new framework::AmountEdit(this);
    refunded = shownField(this);
    balance = shownField(this);
    listRow = digitsField(this, 9);
    letterNo = shownField(this);
    letterDate = shownField(this);
    creditNo = shownField(this);
    creditDate = shownField(this);
    bankConfirmed = new QCheckBox(QStringLiteral("تائيد با صورتحساب بانك"), this);

    // Two columns of fields, in entry order down the first and then the second.
    auto* columns = new QHBoxLayout;
    auto* first = new QFormLayout;
    auto* second = new QFormLayout;
    columns->addLayout(first, 1);
    columns->addSpacing(16);
    columns->addLayout(second, 1);
    form()->addRow(columns);

    first->addRow(QStringLiteral("تاريخ واريز"), chequeDate);
    first->addRow(QStringLiteral("شماره مدرک واريزي"), chequeNo);
    auto* period = new QHBoxLayout;
    period->addWidget(month, 1);
    period->addWidget(new QLabel(QStringLiteral("سال"), this));
    period->addWidget(year);
    first->addRow(QStringLiteral("ماه"), period);
    first->addRow(QStringLiteral("شماره سند"), voucherNo);
    first->addRow(QStringLiteral("شماره قبض سپرده"), receiptNo);
    first->addRow(QStringLiteral("تاريخ قبض سپرده"), receiptDate);
    QPushButton* ownerCaption = clickable(QStringLiteral("صاحب سپرده(F7)*"), this);
    first->addRow(ownerCaption, owner);
    QPushButton* contractCaption = clickable(QStringLiteral("پيمان/قرارداد(F7)"), this);
    first->addRow(contractCaption, contract);
    first->addRow(QStringLiteral("طرح"), plan);
    QPushButton* projectCaption = clickable(QStringLiteral("نام پروژه(F7)"), this);
    first->addRow(projectCaption, project);
    first->addRow(QStringLiteral("نوع سپرده"), kind);
    QPushButton* descriptionCaption = clickable(QStringLiteral("شرح/بابت"), this);
    first->addRow(descriptionCaption, description);

    second->addRow(QStringLiteral("تاريخ ثبت دفتر"), bookDate);
    second->addRow(QStringLiteral("ش. مسلسل"), serial);
    second->addRow(QStringLiteral("ش. ثبت دفتر سپرده سال"), bookNo);
    second->addRow(QStringLiteral("مبلغ سپرده*"), amount);
    second->addRow(QStringLiteral("مبلغ استرداد شده"), refunded);
    second->addRow(QStringLiteral("مانده"), balance);
    second->addRow(QStringLiteral("رديف در صورت ريز ارسالي به  خزانه"), listRow);
    QPushButton* letterCaption = clickable(QStringLiteral("ش نامه صورت ريز ارسالي"), this);
    auto* letter = new QHBoxLayout;
    letter->addWidget(letterNo);
    letter->addWidget(letterDate);
    second->addRow(letterCaption, letter);
    QPushButton* creditCaption = clickable(QStringLiteral("شماره بستانکاري"), this);
    auto* credit = new QHBoxLayout;
    credit->addWidget(creditNo);
    credit->addWidget(creditDate);
    second->addRow(creditCaption, credit);
    second->addRow(QString(), bankConfirmed);

    requests = rowsGrid({QStringLiteral("شماره درخواست"), QStringLiteral("تاريخ"), QStringLiteral("رديف"), QStringLiteral("مبلغ درخواست شده"),
                         QStringLiteral("شرح")},
                        this);
    requestSum = new QLabel(this);
    cheques = rowsGrid({QStringLiteral("شماره چک"), QStringLiteral("تاريخ چک"), QStringLiteral("مبلغ"), QStringLiteral("شماره سند استرداد"),
                        QStringLiteral("سال مالي"), QStringLiteral("توضيحات")},
                       this);
    chequeSum = new QLabel(this);
    form()->addRow(requests);
    form()->addRow(requestSum);
    form()->addRow(cheques);
    form()->addRow(chequeSum);
    // Fund requests and refunds are written by their own registers.
    auto* fundRequest = new QAction(QStringLiteral("درخواست وجه سپرده از خزانه"), requests);
    fundRequest->setEnabled(false);
    requests->addAction(fundRequest);
    auto* removeCheque = new QAction(QStringLiteral("حذف"), cheques);
    removeCheque->setEnabled(false);
    cheques->addAction(removeCheque);

    // "خروج" leaves without saving.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("خروج بدون ذخيره"))
            b->setText(QStringLiteral("خروج"));
    }
    QPushButton* help = addButton(QStringLiteral("راهنما(F1)"));
    connect(help, &QPushButton::clicked, this, [this] { showHelp(); });
    // A date that is no date is named by its field.
    chequeDate->setAccessibleName(QStringLiteral("تاريخ واريز"));
    receiptDate->setAccessibleName(QStringLiteral("تاريخ قبض سپرده"));
    bookDate->setAccessibleName(QStringLiteral("تاريخ ثبت دفتر"));

    connect(ownerCaption, &QPushButton::clicked, owner, &framework::CodeEdit::pick);
    connect(contractCaption, &QPushButton::clicked, contract, &framework::CodeEdit::pick);
    connect(projectCaption, &QPushButton::clicked, project, &framework::CodeEdit::pick);
    connect(descriptionCaption, &QPushButton::clicked, this, [this, &session] {
        if (const auto text = pickSepDescription(this, session)) {
            fillDescriptions();
            description->setEditText(*text);
        }
    });
    // Both captions pick the same record: the credit notice carries the letter that sent the list.
    for (QPushButton* caption : {letterCaption, creditCaption})
        connect(caption, &QPushButton::clicked, this, [this, caption] {
            if (const auto letter = pickCreditLetter(this, session_, caption->text()))
                showLetter(*letter);
        });
    refuseUnknown(owner, QStringLiteral("کد تفضيلي يافت نشد"));
    refuseUnknown(project, QStringLiteral("کد پروژه يافت نشد"));
    connect(amount, &QLineEdit::textChanged, this, [this] {
        const qint64 a = amount->amount();
        balance->setText(amountText(a > 0 ? a - deposit_.amountRad : 0));
    });
    fillDescriptions();
    resize(980, 700);
}

void TDE_SEPDAR::showHelp()
{
    framework::ShowInfo(QStringLiteral("صاحب سپرده و مبلغ سپرده لازم است؛ F7 در كدها فهرست را باز مي كند."), this);
}

QString TDE_SEPDAR::snapshot() const
{
    QStringList parts;
    for (const QLineEdit* e : findChildren<QLineEdit*>())
        parts << e->text();
    for (const QComboBox* c : findChildren<QComboBox*>())
        parts << QString::number(c->currentIndex()) + c->currentText();
    parts << QString::number(bankConfirmed->isChecked()) << QString::number(deposit_.elamBesIdx);
    return parts.join(QChar(0x1F));
}

void TDE_SEPDAR::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        showHelp();
        return;
    }
    // Esc throws typed changes away only when the user says so.
    if (event->key() == Qt::Key_Escape && !isReadOnly() && snapshot() != shown_
        && framework::Ask(QStringLiteral("اطلاعات تغيير يافته ذخيره نشده است. خروج بدون ذخيره؟"), this) != framework::AskYes)
        return;
    framework::EntryForm::keyPressEvent(event);
}

void TDE_SEPDAR::refuseUnknown(framework::CodeEdit* field, const QString& message)
{
    connect(field->editor(), &QLineEdit::editingFinished, this, [this, field, message] {
        if (field->editor()->text().trimmed().isEmpty() || field->isKnown())
            return;
        framework::ShowError(message, this);
        field->editor()->setFocus();
    });
}

void TDE_SEPDAR::fillDescriptions()
{
    const QString typed = description->currentText();
    description->clear();
    const auto choices = orvak::deposits::DepositDescriptions(session_).choices();
    description->addItems(choices ? *choices : orvak::deposits::fixedDescriptions());
    description->setEditText(typed);
}

void TDE_SEPDAR::show(const Deposit& d)
{
    deposit_ = d;
    chequeDate->setDate(d.chkDate);
    chequeNo->setText(numberText(d.chkNo));
    month->setCurrentIndex(qBound(0, d.mm - 1, month->count() - 1));
    year->setText(numberText(d.my));
    voucherNo->setText(numberText(d.sndNo));
    receiptNo->setText(numberText(d.sepNo));
    receiptDate->setDate(d.sepDate);
    owner->setCode(codeOf(d.tafsili));
    contract->setCode(codeOf(d.payment));
    plan->setCode(codeOf(d.tarhNo));
    project->setCode(codeOf(d.projNo));
    kind->setCurrentIndex(qBound(0, d.sepKind - 1, kind->count() - 1));
    description->setEditText(d.descr);
    bookDate->setDate(d.sabtDate);
    serial->setText(numberText(d.mosalsal));
    bookNo->setText(numberText(d.yerSepRow));
    amount->setAmount(d.amount);
    refunded->setText(amountText(d.amountRad));
    balance->setText(amountText(d.amount > 0 ? d.amount - d.amountRad : 0));
    listRow->setText(numberText(d.sepRow));
    letterNo->setText(d.ersalNo);
    letterDate->setText(d.ersalDate);
    creditNo->setText(numberText(d.besNo));
    creditDate->clear();
    // The credit notice's own number and date, when the row points to one.
    if (d.elamBesIdx > 0)
        if (const auto letter = orvak::deposits::creditLetter(session_, d.elamBesIdx)) {
            creditNo->setText(letter->creditNo);
            creditDate->setText(letter->creditDate);
        }
    bankConfirmed->setChecked(d.controlBankOk != 0);
    showRows(d.idx);
    shown_ = snapshot();
}

void TDE_SEPDAR::showLetter(const orvak::deposits::CreditLetter& letter)
{
    deposit_.elamBesIdx = letter.idx;
    deposit_.ersalNo = letter.letterNo;
    deposit_.ersalDate = letter.letterDate;
    letterNo->setText(letter.letterNo);
    letterDate->setText(letter.letterDate);
    creditNo->setText(letter.creditNo);
    creditDate->setText(letter.creditDate);
}

void TDE_SEPDAR::showRows(int idx)
{
    requests->setRowCount(0);
    cheques->setRowCount(0);
    const ReceivedDeposits reg(session_);
    const auto req = idx ? reg.requestRows(idx) : db::Fetched<orvak::deposits::RowsWithSum<orvak::deposits::RequestRow>>::none();
    qint64 requested = 0;
    if (req) {
        for (const auto& r : req->rows)
            putRow(requests, {r.reqNo, r.reqDate, QString::number(r.reqRow), amountText(r.amount), r.descr});
        requested = req->sum;
    }
    requestSum->setText(QStringLiteral("جمع مبالغ درخواست شده:") + QLatin1Char(' ') + io::isolateLtr(amountText(requested)));
    const auto rad = idx ? reg.refundCheques(idx) : db::Fetched<orvak::deposits::RowsWithSum<orvak::deposits::RefundCheque>>::none();
    qint64 paid = 0;
    if (rad) {
        for (const auto& c : rad->rows)
            putRow(cheques, {numberText(c.chkNo), c.chkDate, amountText(c.amount), numberText(c.sndNo), numberText(c.year), c.descr});
        paid = rad->sum;
    }
    chequeSum->setText(QStringLiteral("جمع مبالغ استرداد شده:") + QLatin1Char(' ') + io::isolateLtr(amountText(paid)));
}

void TDE_SEPDAR::clearFields()
{
    const ReceivedDeposits reg(session_);
    const orvak::deposits::DepositFilter f = list_ ? list_->filter() : orvak::deposits::DepositFilter{};
    const auto proposed = reg.newDeposit(f, list_ ? list_->currentIdx() : 0);
    Deposit d;
    if (proposed) {
        d = *proposed;
    } else {
        d.my = f.year;
        d.mm = f.month;
        if (proposed.failed())
            framework::ShowError(proposed.error(), this);
    }
    show(d);
    chequeDate->setFocus();
}

bool TDE_SEPDAR::loadRecord(const QVariant& key)
{
    const auto d = ReceivedDeposits(session_).read(key.toInt());
    if (!d) {
        framework::ShowError(d.failed() ? d.error() : QStringLiteral("هيچ اطلاعاتي وارد نشده است"), this);
        return false;
    }
    show(*d);
    return true;
}

bool TDE_SEPDAR::validate(QString* message)
{
    // The field that lacks its value is named and takes the cursor.
    Deposit typed;
    typed.amount = ReceivedDeposits::amountOf(amount->text()).value_or(0);
    typed.tafsili = owner->code() ? int(*owner->code()) : -1;
    if (const auto missing = orvak::deposits::missingField(typed); missing != orvak::deposits::MissingField::None) {
        *message = orvak::deposits::missingFieldText(missing);
        if (missing == orvak::deposits::MissingField::Amount)
            amount->setFocus();
        else
            owner->editor()->setFocus();
        return false;
    }
    QString why;
    if (!chequeNo->text().trimmed().isEmpty() && !ReceivedDeposits::chequeNoOf(chequeNo->text(), &why)) {
        *message = why;
        return false;
    }
    const auto y = util::parseTolerantInt(year->text());
    if (!y || *y < 1300 || *y > 1500) {
        *message = QStringLiteral("سال مالي درست وارد نشده است");
        return false;
    }
    // A typed code that names no row is not saved as if it did.
    const std::pair<framework::CodeEdit*, QString> named[] = {{owner, QStringLiteral("کد تفضيلي يافت نشد")},
                                                             {project, QStringLiteral("کد پروژه يافت نشد")}};
    for (const auto& [field, text] : named) {
        if (!field->editor()->text().trimmed().isEmpty() && !field->isKnown()) {
            *message = text;
            field->editor()->setFocus();
            return false;
        }
    }
    for (framework::CodeEdit* f : {contract, plan, project}) {
        if (!f->editor()->text().trimmed().isEmpty() && !f->code()) {
            *message = QStringLiteral("کد بايد عددي بزرگتر از صفر باشد");
            return false;
        }
    }
    return true;
}

std::optional<QVariant> TDE_SEPDAR::saveRecord(QString* error)
{
    Deposit d = deposit_;
    d.chkDate = chequeDate->date() ? chequeDate->text() : QString();
    d.chkNo = ReceivedDeposits::chequeNoOf(chequeNo->text()).value_or(0);
    d.mm = month->currentIndex() + 1;
    d.my = util::parseTolerantInt(year->text()).value_or(0);
    d.sndNo = int(numberOf(voucherNo));
    d.sepNo = numberOf(receiptNo);
    d.sepDate = receiptDate->date() ? receiptDate->text() : QString();
    d.tafsili = owner->code() ? int(*owner->code()) : -1;
    d.payment = contract->code() ? int(*contract->code()) : -1;
    d.tarhNo = plan->code() ? int(*plan->code()) : -1;
    d.projNo = project->code() ? int(*project->code()) : -1;
    d.sepKind = kind->currentIndex() + 1;
    d.descr = description->currentText().trimmed();
    d.sabtDate = bookDate->date() ? bookDate->text() : QString();
    d.mosalsal = numberOf(serial);
    d.yerSepRow = int(numberOf(bookNo));
    d.amount = ReceivedDeposits::amountOf(amount->text()).value_or(0);
    d.sepRow = int(numberOf(listRow));
    d.controlBankOk = bankConfirmed->isChecked() ? 1 : 0;

    // The register's questions and warnings come up in their order (the warning on a
    // confirmed receipt before the save); a refusal it told is not told again, and a
    // question answered no leaves the form as it was.
    framework::MessagePrompt prompt(this);
    const std::optional<int> saved = ReceivedDeposits(session_).save(d, mode() == Mode::Insert, prompt);
    if (!saved) {
        error->clear();
        return std::nullopt;
    }
    return QVariant(*saved);
}

} // namespace orvak::ui::deposits
