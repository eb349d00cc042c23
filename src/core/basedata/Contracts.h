#pragma once
// The contracts (PAYMENTS) of the current financial section with their satellites:
// credit sources (PAYMAN_ETE), the split over plans and projects (PAYMAN_TP), legal
// deductions (PAYMAN_KOSURAT) and history letters (PAYMAN_LETTERS); the voucher that
// puts a contract's amount into the contract-control ledgers of the year's books.
#include "core/accounting/VoucherWriter.h"
#include "core/basedata/CodedTable.h"
#include "core/basedata/DetailAccounts.h"
#include "core/io/ListDefinition.h"

namespace orvak::basedata {

// Deleting a contract asks the delete bit of the contractors' entry: contracts are
// kept with their parties and every user who may open the list holds it.
inline constexpr int ContractsMenuId = DetailAccountsMenuId;

// How each PAYMENTS column is typed and stored.
enum class ContractColumnKind { Text, Digits, Amount, Rate, Date, Number };
struct ContractColumn {
    QString name;
    ContractColumnKind kind;
    QString caption;   // named in the refusal of a bad value
    int length = 0;    // the longest text taken (0: no limit)
};
// Every column a save writes, CODE and CI and the voucher references aside.
const QList<ContractColumn>& contractColumns();

struct Contract {
    qint64 code = 0;                   // CODE; 0 in insert mode: the proposed identifier
    QVariantMap values;                // by column name; amounts, rates and dates as typed
    QList<int> creditSources;          // the ticked MTE.KIND
    bool hasSupplement = false;        // "اين قرارداد متمم دارد": TIKMOTAMAM 2, else 1
    // The voucher references, read only.
    int voucherNo = 0, voucherYear = 0, changeVoucherNo = 0, changeVoucherYear = 0;

    QString text(const QString& column) const { return values.value(column).toString().trimmed(); }
    int number(const QString& column) const { return values.value(column).toInt(); }
};

// The texts of the combos, each index its stored code unless noted.
const io::CodeTexts& insuranceKinds();   // BIMKIND 1..5, otherwise "مشخص نشده است"
QStringList insurancePickTexts();        // the pick list: the five kinds, then "بيمه 7"
const io::CodeTexts& durationUnits();    // PMODATKIND
const io::CodeTexts& changeKinds();      // KINDEZAFKARI
const io::CodeTexts& transferUnits();    // TRANSFERUNIT 1, 2; none otherwise
const io::CodeTexts& yesNo();            // HAVKOSUR, HAVSAVABEG

// The rates (percent) choosing an insurance kind puts into the two rate fields;
// nullopt for "بيمه 7" and unknown kinds, which leave the rates as they were.
struct InsuranceRates {
    double employer = 0;   // DARSADBIMEHKARF
    double total = 0;      // DARSADBIMPEYMANKAR
};
std::optional<InsuranceRates> insuranceRates(int kind, int organisationCode);
inline constexpr int InsuranceSevenKind = 7;

// The two contract-control general ledgers of the voucher, program-wide options
// (TbOptions of this program) with these names; the defaults when not set.
inline constexpr const char* FirstControlLedgerOption = "PaymanControlKol1";
inline constexpr const char* SecondControlLedgerOption = "PaymanControlKol2";
inline constexpr int DefaultFirstControlLedger = 910;
inline constexpr int DefaultSecondControlLedger = 920;

enum class ContractAmount { Initial, Change };   // AMOUNT / EZAFEHKAR

struct ContractVoucher {
    int number = 0;        // 0: the last voucher + 1
    QString date;          // in the year of the accounting database
    bool clearEarlier = false;
    QString description;   // as the issue dialog shows it; empty: voucherDescription()
};

struct ContractSplit {
    int plan = 0;
    int project = 0;
    double amount = 0;
};

struct ContractDeduction {
    qint64 code = 0;          // CODE; 0 in insert mode: the next within CI
    qint64 contract = 0;      // CODE_PAY
    int kind = 0;             // CODE_KOSUR (parameters kind 2)
    QString employerPercent;  // DARSAD_KARF, as typed
    QString contractorPercent;// DARSAD_PAY, as typed
    int receiver = 0;         // DEVICE (parameters kind 3)
    QString account;          // HESAB
    QString amount;           // AMOUNT, as typed
};

struct ContractLetter {
    qint64 contract = 0;      // LtrID
    qint64 number = 0;        // PaymanCode; 0 in insert mode: the next of the contract
    QString date;             // LtrDate
    QString letterNo;         // LtrNO
    int subject = 0;          // PMOZOO
    QString description;
    QString extra;            // extradescr
    int automationId = 0;
    QString letter;
};

// The searches of the contract list.
enum class ContractSearch { Number, Code, Description, Party, Plan, Project };

class Contracts {
public:
    explicit Contracts(startup::Session& session);

