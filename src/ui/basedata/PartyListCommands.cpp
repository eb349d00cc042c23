#include "ui/basedata/PartyListCommands.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/io/FilterExpression.h"
#include "core/startup/Rights.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace orvak::ui::basedata {

using framework::ListCommand;
using framework::ListScreen;

QList<ListCommand> entryCommands(FormMaker makeForm, RowRemover remove)
{
    auto edit = [makeForm](ListScreen& list, bool insert) {
        std::unique_ptr<framework::EntryForm> form = makeForm(list);
        list.runEntryForm(*form, insert);
    };
    return {
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](ListScreen& l) { edit(l, true); }, false, true, startup::AccessInsert},
        {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F10), [edit](ListScreen& l) { edit(l, false); }, true, false, 0},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [remove](ListScreen& l) {
             framework::MessagePrompt prompt(&l);
             const int row = l.currentSourceRow();
             if (remove(l, prompt))
                 l.reopen(row > 0 ? io::fieldValue(l.model().rows(), row - 1, l.frame().keyField) : QVariant());
         },
         true, true, startup::AccessDelete},
    };
}

std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> TitledPrompt::askText(const QString& label, bool masked)
{
    QInputDialog dialog(parent_);
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setWindowTitle(title_);
    dialog.setLabelText(label);
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("تاييد"));
    dialog.setCancelButtonText(QStringLiteral("انصراف"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool followSection(ListScreen& list, startup::Session& session)
{
    const int section = session.SectionCode().toInt();
    const QVariant shown = list.frame().params.value(QStringLiteral(":CI"));
    if (shown.isValid() && shown.toInt() == section)
        return false;
    list.setParameter(QStringLiteral(":CI"), section);
    return true;
}

QComboBox* addChoiceRow(ListScreen& list, const QString& label, const QStringList& choices)
{
    auto* combo = new QComboBox(&list);
    combo->addItems(choices);
    auto* row = new QHBoxLayout;
    if (!label.isEmpty())
        row->addWidget(new QLabel(label, &list));
    row->addWidget(combo);
    row->addStretch();
    static_cast<QVBoxLayout*>(list.layout())->insertLayout(0, row);
    return combo;
}

bool standOnCode(ListScreen& list, qint64 code)
{
    list.reopen(code);
    if (list.currentKey().toLongLong() == code && list.currentSourceRow() >= 0)
        return true;
    framework::ShowInfo(QStringLiteral(" يافت نشــد "), &list);
    return false;
}

std::optional<qint64> askNumber(QWidget* parent, const QString& title, const QString& label)
{
    const std::optional<QString> typed = askText(parent, title, label);
    if (!typed)
        return std::nullopt;
    const std::optional<qint64> n = util::parseWholeNumber(*typed);
    if (!n)
        framework::ShowInfo(QStringLiteral("عدد وارد شده معتبر نيست : ") + typed->left(20), parent);
    return n;
}

ListCommand codeSearch(const QString& caption, const QString& title, const QString& label)
{
    return {caption, QKeySequence(Qt::CTRL | Qt::Key_K),
            [title, label](ListScreen& l) {
                if (const std::optional<qint64> code = askNumber(&l, title, label))
                    standOnCode(l, *code);
            },
            false, false, 0};
}

ListCommand nameSearch(const QString& caption, const QString& title, const QString& label, const QString& field)
{
    return {caption, QKeySequence(Qt::CTRL | Qt::Key_F),
            [title, label, field](ListScreen& l) {
                const std::optional<QString> word = askText(&l, title, label);
                if (!word)
                    return;
                if (word->trimmed().isEmpty())
                    l.removeFilters();
                else
                    l.setFilterText(io::filterTerm(field, QStringLiteral("LIKE"), word->trimmed(), true));
            },
            false, false, 0};
}

} // namespace orvak::ui::basedata
