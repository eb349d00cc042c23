#pragma once
// The letter template editor: identifier and title, the rich-text body with its
// tools and placeholder menu, the letter kind, the copies (the copy chooser), the
// offsets, orientation, letters per sheet and paper size, the positioned items of
// a template for pre-printed stationery, preview and saving for a word processor.
#include "ui/framework/EntryForm.h"
#include "core/letters/LetterTemplates.h"
#include "core/startup/Session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace orvak::ui::letters {

class LetterEditor;

class TDE_LETTERTEMPLATES : public framework::EntryForm {
    Q_OBJECT
public:
    TDE_LETTERTEMPLATES(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* code = nullptr;
    QLineEdit* title = nullptr;
    LetterEditor* editor = nullptr;
    QComboBox* kind = nullptr;
    QLabel* copiesLabel = nullptr;
    QSpinBox* offsetTop = nullptr;
    QSpinBox* offsetLeft = nullptr;
    QComboBox* orientation = nullptr;
    QComboBox* perSheet = nullptr;
    QComboBox* paperSize = nullptr;
    QCheckBox* positioned = nullptr;
    QTableWidget* items = nullptr;
    QLineEdit* word1 = nullptr;
    QLineEdit* word2 = nullptr;

    orvak::letters::LetterTemplate current() const;
    void setCopies(const QList<int>& copies);
    void chooseCopies();
    bool saveForWordProcessor(const QString& path);
    void preview();

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    void display(const orvak::letters::LetterTemplate& t);
    void updateTitleBar(const QString& file = {});

    orvak::startup::Session& session_;
    orvak::letters::LetterTemplate template_;
};

} // namespace orvak::ui::letters
