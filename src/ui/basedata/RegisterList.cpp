#include "ui/basedata/RegisterList.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/PlanBankLists.h"
#include "core/io/FilterExpression.h"
#include "core/letters/ReportFooter.h"
#include "core/startup/Rights.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::basedata {

namespace {

// The report of a register list is signed as the footer of its kind says (the
// frame's own default).
framework::ListUi signedBy(Session&, framework::ListUi ui) { return ui; }

} // namespace

RegisterList::RegisterList(Session& session, io::ListDefinition definition, framework::ListUi ui, QWidget* parent)
    : framework::ListScreen(session, std::move(definition), signedBy(session, std::move(ui)), parent)
    , session_(session)
{
}

QHBoxLayout* RegisterList::filterRow()
{
    if (!filters_) {
        filters_ = new QHBoxLayout;
        filters_->addStretch();
        // Between the commands and the grid.
        if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
            box->insertLayout(1, filters_);
    }
    return filters_;
}

QComboBox* RegisterList::addChoice(const QString& label, const QString& parameter, const QList<std::pair<QString, QVariant>>& choices)
{
    QHBoxLayout* row = filterRow();
    auto* combo = new QComboBox(this);
    for (const auto& [text, value] : choices)
        combo->addItem(text, value);
    row->insertWidget(row->count() - 1, new QLabel(label, this));
    row->insertWidget(row->count() - 1, combo);
    connect(combo, &QComboBox::activated, this, [this, combo, parameter] {
        setParameter(parameter, combo->currentData());
        reopen();
    });
    return combo;
}

QCheckBox* RegisterList::addCheck(const QString& caption, std::function<void()> changed)
{
    QHBoxLayout* row = filterRow();
    auto* box = new QCheckBox(caption, this);
    connect(box, &QCheckBox::toggled, this, [changed = std::move(changed)] { changed(); });
    row->insertWidget(row->count() - 1, box);
    return box;
}

QPushButton* RegisterList::addSearch(const QString& caption, std::function<void()> run)
{
    QHBoxLayout* row = filterRow();
    auto* button = new QPushButton(caption, this);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [run = std::move(run)] { run(); });
    row->insertWidget(row->count() - 1, button);
    return button;
}

void RegisterList::searchWord(const QString& field, const QString& question)
{
    framework::MessagePrompt prompt(this);
    const std::optional<QString> word = prompt.askText(question, false);
    if (!word)
        return;
    if (word->trimmed().isEmpty())
        removeFilters();
    else
        setFilterText(io::filterContains(field, *word));
}

bool RegisterList::standOnText(const QString& field, const QString& text)
{
    model().fetchAll();
    const int row = orvak::basedata::findRow(model().rows(), field, text);
    const int gridRow = row >= 0 ? model().gridRowOf(row) : -1;
    if (gridRow < 0)
        return false;
    const QModelIndex index = model().index(gridRow, 0);
    grid()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid()->scrollTo(index);
    return true;
}

bool RegisterList::locate(const QString& field, const QString& question)
{
    framework::MessagePrompt prompt(this);
    const std::optional<QString> text = prompt.askText(question, false);
    if (!text || text->trimmed().isEmpty())
        return false;
    if (standOnText(field, *text))
        return true;
    framework::ShowInfo(QStringLiteral(" يافت نشــد "), this);
    return false;
}

void RegisterList::addCodeAndNameSearch(const QString& codeQuestion, const QString& nameField, const QString& nameQuestion)
{
    const QString codeField = frame().keyField;
    addSearch(codeQuestion, [this, codeField, codeQuestion] { locate(codeField, codeQuestion); });
    addSearch(nameQuestion, [this, nameField, nameQuestion] { searchWord(nameField, nameQuestion); });
}

void RegisterList::followSection(const QString& parameter, std::function<void()> onChange)
{
    sectionParameter_ = parameter;
    onSectionChange_ = std::move(onChange);
    shownSection_ = session_.SectionCode();
    setParameter(parameter, shownSection_.toInt());
    if (onSectionChange_)
        onSectionChange_();
}

void RegisterList::showEvent(QShowEvent* event)
{
    framework::ListScreen::showEvent(event);
    if (sectionParameter_.isEmpty() || shownSection_ == session_.SectionCode())
        return;
    followSection(sectionParameter_, onSectionChange_);
    reopen();
}

QList<std::pair<QString, QVariant>> yearChoices(const Session& session)
{
    QList<std::pair<QString, QVariant>> choices{{QStringLiteral("همه"), -1}};
    const QList<int> years = session.selectableYears();
    for (auto y = years.rbegin(); y != years.rend(); ++y)
        choices.append({QString::number(*y), *y});
    return choices;
}

QList<std::pair<QString, QVariant>> codeChoices(const QList<std::pair<qint64, QString>>& names, qint64 all)
{
    QList<std::pair<QString, QVariant>> choices{{QStringLiteral("همه"), all}};
    for (const auto& [code, name] : names)
        choices.append({QStringLiteral("%1 - %2").arg(code).arg(name), code});
    return choices;
}

framework::ListUi registerCommands(FormMaker form, Remover remove, QList<framework::ListCommand> more)
{
    auto edit = [form](framework::ListScreen& list, bool insert) {
        const std::unique_ptr<framework::EntryForm> f = form(list);
        list.runEntryForm(*f, insert);
    };
    framework::ListUi ui;
    ui.commands = {
        {QStringLiteral("جديد"), QKeySequence(Qt::Key_Insert), [edit](framework::ListScreen& l) { edit(l, true); }, false, true, startup::AccessInsert},
        {QStringLiteral("ويرايش"), QKeySequence(Qt::Key_F2), [edit](framework::ListScreen& l) { edit(l, false); }, true, true, startup::AccessEditOwn},
        {QStringLiteral("حذف"), QKeySequence(Qt::Key_Delete),
         [remove](framework::ListScreen& l) {
             framework::MessagePrompt prompt(&l);
             if (remove(l.currentKey().toLongLong(), prompt))
                 l.reopen();
         },
         true, true, startup::AccessDelete},
    };
    ui.commands << more;
    return ui;
}

} // namespace orvak::ui::basedata
