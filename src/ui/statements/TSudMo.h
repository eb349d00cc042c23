#pragma once
// "مغايرت بانکي": the statement account, the month and the three criteria; the match
// shows its plan and asks before it writes, and the account's last run can be undone.
#include "ui/framework/Doing.h"
#include "core/statements/BankMatching.h"
#include "core/startup/Session.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orvak::ui::framework {
class CodeEdit;
}

namespace orvak::ui::statements {

class TSudMo : public QWidget {
    Q_OBJECT
public:
    explicit TSudMo(orvak::startup::Session& session, QWidget* parent = nullptr);

    void setMonth(int year, int month);
    orvak::statements::MatchRequest request() const;
    // The plan as the screen shows it before matching (its failure's text otherwise).
    QString preview();
    // "تطابق با صورتحساب بانک" and "برگشت آخرين تطابق", asking through prompt.
    orvak::statements::MatchOutcome match(orvak::startup::Prompt& prompt);
    orvak::statements::MatchOutcome undo(orvak::startup::Prompt& prompt);

    framework::CodeEdit* account = nullptr;
    QComboBox* year = nullptr;
    QComboBox* month = nullptr;
    QCheckBox* sameAmount = nullptr;
    QCheckBox* sameDate = nullptr;
    QCheckBox* sameNumber = nullptr;
    QLabel* plan = nullptr;
    QPushButton* matchButton = nullptr;
    QPushButton* undoButton = nullptr;

public slots:
    void setReadOnly(bool readOnly);

private:
    orvak::startup::Session& session_;
    bool readOnly_ = false;
};

} // namespace orvak::ui::statements
