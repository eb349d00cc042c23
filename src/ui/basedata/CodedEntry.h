#pragma once
// The entry form of a base-data row: its code first, proposed as largest + 1 in
// insert mode (kept as proposed, the code is taken afresh as the row is written, so
// that two workstations do not clash) and fixed in edit mode. Messages of a refused
// save are the register's own.
#include "ui/framework/EntryForm.h"
#include "core/db/Db.h"
#include "core/startup/Prompt.h"

#include <functional>

class QLineEdit;

namespace orvak::ui::basedata {

class CodedEntry : public framework::EntryForm {
    Q_OBJECT
public:
    using Proposer = std::function<std::optional<qint64>()>;
    // A proposal whose failed read is shown.
    using FetchedProposer = std::function<db::Fetched<qint64>()>;
    CodedEntry(const QString& title, const QString& codeCaption, Proposer propose, QWidget* parent = nullptr);
    CodedEntry(const QString& title, const QString& codeCaption, FetchedProposer propose, QWidget* parent = nullptr);

    QLineEdit* code = nullptr;
    // The register's own spelling of "incomplete", so that a screen says it one way.
    void setIncompleteText(QString text) { incomplete_ = std::move(text); }

protected:
    // Clears the fields of the row; the code is proposed by the base.
    virtual void clearRow() = 0;
    void clearFields() final;
    // The code to save: 0 for the proposal kept in insert mode; nullopt when what
    // was typed is not a code.
    std::optional<qint64> codeToSave() const;
    // The code typed, read in edit mode and after a save.
    void showCode(qint64 value);
    // validate(): the code checked here, then the row's own checks.
    bool validate(QString* message) override;
    // The save through the register: its messages become the form's error.
    std::optional<QVariant> saved(const std::function<std::optional<qint64>(qint64 code, orvak::startup::Prompt&)>& save, QString* error);

private:
    FetchedProposer propose_;
    QString proposal_;
    QString incomplete_;
};

// A save through a service that speaks through a prompt: the saved key, or nullopt
// with what it said; warnings that did not stop the save are shown.
std::optional<QVariant> savedThrough(QWidget* parent, const std::function<std::optional<qint64>(orvak::startup::Prompt&)>& save,
                                     QString* error);

// A text field holding at most the column's width.
QLineEdit* textField(QWidget* parent, int width);
// A whole number typed (Persian digits too); 0 when empty, nullopt when not a number.
std::optional<qint64> numberIn(const QLineEdit* field);
QString numberText(qint64 value);

} // namespace orvak::ui::basedata
