#include "ui/letters/TDE_LETTERTEMPLATES.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/letters/LetterEditor.h"
#include "ui/letters/LetterPrinting.h"
#include "ui/letters/TFSelRunvsht.h"
#include "core/letters/OdfExport.h"
#include "core/startup/Program.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace orvak::ui::letters {

namespace {

namespace l = orvak::letters;

QStringList copiesText(const QList<int>& copies)
{
    QStringList t;
    for (int c : copies)
        t << QString::number(c);
    return t;
}

const QStringList itemColumns = {QStringLiteral("از چپ"), QStringLiteral("از بالا"), QStringLiteral("اندازه قلم"), QStringLiteral("عرض"),
                                 QStringLiteral("ارتفاع"), QStringLiteral("پررنگ"), QStringLiteral("قلم")};

} // namespace

TDE_LETTERTEMPLATES::TDE_LETTERTEMPLATES(orvak::startup::Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("قالب نامه ها"), parent)
    , session_(session)
{
    if (saveAndNewButton())
        saveAndNewButton()->setText(QStringLiteral("ثبت و جديد (F9)"));
    saveAndCloseButton()->setText(QStringLiteral("ثبت و خروج  (F10)"));
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("خروج بدون ذخيره"))
            b->setText(QStringLiteral("خروج بدون ثبت"));
    }
    code = new QLineEdit(this);
    code->setReadOnly(true);
    title = new QLineEdit(this);
    title->setMaxLength(100);
    editor = new LetterEditor(this);
    kind = new QComboBox(this);
    kind->addItems(l::letterKindTexts());
    copiesLabel = new QLabel(this);
    offsetTop = new QSpinBox(this);
    offsetTop->setRange(0, 300);
    offsetLeft = new QSpinBox(this);
    offsetLeft->setRange(0, 300);
    orientation = new QComboBox(this);
    orientation->addItems({QStringLiteral("عمودي"), QStringLiteral("افقي")});
    perSheet = new QComboBox(this);
    perSheet->addItems({QStringLiteral("يک نامه"), QStringLiteral("دو نامه")});
    paperSize = new QComboBox(this);
    paperSize->addItems({QStringLiteral("A5"), QStringLiteral("A4")});
    positioned = new QCheckBox(QStringLiteral("طراحي قالب نامه"), this);
    items = new QTableWidget(l::PositionedItemCount, int(itemColumns.size()), this);
    items->setHorizontalHeaderLabels(itemColumns);
    items->setVerticalHeaderLabels(l::positionedItemTexts());
    items->horizontalHeader()->setStretchLastSection(true);
    items->setMinimumHeight(150);
    word1 = new QLineEdit(this);
    word2 = new QLineEdit(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("کد"), this));
    top->addWidget(code);
    top->addWidget(new QLabel(QStringLiteral("عنوان"), this));
    top->addWidget(title, 1);
    top->addWidget(new QLabel(QStringLiteral("نوع نامه"), this));
    top->addWidget(kind);
    form()->addRow(top);
    form()->addRow(editor);
    auto* page = new QHBoxLayout;
    auto* copies = new QPushButton(QStringLiteral("رونوشت"), this);
    copies->setAutoDefault(false);
    page->addWidget(copies);
    page->addWidget(new QLabel(QStringLiteral("کد رونوشت ها:"), this));
    page->addWidget(copiesLabel);
    page->addSpacing(10);
    page->addWidget(new QLabel(QStringLiteral("تنظيم از بالا"), this));
    page->addWidget(offsetTop);
    page->addWidget(new QLabel(QStringLiteral("تنظيم از چپ"), this));
    page->addWidget(offsetLeft);
    page->addWidget(orientation);
    page->addWidget(perSheet);
    page->addWidget(paperSize);
    page->addStretch();
    form()->addRow(page);
    form()->addRow(positioned);
    form()->addRow(items);
    auto* words = new QHBoxLayout;
    words->addWidget(new QLabel(QStringLiteral("کلمه آزاد 1"), this));
    words->addWidget(word1);
    words->addWidget(new QLabel(QStringLiteral("کلمه آزاد 2"), this));
    words->addWidget(word2);
    form()->addRow(words);
    auto* previewButton = addButton(QStringLiteral("پيش نمايش"));
    auto* wordButton = addButton(QStringLiteral("ذخيره در Word"));
    connect(copies, &QPushButton::clicked, this, &TDE_LETTERTEMPLATES::chooseCopies);
    connect(previewButton, &QPushButton::clicked, this, &TDE_LETTERTEMPLATES::preview);
    connect(wordButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("ذخيره در Word"), title->text(), QStringLiteral("OpenDocument (*.odt)"));
        if (!path.isEmpty())
            saveForWordProcessor(path.endsWith(QStringLiteral(".odt"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".odt"));
    });
    auto showItems = [this] {
        items->setVisible(positioned->isChecked());
        word1->setEnabled(positioned->isChecked());
        word2->setEnabled(positioned->isChecked());
    };
    connect(positioned, &QCheckBox::toggled, this, showItems);
    showItems();
    resize(980, 720);
}

void TDE_LETTERTEMPLATES::updateTitleBar(const QString& file)
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(startup::SystemTitlePlural(), file.isEmpty() ? title->text() : QFileInfo(file).fileName()));
}

