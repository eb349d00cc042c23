#pragma once
// Commands the base-data lists share: new, edit and delete through an entry form and
// a service, and the searches by code and by a word in the name.
#include "ui/framework/Doing.h"
#include "ui/framework/EntryForm.h"
#include "ui/framework/ListScreen.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <memory>

class QComboBox;

namespace orvak::ui::basedata {

using FormMaker = std::function<std::unique_ptr<framework::EntryForm>(framework::ListScreen& list)>;
using RowRemover = std::function<bool(framework::ListScreen& list, startup::Prompt& prompt)>;

// "جديد (Ins)", "ويرايش (F10)" (Enter too, where the list is no picker) and "حذف (Del)".
QList<framework::ListCommand> entryCommands(FormMaker makeForm, RowRemover remove);

// A typed text; nullopt when the user cancels.
std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label);

// The message-box prompt whose typed answers are asked under a title of their own
// (the change of a number asks under "تغيير کد").
class TitledPrompt : public framework::MessagePrompt {
public:
    TitledPrompt(QWidget* parent, QString title)
        : MessagePrompt(parent)
        , title_(std::move(title))
    {
    }
    std::optional<QString> askText(const QString& label, bool masked) override;

private:
    QString title_;
};

// A typed whole number; nullopt (after saying so when something else was typed)
// when the user cancels or types no number.
std::optional<qint64> askNumber(QWidget* parent, const QString& title, const QString& label);

// Positions on the typed code, or says " يافت نشــد ".
framework::ListCommand codeSearch(const QString& caption, const QString& title, const QString& label);
// Shows the rows whose field holds the typed word (normalised Persian search).
framework::ListCommand nameSearch(const QString& caption, const QString& title, const QString& label, const QString& field);

// A kept list of a section's rows follows the section: true when its :CI was
// another section's (and now is the current one's).
bool followSection(framework::ListScreen& list, startup::Session& session);

// A combo above the grid (the parameters' kind, the descriptions' scope).
QComboBox* addChoiceRow(framework::ListScreen& list, const QString& label, const QStringList& choices);

// Stands on the key, or says " يافت نشــد " when the list does not hold it.
bool standOnCode(framework::ListScreen& list, qint64 code);

} // namespace orvak::ui::basedata
