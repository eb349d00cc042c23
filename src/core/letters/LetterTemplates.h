#pragma once
// Letter templates (LETTER_TEMPLATE) and their copy recipients
// (LETTER_TEMPLATE_RUNEVESHT) in the common database, each restricted to this
// program (PROGID), so that the family's programs share the tables without seeing
// each other's rows. The body is rich text (Qt's HTML); placeholders are plain text
// in it and survive editing.
#include "core/db/Db.h"
#include "core/io/ListDefinition.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <array>
#include <optional>

namespace orvak::letters {

// LTRKIND: "عمومي", "تمديد", "تقليل", "تمديد و تقليل", "تاييد", "ضبط", "ابطال", "صدور", "رفع توقيف".
const QStringList& letterKindTexts();
inline constexpr int KindGeneral = 0, KindExtension = 1, KindReduction = 2, KindExtensionReduction = 3, KindConfirmation = 4,
                     KindSeizure = 5, KindCancellation = 6, KindIssuance = 7, KindLiftAttachment = 8;
// Whether a kind's letter needs the new due date, the new amount.
bool kindNeedsNewDue(int kind);
bool kindNeedsNewAmount(int kind);

// One item of a positioned template (on pre-printed stationery), in millimetres from
// the page's top left corner, its font size in points.
struct PositionedItem {
    int left = 0, top = 0, size = 10, flag = 0, width = 40, height = 8;
    bool bold = false;
    QString font;
};
inline constexpr int PositionedItemCount = 18;
// What each of the 18 items prints: "شماره تضمين", "نوع تضمين", ... "نام ذيحساب".
const QStringList& positionedItemTexts();

struct LetterTemplate {
    int code = 0;
    QString title;
    QString contents;              // rich text (HTML)
    int kind = KindGeneral;        // LTRKIND
    std::array<int, 4> copies{};   // RUNEVESHT1..4, 0 for none
    int offsetLeft = 0;            // CR, millimetres
    int offsetTop = 0;             // CT, millimetres
    int paperSize = 1;             // PAPERSIZE 0 A5, 1 A4
    int landscape = 0;             // PORT_LAND
    int perSheet = 0;              // PG_PERSHEET 0 one letter, 1 two letters
    bool positioned = false;       // TARAHI
    std::array<PositionedItem, PositionedItemCount> items{};
    QString word1, word2;          // KALAMEH1, KALAMEH2

    QList<int> chosenCopies() const;   // the non-zero entries, in order
};

struct CopyRecipient {
    int idx = 0;
    int letterCode = 0;   // LTRCODE, the template it was written for
    QString text;         // RUNEVESHT, rich text
    QString title;
};

QString incompleteText();        // "اطلاعات کامل نيست"
QString tooManyCopiesText();     // "حداکثر چهار رونوشت مي توانيد انتخاب کنيد."
// Where the text opens "((" without closing it; -1 when every one is closed.
qsizetype unbalancedPlaceholder(const QString& plainText);
QString unbalancedQuestion(const QString& near);

class LetterTemplates {
public:
    explicit LetterTemplates(startup::Session& session);

    db::Fetched<LetterTemplate> read(int code) const;
    // The program's templates of a kind (-1: all), by code.
    db::Fetched<QList<LetterTemplate>> ofKind(int kind) const;
    db::Fetched<int> proposedCode() const;
    // "ثبت و جديد (F9)" / "ثبت و خروج  (F10)": a title is required, at most four
    // copies that must exist, a "((" left open is asked about; the saved code.
    std::optional<int> save(const LetterTemplate& t, bool insert, startup::Prompt& prompt);
    bool remove(int code, startup::Prompt& prompt);

    db::Fetched<QList<CopyRecipient>> copyRecipients() const;
    db::Fetched<QList<CopyRecipient>> copyRecipients(const QList<int>& idx) const;   // in the order asked
    std::optional<int> saveCopy(const CopyRecipient& c, bool insert, startup::Prompt& prompt);
    bool removeCopy(int idx, startup::Prompt& prompt);
    // The chooser's check: at most four.
    static bool copiesAllowed(const QList<int>& chosen, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

LetterTemplate templateFrom(const QSqlRecord& r);
QVariantMap templateValues(const LetterTemplate& t);

io::ListDefinition letterTemplatesList();   // "letter-templates"
io::ListDefinition letterCopiesList();      // "letter-copies"

} // namespace orvak::letters
