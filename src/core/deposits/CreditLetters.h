#pragma once
// The credit notices and letters of sending to the treasury (BESTANKARI) as the
// received-deposits register picks them: the list, and one letter by its identifier.
#include "core/deposits/ReceivedDeposits.h"
#include "core/io/ListDefinition.h"

#include <QList>
#include <QPair>

namespace orvak::deposits {

struct CreditLetter {
    int idx = 0;              // IDXNO
    QString creditNo;         // BESNO
    QString creditDate;       // BESDATE
    QString letterNo;         // ERSALLETTERNO: the letter that sent the list to the treasury
    QString letterDate;       // ERSALLETTERDATE
    CreditRef ref() const { return {idx, letterNo, letterDate}; }
};

db::Fetched<CreditLetter> creditLetter(startup::Session& session, int idx);

// Every letter as the list's credit-notice box offers it: identifier and "number - date".
db::Fetched<QList<QPair<int, QString>>> creditLetterChoices(startup::Session& session);

io::ListDefinition creditLettersList();

} // namespace orvak::deposits
