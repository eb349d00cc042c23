#pragma once
// The statement list's own operations on its lines: a debit's class (correction or
// cheque/transfer; a credit cannot change), deleting the current line or the lines of
// the range, copying the current line into the settlement table, and deleting
// settlement lines. Each asks first and is one unit of work.
#include "core/statements/StatementList.h"
#include "core/statements/StatementStore.h"

namespace orvak::statements {

struct EditOutcome {
    bool done = false;
    int changed = 0;
    QString message;
    explicit operator bool() const { return done; }
};

class StatementLines {
public:
    explicit StatementLines(startup::Session& session, Writer writer = Writer::User);

    static QString creditCannotChangeText();   // "رديف جاري مبلغ واريزي است و نمي تواند تغيير کند"
    static QString changeQuestion();           // "اطلاعات صورتحساب رديف جاري تغيير ميکند. مطمئن هستيد؟"
    static QString removeLineQuestion();       // "اطلاعات صورتحساب رديف جاري حذف ميشود. مطمئن هستيد؟"
    static QString removeRangeQuestion();      // "اطلاعات صورتحساب در محدوده فوق حذف ميشود. مطمئن هستيد؟"

    // "در نظر گرفتن بعنوان اصلاحات" (correction true: ZARIB -1) and
    // "در نظر گرفتن بعنوان چک/انتقالي" (ZARIB 0).
    EditOutcome reclassify(int account, int row, bool correction, startup::Prompt& prompt);
    // "حذف رديف فعلي صورتحساب"
    EditOutcome removeLine(int account, int row, startup::Prompt& prompt);
    // "حذف  اطلاعات صورتحساب": every line of the filter's account and date range.
    EditOutcome removeRange(const StatementFilter& filter, startup::Prompt& prompt);
    // "اضافه نمودن به شاپرک": the line as a settlement line of the account.
    EditOutcome copyToSettlement(int account, int row, startup::Prompt& prompt);
    // "حذف رديف فعلي شاپرک" and "حذف اطلاعات شاپرک".
    EditOutcome removeSettlementLine(int account, int row, startup::Prompt& prompt);
    EditOutcome removeSettlementRange(const StatementFilter& filter, startup::Prompt& prompt);

private:
    EditOutcome run(startup::Prompt& prompt, const QString& question, const std::function<bool(db::UnitOfWork&, EditOutcome&)>& body);

    startup::Session& session_;
    Writer writer_;
};

} // namespace orvak::statements
