#include "core/deposits/ReceiptSerialCheck.h"

namespace orvak::deposits {

QString checkReceiptSerial(const deposits::ReceiptSerial& s)
{
    // The numbers that do not match are told first, then a range left incomplete.
    if (s.last < s.first || s.next < s.first)
        return QStringLiteral("شماره قبض ها تطابق ندارند");
    if (s.first <= 0 || s.last <= 0)
        return QStringLiteral("محدوده فيش ها را کامل مشخص کنيد. از .... تا .....");
    return {};
}

qint64 nextAfterFirst(const deposits::ReceiptSerial& s)
{
    return s.next >= s.first && s.next <= s.last ? s.next : s.first;
}

} // namespace orvak::deposits
