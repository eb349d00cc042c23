#include "ui/guarantees/TDE_ZEMANAT.h"
#include "ui/guarantees/TFZEMANATINF.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/basedata/Pickers.h"
#include "ui/framework/Doing.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/guarantees/GuaranteeTextScreens.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/guarantees/GuaranteeTexts.h"
#include "core/guarantees/Guarantees.h"
#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace orvak::ui::guarantees {

namespace {

namespace g = orvak::guarantees;

QLineEdit* digitsField(QWidget* parent, int digits)
{
    auto* f = new QLineEdit(parent);
    f->setMaxLength(digits);
    f->setLayoutDirection(Qt::LeftToRight);
    f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9\u06F0-\u06F9\u0660-\u0669]*")), f));
    return f;
}

QPushButton* clickable(const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral("text-align: right; color: #1a4f9c;"));
    return b;
}

int numberIn(const QLineEdit* f) { return int(basedata::numberIn(f).value_or(0)); }
QString numberText(qint64 v) { return v > 0 ? QString::number(v) : QString(); }
int codeOf(const framework::CodeEdit* e) { return e->code() ? int(*e->code()) : -1; }
std::optional<qint64> shown(int code) { return code > 0 ? std::optional<qint64>(code) : std::nullopt; }

} // namespace

