#pragma once
// dBASE III tables (.DBF) as the treasury's programs read them: the header and field
// list of an existing table read and checked, and a table written whole from it (or
// from a field list) with new records. Text fields are in code page 1256.
#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace orvak::io {

struct DbaseField {
    QString name;        // up to ten characters
    char type = 'C';     // C text, N or F number, D date, L logical; others are left blank
    int length = 0;
    int decimals = 0;
};

struct DbaseTable {
    QList<DbaseField> fields;
    QByteArray header;   // the header as read (its bytes kept when the table is refilled); empty for a new table
    int recordLength() const;
};

// The table's fields from a file's bytes; nullopt with the reason when they are not
// a sound dBASE table (a short file, a wrong header or record length, a field list
// without its end mark, records missing).
std::optional<DbaseTable> readDbaseTable(const QByteArray& bytes, QString* why);
// A new table of the fields (dBASE III, no memo file).
DbaseTable newDbaseTable(const QList<DbaseField>& fields);

// The table's bytes with exactly these records, each a value per field name (names
// compared without case; a field a record does not name is left blank). Text is
// written left-aligned, numbers right-aligned with the field's decimals. A value
// that does not fit its field, or is not a number for a number field, gives an
// empty result with the reason (record number from 1 and the field) in *why.
QByteArray writeDbaseTable(const DbaseTable& table, const QList<QHash<QString, QVariant>>& records, const QDate& today, QString* why);

} // namespace orvak::io
