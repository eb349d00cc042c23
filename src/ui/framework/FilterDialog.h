#pragma once
// "محدود سازي و فيلتر نمودن پيشرفته اطلاعات": the filter built from terms.
#include "core/io/FilterExpression.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace orvak::ui::framework {

class ListModel;

class TfrmFilter : public QDialog {
    Q_OBJECT
public:
    TfrmFilter(const ListModel& model, const QString& current, QWidget* parent = nullptr);
    // The expression to apply; empty when the user cancelled.
    std::optional<io::FilterExpression> expression() const { return result_; }

    // For tests and callers that build terms without the mouse.
    void addTerm(int column, const QString& op, const QString& value, const QString& upper = {});
    QString text() const;
    void setText(const QString& text);
    bool check(QString* message) const;   // "صحيح است" or the syntax error
    void accept() override;

private:
    void refreshValues();
    QStringList fieldNames() const;

    const ListModel& model_;
    QComboBox* field_ = nullptr;
    QComboBox* op_ = nullptr;
    QComboBox* value_ = nullptr;
    QLineEdit* upper_ = nullptr;
    QRadioButton* and_ = nullptr;
    QPlainTextEdit* expression_ = nullptr;
    std::optional<io::FilterExpression> result_;
};

} // namespace orvak::ui::framework