TDE_ZEMANAT::TDE_ZEMANAT(orvak::startup::Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("اطلاعات تضمينات"), parent)
    , session_(session)
{
    idx = new QLineEdit(this);
    idx->setReadOnly(true);
    number = new QLineEdit(this);
    number->setMaxLength(20);
    issued = new framework::JalaliDateEdit(this);
    party = basedata::partyCodeEdit(session, this);
    contract = basedata::contractField(session, this);
    plan = basedata::planField(session, this);
    project = basedata::projectField(session, this);
    branch = new framework::CodeEdit(
        [&session](qint64 code) -> std::optional<QString> {
            const auto name = g::Guarantees(session).branchName(int(code));
            return name ? std::optional<QString>(*name) : std::nullopt;
        },
        [&session](QWidget* p) -> std::optional<qint64> {
            const auto r = basedata::pickBankBranch(p, session);
            return r ? std::optional<qint64>(r->current.value(QStringLiteral("CODE")).toLongLong()) : std::nullopt;
        },
        this);
    due = new framework::JalaliDateEdit(this);
    type = new QComboBox(this);
    for (int i = 0; i < g::guaranteeTypes().size(); ++i)
        type->addItem(g::typeChoiceText(i), i);
    type->setToolTip(g::typeHint());
    kind = new QComboBox(this);
    for (int i = 0; i < g::guaranteeKinds().size(); ++i)
        kind->addItem(g::kindChoiceText(i), i);
    subject = new QComboBox(this);
    subject->setEditable(true);
    subject->lineEdit()->setMaxLength(120);
    subject->setMinimumWidth(300);
    currency = new QComboBox(this);
    currency->addItems(g::currencyNames());
    amount = new framework::AmountEdit(this);
    amountWords = new QLabel(this);
    amountWords->setWordWrap(true);
    foreignAmount = new QLineEdit(this);
    foreignAmount->setLayoutDirection(Qt::LeftToRight);
    archiveRow = digitsField(this, 9);
    folder = new QLineEdit(this);
    folder->setMaxLength(10);
    enclosures = digitsField(this, 4);
    voucherNo = digitsField(this, 9);
    voucherDate = new framework::JalaliDateEdit(this);
    sepam = new QLineEdit(this);
    sepam->setMaxLength(30);
    extendedMark = new QLabel(QStringLiteral("تمديد شده"), this);
    extendedMark->setToolTip(QStringLiteral("سررسيد اوليه زودتر بوده است؛ سوابق تضمين را ببينيد (F4)"));
    extendedMark->setStyleSheet(QStringLiteral("color: #b35c00; font-weight: bold;"));
    reducedMark = new QLabel(QStringLiteral("تقليل يافته"), this);
    reducedMark->setToolTip(QStringLiteral("مبلغ اوليه بيشتر بوده است؛ سوابق تضمين را ببينيد (F4)"));
    reducedMark->setStyleSheet(QStringLiteral("color: #b35c00; font-weight: bold;"));

    auto* columns = new QHBoxLayout;
    auto* first = new QFormLayout;
    auto* second = new QFormLayout;
    columns->addLayout(first, 1);
    columns->addSpacing(16);
    columns->addLayout(second, 1);
    form()->addRow(columns);

    first->addRow(QStringLiteral("کد شناسائي تضمين"), idx);
    first->addRow(QStringLiteral("شماره تضمين"), number);
    first->addRow(QStringLiteral("تاريخ صدور"), issued);
    QPushButton* partyCaption = clickable(QStringLiteral("پيمانکار(F7)"), this);
    first->addRow(partyCaption, party);
    QPushButton* contractCaption = clickable(QStringLiteral("قرارداد(F7)"), this);
    first->addRow(contractCaption, contract);
    first->addRow(QStringLiteral("طرح"), plan);
    QPushButton* projectCaption = clickable(QStringLiteral("پروژه(F7)"), this);
    first->addRow(projectCaption, project);
    branchCaption = clickable(QStringLiteral("بانک / شعبه(F7)"), this);
    first->addRow(branchCaption, branch);
    QPushButton* dueCaption = clickable(QStringLiteral("تاريخ سر رسيد(F7)"), this);
    first->addRow(dueCaption, due);
    first->addRow(QStringLiteral("نوع تضمين"), type);
    first->addRow(QStringLiteral("ماهيت تضمين"), kind);

    QPushButton* subjectCaption = clickable(QStringLiteral("موضوع تضمين"), this);
    second->addRow(subjectCaption, subject);
    second->addRow(QStringLiteral("واحد پول"), currency);
    QPushButton* amountCaption = clickable(QStringLiteral("ارزش ريالي"), this);
    second->addRow(amountCaption, amount);
    second->addRow(QString(), amountWords);
    second->addRow(QStringLiteral("ارزش ارزي"), foreignAmount);
    second->addRow(QStringLiteral("رديف بايگاني"), archiveRow);
    QPushButton* folderCaption = clickable(QStringLiteral("کلاسمان/پوشه"), this);
    second->addRow(folderCaption, folder);
    second->addRow(QStringLiteral("تعداد ضمائم"), enclosures);
    auto* voucher = new QHBoxLayout;
    voucher->addWidget(voucherNo);
    voucher->addWidget(new QLabel(QStringLiteral("تاريخ"), this));
    voucher->addWidget(voucherDate);
    second->addRow(QStringLiteral("شماره سند حسابداري"), voucher);
    second->addRow(QStringLiteral("شمارع سپام"), sepam);
    auto* marks = new QHBoxLayout;
    marks->addWidget(extendedMark);
    marks->addWidget(reducedMark);
    marks->addStretch();
    second->addRow(marks);

    auto* history = addButton(QStringLiteral("سوابق  ( F4 )"));
    connect(history, &QPushButton::clicked, this, &TDE_ZEMANAT::showHistory);
    connect(partyCaption, &QPushButton::clicked, party, &framework::CodeEdit::pick);
    connect(contractCaption, &QPushButton::clicked, contract, &framework::CodeEdit::pick);
    connect(projectCaption, &QPushButton::clicked, project, &framework::CodeEdit::pick);
    connect(branchCaption, &QPushButton::clicked, branch, &framework::CodeEdit::pick);
    connect(dueCaption, &QPushButton::clicked, this, &TDE_ZEMANAT::chooseDuration);
    connect(amountCaption, &QPushButton::clicked, this, &TDE_ZEMANAT::chooseRate);
    connect(subjectCaption, &QPushButton::clicked, this, &TDE_ZEMANAT::pickSubject);
    connect(folderCaption, &QPushButton::clicked, this, &TDE_ZEMANAT::pickFolder);
    connect(type, &QComboBox::currentIndexChanged, this, [this] { applyTypeRule(); });
    connect(amount, &QLineEdit::textChanged, this, [this] {
        const qint64 v = amount->amount();
        amountWords->setText(v > 0 ? util::AmountToWords(quint64(v)) + QStringLiteral(" ريال") : QString());
    });
    // A code typed and left is looked up at once.
    auto unknown = [this](framework::CodeEdit* field, const QString& message) {
        connect(field->editor(), &QLineEdit::editingFinished, this, [this, field, message] {
            if (field->code() && !field->isKnown()) {
                framework::ShowInfo(message, this);
                field->editor()->setFocus();
            }
        });
    };
    unknown(party, QStringLiteral("کد تفضيلي يافت نشد"));
    unknown(contract, QStringLiteral("کد قرارداد يافت نشد"));
    unknown(project, QStringLiteral("کد پروژه يافت نشد"));
    connect(number, &QLineEdit::editingFinished, this, [this] {
        if (!number->isModified() || number->text().trimmed().isEmpty())
            return;
        number->setModified(false);
        framework::MessagePrompt prompt(this);
        if (!g::Guarantees(session_).confirmNumber(current(), prompt))
            number->setFocus();
    });
    connect(archiveRow, &QLineEdit::editingFinished, this, [this] {
        if (!archiveRow->isModified())
            return;
        archiveRow->setModified(false);
        framework::MessagePrompt prompt(this);
        g::Guarantees(session_).warnArchiveRow(current(), prompt);
    });
    fillSubjects();
    resize(960, 560);
}

