#pragma once
// Brings a database to the program's table and object scripts: missing tables are
// created, missing columns added (their defaults filled into the rows already
// there), columns re-typed, functions, procedures and views whose text changed made
// anew, fix-ups run. The same engine makes a new database and brings an older one
// forward without losing a row; on a database already up to date it only reads.
#include "core/startup/Prompt.h"
#include "core/startup/ServerNames.h"

#include <QString>
#include <QStringList>

namespace orvak::startup {

enum class DatabaseKind { Common, Deposits, Accounting };

enum UpdatePart {
    UpdateTables = 1,
    UpdateFunctions = 2,
    UpdateProcedures = 4,
    UpdateViews = 8,
    UpdateFixups = 16,
    UpdateAll = 31,
};

struct SchemaScripts {
    QString tables;
    QString functions;
    QString procedures;
    QString views;
    QString fixups;
};

// The scripts the program carries for a kind of database.
SchemaScripts schemaFor(DatabaseKind kind);

struct TableScriptLine {
    int line = 0;      // 1-based line in the script
    QString text;
};

struct TableBlock {
    QString name;
    bool drop = false;
    int line = 0;
    QList<TableScriptLine> lines;   // column and key lines, in order
    bool closed = false;
};

QList<TableBlock> parseTableScript(const QString& script);

struct ObjectBlock {
    QString header;   // first line: name and parameters, without CREATE
    QString name;
    QString body;
    int line = 0;
};

QList<ObjectBlock> parseObjectScript(const QString& script);

struct UpdateReport {
    QString database;
    QStringList errors;       // "Line N:" + message
    int tablesCreated = 0;
    int tablesDropped = 0;
    int columnsAdded = 0;
    int columnsRetyped = 0;
    int cellsFilled = 0;
    int objectsMade = 0;      // functions, procedures and views dropped and created (text changed)
    int fixupRows = 0;
    bool stopped = false;
    bool connected = true;

    bool changedData() const
    {
        return tablesCreated + tablesDropped + columnsAdded + columnsRetyped + cellsFilled + fixupRows > 0;
    }
    QString summary() const;
};

class StructureUpdate {
public:
    StructureUpdate(db::Server& server, Prompt& prompt);
    UpdateReport UpdateDatabase(const QString& dbName, const SchemaScripts& scripts, int parts = UpdateAll);

private:
    void updateTables(QSqlDatabase db, const QString& script, UpdateReport& report);
    void updateTable(QSqlDatabase db, const TableBlock& block, UpdateReport& report);
    bool rebuildTable(QSqlDatabase db, const TableBlock& block, QString* error);
    struct DefaultFill {
        int line;
        QString column;
        QString value;
    };
    void fillDefaults(QSqlDatabase db, const QString& table, const QList<DefaultFill>& defaults, UpdateReport& report);
    void updateObjects(QSqlDatabase db, const QString& script, const QString& kind, UpdateReport& report);
    void runFixups(QSqlDatabase db, const QString& script, UpdateReport& report);
    QString createLines(const TableBlock& block) const;
    bool stop(UpdateReport& report);

    db::Server& server_;
    Prompt& prompt_;
    int step_ = 0;
    int total_ = 0;
    bool oneTransaction_ = false;   // the update runs inside one transaction of its own
};

} // namespace orvak::startup
