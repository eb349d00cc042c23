#pragma once
// Fast insertion of many rows into one table: one prepared statement, values bound
// straight to the embedded engine's own statement; other servers get the same rows
// through an ordinary prepared statement. For the demo installation, imports of
// large files and the change history.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace orvak::db {

class BulkInserter {
public:
    BulkInserter(QSqlDatabase db, const QString& table, const QStringList& columns);
    ~BulkInserter();
    BulkInserter(const BulkInserter&) = delete;
    BulkInserter& operator=(const BulkInserter&) = delete;

    bool isValid() const { return ok_; }
    QString error() const { return error_; }

    // Values of the next row, column by column, then insert().
    BulkInserter& add(qint64 value);
    BulkInserter& add(int value) { return add(qint64(value)); }
    BulkInserter& add(double value);
    BulkInserter& add(const QString& value);   // an empty QString (null) is NULL
    BulkInserter& add(const char* utf8);
    BulkInserter& addNull();
    // A value as Qt holds it: whole numbers and booleans, reals, NULL, bytes, text.
    BulkInserter& add(const QVariant& value);
    bool insert();
    qint64 rows() const { return rows_; }
    // Whether the last insert failed on a key another row holds.
    bool clashed() const { return clashed_; }

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    bool ok_ = false;
    QString error_;
    int column_ = 0;
    qint64 rows_ = 0;
    bool clashed_ = false;
};

} // namespace orvak::db