l::LetterTemplate TDE_LETTERTEMPLATES::current() const
{
    l::LetterTemplate t = template_;
    t.title = title->text().trimmed();
    t.contents = editor->html();
    t.kind = kind->currentIndex();
    t.offsetTop = offsetTop->value();
    t.offsetLeft = offsetLeft->value();
    t.landscape = orientation->currentIndex();
    t.perSheet = perSheet->currentIndex();
    t.paperSize = paperSize->currentIndex();
    t.positioned = positioned->isChecked();
    for (int i = 0; i < l::PositionedItemCount; ++i) {
        auto cell = [&](int c) { return items->item(i, c) ? items->item(i, c)->text().trimmed() : QString(); };
        l::PositionedItem& p = t.items[size_t(i)];
        p.left = cell(0).toInt();
        p.top = cell(1).toInt();
        p.size = cell(2).isEmpty() ? 10 : cell(2).toInt();
        p.width = cell(3).isEmpty() ? 40 : cell(3).toInt();
        p.height = cell(4).isEmpty() ? 8 : cell(4).toInt();
        p.bold = cell(5) == QStringLiteral("1");
        p.font = cell(6);
    }
    t.word1 = word1->text();
    t.word2 = word2->text();
    return t;
}

void TDE_LETTERTEMPLATES::setCopies(const QList<int>& copies)
{
    for (int i = 0; i < 4; ++i)
        template_.copies[size_t(i)] = copies.value(i, 0);
    copiesLabel->setText(copiesText(template_.chosenCopies()).join(QStringLiteral("، ")));
}

void TDE_LETTERTEMPLATES::chooseCopies()
{
    TFSelRunvsht chooser(session_, template_.chosenCopies(), this);
    if (chooser.exec() == QDialog::Accepted)
        setCopies(chooser.chosen());
}

void TDE_LETTERTEMPLATES::display(const l::LetterTemplate& t)
{
    template_ = t;
    code->setText(t.code > 0 ? QString::number(t.code) : QString());
    title->setText(t.title);
    editor->setHtml(t.contents);
    kind->setCurrentIndex(std::clamp(t.kind, 0, int(kind->count()) - 1));
    setCopies(t.chosenCopies());
    offsetTop->setValue(t.offsetTop);
    offsetLeft->setValue(t.offsetLeft);
    orientation->setCurrentIndex(std::clamp(t.landscape, 0, 1));
    perSheet->setCurrentIndex(std::clamp(t.perSheet, 0, 1));
    paperSize->setCurrentIndex(std::clamp(t.paperSize, 0, 1));
    positioned->setChecked(t.positioned);
    for (int i = 0; i < l::PositionedItemCount; ++i) {
        const l::PositionedItem& p = t.items[size_t(i)];
        const QStringList cells{QString::number(p.left), QString::number(p.top), QString::number(p.size), QString::number(p.width),
                                QString::number(p.height), p.bold ? QStringLiteral("1") : QStringLiteral("0"), p.font};
        for (int c = 0; c < cells.size(); ++c)
            items->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    word1->setText(t.word1);
    word2->setText(t.word2);
    updateTitleBar();
}

void TDE_LETTERTEMPLATES::clearFields()
{
    l::LetterTemplate t;
    const auto next = l::LetterTemplates(session_).proposedCode();
    t.code = next.value_or(0);
    t.paperSize = 0;
    t.offsetTop = 40;
    t.offsetLeft = 15;
    display(t);
    title->setFocus();
}

bool TDE_LETTERTEMPLATES::loadRecord(const QVariant& key)
{
    const auto t = l::LetterTemplates(session_).read(key.toInt());
    if (!t) {
        framework::ShowInfo(t.failed() ? t.error() : QStringLiteral("قالب نامه مورد نظر يافت نشد"), this);
        return false;
    }
    display(*t);
    return true;
}

bool TDE_LETTERTEMPLATES::validate(QString* message)
{
    if (title->text().trimmed().isEmpty()) {
        *message = l::incompleteText();
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_LETTERTEMPLATES::saveRecord(QString* error)
{
    Q_UNUSED(error);
    framework::MessagePrompt prompt(this);
    const auto saved = l::LetterTemplates(session_).save(current(), mode() == Mode::Insert, prompt);
    if (!saved)
        return std::nullopt;
    return QVariant(*saved);
}

bool TDE_LETTERTEMPLATES::saveForWordProcessor(const QString& path)
{
    QString why;
    if (!l::writeOdt(editor->html(), path, &why)) {
        framework::ShowInfo(why, this);
        return false;
    }
    updateTitleBar(path);
    return true;
}

void TDE_LETTERTEMPLATES::preview()
{
    // The template as it stands, its placeholders unfilled, on its own paper.
    l::LetterPage page;
    const l::LetterTemplate t = current();
    page.layout = t.positioned ? 2 : (t.paperSize == 1 ? 6 : 3);
    page.a4 = t.paperSize == 1;
    page.landscape = t.landscape == 1;
    page.twoPerSheet = t.perSheet == 1;
    page.offsetLeft = t.offsetLeft;
    page.offsetTop = t.offsetTop;
    page.bodyHtml = t.contents;
    page.subject = t.title;
    page.sender = session_.site().organisationName;
    page.organisationLines << session_.site().organisationName;
    for (int i = 0; i < l::PositionedItemCount; ++i) {
        const l::PositionedItem& p = t.items[size_t(i)];
        if (p.left > 0 || p.top > 0)
            page.placed.push_back({double(p.left), double(p.top), double(p.width), double(p.height), double(p.size), p.bold, p.font,
                                   l::positionedItemTexts()[i]});
    }
    previewLetters({page}, windowTitle(), this);
}

} // namespace orvak::ui::letters
