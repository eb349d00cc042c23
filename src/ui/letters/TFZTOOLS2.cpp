#include "ui/letters/TFZTOOLS2.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/letters/LetterEditor.h"
#include "ui/letters/LetterPrinting.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/Guarantees.h"
#include "core/letters/OdfExport.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvak::ui::letters {

namespace {

namespace l = orvak::letters;

QString dateOf(const framework::JalaliDateEdit* e) { return e->isEmptyDate() ? QString() : e->text(); }

QString captionOf(int kind)
{
    switch (kind) {
    case l::KindExtension: return QStringLiteral("درخواست تمديد ضمانت نامه بانكي");
    case l::KindReduction: return QStringLiteral("درخواست تقليل ضمانت نامه بانكي");
    case l::KindExtensionReduction: return QStringLiteral("درخواست تمديد و تقليل ضمانت نامه بانكي");
    default: return QStringLiteral("صدور نامه هاي مربوط به ضمانت نامه هاي بانکي");
    }
}

} // namespace

TFZTOOLS2::TFZTOOLS2(orvak::startup::Session& session, int guarantee, int kind, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , guarantee_(guarantee)
{
    setWindowTitle(captionOf(kind));
    setLayoutDirection(Qt::RightToLeft);
    kindBox = new QComboBox(this);
    kindBox->addItems(l::letterKindTexts());
    kindBox->setCurrentIndex(std::max(0, kind));
    kindBox->setEnabled(kind < 0);
    currentDue = new QLineEdit(this);
    currentDue->setReadOnly(true);
    newDue = new framework::JalaliDateEdit(this);
    currentAmount = new QLineEdit(this);
    currentAmount->setReadOnly(true);
    newAmount = new framework::AmountEdit(this);
    number = new QLineEdit(this);
    number->setMaxLength(15);
    date = new framework::JalaliDateEdit(this);
    signatory = new QComboBox(this);
    signatory->addItems(l::signatoryTexts());
    templates = new QComboBox(this);
    templates->setMinimumWidth(280);
    layout = new QComboBox(this);
    for (const l::PaperLayout& p : l::paperLayouts())
        layout->addItem(p.text, p.id);
    layout->setCurrentIndex(3);
    withCopies = new QCheckBox(QStringLiteral("رونوشت دارد"), this);
    copyCount = new QSpinBox(this);
    copyCount->setRange(1, 20);
    copyCount->setValue(1);
    registrationDate = new framework::JalaliDateEdit(this);
    receivedNo = new QLineEdit(this);
    receivedNo->setMaxLength(20);
    receivedDate = new framework::JalaliDateEdit(this);
    closing = new QLineEdit(this);
    faxDate = new framework::JalaliDateEdit(this);
    reverseDates = new QCheckBox(QStringLiteral("اگر تاريخ ها در نامه وارونه نمايش داده مي شوند، تيک بزنيد"), this);
    keepDefaults = new QCheckBox(QStringLiteral("ثبت تنظيمات فوق بعنوان پيش فرض"), this);

    auto* box = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* first = new QFormLayout;
    auto* second = new QFormLayout;
    columns->addLayout(first, 1);
    columns->addSpacing(12);
    columns->addLayout(second, 1);
    box->addLayout(columns);
    first->addRow(QStringLiteral("نوع نامه"), kindBox);
    first->addRow(QStringLiteral("سررسيد فعلي"), currentDue);
    first->addRow(QStringLiteral("سررسيد جديد (F7)"), newDue);
    first->addRow(QStringLiteral("مبلغ فعلي"), currentAmount);
    first->addRow(QStringLiteral("مبلغ جديد"), newAmount);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(number);
    auto* allocate = new QPushButton(QStringLiteral("تخصيص ش. نامه"), this);
    allocate->setAutoDefault(false);
    numberRow->addWidget(allocate);
    first->addRow(QStringLiteral("ش. نامه دبيرخانه"), numberRow);
    first->addRow(QStringLiteral("تاريخ نامه"), date);
    first->addRow(QStringLiteral("امضاء کننده"), signatory);
    first->addRow(QStringLiteral("قالب نامه"), templates);
    second->addRow(QStringLiteral("نوع برگه"), layout);
    auto* copies = new QHBoxLayout;
    copies->addWidget(withCopies);
    copies->addWidget(copyCount);
    second->addRow(QStringLiteral("تعداد کپي هاي رونوشت"), copies);
    second->addRow(QStringLiteral("تاريخ ثبت"), registrationDate);
    second->addRow(QStringLiteral("ش. نامه دريافتي"), receivedNo);
    second->addRow(QStringLiteral("تاريخ نامه دريافتي"), receivedDate);
    second->addRow(QStringLiteral("توضيح در انتهاي نامه (اختياري)"), closing);
    second->addRow(QStringLiteral("تاريخ فکس"), faxDate);
    second->addRow(reverseDates);
    second->addRow(keepDefaults);
    auto* buttons = new QHBoxLayout;
    auto* previewButton = new QPushButton(QStringLiteral("پيش نمايش نامه"), this);
    auto* editButton = new QPushButton(QStringLiteral("ويرايش نامه"), this);
    auto* wordButton = new QPushButton(QStringLiteral("ذخيره در فايل Word"), this);
    auto* registerButton = new QPushButton(QStringLiteral(" ثبت نامه درخواست (F10)"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج"), this);
    for (QPushButton* b : {previewButton, editButton, wordButton, registerButton, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    box->addLayout(buttons);
    connect(allocate, &QPushButton::clicked, this, &TFZTOOLS2::allocateNumber);
    connect(previewButton, &QPushButton::clicked, this, &TFZTOOLS2::preview);
    connect(editButton, &QPushButton::clicked, this, &TFZTOOLS2::editLetter);
    connect(wordButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("ذخيره در فايل Word"), QString(), QStringLiteral("OpenDocument (*.odt)"));
        if (!path.isEmpty())
            saveForWordProcessor(path.endsWith(QStringLiteral(".odt"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".odt"));
    });
    connect(registerButton, &QPushButton::clicked, this, &TFZTOOLS2::registerLetter);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    connect(kindBox, &QComboBox::currentIndexChanged, this, [this] {
        fillTemplates();
        edited_.clear();
    });
    for (QWidget* w : std::initializer_list<QWidget*>{newDue, newAmount, number, date, receivedNo, receivedDate, closing})
        if (auto* e = qobject_cast<QLineEdit*>(w))
            connect(e, &QLineEdit::textEdited, this, [this] { edited_.clear(); });

    const auto g = orvak::guarantees::Guarantees(session).read(guarantee);
    if (g) {
        currentDue->setText(g->sarresid);
        currentAmount->setText(g->amount > 0 ? util::FormatAmount(g->amount) : QString());
    }
    fillTemplates();
    loadDefaults();
}

void TFZTOOLS2::fillTemplates()
{
    templates->clear();
    const auto list = l::LetterTemplates(session_).ofKind(kindBox->currentIndex());
    if (list) {
        for (const l::LetterTemplate& t : *list)
            templates->addItem(t.title, t.code);
    }
}

l::LetterRequest TFZTOOLS2::request() const
{
    l::LetterRequest r;
    r.guarantee = guarantee_;
    r.templateCode = templates->currentData().toInt();
    r.kind = kindBox->currentIndex();
    r.input.newDue = dateOf(newDue);
    if (newAmount->amount() > 0)
        r.input.newAmount = newAmount->amount();
    r.input.extensionMonths = months_;
    r.input.receivedNo = receivedNo->text();
    r.input.receivedDate = dateOf(receivedDate);
    r.input.secretariatNo = number->text();
    r.input.secretariatDate = dateOf(date);
    r.input.reverseDates = reverseDates->isChecked();
    r.layout = layout->currentData().toInt();
    r.withCopies = withCopies->isChecked();
    r.copyCount = copyCount->value();
    r.signatory = signatory->currentIndex();
    r.closing = closing->text();
    r.registrationDate = dateOf(registrationDate);
    return r;
}

std::optional<l::PreparedLetter> TFZTOOLS2::prepare()
{
    framework::MessagePrompt prompt(this);
    if (templates->count() == 0) {
        prompt.info(l::dialogIncompleteText());
        return std::nullopt;
    }
    return l::GuaranteeLetters(session_).prepare(request(), prompt);
}

std::vector<l::LetterPage> TFZTOOLS2::pages()
{
    auto letter = prepare();
    if (!letter)
        return {};
    if (!edited_.isEmpty()) {
        letter->body = edited_;
        return l::GuaranteeLetters(session_).pagesOf(*letter, request());
    }
    return letter->pages;
}

void TFZTOOLS2::allocateNumber()
{
    const auto next = l::LetterSettings(session_).nextNumber();
    if (!next) {
        framework::ShowInfo(next.error(), this);
        return;
    }
    number->setText(next->text);
    date->setDate(session_.clock().todayJalali());
    edited_.clear();
}

bool TFZTOOLS2::preview()
{
    const auto shown = pages();
    if (shown.empty())
        return false;
    previewLetters(shown, windowTitle(), this);
    return true;
}

bool TFZTOOLS2::editLetter()
{
    auto letter = prepare();
    if (!letter)
        return false;
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("ويرايش نامه"));
    auto* box = new QVBoxLayout(&dialog);
    auto* editor = new LetterEditor(&dialog);
    editor->setHtml(edited_.isEmpty() ? letter->body : edited_);
    box->addWidget(editor);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->addWidget(ok);
    connect(ok, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(ok, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(800, 560);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edited_ = editor->html();
    return true;
}

bool TFZTOOLS2::saveForWordProcessor(const QString& path)
{
    const auto letter = prepare();
    if (!letter)
        return false;
    QString why;
    if (!l::writeOdt(edited_.isEmpty() ? letter->body : edited_, path, &why)) {
        framework::ShowInfo(why, this);
        return false;
    }
    return true;
}

bool TFZTOOLS2::registerLetter()
{
    const auto letter = prepare();
    if (!letter)
        return false;
    framework::MessagePrompt prompt(this);
    const auto row = l::GuaranteeLetters(session_).registerRequest(*letter, request(), edited_, prompt);
    if (!row)
        return false;
    if (keepDefaults->isChecked())
        storeDefaults();
    framework::ShowInfo(QStringLiteral("نامه شماره %1 در سوابق تضمين ثبت شد").arg(letter->number), this);
    accept();
    return true;
}

void TFZTOOLS2::chooseDuration()
{
    QMenu menu(this);
    for (const orvak::guarantees::Duration& d : orvak::guarantees::dueDurations().mid(0, 4))
        menu.addAction(d.label)->setData(d.months);
    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return;
    framework::MessagePrompt prompt(this);
    const auto due = orvak::guarantees::addMonths(currentDue->text(), chosen->data().toInt());
    if (!due) {
        prompt.info(QStringLiteral("سررسيد فعلي ثبت نشده است"));
        return;
    }
    months_ = chosen->data().toInt();
    newDue->setDate(*due);
    edited_.clear();
}

void TFZTOOLS2::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F7 && newDue->hasFocus()) {
        chooseDuration();
        return;
    }
    if (event->key() == Qt::Key_F10) {
        registerLetter();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFZTOOLS2::loadDefaults()
{
    QSettings s(session_.startDir() + QStringLiteral("/LetterDefaults.ini"), QSettings::IniFormat);
    layout->setCurrentIndex(std::clamp(s.value(QStringLiteral("Layout"), 3).toInt(), 0, int(layout->count()) - 1));
    signatory->setCurrentIndex(std::clamp(s.value(QStringLiteral("Signatory"), 0).toInt(), 0, int(signatory->count()) - 1));
    withCopies->setChecked(s.value(QStringLiteral("Copies"), false).toBool());
    copyCount->setValue(s.value(QStringLiteral("CopyCount"), 1).toInt());
    reverseDates->setChecked(s.value(QStringLiteral("ReverseDates"), false).toBool());
}

void TFZTOOLS2::storeDefaults() const
{
    QSettings s(session_.startDir() + QStringLiteral("/LetterDefaults.ini"), QSettings::IniFormat);
    s.setValue(QStringLiteral("Layout"), layout->currentIndex());
    s.setValue(QStringLiteral("Signatory"), signatory->currentIndex());
    s.setValue(QStringLiteral("Copies"), withCopies->isChecked());
    s.setValue(QStringLiteral("CopyCount"), copyCount->value());
    s.setValue(QStringLiteral("ReverseDates"), reverseDates->isChecked());
}

} // namespace orvak::ui::letters
