#pragma once
// A forward-only read of one statement, row by row, for lists that fetch as the
// grid scrolls. On the embedded database it reads straight from the engine's own
// statement (several times faster on large lists); elsewhere through Qt.
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>

namespace orvak::db {

class Cursor {
public:
    virtual ~Cursor() = default;
    virtual QStringList fieldNames() const = 0;
    // The next row; false at the end or on a failure (then failure() says why).
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // Lets go of what the statement holds (read locks) once the rows are read.
    virtual void release() = 0;
    const QString& failure() const { return failure_; }

protected:
    QString failure_;
};

// Prepares and runs the statement with its values bound by name; nullptr with the
// reason in *error when it cannot.
std::unique_ptr<Cursor> openCursor(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error = nullptr);

} // namespace orvak::db