void TDE_ZEMANAT::fillSubjects()
{
    const QString kept = subject->currentText();
    subject->clear();
    const auto texts = g::GuaranteeSubjects(session_).texts();
    if (texts)
        subject->addItems(*texts);
    subject->setCurrentText(kept);
}

void TDE_ZEMANAT::applyTypeRule()
{
    const bool on = g::typeHasBranch(type->currentData().toInt());
    branch->setEnabled(on);
    branchCaption->setEnabled(on);
    if (!on)
        branch->setCode(std::nullopt);
}

g::Guarantee TDE_ZEMANAT::current() const
{
    g::Guarantee x = guarantee_;
    x.zno = number->text().trimmed();
    x.sudDate = issued->isEmptyDate() ? QString() : issued->text();
    x.tafsilNo = codeOf(party);
    x.payment = codeOf(contract);
    x.tarhNo = codeOf(plan);
    x.projNo = codeOf(project);
    x.sudBankCode = codeOf(branch);
    x.sarresid = due->isEmptyDate() ? QString() : due->text();
    x.type = type->currentData().toInt();
    x.kind = kind->currentData().toInt();
    x.descr = subject->currentText().trimmed();
    x.currency = currency->currentIndex();
    x.amount = amount->amount();
    x.amountArzi = util::normalizeDigits(foreignAmount->text()).remove(QLatin1Char(',')).toDouble();
    x.zpos = numberIn(archiveRow);
    x.zemPlace = folder->text().trimmed();
    x.zcount = numberIn(enclosures);
    x.sndNo = numberIn(voucherNo);
    x.sndSudDate = voucherDate->isEmptyDate() ? QString() : voucherDate->text();
    x.sepamNo = sepam->text().trimmed();
    return x;
}

void TDE_ZEMANAT::display(const g::Guarantee& x)
{
    guarantee_ = x;
    idx->setText(QString::number(x.idx));
    number->setText(x.zno);
    number->setModified(false);
    issued->setDate(x.sudDate);
    party->setCode(shown(x.tafsilNo));
    contract->setCode(shown(x.payment));
    plan->setCode(shown(x.tarhNo));
    project->setCode(shown(x.projNo));
    type->setCurrentIndex(std::max(0, type->findData(x.type)));
    branch->setCode(shown(x.sudBankCode));
    applyTypeRule();
    due->setDate(x.sarresid);
    kind->setCurrentIndex(std::max(0, kind->findData(x.kind)));
    subject->setCurrentText(x.descr);
    currency->setCurrentIndex(std::clamp(x.currency, 0, int(currency->count()) - 1));
    amount->setAmount(x.amount);
    foreignAmount->setText(x.amountArzi > 0 ? QString::number(x.amountArzi, 'f', x.amountArzi == std::floor(x.amountArzi) ? 0 : 2) : QString());
    archiveRow->setText(numberText(x.zpos));
    archiveRow->setModified(false);
    folder->setText(x.zemPlace);
    enclosures->setText(numberText(x.zcount));
    voucherNo->setText(numberText(x.sndNo));
    voucherDate->setDate(x.sndSudDate);
    sepam->setText(x.sepamNo);
    extendedMark->setVisible(x.extended());
    reducedMark->setVisible(x.reduced());
}

void TDE_ZEMANAT::clearFields()
{
    const auto fresh = g::Guarantees(session_).newGuarantee();
    if (!fresh)
        framework::ShowInfo(fresh.error(), this);
    display(fresh.value_or(g::Guarantee{}));
    number->setFocus();
}

