#include "ui/deposits/ConditionList.h"

#include "ui/basedata/ContractPickers.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QItemSelectionModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace orvak::ui::deposits {

ConditionList::ConditionList(Session& session, io::ListDefinition definition, framework::ListUi ui, QWidget* parent)
    : basedata::RegisterList(session, std::move(definition), std::move(ui), parent)
{
}

QHBoxLayout* ConditionList::row()
{
    if (!row_) {
        row_ = new QHBoxLayout;
        row_->addStretch();
        // Under the commands and the first row of choices, above the grid.
        if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
            box->insertLayout(box->indexOf(grid()), row_);
    }
    return row_;
}

void ConditionList::remember(const QString& parameter, std::function<void()> clear)
{
    conditions_.append({parameter, frame().params.value(parameter), std::move(clear)});
}

void ConditionList::addOwnerCondition(const QString& caption, const QString& parameter, const QKeySequence& key)
{
    auto* button = new QPushButton(caption, this);
    button->setFocusPolicy(Qt::NoFocus);
    auto* name = new QLabel(this);
    name->setMinimumWidth(150);
    shownNames_.insert(parameter, name);
    row()->insertWidget(row()->count() - 1, button);
    row()->insertWidget(row()->count() - 1, name);
    auto pick = [this, parameter, name] {
        const auto picked = basedata::pickParty(this, session());
        if (!picked)
            return;
        name->setText(QString::number(picked->code) + QLatin1Char(' ') + picked->name);
        setParameter(parameter, int(picked->code));
        reopen();
        emit conditionsChanged();
    };
    connect(button, &QPushButton::clicked, this, pick);
    if (!key.isEmpty()) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, pick);
    }
    remember(parameter, [name] { name->clear(); });
}

void ConditionList::addContractCondition(const QString& caption, const QString& parameter, const QString& ownerParameter)
{
    auto* button = new QPushButton(caption, this);
    button->setFocusPolicy(Qt::NoFocus);
    auto* name = new QLabel(this);
    name->setMinimumWidth(110);
    shownNames_.insert(parameter, name);
    row()->insertWidget(row()->count() - 1, button);
    row()->insertWidget(row()->count() - 1, name);
    connect(button, &QPushButton::clicked, this, [this, parameter, ownerParameter, name] {
        const int owner = ownerParameter.isEmpty() ? -1 : frame().params.value(ownerParameter).toInt();
        const auto picked = basedata::pickContract(this, session(), owner > 0 ? owner : 0);
        if (!picked)
            return;
        name->setText(picked->current.value(QStringLiteral("PAYMENTNO")).toString());
        setParameter(parameter, picked->current.value(QStringLiteral("CODE")).toInt());
        reopen();
        emit conditionsChanged();
    });
    remember(parameter, [name] { name->clear(); });
}

framework::JalaliDateEdit* ConditionList::addDateCondition(const QString& label, const QString& parameter)
{
    auto* edit = new framework::JalaliDateEdit(this);
    edit->setDate(frame().params.value(parameter).toString());
    row()->insertWidget(row()->count() - 1, new QLabel(label, this));
    row()->insertWidget(row()->count() - 1, edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, parameter] {
        if (!edit->isEmptyDate() && !edit->date())
            return;   // the frame's own check tells a date that is none
        const QString value = edit->isEmptyDate() ? QString() : edit->text();
        if (frame().params.value(parameter).toString() == value)
            return;
        setParameter(parameter, value);
        reopen();
        emit conditionsChanged();
    });
    const QString initial = frame().params.value(parameter).toString();
    remember(parameter, [edit, initial] { edit->setDate(initial); });
    return edit;
}

QLineEdit* ConditionList::addTextCondition(const QString& label, const QString& parameter)
{
    auto* edit = new QLineEdit(this);
    edit->setMaximumWidth(120);
    row()->insertWidget(row()->count() - 1, new QLabel(label, this));
    row()->insertWidget(row()->count() - 1, edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, parameter] {
        const QString value = util::normalizeDigits(edit->text().trimmed());
        if (frame().params.value(parameter).toString() == value)
            return;
        setParameter(parameter, value);
        reopen();
        emit conditionsChanged();
    });
    remember(parameter, [edit] { edit->clear(); });
    return edit;
}

QComboBox* ConditionList::addChoiceCondition(const QString& label, const QString& parameter, const QList<std::pair<QString, QVariant>>& choices)
{
    auto* combo = new QComboBox(this);
    for (const auto& [text, value] : choices)
        combo->addItem(text, value);
    row()->insertWidget(row()->count() - 1, new QLabel(label, this));
    row()->insertWidget(row()->count() - 1, combo);
    connect(combo, &QComboBox::activated, this, [this, combo, parameter] {
        setParameter(parameter, combo->currentData());
        reopen();
        emit conditionsChanged();
    });
    remember(parameter, [combo] { combo->setCurrentIndex(0); });
    return combo;
}

