#pragma once
// Entry of one of the family's users: name, post and employment kind; the fields
// this screen does not show keep their stored values.
#include "ui/framework/EntryForm.h"
#include "core/startup/Users.h"

class QComboBox;
class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TORVAK_DE_USERS : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TORVAK_DE_USERS(Session& session, QWidget* parent = nullptr);
    QLineEdit* code = nullptr;
    QLineEdit* lastName = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* post = nullptr;
    QComboBox* eskind = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
    FamilyUser loaded_;
};

} // namespace orvak::ui::startup
