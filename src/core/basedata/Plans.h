#pragma once
// The plans (TARH) of the current financial section: entry, delete, the change of a
// plan's number and the move of its data onto another plan. Outside the development
// section a plan is called a programme; words() puts every text of the plan screens
// and messages in the section's terms.
#include "core/basedata/CodedTable.h"
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

struct Plan {
    qint64 code = 0;        // CODE; 0 in insert mode: the next number
    QString accountCode;    // CODT
    QString name;           // NAMET
    int kind = 0;           // KIND: 0 current, 1 previous years
    int years = 0;          // SAL
    int agreementYear = 0;  // SAL_MOF
};

// The text in the section's terms: "طرح" becomes "برنامه" outside section "1".
QString planWording(const QString& section, const QString& text);

// The access entry whose delete bit deleting a plan needs.
inline constexpr int PlansMenuId = 7;

class Plans {
public:
    explicit Plans(startup::Session& session);

    static const CodedTable& table();
    static const io::CodeTexts& kinds();   // KIND: "جاري", "سنوات قبل"
    // Where a plan's number is held besides its projects: the registers of the
    // section and the contracts' split, in the order a change of number re-points
    // them; references() adds the year's voucher rows, which keep a plan from going.
    static QList<Reference> registerReferences();
    static QList<Reference> references();

    QString words(const QString& text) const;
    std::optional<qint64> proposedCode() const;
    db::Fetched<Plan> read(qint64 code) const;

    // Saved code, or nullopt after telling why (nothing written).
    std::optional<qint64> save(const Plan& plan, bool insert, startup::Prompt& prompt);
    // Refused while vouchers, deposits, refunds, guarantees or contracts hold the
    // plan, or projects stand under it; otherwise the plan alone goes.
    bool remove(qint64 code, startup::Prompt& prompt);
    // "تغيير کد طرح": asks the new number, which must be free, and re-points the
    // projects and the registers' references in one work (not the vouchers).
    bool changeCode(qint64 code, startup::Prompt& prompt);
    // "انتقال اطلاعات به طرح ديگر": asks the number of an existing plan, moves the
    // projects and references onto it and removes the emptied plan.
    bool moveTo(qint64 code, startup::Prompt& prompt);

private:
    std::optional<qint64> askTarget(qint64 code, startup::Prompt& prompt);
    bool repointAll(qint64 from, qint64 to, bool keepTarget, startup::Prompt& prompt);
    RegisterRules rules() const;

    startup::Session& session_;
};

} // namespace orvak::basedata