void ConditionList::addClearConditions()
{
    auto* clear = new QPushButton(QStringLiteral("پاک کردن شرايط"), this);
    clear->setFocusPolicy(Qt::NoFocus);
    row()->insertWidget(row()->count() - 1, clear);
    connect(clear, &QPushButton::clicked, this, [this] {
        for (const Condition& c : conditions_) {
            setParameter(c.parameter, c.initial);
            c.clear();
        }
        reopen();
        emit conditionsChanged();
    });
}

void ConditionList::setCondition(const QString& parameter, const QVariant& value, const QString& shown)
{
    setParameter(parameter, value);
    if (QLabel* name = shownNames_.value(parameter))
        name->setText(shown);
}

QVariant ConditionList::currentField(const QString& field) const
{
    const int row = currentSourceRow();
    return row < 0 ? QVariant() : io::fieldValue(const_cast<ConditionList*>(this)->model().rows(), row, field);
}

void ConditionList::bindKey(const QKeySequence& key, int command)
{
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command); });
}

bool ConditionList::standOnNumber(const QString& field, qint64 value)
{
    model().fetchAll();
    const int column = model().rows().fieldIndex(field);
    for (int gridRow = 0; column >= 0 && gridRow < model().rowCount(); ++gridRow) {
        if (qint64(std::llround(model().rows().number(model().sourceRow(gridRow), column))) == value) {
            const QModelIndex index = model().index(gridRow, 0);
            grid()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            grid()->scrollTo(index);
            return true;
        }
    }
    return false;
}

QList<QVariantMap> ConditionList::shownFields(const QStringList& fields)
{
    QList<QVariantMap> out;
    for (int row : shownRows()) {
        QVariantMap m;
        for (const QString& f : fields)
            m.insert(f, io::fieldValue(model().rows(), row, f));
        out << m;
    }
    return out;
}

std::optional<QList<QVariantMap>> chooseRows(framework::ListScreen* list, const QStringList& fields, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(list->windowTitle());
    auto* box = new QVBoxLayout(&dialog);
    box->addWidget(list);
    auto* buttons = new QHBoxLayout;
    auto* chosen = new QPushButton(QStringLiteral("انتخاب"), &dialog);
    auto* all = new QPushButton(QStringLiteral("انتخاب همه"), &dialog);
    auto* leave = new QPushButton(QStringLiteral("خروج"), &dialog);
    for (QPushButton* b : {chosen, all, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    box->addLayout(buttons);
    std::optional<QList<QVariantMap>> result;
    auto take = [&](const std::vector<int>& rows) {
        QList<QVariantMap> out;
        for (int row : rows) {
            QVariantMap m;
            for (const QString& f : fields)
                m.insert(f, io::fieldValue(list->model().rows(), row, f));
            out << m;
        }
        result = out;
        dialog.accept();
    };
    QObject::connect(chosen, &QPushButton::clicked, &dialog, [&] {
        // In the grid's order.
        std::vector<int> gridRows, rows;
        for (const QModelIndex& i : list->grid()->selectionModel()->selectedRows())
            gridRows.push_back(i.row());
        std::sort(gridRows.begin(), gridRows.end());
        for (int g : gridRows)
            rows.push_back(list->model().sourceRow(g));
        if (rows.empty() && list->currentSourceRow() >= 0)
            rows.push_back(list->currentSourceRow());
        if (!rows.empty())
            take(rows);
    });
    QObject::connect(all, &QPushButton::clicked, &dialog, [&] { take(list->shownRows()); });
    QObject::connect(leave, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.resize(list->size());
    list->reopen();
    dialog.exec();
    return result;
}

void runModal(QWidget* screen, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(screen->windowTitle());
    auto* box = new QVBoxLayout(&dialog);
    box->setContentsMargins(0, 0, 0, 0);
    const QSize size = screen->size();
    box->addWidget(screen);
    dialog.resize(size);
    dialog.exec();
}

std::optional<qint64> askAmount(QWidget* parent, const QString& title, const QString& label, qint64 proposal)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, proposal > 0 ? util::FormatAmount(proposal) : QString(), &ok);
    if (!ok)
        return std::nullopt;
    const std::optional<qint64> amount = util::parseAmount(text);
    if (!amount) {
        framework::ShowError(QStringLiteral("مبلغ درست وارد نشده است: ") + text, parent);
        return std::nullopt;
    }
    return amount;
}

} // namespace orvak::ui::deposits
