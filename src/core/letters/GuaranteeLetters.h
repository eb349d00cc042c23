#pragma once
// A guarantee's letter as the letter dialog (TFZTOOLS2) and `orvakctl letter` make
// it: the template of the kind, its body filled for the guarantee and the dialog's
// values, the copy version with the template's copy lines, the header, signatures
// and paper layout; nothing is registered. The request letter's registration (its
// history row, the guarantee's status and the letter counter) builds on prepare()
// and LetterSettings::useNumber().
#include "core/guarantees/Guarantee.h"
#include "core/letters/LetterFill.h"
#include "core/letters/LetterPages.h"
#include "core/letters/LetterSettings.h"
#include "core/letters/LetterTemplates.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::letters {

// "ذيحساب", "مديريت دستگاه", "ذيحساب و مدير کل امور مالي",
// "ذيحساب اعتبارات تملک دارائيهاي سرمايه اي", "قائم مقام رييس سازمان و مدير کل", "هيچ کدام".
const QStringList& signatoryTexts();
inline constexpr int NoSignatory = 5;

QString dialogIncompleteText();   // "اطلاعات كامل نيست"

struct LetterRequest {
    int guarantee = 0;       // ZEMANAT.IDX
    int templateCode = 0;    // 0: the first template of the kind
    int kind = -1;           // the dialog's letter kind; -1: the template's
    LetterInput input;
    int layout = 3;          // "نوع برگه"
    bool withCopies = false; // "رونوشت دارد"
    int copyCount = 1;       // "تعداد کپي هاي رونوشت"
    int signatory = 0;
    QString closing;         // "توضيح در انتهاي نامه (اختياري)"
    QString registrationDate;   // "تاريخ ثبت" (LTRSABTDATE); empty: today
};

struct PreparedLetter {
    guarantees::Guarantee guarantee;
    LetterTemplate letterTemplate;
    PlaceholderValues values;
    QString body;         // the filled body ("Temp.1")
    QString copyVersion;  // the body with the copy lines ("Temp.2")
    QString number;       // the secretariat number it carries
    qint64 counter = 0;   // the counter of an allocated number (0: typed)
    std::vector<LetterPage> pages;   // the letter, then each copy
};

class GuaranteeLetters {
public:
    explicit GuaranteeLetters(startup::Session& session);

    // The checks of the dialog ("اطلاعات كامل نيست" for a missing new due date or
    // amount the kind needs, or no template of the kind), then the letter; nullopt
    // after telling why.
    std::optional<PreparedLetter> prepare(const LetterRequest& request, startup::Prompt& prompt) const;
    // The same letter's pages for another layout or copies without filling again.
    std::vector<LetterPage> pagesOf(const PreparedLetter& letter, const LetterRequest& request) const;

    // " ثبت نامه درخواست (F10)": in one unit of work, the history row of the request
    // (ANS 2, the letter's text as produced, the guarantee's values before it), the
    // guarantee's request status, last letter number and date, and the letter counter
    // when the number was allocated. body is the letter as finally edited (empty: as
    // prepared). The history row's number, nullopt after telling why.
    std::optional<int> registerRequest(const PreparedLetter& letter, const LetterRequest& request, const QString& body, startup::Prompt& prompt);
    // The history kind (ZHIST.KIND) and the request status of a letter kind; a general
    // letter keeps the guarantee's status (nullopt).
    static int historyKindOf(int letterKind);
    static std::optional<int> requestStatusOf(int letterKind);

private:
    startup::Session& session_;
};

} // namespace orvak::letters
