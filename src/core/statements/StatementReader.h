#pragma once
// "قرائت اطلاعات صورتحساب هاي بانکي": the chosen files of one account read by their
// layout into SURATHESAB for a range of months, replacing the lines the account has
// in the range or appended to them, in one unit of work. A line outside the range is
// skipped; a line that cannot be parsed stops the run with its file and line number,
// and what was read before it stays; the stop button ends the run after the current
// line, keeping what was read. Appending lines the statement holds already is asked
// first, with their number. "بازسازي اطلاعات شعب" fills the branch network's codes in again.
#include "core/statements/StatementLayouts.h"
#include "core/statements/StatementStore.h"

namespace orvak::statements {

enum class ReadMode { Replace, Append };

struct ReadRequest {
    int account = 0;                   // HESAB.CODE
    int fromYear = 0, fromMonth = 0;   // the range of months
    int toYear = 0, toMonth = 0;
    int format = 0;                    // 1..33; 0: none chosen
    QChar separator = QLatin1Char(';');   // "نوع جدا کننده"
    QStringList files;
    std::optional<ReadMode> mode;      // none: asked
    int sheet = 0;                     // of a workbook, for the spreadsheet layouts

    QString from() const;   // YYYY/MM/01
    QString to() const;     // YYYY/MM/31
};

struct ReadOutcome {
    bool done = false;     // the work was kept (also when a file failed or the user stopped)
    int written = 0;       // lines stored
    int outOfRange = 0;    // lines skipped for their date
    int replaced = 0;      // lines of the range deleted before
    int filesRead = 0;     // files read through
    int alreadyThere = 0;  // appended lines the statement held already
    bool stopped = false;
    QString failure;       // the parse failure (file, line, reason), when one stopped the run
    QString message;       // why nothing was done (refused, cancelled: empty, failed)
    explicit operator bool() const { return done; }
};

class StatementReader {
public:
    explicit StatementReader(startup::Session& session, Writer writer = Writer::User);

    static QString noFormatText();   // "قالب فايل صورتحساب انتخاب نشده است"
    // The question of a replace: "حذف صورتحساب قرائت شده از … تا …"
    static QString replaceQuestion(const QString& from, const QString& to);
    static QString appendQuestion();   // "اضافه شدن به صورتحساب قرائت شده موجود"

    // The questions in order: "مطمئن هستيد؟", the layout's column order (told),
    // replace or append (unless the request says), lines already there (append).
    ReadOutcome read(const ReadRequest& request, startup::Prompt& prompt);

    // "بازسازي اطلاعات شعب": SHOBEH 0 where it is empty, then the supervising office
    // and province of every line of the account in the range from the branch network.
    struct Rebuilt {
        bool done = false;
        int changed = 0;
        QString message;
    };
    Rebuilt rebuildBranches(int account, const QString& from, const QString& to, startup::Prompt& prompt);

private:
    // How many of the files' lines in the range the account holds already.
    std::optional<int> linesAlreadyThere(const ReadRequest& request, const StatementLayout& layout, QString* why);

    startup::Session& session_;
    Writer writer_;
};

} // namespace orvak::statements
