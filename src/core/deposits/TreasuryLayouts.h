#pragma once
// The treasury's file layouts as data: each text layout is a table of fields
// (source, width, alignment, padding, form) for its header lines and for its row
// line, read by the one writer below. A new province's layout is one more entry.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvak::deposits {

// The values of one record by name ("FISHNO", "AMOUNT", "N" for the running number ...).
using TreasuryRecord = QHash<QString, QString>;

enum class FieldAlign { None, Right };

enum class FieldForm {
    Text,        // as it stands
    Date,        // a real YYYY/MM/DD date, else the empty date "    /  /  "
    Digits,      // an amount: its digits only (separators removed)
    BlankZero,   // 0 or nothing written as nothing (all spaces once padded)
    NoControl,   // control characters removed
};

struct TreasuryField {
    QString source;                       // a value's name, or "=" and a constant text
    int width = 0;                        // 0: as long as the value
    FieldAlign align = FieldAlign::None;  // Right: padded on the left to the width
    QChar pad = QLatin1Char(' ');
    FieldForm form = FieldForm::Text;
};
using TreasuryLine = QList<TreasuryField>;

enum class TreasuryEncoding { Cp1256, Utf8 };

struct TextLayout {
    QString separator;            // between fields; empty: fixed width
    QList<TreasuryLine> head;     // the lines before the rows, from the file's values
    TreasuryLine row;             // one line per row, from the row's values
    TreasuryEncoding encoding = TreasuryEncoding::Cp1256;
};

enum class TreasuryFileKind { Text, Dbase, Workbook };

struct TreasuryLayout {
    int number = 0;               // 1..8 as the combo "قالب  فايل:" numbers them
    QString caption;
    TreasuryFileKind kind = TreasuryFileKind::Text;
    TextLayout text;              // Text only
    bool confirmedOnly = false;   // list files: only deposits matched on the statement (TIKSUDMO P)
};

// The eight layouts of the fund request file and of the received-deposits list file.
const QList<TreasuryLayout>& requestLayouts();
const QList<TreasuryLayout>& listLayouts();
// The layout of a number, nullptr outside 1..8.
const TreasuryLayout* requestLayout(int number);
const TreasuryLayout* listLayout(int number);

// One field's text as the layout writes it.
QString fieldText(const TreasuryField& field, const TreasuryRecord& values);
// One line's text (without its CR LF).
QString lineText(const TreasuryLine& line, const QString& separator, const TreasuryRecord& values);

struct TextFile {
    QByteArray bytes;
    // The characters the code page has no code for and the line of the first of them
    // (0: none); such a file is not written.
    QString unencodable;
    int unencodableLine = 0;
    bool ok() const { return unencodable.isEmpty(); }
};
// The whole file: the header lines, then one line per row (each given "N", its
// running number from 1), every line ended by CR LF, no byte-order mark.
TextFile writeTextFile(const TextLayout& layout, const TreasuryRecord& head, const QList<TreasuryRecord>& rows);

// The two-character date parts of the dBase layout from a four-digit date: year's
// last two digits, month and day with a space for a leading zero ("03 5 7"); six
// spaces for a date that is not one.
QString dbaseDateParts(const QString& date);

} // namespace orvak::deposits
