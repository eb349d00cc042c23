#include "ui/basedata/VoucherReadingScreens.h"

#include "core/basedata/VoucherReading.h"
#include "ui/accounting/AccountingScreens.h"
#include "ui/basedata/TFGetFishInfo.h"
#include "ui/basedata/TFREADFROMSND.h"
#include "ui/framework/Doing.h"

#include <algorithm>

namespace orvak::ui::basedata {

std::optional<VoucherReadingOutcome> readDepositsFromVouchers(QWidget* parent, orvak::startup::Session& session, int year, int month,
                                                              qint64 chequeNo)
{
    // The reading works on section 0's accounting database of the list's year; the
    // session's own year and database come back when the screen closes.
    orvak::basedata::AccountingYearScope scope(session);
    session.setCurrentYear(year);
    orvak::basedata::ReadingCriteria start;
    start.year = year;
    {
        framework::MessagePrompt prompt(parent);
        orvak::basedata::VoucherReading(session).selectYear(start, prompt);
    }

    std::optional<orvak::basedata::ReadingCriteria> criteria;
    if (chequeNo != 0) {
        ui::accounting::VoucherSearchPreset preset;
        preset.chequeNo = chequeNo;
        preset.runAtOnce = true;
        if (const auto found = ui::accounting::searchVouchers(parent, session, preset)) {
            orvak::basedata::ReadingCriteria c;
            c.year = year;
            c.monthIndex = std::clamp(month - 1, 0, orvak::basedata::ReadingMonths - 1);
            c.kol = found->row.kol;
            c.moin = found->row.moin;
            c.chequeNo = chequeNo;
            c.rangeKind = orvak::basedata::RangeKind::NumberRange;
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

} // namespace orvak::ui::basedata
