#pragma once
// The printed forms of the fund requests and refunds: the request letter in its
// models with the amount in words, the request's detailed list in its models
// (orders, grouping by credit notice, totals per notice, fixed-length pages padded
// with "خالي" rows and their totals carried from page to page), and the payment
// order of a refund. The models are rows of a table, not one function each.
#include "core/db/Db.h"
#include "core/io/Report.h"

namespace orvak::startup {
class Session;
}

namespace orvak::deposits {

// "نامه درخواست وجه سپرده": "نمونه 1) تک نسخه اي", "نمونه 2) دو نسخه اي",
// "نمونه 3) تک نسخه اي" (the other wording, with thanks), and the office's own model
// addressed to the head of the treasury by name.
QStringList requestLetterTexts();
db::Fetched<io::ReportModel> requestLetter(startup::Session& session, int reqIdx, int model, std::vector<io::ReportSignature> signatures);

// "گزارشات درخواست وجه": the models 1, 2, 2-2, 3 ... 13, in that order.
QStringList requestDetailTexts();
// "صورت ريز درخواست وجه" and "صورت ريز ارسالي به خزانه" print this model.
inline constexpr int DefaultDetailModel = 0;
db::Fetched<io::ReportModel> requestDetail(startup::Session& session, int reqIdx, int model, std::vector<io::ReportSignature> signatures);
// The text that marks a padding row of a fixed-length page.
QString emptyRowText();   // "خالي"

// The payment order of one refund (its amounts followed by " ريال ").
db::Fetched<io::ReportModel> refundPaymentOrder(startup::Session& session, int radIdx, std::vector<io::ReportSignature> signatures);

} // namespace orvak::deposits
