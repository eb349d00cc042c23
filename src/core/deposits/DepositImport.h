#pragma once
// Reading a deposit book kept in a spreadsheet (.xls, .xlsx or .csv) into the register:
// each mapped column of the sheet's first row feeds one deposit field; every later
// row becomes a received deposit of the chosen kind, its owner found by national
// identifier, then by code, or created, its project created when missing, and a
// refund with its deposit and cheque rows where the row is marked refunded ("1").
// The whole file is one unit of work: a row that cannot be read stops the import
// with its sheet row number and the cause, and nothing of the file is kept.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace orvak::deposits {

enum class ImportField {
    ReceiptNo, ReceiptDate, DocumentNo, PaymentDate, OwnerCode, OwnerNid, OwnerName, Contract, Plan, Project,
    Remarks, Amount, Row, Year, Month, RefundMark, RefundDate, VoucherNo, RefundAmount, CreditNo, CreditYear,
    CreditMonth,
};
inline constexpr int ImportFieldCount = int(ImportField::CreditMonth) + 1;
inline size_t qHash(ImportField f, size_t seed = 0) noexcept { return ::qHash(int(f), seed); }

struct ImportFieldInfo {
    ImportField field;
    QString key;       // the name in a mapping file ("SEPNO", "OWNER_NID", ...)
    QString caption;   // the screen's ("شماره قبض سپرده", ...)
};
const QList<ImportFieldInfo>& importFields();

// Which sheet column (by its title in the first row) feeds which field.
struct ImportMapping {
    QHash<ImportField, QString> columns;

    QString column(ImportField f) const { return columns.value(f); }
    void set(ImportField f, const QString& column);
    bool isEmpty() const { return columns.isEmpty(); }
    // "ثبت  انتخاب  فيلدها": one line "KEY=column title" per mapped field, UTF-8.
    bool save(const QString& path, QString* error) const;
    // "بازيابي انتخاب فيلد"; nullopt with the reason when the file is unreadable or
    // names a field this import does not know.
    static std::optional<ImportMapping> load(const QString& path, QString* error);
};

// The file the screen saves its mapping to: ".TMP" in the start folder.
QString mappingFilePath(const QString& startFolder);

QString workbookRefusalText();   // "خطا! در شناسايي فايل اکسل"
QString doneText();              // "انجام شد"

// The sheets of a spreadsheet and their first rows' column titles.
struct SheetInfo {
    QStringList sheets;
};
std::optional<SheetInfo> sheetsOf(const QString& path, QString* error);
// The titles of the sheet's first row that is not empty.
std::optional<QStringList> columnTitles(const QString& path, int sheet, QString* error);

// Readers of a cell, as the import takes them (Persian digits, separators). Empty
// text is 0 / the empty date. nullopt when the text is not one.
std::optional<qint64> importAmount(const QString& text);
std::optional<qint64> importNumber(const QString& text);
// "1403/1/5", "1403-01-05", "14030105", "03/01/05", Persian digits; an Excel serial
// day number (a date cell of a workbook) is converted; empty is "".
std::optional<QString> importDate(const QString& text);

struct ImportRequest {
    QString path;
    int sheet = 0;
    ImportMapping mapping;
    int kind = 1;            // SEPKIND for the whole file
    bool dryRun = false;     // read and check everything, keep nothing
    // The server machine's administrator (orvakctl without --user): no write level to ask.
    bool administrator = false;
};

struct ImportResult {
    bool done = false;
    bool stopped = false;    // the user stopped it (nothing kept)
    int rows = 0;            // sheet rows read (the title row and empty rows not counted)
    int deposits = 0;
    int ownersCreated = 0;
    int ownersFound = 0;
    int projectsCreated = 0;
    int refunds = 0;
    qint64 amount = 0;
    int failedRow = 0;       // the sheet row that stopped it
    QString message;
    explicit operator bool() const { return done; }
};

class DepositImport {
public:
    explicit DepositImport(startup::Session& session);

    // Runs the import. progress(rows so far) is called every few hundred rows and
    // returns false to stop (then nothing is kept). Messages go through the prompt.
    ImportResult run(const ImportRequest& request, startup::Prompt& prompt,
                     const std::function<bool(int rows)>& progress = {});

private:
    startup::Session& session_;
};

} // namespace orvak::deposits
