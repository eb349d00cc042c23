#pragma once
// The list screens of the base-data registers on the standard frame: a row of
// filters above the grid, the searches by code and by a word of the name (the
// normalised comparison, user text never becoming SQL), the new / edit / delete
// commands over the register's entry form, and the current financial section kept
// in the lists that are kept per section.
#include "ui/framework/EntryForm.h"
#include "ui/framework/ListScreen.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QHBoxLayout;

namespace orvak::ui::basedata {

using orvak::startup::Session;

class RegisterList : public framework::ListScreen {
    Q_OBJECT
public:
    RegisterList(Session& session, io::ListDefinition definition, framework::ListUi ui, QWidget* parent = nullptr);

    Session& session() const { return session_; }

    // A choice bound to a parameter of the query: the list opens again on a change.
    QComboBox* addChoice(const QString& label, const QString& parameter, const QList<std::pair<QString, QVariant>>& choices);
    // A tick box of the filter row.
    QCheckBox* addCheck(const QString& caption, std::function<void()> changed);
    // A button of the filter row.
    QPushButton* addSearch(const QString& caption, std::function<void()> run);

    // Asks a word and shows the rows whose field holds it; an empty word shows all.
    void searchWord(const QString& field, const QString& question);
    // Asks a text and stands on the first row whose field equals it, or says " يافت نشــد ".
    bool locate(const QString& field, const QString& question);
    // Stands on the row whose field equals the text; false when none does.
    bool standOnText(const QString& field, const QString& text);

    // The two searches of most registers: stand on a code, show the rows whose name
    // holds a word.
    void addCodeAndNameSearch(const QString& codeQuestion, const QString& nameField, const QString& nameQuestion);

    // The parameter that holds the section (CI); the list opens again when the
    // section changed since it was last shown, after onChange (titles, say).
    void followSection(const QString& parameter, std::function<void()> onChange = {});

protected:
    void showEvent(QShowEvent* event) override;

private:
    QHBoxLayout* filterRow();

    Session& session_;
    QHBoxLayout* filters_ = nullptr;
    QString sectionParameter_;
    QString shownSection_;
    std::function<void()> onSectionChange_;
};

// "همه" (-1), then the years that can be chosen, latest first.
QList<std::pair<QString, QVariant>> yearChoices(const Session& session);
// "همه" (the given value), then every code's name of the list.
QList<std::pair<QString, QVariant>> codeChoices(const QList<std::pair<qint64, QString>>& names, qint64 all = -1);

// The entry form of a row, made for each opening.
using FormMaker = std::function<std::unique_ptr<framework::EntryForm>(framework::ListScreen& list)>;
// The register's delete of a code.
using Remover = std::function<bool(qint64 code, orvak::startup::Prompt& prompt)>;

// "جديد (Ins)", "ويرايش (F2)", "حذف (Del)" over the form and the delete, then the
// screen's own commands.
framework::ListUi registerCommands(FormMaker form, Remover remove, QList<framework::ListCommand> more = {});

// The same over the entry form class Form(session, list) and the register's service
// Service(session).remove.
template <class Form, class Service>
framework::ListUi registerCommandsOf(Session& session, QList<framework::ListCommand> more = {})
{
    return registerCommands([&session](framework::ListScreen& l) { return std::make_unique<Form>(session, &l); },
                            [&session](qint64 code, orvak::startup::Prompt& prompt) { return Service(session).remove(code, prompt); }, std::move(more));
}

} // namespace orvak::ui::basedata
