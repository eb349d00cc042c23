#include "ui/deposits/VoucherReadingScreens.h"

#include "core/deposits/VoucherReading.h"
#include "ui/accounting/AccountingScreens.h"
#include "ui/deposits/TFGetFishInfo.h"
#include "ui/deposits/TFREADFROMSND.h"
#include "ui/framework/Doing.h"

#include <algorithm>

namespace orvak::ui::deposits {

std::optional<VoucherReadingOutcome> readDepositsFromVouchers(QWidget* parent, orvak::startup::Session& session, int year, int month,
                                                              qint64 chequeNo)
{
    // The reading works on section 0's accounting database of the list's year; the
    // session's own year and database come back when the screen closes.
    orvak::deposits::AccountingYearScope scope(session);
    session.setCurrentYear(year);
    orvak::deposits::ReadingCriteria start;
    start.year = year;
    {
        framework::MessagePrompt prompt(parent);
        orvak::deposits::VoucherReading(session).selectYear(start, prompt);
    }

    std::optional<orvak::deposits::ReadingCriteria> criteria;
    if (chequeNo != 0) {
        ui::accounting::VoucherSearchPreset preset;
        preset.chequeNo = chequeNo;
        preset.runAtOnce = true;
        if (const auto found = ui::accounting::searchVouchers(parent, session, preset)) {
            orvak::deposits::ReadingCriteria c;
            c.year = year;
            c.monthIndex = std::clamp(month - 1, 0, orvak::deposits::ReadingMonths - 1);
            c.kol = found->row.kol;
            c.moin = found->row.moin;
            c.chequeNo = chequeNo;
            c.rangeKind = orvak::deposits::RangeKind::NumberRange;
            c.from = c.to = QString::number(found->row.number);
            criteria = c;
        }
    }

    VoucherReadingOutcome outcome;
    for (;;) {
        TFREADFROMSND screen(session, year, month, parent);
        if (criteria)
            screen.setCriteria(*criteria);
        screen.exec();
        outcome.transferred += screen.transferred();
        if (!screen.again())
            break;
        criteria = screen.criteria();
    }
    if (outcome.transferred == 0)
        return std::nullopt;
    return outcome;
}

std::optional<orvak::deposits::ReceiptSerial> askReceiptSerial(QWidget* parent, orvak::startup::Session&)
{
    TFGetFishInfo dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.serial();
}

} // namespace orvak::ui::deposits
