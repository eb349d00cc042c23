#pragma once
// International bank account numbers (ISO 13616) as the parties' accounts carry
// them: the letters and the two check digits, then the bank's code and account.
#include <QString>

namespace orvak::util {

// The number as stored and compared: no spaces, capital letters, ASCII digits.
QString compactIban(const QString& text);

// True when the number's check digits hold (mod 97 of the rearranged number is 1)
// and it has the length of its country (26 for Iran).
bool IsValidIban(const QString& text);

// An Iranian number stored without its fixed "IR": the whole number.
QString ibanOfIran(const QString& stored);

// The bank's three-digit code in an Iranian number ("017"), empty when there is none,
// and the bank's name for the codes the central bank has given.
QString ibanBankCode(const QString& iban);
QString ibanBankName(const QString& bankCode);

} // namespace orvak::util
