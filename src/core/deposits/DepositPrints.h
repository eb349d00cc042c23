#pragma once
// The printed forms of the received-deposits list: the list in its models (page
// totals carried, the total in words, the footer's signatures) and the receipts in
// theirs, fed by the register's rows with the names they refer to.
#include "core/deposits/Deposit.h"
#include "core/deposits/DepositFilter.h"
#include "core/io/Report.h"

namespace orvak::startup {
class Session;
}

namespace orvak::deposits {

// A deposit with the names of its owner, plan, project and contract.
struct PrintedDeposit {
    Deposit deposit;
    QString owner, ownerId, plan, project, contractNo, contractDate;
};
// The listed deposits of a filter, in list order.
db::Fetched<QList<PrintedDeposit>> printedDeposits(startup::Session& session, const DepositFilter& filter);

// "نمايش/چاپ": "نمونه عمومي", "شامل مبالغ و پروژه", "شامل مبالغ، طرح و قرارداد",
// "به تفکيک قرارداد", "به تفکيک اشخاص", "به تفکيک سال".
enum class ListPrint { General, AmountsAndProject, AmountsPlanContract, ByContract, ByOwner, ByYear };
QStringList listPrintTexts();
// Under " صورت ريز سپرده دريافتي در تاريخ " and the date.
io::ReportModel depositListReport(const QList<PrintedDeposit>& rows, ListPrint model, const QString& date,
                                  std::vector<io::ReportSignature> signatures);

// The receipt models: "چاپ قبض بر اساس نمونه طراحي شده" (not yet built), "چاپ کامل
// قبض سپرده", "چاپ محتواي پشت قبض سپرده", "افقي - بر روي قبض سپرده", "عمودي -بر روي قبض سپرده".
enum class ReceiptPrint { Designed, Full, Back, Landscape, Portrait };
QStringList receiptPrintTexts();
// nullopt for the designed model, which has no layout yet.
std::optional<io::ReportModel> receiptReport(const QList<PrintedDeposit>& rows, ReceiptPrint model,
                                             std::vector<io::ReportSignature> signatures);
QString designedReceiptMissingText();   // "نمونه طراحي شده هنوز ساخته نشده است"
// The model the receipts' choice stands on: the full receipt (the designed one is
// not built).
inline constexpr ReceiptPrint DefaultReceiptPrint = ReceiptPrint::Full;

// What "چاپ قبض سپرده" gives a deposit without a receipt number before it prints it,
// as "تعيين شماره قبض سپرده" does: the next number of its month's receipts and the
// server's today.
struct ReceiptToGive {
    qint64 number = 0;
    QString date;
};
db::Fetched<ReceiptToGive> receiptToGive(startup::Session& session, const Deposit& deposit);
// " قبض /فيش سپرده چاپ شود ؟ شماره" and the receipt's number; for a deposit without
// one, the number and date it is about to take.
QString printReceiptQuestion(const Deposit& deposit, const std::optional<ReceiptToGive>& toGive = std::nullopt);

} // namespace orvak::deposits
