#include "ui/basedata/CodedEntryForm.h"

#include "ui/framework/MessageBoxes.h"
#include "core/util/Numbers.h"

#include <QFormLayout>

namespace orvak::ui::basedata {

std::optional<qint64> typedNumber(const QLineEdit* edit)
{
    return edit->text().trimmed().isEmpty() ? std::nullopt : util::parseWholeNumber(edit->text());
}

CodedEntryForm::CodedEntryForm(const QString& title, const QString& codeCaption, const QString& nameCaption, int nameLength, QWidget* parent)
    : CodedEntry(title, codeCaption, FetchedProposer([this] { return proposedCode(); }), parent)
{
    code->setMaxLength(10);
    name = textField(this, nameLength);
    form()->addRow(nameCaption, name);
}

void CodedEntryForm::clearRow()
{
    name->clear();
    clearMore();
}

bool CodedEntryForm::loadRecord(const QVariant& key)
{
    const db::Fetched<QString> found = readName(key.toLongLong());
    if (!found) {
        framework::ShowError(found.failed() ? found.error() : QStringLiteral("يافت نشــد"), this);
        return false;
    }
    showCode(key.toLongLong());
    name->setText(*found);
    return loadMore(key.toLongLong());
}

bool CodedEntryForm::validate(QString* message)
{
    // Missing data is the list's to tell, in its own words.
    if (!code->text().trimmed().isEmpty() && !typedNumber(code)) {
        *message = QStringLiteral("کد بايد عدد باشد : ") + code->text().left(20);
        return false;
    }
    return true;
}

std::optional<QVariant> CodedEntryForm::saveRecord(QString* error)
{
    const qint64 c = typedNumber(code).value_or(0);
    startup::CollectingPrompt collect;
    if (!write(c, name->text(), mode() == Mode::Insert, collect)) {
        *error = collect.text();
        return std::nullopt;
    }
    return QVariant(c);
}

} // namespace orvak::ui::basedata
