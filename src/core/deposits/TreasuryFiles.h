#pragma once
// The files for the treasury: the fund request file (the rows of one request) and the
// received-deposits list file (a month's deposits, or every month up to it), in the
// layout of the province, as text (code page 1256, or UTF-8 for layout 4), a dBASE
// table or a sheet of a workbook. What it guarantees:
// - a file is written whole or not at all: text and dBASE files go to a temporary
//   file beside the target, which replaces it once complete; a workbook is copied,
//   filled and put in place in one step; a refusal leaves the folder as it was;
// - a value that cannot be written as it is (a character without a code in 1256, a
//   receipt number longer than its dBASE field) refuses the file, naming the row;
// - the screen and orvakctl write the same bytes: both come through here.
#include "core/deposits/TreasuryLayouts.h"
#include "core/db/Db.h"
#include "core/io/DbaseTable.h"
#include "core/startup/Prompt.h"

namespace orvak::startup {
class Session;
}

namespace orvak::deposits {

inline const QString DefaultAgencyCode = QStringLiteral("127661");

// "نوع مبلغ" of the list file.
enum class ListAmount { Receipt = 0, Total = 1, Balance = 2, NotRequested = 3 };
QStringList listAmountTexts();

struct RequestFileInput {
    int reqIdx = 0;
    int layout = 2;             // 0: none chosen
    QString date;               // the request date typed on the screen
    QString agencyCode = DefaultAgencyCode;
    QString folder;
    QString fileName;           // for layouts 1 and 6 an existing file is filled
};

struct ListFileInput {
    int layout = 0;             // 0: none chosen
    int year = 0;
    int month = 0;              // 1..18
    bool upToMonth = false;     // "سپرده ها تا ماه"
    QString fileDate;           // "تاريخ ايجاد فايل"
    QString agencyCode = DefaultAgencyCode;
    QString letterNo;           // "شماره نامه"
    QString letterDate;         // "تاريخ نامه"
    QString paidDate;           // "تاريخ واريز به خزانه"
    ListAmount amount = ListAmount::Receipt;
    QString folder;
    QString fileName;
};

// The rows of a file as they are written, with the values of its header.
struct TreasuryContent {
    TreasuryRecord head;
    QList<TreasuryRecord> rows;
    qint64 sum = 0;             // "جمع کل :"
    int count() const { return int(rows.size()); }
};

struct WrittenFile {
    bool done = false;
    QString path;
    int count = 0;
    qint64 sum = 0;
    QString message;            // why not, or what the screen says after writing
    explicit operator bool() const { return done; }
};

// The messages of the screens.
QString noLayoutText();          // "ابتدا قالب فايل را انتخاب کنيد"
QString noLetterNoText();        // "شماره نامه وارد نشده است"
QString noFolderText();          // " مسير وجود ندارد "
QString fileCreatedText();       // "فايل در مسير انتخابي ايجاد شد"
QString listFileCreatedText();   // " فايل ايجاد شد "
QString emptyRequestText();
QString emptyListText();

// The folder plus the name, one separator between them (either kind accepted).
QString treasuryPath(const QString& folder, const QString& fileName);
// The folder "Send" under the program's folder.
QString defaultSendFolder(const QString& startDir);
// "تعيين نام پيش فرض": the default name of a layout (empty for the spreadsheets,
// which the user chooses).
QString defaultRequestFileName(int layout, const QString& date, const QString& reqNo);
QString defaultListFileName(int layout, int year, int month, const QString& agencyCode, const QString& fileDate);

// The dBASE table's fields when a new one is made.
QList<io::DbaseField> treasuryDbaseFields();
// The nine columns of the workbook's sheet "table1".
QStringList treasurySheetColumns();

class TreasuryFiles {
public:
    explicit TreasuryFiles(startup::Session& session);

    // The rows and header values of the files; the screen's count and total.
    db::Fetched<TreasuryContent> requestContent(const RequestFileInput& input) const;
    db::Fetched<TreasuryContent> listContent(const ListFileInput& input) const;

    // "انتقال اطلاعات به ديسکت" / "تهيه فايل": the checks in order, the file written
    // whole, then the message told; a refusal is told and kept in the result.
    WrittenFile writeRequestFile(const RequestFileInput& input, startup::Prompt& prompt) const;
    WrittenFile writeListFile(const ListFileInput& input, startup::Prompt& prompt) const;

private:
    WrittenFile write(const TreasuryLayout& layout, const TreasuryContent& content, const QString& folder, const QString& fileName,
                      bool requestFile, startup::Prompt& prompt) const;

    startup::Session& session_;
};

} // namespace orvak::deposits
