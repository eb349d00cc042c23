#pragma once
// The rich-text editor of letters: font name and size, bold, italic, underline,
// left/centre/right alignment, bullets, indents, and the placeholder menu (right
// click, "درج متغير"), which inserts exactly the phrases of the placeholder table
// as plain text.
#include <QWidget>

class QFontComboBox;
class QSpinBox;
class QTextEdit;
class QToolButton;

namespace orvak::ui::letters {

class LetterEditor : public QWidget {
    Q_OBJECT
public:
    explicit LetterEditor(QWidget* parent = nullptr);

    QString html() const;
    void setHtml(const QString& html);
    QString plainText() const;
    QTextEdit* text() const { return text_; }
    // Inserts a placeholder phrase at the cursor, in the cursor's format.
    void insertPlaceholder(const QString& phrase);
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setAlignment(Qt::Alignment a);
    void toggleBullets();
    void setFontFamily(const QString& family);
    void setFontSize(int points);

private:
    void showMenu(const QPoint& at);

    QTextEdit* text_ = nullptr;
    QFontComboBox* font_ = nullptr;
    QSpinBox* size_ = nullptr;
};

} // namespace orvak::ui::letters
