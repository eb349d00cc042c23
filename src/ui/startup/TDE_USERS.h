#pragma once
// Entry of one of this program's users: code, manager and enabled flags, SEL1..SEL5
// and, for a new user, the password.
#include "ui/framework/EntryForm.h"
#include "core/startup/Session.h"

#include <QCheckBox>
#include <QSpinBox>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TDE_USERS : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TDE_USERS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QCheckBox* manager = nullptr;
    QCheckBox* enabled = nullptr;
    QSpinBox* sel[5] = {};
    QLineEdit* password = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
};

} // namespace orvak::ui::startup
