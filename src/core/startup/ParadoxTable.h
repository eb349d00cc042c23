#pragma once
// A small reader and writer of Paradox 7 table files (".DB"), enough for the
// family's connection table: alphanumeric fields, a non-indexed table, records in
// 2 KB blocks after a 2 KB header.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace orvak::startup {

struct ParadoxField {
    QByteArray name;
    int size = 0;   // characters of an alphanumeric field
};

struct ParadoxTable {
    QByteArray tableName;          // "SERVER.DB"
    QByteArray languageDriver;     // "DBWINUS0"
    QList<ParadoxField> fields;
    QList<QList<QByteArray>> records;   // raw field bytes, trailing NULs removed
};

QByteArray writeParadoxTable(const ParadoxTable& table);
// nullopt with a reason when the bytes are not a readable Paradox table.
std::optional<ParadoxTable> readParadoxTable(const QByteArray& bytes, QString* error = nullptr);

} // namespace orvak::startup
