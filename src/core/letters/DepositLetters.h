#pragma once
// The three fixed letters of the deposit registers: the month's list of received
// deposits sent to the treasury, the letter to the head of the provincial treasury
// with the bank statements, and the request to confirm the treasury deposit
// account's balance. Each takes the amount in figures between slashes and in words,
// the month, the signatories and the deposit letter settings.
#include "core/letters/LetterPages.h"
#include "core/startup/Session.h"

namespace orvak::letters {

enum class FixedDepositLetter { MonthlyList = 1, TreasuryHead = 2, BalanceConfirmation = 3 };

struct FixedLetterInput {
    FixedDepositLetter which = FixedDepositLetter::MonthlyList;
    qint64 amount = 0;
    int year = 0;
    int month = 0;          // 1..12 (of the list or the statements)
    QString balanceDate;    // the balance's date (the third letter)
    QString number, date;   // the letter's own
    int layout = 3;
};

// The letter as printed; nothing is read but the settings, the office data and the
// footer of the deposit letters.
db::Fetched<LetterPage> fixedDepositLetter(startup::Session& session, const FixedLetterInput& input);

} // namespace orvak::letters
