#pragma once
// The entry dialog of a short coded list (a group, a trade, a parameter): the code,
// proposed as largest + 1 for a new row and fixed while editing, the name, and any
// rows the screen adds.
#include "ui/framework/EntryForm.h"
#include "core/db/Db.h"
#include "core/startup/Prompt.h"

#include <QLineEdit>

namespace orvak::ui::basedata {

class CodedEntryForm : public framework::EntryForm {
    Q_OBJECT
public:
    CodedEntryForm(const QString& title, const QString& codeCaption, const QString& nameCaption, int nameLength, QWidget* parent);
    QLineEdit* code = nullptr;
    QLineEdit* name = nullptr;

protected:
    virtual db::Fetched<qint64> proposedCode() = 0;
    virtual db::Fetched<QString> readName(qint64 code) = 0;
    virtual bool write(qint64 code, const QString& name, bool insert, startup::Prompt& prompt) = 0;
    // The screen's own fields.
    virtual void clearMore() {}
    virtual bool loadMore(qint64 code)
    {
        Q_UNUSED(code);
        return true;
    }

    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;
};

// A whole number typed in a field (Persian digits too); nullopt when empty or not one.
std::optional<qint64> typedNumber(const QLineEdit* edit);

} // namespace orvak::ui::basedata
