#pragma once
// The chart of detail accounts (TAFSILI): the parties of every register, kept per
// financial section in the common database the family's programs share. Numbering,
// the checks of a save in their order with their warnings, deleting only what no
// register uses, moving a party to another number, the bulk change of selected
// parties, the debts flag of the picker, and the searches of the list.
#include "core/db/Db.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QVariantMap>

namespace orvak::basedata {

// The access entry whose delete bit deleting a party needs; it is not one of the
// guarded entries, so every user who may open the list holds it.
inline constexpr int DetailAccountsMenuId = 31;

// TAFSILI's columns in the order the program inserts them (CODE first, CI and GCODE
// among them).
const QStringList& detailAccountColumns();

struct DetailAccount {
    qint64 code = 0;
    QVariantMap values;   // by column name as detailAccountColumns() spells it; CODE and CI aside

    QString text(const QString& column) const { return values.value(column).toString().trimmed(); }
    int number(const QString& column) const { return values.value(column).toInt(); }
};

// The lists the entry screen's combos show; the stored value is noted at each.
QStringList companyKinds();        // KIND: index
QStringList partyBanks();          // BANK1, BANK2: index
QStringList personKinds();         // TAFSILKIND: index + 1 (1 legal, 2 natural)
QStringList reportingPersonTypes();   // SAMADTAFSILKIND: index + 1
// SAMADTAFSILCAT: the rows of the family's 67-row category list that are known here,
// each with its stored value (its 1-based position in that list, which the family's
// other programs read); the first four characters of a row are its category code.
QList<std::pair<int, QString>> reportingCategories();
inline constexpr int ReportingCategoryRows = 67;

// "توليد شناسه -->>": the reporting-scheme identifier from the category row and the
// national identifier (digits kept, a ten-digit code prefixed with "9").
struct NomineeCode {
    QString nationalId;   // the identifier's digits, written back to its field
    QString code;         // category code + the eleven digits
    bool ok = true;       // false: not eleven digits ("ايراد در شناسه/کد ملي" was said)
};
NomineeCode buildNomineeCode(const QString& categoryRow, const QString& nationalId, startup::Prompt& prompt);

// The order of the list (F2 switches among them).
enum class PartyOrder { Code, Name, Groups };

// What the list is narrowed to: no restriction, or the accounts of a code set
// (a name search, the ledger filter, or both).
struct PartyRestriction {
    std::optional<QList<qint64>> codes;
};
// The list's query for an order and a restriction; the codes come from the database
// or the key index, never from typed text.
QString detailAccountsSql(PartyOrder order = PartyOrder::Code, const PartyRestriction& restriction = {});

// The values handed to every selected account by the bulk change.
struct BulkPartyValues {
    QString nationalId;
    int personKind = 0;          // TAFSILKIND
    int reportingType = 0;       // SAMADTAFSILKIND
    int reportingCategory = 0;   // SAMADTAFSILCAT
    QString nomineeCode;
    QString bourseCode;
};

class DetailAccounts {
public:
    // The chart of the session's current section, or of the section given.
    explicit DetailAccounts(startup::Session& session);
    DetailAccounts(startup::Session& session, const QString& section);

    // Largest number of the section + 1; 1 in an empty chart.
    db::Fetched<qint64> proposedCode() const;
    db::Fetched<DetailAccount> read(qint64 code) const;
    db::Fetched<QString> nameOf(qint64 code) const;

    // "ذخيره و جديد(F9)" / "ذخيره و خروج (F10)": the checks in their order, warnings
    // told through the prompt; false (with the reason told) when nothing was saved.
    bool save(const DetailAccount& account, bool insert, startup::Prompt& prompt);

    // Leaving the national-identifier field: duplicate and check-digit messages.
    void checkNationalId(qint64 code, const QString& name, const QString& nationalId, startup::Prompt& prompt) const;
    // Leaving the name field: true (after the message) when another number holds the name.
    bool nameHeldElsewhere(qint64 code, const QString& name, startup::Prompt& prompt) const;
    // Leaving the stock-exchange code field.
    void checkBourseCode(qint64 code, const QString& bourseCode, startup::Prompt& prompt) const;
    // The IBAN warning; true when the number is empty or right.
    bool checkIban(const QString& shaba, startup::Prompt& prompt) const;

    // "حذف(DEL)": refused while deposits, guarantees, vouchers or contracts use the
    // account; otherwise asked, then deleted with its debt alarms.
    bool remove(qint64 code, startup::Prompt& prompt);

    // "تغيير کد و حذف اين پيمانکار": asks the new number, re-points every reference
    // to it and deletes the old account when the user agrees, as one unit. A new
    // number no account holds yet receives a copy of the old account first.
    bool changeCode(qint64 oldCode, startup::Prompt& prompt);

    // "تعيين اطلاعات براي تفصيلي هاي انتخابي": one unit over the selected accounts.
    bool bulkChange(const QList<qint64>& codes, const BulkPartyValues& values, startup::Prompt& prompt);

    // The picker's has-debts flag: open debt alarms of the account.
    db::Fetched<bool> hasDebts(qint64 code) const;
    static QString debtsText();

    // Numbers of the section whose name holds the word under the normalised search
    // key (every number for an empty word), in number order.
    db::Fetched<QList<qint64>> codesMatching(const QString& word) const;
    // Numbers used by the accounting year's voucher rows under one general and
    // subsidiary ledger pair; none when the accounting database is not open.
    db::Fetched<QList<qint64>> codesInLedger(qint64 general, qint64 subsidiary) const;

private:
    QVariantMap sectionBinds(qint64 code) const;
    db::Fetched<QSqlRecord> otherWith(const QString& column, const QString& value, qint64 code) const;
    std::optional<QString> refusalOfDelete(db::UnitOfWork& w, qint64 code) const;

    startup::Session& session_;
    int section_;
};

} // namespace orvak::basedata
