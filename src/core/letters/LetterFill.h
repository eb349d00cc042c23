#pragma once
// Filling a letter template for one guarantee: every placeholder of the table, every
// occurrence, replaced by its value; an empty value by a run of dots of the
// placeholder's own length, so that the printed letter shows a blank to fill by
// hand. Dates read day/month/year unless the reverse option is ticked; amounts are
// "#,###" followed by the word for rial. Other phrases in double parentheses, and a
// "((" left open, stay as they are.
#include "core/db/Db.h"
#include "core/guarantees/Guarantee.h"
#include "core/startup/Session.h"

#include <optional>

namespace orvak::letters {

struct Placeholder {
    QString phrase;   // "((شماره تضمين))"
    int dots = 0;     // the blank an empty value leaves
};
// Every placeholder filled, in the order of the editor's menu.
const QList<Placeholder>& placeholders();
// The editor's menu: all of them but "((سررسيد اوليه))" and "((مبلغ اوليه))", which
// templates of other programs may carry (filled with the initial due date and amount,
// and with the current ones in the letters shown again and those of the due-date list).
QStringList menuPlaceholders();

// What the letter dialog adds to the guarantee.
struct LetterInput {
    QString newDue;                    // YYYY/MM/DD or empty
    std::optional<qint64> newAmount;   // empty: none typed
    int extensionMonths = 0;           // the duration picked (0: from the two dates)
    QString receivedNo, receivedDate;          // the received letter
    QString secretariatNo, secretariatDate;    // this letter's; an empty number is allocated
    bool reverseDates = false;         // "اگر تاريخ ها در نامه وارونه نمايش داده مي شوند، تيک بزنيد"
    // The letters shown again from the history and those issued from the due-date
    // list fill the initial due date and amount with the current ones.
    bool initialAsCurrent = false;
};

// The placeholders' values, by phrase (empty where the value is empty).
using PlaceholderValues = QHash<QString, QString>;

// A date as a letter writes it: "05/02/1403", or as stored when reversed.
QString letterDate(const QString& stored, bool reverse);
// "1,250,000 ريال " ("#,###" and the rial word).
QString letterAmount(qint64 rials);

// The values for a guarantee; a party, branch, contract or project that no longer
// exists leaves its values empty (dots). The secretariat number, when none was
// typed, is the next of the guarantee letters' numbering.
db::Fetched<PlaceholderValues> placeholderValues(startup::Session& session, const guarantees::Guarantee& g, const LetterInput& input);

// The rich text with every placeholder replaced (formats kept).
QString fillTemplate(const QString& html, const PlaceholderValues& values);
// The same for plain text (the positioned templates' words, tests).
QString fillPlain(const QString& text, const PlaceholderValues& values);

} // namespace orvak::letters
