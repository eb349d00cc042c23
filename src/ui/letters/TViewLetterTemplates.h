#pragma once
// "قالب نامه ها": the program's letter templates by kind, with new, edit and delete
// over the template editor.
#include "ui/framework/ListScreen.h"
#include "core/startup/Session.h"

namespace orvak::ui::letters {

class TViewLetterTemplates : public framework::ListScreen {
    Q_OBJECT
public:
    explicit TViewLetterTemplates(orvak::startup::Session& session, QWidget* parent = nullptr);
    void newTemplate();
    void editTemplate();
    void removeTemplate();

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::letters