    static const CodedTable& table();
    // Where a contract's identifier is held; a delete is refused while any holds it.
    static QList<Reference> references();

    static QString usedCodeText();   // "اين کد قرارداد قبلا استفاده شده است"
    static QString defaultDescription(const QString& number, const QString& date);

    db::Fetched<qint64> proposedCode() const;
    // Whether an identifier is taken in the section (the check on leaving the field).
    db::Fetched<bool> codeUsed(qint64 code) const;
    db::Fetched<Contract> read(qint64 code) const;
    db::Fetched<Contract> byNumber(const QString& number, qint64 party) const;
    // The description compared without its surrounding spaces (the default one begins with one).
    db::Fetched<Contract> byDescription(const QString& description, qint64 party) const;

    // The checks, then the contract with its credit sources in one work. The saved
    // identifier, or nullopt after telling why (nothing written).
    std::optional<qint64> save(const Contract& contract, bool insert, startup::Prompt& prompt);
    // Refused while deposits, guarantees or the year's vouchers hold the contract;
    // otherwise, after the question, with all its satellites.
    bool remove(qint64 code, startup::Prompt& prompt);
    // "تغيير واحد انتقالي": 0 none, 1 or 2.
    bool setTransferUnit(qint64 code, int unit, startup::Prompt& prompt);
    // "تغيير تفصيلي پيمانکار": the party must exist.
    bool changeParty(qint64 code, qint64 party, startup::Prompt& prompt);

    db::Fetched<QList<ContractSplit>> splits(qint64 code) const;
    bool addSplit(qint64 code, int plan, int project, const QString& amount, startup::Prompt& prompt);
    bool removeSplit(qint64 code, int plan, int project, startup::Prompt& prompt);

    db::Fetched<ContractDeduction> deduction(qint64 code) const;
    std::optional<qint64> saveDeduction(const ContractDeduction& d, bool insert, startup::Prompt& prompt);
    bool removeDeduction(qint64 code, startup::Prompt& prompt);

    db::Fetched<ContractLetter> letter(qint64 contract, qint64 number) const;
    std::optional<qint64> saveLetter(const ContractLetter& l, bool insert, startup::Prompt& prompt);
    bool removeLetter(qint64 contract, qint64 number, startup::Prompt& prompt);

    // The codes of the contracts a search keeps (plain text, never part of the SQL).
    db::Fetched<QList<qint64>> search(ContractSearch by, const QString& text) const;

    // The general ledgers of the voucher's debit and credit rows.
    std::pair<int, int> controlLedgers() const;
    QString voucherDescription(const Contract& c, ContractAmount which) const;
    // Posts the voucher of the amount (two rows) and records its number and year on
    // the contract, in one work; nullopt with the reason otherwise.
    std::optional<accounting::PostedVoucher> postVoucher(qint64 code, ContractAmount which, const ContractVoucher& voucher,
                                                         QString* error = nullptr);
    // The rejection of that voucher takes the contract's reference to it back, in the
    // rejecting work (where it still names that voucher and year).
    accounting::ClearReferences voucherReferences(qint64 code, ContractAmount which) const;

private:
    RegisterRules rules() const;
    std::optional<QVariantMap> storedValues(const Contract& c, startup::Prompt& prompt) const;

    startup::Session& session_;
};

// A typed amount read as rials ("#,###", Persian digits); empty is 0; nullopt for text.
std::optional<qint64> typedAmount(const QString& text);
// A typed percentage or rate; empty is 0; nullopt for text.
std::optional<double> typedRate(const QString& text);

} // namespace orvak::basedata
