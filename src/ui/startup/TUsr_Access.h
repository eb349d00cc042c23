#pragma once
// "كنتــرل امنيت عبور كاربران": the guarded entries and a user's kinds of access.
#include "core/startup/Session.h"
#include "core/startup/Users.h"

#include <QDialog>

class QTableWidget;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TUsr_Access : public QDialog {
    Q_OBJECT
public:
    TUsr_Access(Session& session, int userCode, QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }
    bool saveChanges();
    void bulk(BulkRights what);
    void applyToSelected();   // F9: the current row's kinds on every selected row
    bool hasChanges() const { return changed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void load(const QList<Right>& rights);
    QList<Right> current() const;

    Session& session_;
    int user_;
    QTableWidget* table_ = nullptr;
    QList<Right> shown_;
    bool changed_ = false;
};

} // namespace orvak::ui::startup
