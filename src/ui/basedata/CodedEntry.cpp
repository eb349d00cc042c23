#include "ui/basedata/CodedEntry.h"

#include "ui/framework/MessageBoxes.h"
#include "core/basedata/CodedTable.h"
#include "core/util/Numbers.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

CodedEntry::CodedEntry(const QString& title, const QString& codeCaption, Proposer propose, QWidget* parent)
    : CodedEntry(title, codeCaption,
                 FetchedProposer([propose = std::move(propose)] {
                     const std::optional<qint64> next = propose ? propose() : std::nullopt;
                     return next ? db::Fetched<qint64>::found(*next) : db::Fetched<qint64>::none();
                 }),
                 parent)
{
}

CodedEntry::CodedEntry(const QString& title, const QString& codeCaption, FetchedProposer propose, QWidget* parent)
    : framework::EntryForm(title, parent)
    , propose_(std::move(propose))
{
    code = new QLineEdit(this);
    code->setMaximumWidth(120);
    form()->addRow(codeCaption, code);
}

void CodedEntry::clearFields()
{
    const db::Fetched<qint64> next = propose_ ? propose_() : db::Fetched<qint64>::none();
    if (next.failed())
        framework::ShowError(next.error(), this);
    proposal_ = next ? QString::number(*next) : QString();
    code->setText(proposal_);
    code->setReadOnly(false);
    clearRow();
}

void CodedEntry::showCode(qint64 value)
{
    code->setText(QString::number(value));
    code->setReadOnly(true);
}

std::optional<qint64> CodedEntry::codeToSave() const
{
    if (mode() == Mode::Insert && !proposal_.isEmpty() && code->text().trimmed() == proposal_)
        return 0;
    return orvak::basedata::typedCode(code->text());
}

bool CodedEntry::validate(QString* message)
{
    if (code->text().trimmed().isEmpty()) {
        *message = incomplete_.isEmpty() ? orvak::basedata::incompleteText() : incomplete_;
        return false;
    }
    if (!codeToSave()) {
        *message = QStringLiteral("کد بايد عددي بزرگتر از صفر باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> CodedEntry::saved(const std::function<std::optional<qint64>(qint64, orvak::startup::Prompt&)>& save, QString* error)
{
    const qint64 code = mode() == Mode::Insert ? codeToSave().value_or(0) : key().toLongLong();
    return savedThrough(this, [&](orvak::startup::Prompt& prompt) { return save(code, prompt); }, error);
}

std::optional<QVariant> savedThrough(QWidget* parent, const std::function<std::optional<qint64>(orvak::startup::Prompt&)>& save,
                                     QString* error)
{
    orvak::startup::CollectingPrompt collect;
    const std::optional<qint64> saved = save(collect);
    if (!saved) {
        *error = collect.text();
        return std::nullopt;
    }
    // Warnings that did not stop the save.
    if (!collect.infos.isEmpty())
        framework::ShowInfo(collect.text(), parent);
    return QVariant(*saved);
}

QLineEdit* textField(QWidget* parent, int width)
{
    auto* field = new QLineEdit(parent);
    field->setMaxLength(width);
    return field;
}

std::optional<qint64> numberIn(const QLineEdit* field)
{
    const QString text = field->text().trimmed();
    if (text.isEmpty())
        return 0;
    return util::parseWholeNumber(util::normalizeDigits(text));
}

QString numberText(qint64 value) { return value ? QString::number(value) : QString(); }

} // namespace orvak::ui::basedata
