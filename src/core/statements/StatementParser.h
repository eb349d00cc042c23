#pragma once
// The one reader of every statement layout: a file's lines (or a workbook's rows) cut
// as the layout says, header lines skipped, each line turned into a StatementLine or
// refused with its line number and the reason. Nothing here touches the database;
// no input, however damaged, makes it do more than refuse.
#include "core/statements/StatementLayouts.h"
#include "core/statements/StatementLine.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace orvak::statements {

// Longer lines are refused (a file that is not text, or not a statement).
inline constexpr int LongestLine = 64 * 1024;
// Amounts beyond this many rials are refused: no statement carries them, and a float
// column keeps every rial below it.
inline constexpr qint64 LargestStatementAmount = 999'999'999'999'999LL;

// What a record of a file is: its text (fixed layouts) and its cells (the others).
struct Record {
    int line = 0;
    QString text;
    QStringList cells;
};

// Cuts a delimited line into cells: quotes as in CSV ("a,b" is one cell, "" one quote).
QStringList splitCells(const QString& line, QChar separator);

// Cell readers, each nullopt (with the reason) when the text is not such a value.
struct DateAndTime {
    QString date;   // YYYY/MM/DD, "0000/00/00" for an empty cell
    QString time;   // HH:MM when the cell also held one, else empty
};
std::optional<DateAndTime> readDate(const QString& text, DateForm form, QString* why);
std::optional<QString> readTime(const QString& text, QString* why);                  // HH:MM, "00:00" for empty
std::optional<qint64> readAmount(const QString& text, QString* why);                 // signed rials, 0 for empty
std::optional<qint64> readDocumentNumber(const QString& text, QString* why);         // its digits, 0 for none
// Which side a side cell names: true for a debit.
std::optional<bool> readSide(const QString& text, QString* why);
// Whether a text names a card payment (the acquirer, a point-of-sale terminal).
bool namesCardPayment(const QString& text);

class StatementParser {
public:
    StatementParser(const StatementLayout& layout, QChar chosenSeparator = QLatin1Char(';'));

    enum class Result { Line, Blank, Failed };
    // One record: a line, a blank line (skipped) or a failure with the reason.
    Result parse(const Record& record, StatementLine& line, QString* why) const;

    const StatementLayout& layout() const { return layout_; }
    QChar separator() const { return separator_; }

private:
    QString fieldText(const Record& record, Field f) const;

    StatementLayout layout_;
    QChar separator_;
    int neededCells_ = 0;   // cells a line must have: the date's and the amounts'
    int neededChars_ = 0;   // characters a fixed line must have
};

// Where a file's reading stopped short: at which line, why.
struct ReadFailure {
    int line = 0;   // 0: the file as a whole
    QString reason;
};

// How a file's records are read: separator for delimited text, header lines, and for
// spreadsheet layouts the sheet of a workbook (text files are read tab-separated).
struct SourceOptions {
    Source source = Source::Delimited;
    QChar separator = QLatin1Char(';');
    int headerLines = 0;
    int sheet = 0;
};

// Hands the file's records (header lines and blank lines skipped) to record in order;
// record returns false to stop. progress(done, total) is told now and then (bytes, or
// rows of a sheet with total 0) and returns false to stop. nullopt when the file was
// read through (or stopped); the failure otherwise: a file that cannot be opened, is
// empty, is not text (a NUL or control character), has a line longer than
// LongestLine, or is not the workbook it claims to be.
std::optional<ReadFailure> forEachRecord(const QString& path, const SourceOptions& options,
                                         const std::function<bool(const Record&)>& record,
                                         const std::function<bool(qint64 done, qint64 total)>& progress = {});

struct FileReading {
    int lines = 0;                 // lines handed on
    bool stopped = false;          // by the caller (line or progress said stop)
    std::optional<ReadFailure> failure;
};

// Reads a statement file by its layout; line gets each parsed line and returns false
// to stop. A line that cannot be parsed ends the reading with its failure.
FileReading readStatementFile(const QString& path, const StatementLayout& layout, QChar chosenSeparator,
                              const std::function<bool(const StatementLine&)>& line,
                              const std::function<bool(qint64 done, qint64 total)>& progress = {}, int sheet = 0);

// "اشکال در قرائت اطلاعات" with the file's name, the line and the reason.
QString readFailureText(const QString& path, const ReadFailure& failure);

} // namespace orvak::statements
