#pragma once
// The entry dialog of a short coded list (a group, a trade, a parameter): a coded
// entry whose code is always typed (the proposal is sent as typed), the name, and any
// rows the screen adds. Missing data is the list's own to tell.
#include "ui/basedata/CodedEntry.h"

#include <QLineEdit>

namespace orvak::ui::basedata {

class CodedEntryForm : public CodedEntry {
    Q_OBJECT
public:
    CodedEntryForm(const QString& title, const QString& codeCaption, const QString& nameCaption, int nameLength, QWidget* parent);
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

    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;
};

// A whole number typed in a field; nullopt when empty or not one.
std::optional<qint64> typedNumber(const QLineEdit* edit);

} // namespace orvak::ui::basedata
