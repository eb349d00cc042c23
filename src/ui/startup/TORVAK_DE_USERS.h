#pragma once
// Entry of one of the family's users: his personal record and the family's switches.
// Opened on the logged-in user's own record (startOwnRecord) it keeps the personal
// fields only: the switches are shown, not changed, and no new record follows.
#include "ui/framework/EntryForm.h"
#include "core/startup/Users.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::startup {

using namespace orvak::startup;

class TORVAK_DE_USERS : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TORVAK_DE_USERS(Session& session, QWidget* parent = nullptr);
    // The logged-in user's record; a new one under his code when he has none yet.
    bool startOwnRecord();

    QLineEdit* code = nullptr;
    QLineEdit* lastName = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* personCode = nullptr;
    QLineEdit* madrak = nullptr;
    QLineEdit* job = nullptr;
    QLineEdit* post = nullptr;
    QLineEdit* semat = nullptr;
    QComboBox* eskind = nullptr;
    framework::JalaliDateEdit* birthDate = nullptr;
    framework::JalaliDateEdit* employmentDate = nullptr;
    QCheckBox* manager = nullptr;
    QCheckBox* enabled = nullptr;
    QCheckBox* changeOthers = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showUser(const FamilyUser& u);
    void setOwnRecord(bool own);

    Session& session_;
    bool own_ = false;
};

} // namespace orvak::ui::startup
