#pragma once
// "سوابق تغييرات،عمليات و صدور نامه ها": a guarantee's letters and answers, with the
// answer (F10), the letter shown again as it was produced (F9), the references'
// edit, and the withdrawal of the last letter; and "عمليات تضمين", the operation
// screen that collects an answer, a letter recorded with its answer, or the edit.
#include "ui/framework/ListScreen.h"
#include "core/guarantees/GuaranteeOperations.h"
#include "core/startup/Session.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace orvak::ui::framework {
class JalaliDateEdit;
}

namespace orvak::ui::guarantees {

using orvak::startup::Session;

class TFzemchang : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Answer, Edit, Record };
    TFzemchang(Session& session, int idx, Mode mode, const orvak::guarantees::HistoryRow& row, QWidget* parent = nullptr);

    // "ادامه (F10)": the answer, the edit or the recorded operation through the service;
    // the dialog closes when it was written.
    bool save();

    QLineEdit* receivedNo = nullptr;
    framework::JalaliDateEdit* receivedDate = nullptr;
    QLineEdit* currentDue = nullptr;
    framework::JalaliDateEdit* newDue = nullptr;
    QLineEdit* currentAmount = nullptr;
    QLineEdit* reducedAmount = nullptr;
    framework::JalaliDateEdit* operationDate = nullptr;
    QComboBox* kindBox = nullptr;
    QComboBox* approver = nullptr;
    QLineEdit* sentNo = nullptr;
    framework::JalaliDateEdit* sentDate = nullptr;
    QLineEdit* newNumber = nullptr;

private:
    Session& session_;
    int idx_;
    Mode mode_;
    orvak::guarantees::HistoryRow row_;
};

class TFZEMANATINF : public framework::ListScreen {
    Q_OBJECT
public:
    TFZEMANATINF(Session& session, int idx, QWidget* parent = nullptr);

    int currentRow() const { return currentKey().toInt(); }
    void answerLetter();
    void showLetter();
    void editLetter();
    void withdrawLetter();
    void recordOperation();
    void setGuaranteeReadOnly(bool readOnly);
    // The letter's text exactly as it was kept.
    QString letterText() const;

private:
    // The list read again, standing on the last letter.
    void standOnLast();

    Session& session_;
    int idx_;
};

} // namespace orvak::ui::guarantees
