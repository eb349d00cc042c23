#pragma once
// The letter settings of the deposits database: the guarantee letters' numbering
// (ZEM_DEFAULTSETTING, " تنظيمات نامه ها در تضمينات  ") and the deposit letters'
// treasury lines (SEP_LTRSETTING, "تنظيمات نامه ها در سپرده ها"), one row each with
// CODE 1.
#include "core/db/Db.h"
#include "core/db/UnitOfWork.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <array>
#include <optional>

namespace orvak::letters {

struct GuaranteeLetterSettings {
    QString startNo;   // START_LTRNO
    QString lastNo;    // LAST_LTRNO
    QString prefix;    // PRIFIX_LTRNO
    QString suffix;    // SUFFIX_LTRNO
    QVariant sarresidSpace;   // SARRESIDSPACE, carried
};

struct DepositLetterSettings {
    QString treasuryTitle;                 // KHAZANEONVAN
    std::array<QString, 3> sendingCopies;  // R1ERSAL..R3ERSAL
    std::array<QString, 3> requestCopies;  // R1DARKHST..R3DARKHST
    QString treasuryHeadName;              // KHAZANEHRAIISENAME
};

QString savedText();   // "تغييرات ثبت شد"

// A letter number as allocated: the whole text and the counter it used.
struct LetterNumber {
    QString text;      // prefix + counter + suffix
    qint64 counter = 0;
};

class LetterSettings {
public:
    explicit LetterSettings(startup::Session& session);

    // No row reads as empty settings.
    db::Fetched<GuaranteeLetterSettings> guaranteeSettings() const;
    // "ثبت و خروج": the row inserted when the table does not hold exactly one, updated
    // (CODE 1) otherwise; says "تغييرات ثبت شد".
    bool saveGuaranteeSettings(const GuaranteeLetterSettings& s, startup::Prompt& prompt);

    db::Fetched<DepositLetterSettings> depositSettings() const;
    // Deletes the row and inserts it again, in one unit of work.
    bool saveDepositSettings(const DepositLetterSettings& s, startup::Prompt& prompt);

    // "تخصيص ش. نامه": prefix + (last + 1) + suffix; with no last number, the first
    // number (or 1). A last or first number that is not a whole number is refused.
    static std::optional<LetterNumber> nextNumber(const GuaranteeLetterSettings& s, QString* why = nullptr);
    db::Fetched<LetterNumber> nextNumber() const;
    // Inside a registering work: LAST_LTRNO set to the counter used (never lowered).
    static bool useNumber(db::UnitOfWork& w, qint64 counter);

private:
    startup::Session& session_;
};

} // namespace orvak::letters
