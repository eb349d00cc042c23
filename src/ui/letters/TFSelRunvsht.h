#pragma once
// "انتخاب رونوشت نامه ها": the program's copy recipients as a check list, with new,
// edit and delete; "تأييد" hands back at most four chosen entries.
#include "core/letters/LetterTemplates.h"
#include "core/startup/Session.h"

#include <QDialog>

class QListWidget;

namespace orvak::ui::letters {

class TFSelRunvsht : public QDialog {
    Q_OBJECT
public:
    TFSelRunvsht(orvak::startup::Session& session, const QList<int>& chosen, QWidget* parent = nullptr);

    QList<int> chosen() const;   // the ticked entries' IDX, in list order
    void setTicked(int idx, bool ticked);
    // "تأييد": refuses a fifth copy with its message.
    bool confirm();
    void reload();
    bool editCopy(bool insert);
    bool removeCopy();

    QListWidget* list = nullptr;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::letters
