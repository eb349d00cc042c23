#pragma once
// One operation's work over the databases it touches, as one transaction, with
// the change history kept in the same transaction, each entry in the database of
// the row it tells of. On the local server the
// operation's connection has the other databases attached; on SQL Server they
// are reached by qualified names. Statements name tables as {common}.TAFSILI,
// {deposits}.SEP_DAR, {accounting}.SNDROW; the dialect resolves them.
#include "core/db/AuditTrail.h"
#include "core/db/Db.h"
#include "core/db/Server.h"
#include "core/db/BulkInserter.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <functional>
#include <memory>

namespace orvak::db {

enum class Store { Common, Deposits, Accounting };

// What a unit of work needs to know of the running installation.
struct WorkPlace {
    Server* server = nullptr;
    QString common;       // database names; empty where the database is not open
    QString deposits;
    QString accounting;
    int programId = 0;
    int userCode = 0;
    QString workstation;
    std::function<QDateTime()> clock;   // the server's time
    bool audited = true;
};

class UnitOfWork {
public:
    explicit UnitOfWork(WorkPlace place);
    ~UnitOfWork();   // rolls back what was not committed
    UnitOfWork(const UnitOfWork&) = delete;
    UnitOfWork& operator=(const UnitOfWork&) = delete;

    // False, with the reason in error(), when the transaction could not begin or a
    // step failed; every later step then refuses and commit() rolls back.
    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    QSqlDatabase connection() const { return db_; }
    const Dialect& dialect() const { return server()->dialect(); }

    QString resolve(const QString& sql);
    QString table(Store store, const QString& name);

    // Reads, and statements that need no history (work tables, say).
    bool exec(const QString& sql, const QVariantMap& binds = {}, int* rowsAffected = nullptr);
    Fetched<QSqlRecord> firstRow(const QString& sql, const QVariantMap& binds = {});
    Fetched<QVariant> scalar(const QString& sql, const QVariantMap& binds = {});
    // Largest value of the column (within where) plus one, read inside this work.
    std::optional<qint64> nextKey(Store store, const QString& table, const QString& column, const QString& where = {},
                                  const QVariantMap& binds = {});

    // Writes that leave one history entry per row they insert, change or delete.
    // set is a SET clause ("STATUS = :s, AMOUNT = AMOUNT + :a"); values bind by name.
    bool insert(Store store, const QString& table, const QVariantMap& values);
    bool update(Store store, const QString& table, const QString& set, const QString& where, const QVariantMap& binds,
                int* rowsChanged = nullptr);
    bool update(Store store, const QString& table, const QVariantMap& values, const QString& where,
                const QVariantMap& binds, int* rowsChanged = nullptr);
    bool remove(Store store, const QString& table, const QString& where, const QVariantMap& binds,
                int* rowsDeleted = nullptr);

    bool commit();
    void rollback();
    int auditEntries() const { return entries_; }
    // Whether the work failed on a key another workstation took meanwhile.
    bool clashed() const { return clashed_; }

    // Marks the work failed with a reason of the caller's (a rule that refuses).
    bool fail(const QString& why);

private:
    Server* server() const { return place_.server; }
    QString databaseOf(Store store) const;
    bool reachable(Store store);
    QStringList keysOf(Store store, const QString& table);
    bool writeEntry(Store store, const QString& table, QChar op, const QString& key, const QString& changes);
    bool step(bool ok, const QString& why);
    // The statement of a text, prepared once in this work and reused.
    BulkInserter* prepared(const QString& sql, const QStringList& columns);
    // Where a store's entries go: its own history table, or the common one for a
    // database that has none yet.
    QString historyTarget(Store store);
    // Forgets the prepared statements when the work ends.
    void dropStatements();

    WorkPlace place_;
    QSqlDatabase db_;
    QString own_;   // the database whose connection this work runs on
    QString error_;
    bool begun_ = false;
    bool finished_ = false;
    int entries_ = 0;
    bool clashed_ = false;
    QString stamp_[2];   // date and time of the entries, read once
    QHash<QString, QStringList> keys_;
    QHash<QString, std::shared_ptr<BulkInserter>> statements_;
    QString historyTargets_[3];
    BulkInserter* entryStatements_[3] = {nullptr, nullptr, nullptr};
    // The statement of the last insert: a bulk insert repeats it row after row.
    struct LastInsert {
        QString target;
        QStringList columns;
        BulkInserter* statement = nullptr;
    } lastInsert_;
};

// Runs work as one unit: committed when it returns true, rolled back otherwise.
// Work that failed on a new key another workstation took meanwhile is run once
// more from the start, so that its "largest + 1" is read again.
bool inWork(const WorkPlace& place, const std::function<bool(UnitOfWork&)>& work, QString* error = nullptr);

} // namespace orvak::db
