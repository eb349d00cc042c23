#pragma once
// "ماشين حساب": the four operations over typed or clicked numbers (Persian digits
// too); the result can be copied for pasting into an amount field.
#include "core/startup/Session.h"

#include <QDialog>

class QLineEdit;

namespace orvak::ui::startup {

using namespace orvak::startup;

class TFCalculator : public QDialog {
    Q_OBJECT
public:
    explicit TFCalculator(Session& session, QWidget* parent = nullptr);

    QLineEdit* expression() const { return expression_; }
    QLineEdit* result() const { return result_; }
    // "=": false, with the reason in the result field, for what cannot be worked out.
    bool calculate();
    void copyResult();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* expression_ = nullptr;
    QLineEdit* result_ = nullptr;
    QString last_;   // the last result, as copied
};

} // namespace orvak::ui::startup
