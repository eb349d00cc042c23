#include "core/deposits/VoucherYear.h"

#include "core/accounting/Vouchers.h"

namespace orvak::deposits {

VoucherYear::VoucherYear(startup::Session& session, int year)
    : scope_(session)
{
    if (year <= 0 || year == accounting::accountingYear(session)) {
        open_ = session.AccountingDbOpen();
        missing_ = accounting::Vouchers(session).missingText();
        return;
    }
    startup::CollectingPrompt quiet;
    open_ = session.OpenAccountingYear(year, session.SectionCode(), quiet);
    missing_ = open_ ? QString() : quiet.text();
}

} // namespace orvak::deposits
