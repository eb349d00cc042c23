#pragma once
// "صدور نامه هاي مربوط به ضمانت نامه هاي بانکي": a guarantee's letter of a kind, from
// the kind's templates, with the new due date or amount, the secretariat number
// ("تخصيص ش. نامه"), the signatory, the paper layout, the copies, the received
// letter, the closing remark and the reverse-dates option; preview, editing the
// finished letter, saving it for a word processor, and registering the request.
#include "core/letters/GuaranteeLetters.h"
#include "core/startup/Session.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTextEdit;

namespace orvak::ui::framework {
class AmountEdit;
class JalaliDateEdit;
}

namespace orvak::ui::letters {

class TFZTOOLS2 : public QDialog {
    Q_OBJECT
public:
    // kind -1: the general letters first, any kind may be chosen.
    TFZTOOLS2(orvak::startup::Session& session, int guarantee, int kind, QWidget* parent = nullptr);

    // What the fields ask for now.
    orvak::letters::LetterRequest request() const;
    // The letter as it would print now; nullopt after telling why.
    std::optional<orvak::letters::PreparedLetter> prepare();
    // The pages as the preview and print take them.
    std::vector<orvak::letters::LetterPage> pages();
    void allocateNumber();
    bool preview();
    bool editLetter();
    bool saveForWordProcessor(const QString& path);
    bool registerLetter();

    QComboBox* kindBox = nullptr;
    QLineEdit* currentDue = nullptr;
    framework::JalaliDateEdit* newDue = nullptr;
    QLineEdit* currentAmount = nullptr;
    framework::AmountEdit* newAmount = nullptr;
    QLineEdit* number = nullptr;
    framework::JalaliDateEdit* date = nullptr;
    QComboBox* signatory = nullptr;
    QComboBox* templates = nullptr;
    QComboBox* layout = nullptr;
    QCheckBox* withCopies = nullptr;
    QSpinBox* copyCount = nullptr;
    framework::JalaliDateEdit* registrationDate = nullptr;
    QLineEdit* receivedNo = nullptr;
    framework::JalaliDateEdit* receivedDate = nullptr;
    QLineEdit* closing = nullptr;
    framework::JalaliDateEdit* faxDate = nullptr;
    QCheckBox* reverseDates = nullptr;
    QCheckBox* keepDefaults = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillTemplates();
    void chooseDuration();
    void loadDefaults();
    void storeDefaults() const;

    orvak::startup::Session& session_;
    int guarantee_;
    int months_ = 0;
    QString edited_;   // the finished letter as edited ("ويرايش نامه"); empty: as filled
};

} // namespace orvak::ui::letters
