#pragma once
// The request, refund and float lists on the standard frame: a second row of
// conditions bound to the query's parameters (an owner or contract picked, a date,
// a typed text), each reopening the list when it changes, and "پاک کردن شرايط" that
// sets them back to their defaults. The screens add their own commands.
#include "ui/basedata/RegisterList.h"

#include <optional>

class QLabel;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::deposits {

using orvak::startup::Session;

class ConditionList : public basedata::RegisterList {
    Q_OBJECT
public:
    ConditionList(Session& session, io::ListDefinition definition, framework::ListUi ui, QWidget* parent = nullptr);

    // A button that picks a party into the parameter (-1: any), with its key.
    void addOwnerCondition(const QString& caption, const QString& parameter, const QKeySequence& key = {});
    // A button that picks a contract (of the owner chosen in ownerParameter, if any).
    void addContractCondition(const QString& caption, const QString& parameter, const QString& ownerParameter = {});
    // A date bound to the parameter (empty: no bound).
    framework::JalaliDateEdit* addDateCondition(const QString& label, const QString& parameter);
    // A typed text bound to the parameter (empty: any).
    QLineEdit* addTextCondition(const QString& label, const QString& parameter);
    // A choice of its own row (the first row holds the register's other choices).
    QComboBox* addChoiceCondition(const QString& label, const QString& parameter, const QList<std::pair<QString, QVariant>>& choices);
    // "پاک کردن شرايط".
    void addClearConditions();

    // A parameter set from outside (a caller that opens the list on one request).
    void setCondition(const QString& parameter, const QVariant& value, const QString& shown = {});

    // A key that runs the frame's command (whose caption names the key itself).
    void bindKey(const QKeySequence& key, int command);
    // Stands on the first row whose field holds the number; false when none does.
    bool standOnNumber(const QString& field, qint64 value);
    // A field of the current row, invalid without one.
    QVariant currentField(const QString& field) const;
    // The fields of the rows the grid shows, in its order.
    QList<QVariantMap> shownFields(const QStringList& fields);

signals:
    void conditionsChanged();

private:
    QHBoxLayout* row();
    struct Condition {
        QString parameter;
        QVariant initial;
        std::function<void()> clear;
    };
    void remember(const QString& parameter, std::function<void()> clear);

    QHBoxLayout* row_ = nullptr;
    QList<Condition> conditions_;
    QHash<QString, QLabel*> shownNames_;
};

// The list in a dialog of its own with "انتخاب" (the selected rows, or the current
// one) and "انتخاب همه" (every row the grid shows, in its order): the fields of the
// rows chosen, nullopt when the user leaves. The dialog takes the list over.
std::optional<QList<QVariantMap>> chooseRows(framework::ListScreen* list, const QStringList& fields, QWidget* parent);

// A screen shown modally over the parent, in a dialog that takes it over; the screen
// is gone when this returns.
void runModal(QWidget* screen, QWidget* parent);

// A typed amount asked with a proposal; nullopt when the user leaves or it is no amount.
std::optional<qint64> askAmount(QWidget* parent, const QString& title, const QString& label, qint64 proposal);

} // namespace orvak::ui::deposits