bool TDE_ZEMANAT::loadRecord(const QVariant& key)
{
    const auto x = g::Guarantees(session_).read(key.toInt());
    if (!x) {
        framework::ShowInfo(x.failed() ? x.error() : g::notFoundText(), this);
        return false;
    }
    display(*x);
    return true;
}

bool TDE_ZEMANAT::validate(QString* message)
{
    for (const auto& [field, text] : {std::pair{party, "کد تفضيلي يافت نشد"}, std::pair{contract, "کد قرارداد يافت نشد"},
                                      std::pair{project, "کد پروژه يافت نشد"}}) {
        if (field->code() && !field->isKnown()) {
            *message = QString::fromUtf8(text);
            return false;
        }
    }
    return true;
}

std::optional<QVariant> TDE_ZEMANAT::saveRecord(QString* error)
{
    Q_UNUSED(error);
    framework::MessagePrompt prompt(this);
    const auto saved = g::Guarantees(session_).save(current(), mode() == Mode::Insert, prompt);
    if (!saved)
        return std::nullopt;
    return QVariant(*saved);
}

void TDE_ZEMANAT::showEvent(QShowEvent* event)
{
    // A read-only guarantee keeps its identifying and money fields as they are.
    const bool ro = isReadOnly();
    number->setReadOnly(ro);
    issued->setReadOnly(ro);
    due->setReadOnly(ro);
    amount->setReadOnly(ro);
    party->setEnabled(!ro);
    contract->setEnabled(!ro);
    type->setEnabled(!ro);
    framework::EntryForm::showEvent(event);
}

void TDE_ZEMANAT::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4) {
        showHistory();
        return;
    }
    if (event->key() == Qt::Key_F7 && due->hasFocus()) {
        chooseDuration();
        return;
    }
    framework::EntryForm::keyPressEvent(event);
}

void TDE_ZEMANAT::dueFromMonths(int months)
{
    framework::MessagePrompt prompt(this);
    const auto d = g::Guarantees(session_).dueFromDuration(issued->isEmptyDate() ? QString() : issued->text(), months, prompt);
    if (d)
        due->setDate(*d);
}

void TDE_ZEMANAT::chooseDuration()
{
    if (due->isReadOnly())
        return;
    QMenu menu(this);
    for (const g::Duration& d : g::dueDurations())
        menu.addAction(d.label)->setData(d.months);
    menu.addAction(g::otherDurationText())->setData(0);
    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return;
    int months = chosen->data().toInt();
    if (months == 0) {
        bool ok = false;
        months = QInputDialog::getInt(this, QStringLiteral("ساير"), g::monthsQuestionText(), 1, 1, 1200, 1, &ok);
        if (!ok)
            return;
    }
    dueFromMonths(months);
}

void TDE_ZEMANAT::valueFromContract(int perThousand)
{
    framework::MessagePrompt prompt(this);
    const auto v = g::Guarantees(session_).advanceFromContract(current(), perThousand, prompt);
    if (v)
        amount->setAmount(*v);
}

void TDE_ZEMANAT::chooseRate()
{
    if (kind->currentData().toInt() != g::KindAdvancePayment || amount->isReadOnly())
        return;
    QMenu menu(this);
    for (const g::AdvanceRate& r : g::advanceRates())
        menu.addAction(r.label)->setData(r.perThousand);
    if (QAction* chosen = menu.exec(QCursor::pos()))
        valueFromContract(chosen->data().toInt());
}

void TDE_ZEMANAT::pickSubject()
{
    framework::MessagePrompt prompt(this);
    g::GuaranteeSubjects(session_).seedWhenEmpty(prompt);
    const auto text = pickGuaranteeSubject(this, session_);
    fillSubjects();
    if (text)
        subject->setCurrentText(*text);
}

void TDE_ZEMANAT::pickFolder()
{
    if (const auto name = pickArchiveFolder(this, session_))
        folder->setText(name->left(10));
}

void TDE_ZEMANAT::showHistory()
{
    const int key = guarantee_.idx;
    if (key <= 0 || mode() == Mode::Insert)
        return;
    // The history screen with its commands; the withdrawal is off while this entry is read-only.
    auto* list = new TFZEMANATINF(session_, key);
    list->setGuaranteeReadOnly(isReadOnly());
    QDialog dialog(this);
    dialog.setWindowTitle(list->windowTitle());
    auto* box = new QVBoxLayout(&dialog);
    box->addWidget(list);
    dialog.resize(1000, 450);
    dialog.exec();
}

} // namespace orvak::ui::guarantees
