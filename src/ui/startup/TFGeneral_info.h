#pragma once
// "اطلاعات کلي مربوط به سازمان": the organisation settings of the deposits database,
// one field per column of the organisation-settings table.
#include "ui/framework/EntryForm.h"
#include "core/startup/Session.h"

#include <QMap>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFGeneral_info : public framework::EntryForm {
    Q_OBJECT
public:
    explicit TFGeneral_info(Session& session, QWidget* parent = nullptr);
    QMap<QString, QLineEdit*> fields;   // by column

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    Session& session_;
};

} // namespace orvak::ui::startup
