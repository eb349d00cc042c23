#include "ui/letters/LetterEditor.h"

#include "core/letters/LetterFill.h"

#include <QFontComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvak::ui::letters {

namespace {

QToolButton* toolButton(const QString& text, const QString& tip, QWidget* parent, bool checkable = false)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(checkable);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

LetterEditor::LetterEditor(QWidget* parent)
    : QWidget(parent)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QHBoxLayout;
    font_ = new QFontComboBox(this);
    size_ = new QSpinBox(this);
    size_->setRange(6, 48);
    size_->setValue(12);
    auto* bold = toolButton(QStringLiteral("B"), QStringLiteral("پررنگ"), this, true);
    auto* italic = toolButton(QStringLiteral("I"), QStringLiteral("کج"), this, true);
    auto* underline = toolButton(QStringLiteral("U"), QStringLiteral("زيرخط"), this, true);
    auto* right = toolButton(QStringLiteral("راست"), QStringLiteral("تراز از راست"), this);
    auto* centre = toolButton(QStringLiteral("وسط"), QStringLiteral("تراز وسط"), this);
    auto* left = toolButton(QStringLiteral("چپ"), QStringLiteral("تراز از چپ"), this);
    auto* bullets = toolButton(QStringLiteral("•"), QStringLiteral("نشانه گذاري"), this);
    auto* indent = toolButton(QStringLiteral("→|"), QStringLiteral("تورفتگي"), this);
    auto* outdent = toolButton(QStringLiteral("|←"), QStringLiteral("کاهش تورفتگي"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{font_, size_, bold, italic, underline, right, centre, left, bullets, indent, outdent})
        tools->addWidget(w);
    tools->addStretch();
    box->addLayout(tools);
    text_ = new QTextEdit(this);
    text_->setAcceptRichText(true);
    text_->setLayoutDirection(Qt::RightToLeft);
    QTextOption o = text_->document()->defaultTextOption();
    o.setTextDirection(Qt::RightToLeft);
    text_->document()->setDefaultTextOption(o);
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    box->addWidget(text_);

    connect(bold, &QToolButton::toggled, this, &LetterEditor::setBold);
    connect(italic, &QToolButton::toggled, this, &LetterEditor::setItalic);
    connect(underline, &QToolButton::toggled, this, &LetterEditor::setUnderline);
    connect(right, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignRight | Qt::AlignAbsolute); });
    connect(centre, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignHCenter); });
    connect(left, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); });
    connect(bullets, &QToolButton::clicked, this, &LetterEditor::toggleBullets);
    auto indentBy = [this](int step) {
        QTextCursor c = text_->textCursor();
        QTextBlockFormat f = c.blockFormat();
        f.setIndent(std::max(0, f.indent() + step));
        c.setBlockFormat(f);
    };
    connect(indent, &QToolButton::clicked, this, [indentBy] { indentBy(1); });
    connect(outdent, &QToolButton::clicked, this, [indentBy] { indentBy(-1); });
    connect(font_, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) { setFontFamily(f.family()); });
    connect(size_, &QSpinBox::valueChanged, this, &LetterEditor::setFontSize);
    connect(text_, &QTextEdit::customContextMenuRequested, this, &LetterEditor::showMenu);
    connect(text_, &QTextEdit::currentCharFormatChanged, this, [bold, italic, underline](const QTextCharFormat& f) {
        const QSignalBlocker a(bold), b(italic), c(underline);
        bold->setChecked(f.fontWeight() >= QFont::Bold);
        italic->setChecked(f.fontItalic());
        underline->setChecked(f.fontUnderline());
    });
}

QString LetterEditor::html() const { return text_->toHtml(); }
void LetterEditor::setHtml(const QString& html) { text_->setHtml(html); }
QString LetterEditor::plainText() const { return text_->toPlainText(); }

void LetterEditor::insertPlaceholder(const QString& phrase) { text_->textCursor().insertText(phrase); }

void LetterEditor::setBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    text_->mergeCurrentCharFormat(f);
}

void LetterEditor::setItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    text_->mergeCurrentCharFormat(f);
}

void LetterEditor::setUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    text_->mergeCurrentCharFormat(f);
}

void LetterEditor::setAlignment(Qt::Alignment a) { text_->setAlignment(a); }

void LetterEditor::toggleBullets()
{
    QTextCursor c = text_->textCursor();
    if (QTextList* list = c.currentList()) {
        QTextBlockFormat f = c.blockFormat();
        list->remove(c.block());
        f.setIndent(0);
        c.setBlockFormat(f);
        return;
    }
    QTextListFormat f;
    f.setStyle(QTextListFormat::ListDisc);
    c.createList(f);
}

void LetterEditor::setFontFamily(const QString& family)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    text_->mergeCurrentCharFormat(f);
}

void LetterEditor::setFontSize(int points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    text_->mergeCurrentCharFormat(f);
}

void LetterEditor::showMenu(const QPoint& at)
{
    std::unique_ptr<QMenu> menu(text_->createStandardContextMenu());
    menu->addSeparator();
    QMenu* fields = menu->addMenu(QStringLiteral("درج متغير"));
    for (const QString& phrase : orvak::letters::menuPlaceholders())
        fields->addAction(phrase, this, [this, phrase] { insertPlaceholder(phrase); });
    menu->exec(text_->mapToGlobal(at));
}

} // namespace orvak::ui::letters
