#pragma once
// The two control lists between fund requests and refunds, and the reports of
// refunded deposits and of refund cheques (each printed with the report footer).
#include "ui/deposits/ConditionList.h"

namespace orvak::ui::deposits {

// "سپرده هاي استرداد شده که از خزانه درخواست نشده اند"
class TViewSepRadNoReq : public ConditionList {
    Q_OBJECT
public:
    explicit TViewSepRadNoReq(Session& session, QWidget* parent = nullptr);
};

// "سپرده هاي درخواست شده از خزانه که استرداد نشده اند"
class TViewSepReqNoRad : public ConditionList {
    Q_OBJECT
public:
    explicit TViewSepReqNoRad(Session& session, QWidget* parent = nullptr);
};

// "مرور و گزارش سپرده هاي استرداد شده": by refund date and owner.
class TFRep_RAD : public ConditionList {
    Q_OBJECT
public:
    explicit TFRep_RAD(Session& session, QWidget* parent = nullptr);
};

// "مرور و گزارش چک هاي استرداد سپرده": by refund date, owner and cheque date; a
// double click shows the refunded deposits of the row's refund.
class TFRep_RadCHK : public ConditionList {
    Q_OBJECT
public:
    explicit TFRep_RadCHK(Session& session, QWidget* parent = nullptr);
    // The refunded deposits of the current row's refund, in a window of their own.
    void showRefundRows();
};

// A list's report as the frame prints it, in the preview ("گزارش (F9)", "تهيه گزارش").
framework::ListCommand reportCommand(const QString& caption, const QKeySequence& key = {});

} // namespace orvak::ui::deposits
