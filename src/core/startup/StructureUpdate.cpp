#include "core/startup/StructureUpdate.h"

#include "core/db/Db.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>

static void initCoreResources() { Q_INIT_RESOURCE(core); }

namespace orvak::startup {

namespace {

QString readResource(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QString lineError(int line, const QString& message)
{
    return QStringLiteral("Line %1:%2").arg(line).arg(message);
}

bool isKeyLine(const QString& text) { return text.trimmed().startsWith(QStringLiteral("PRIMARY"), Qt::CaseInsensitive); }

// An object's text as the servers keep it: SQLite rewrites the words before the
// name ("CREATE VIEW") and drops the trailing semicolon; spacing is not kept alike.
QString definitionText(const QString& sql)
{
    static const QRegularExpression lead(QStringLiteral("^CREATE\\s+\\w+\\s+"), QRegularExpression::CaseInsensitiveOption);
    QString t = sql.simplified();
    t.remove(lead);
    while (t.endsWith(QLatin1Char(';')))
        t = t.chopped(1).trimmed();
    return t;
}

bool sameDefinition(const QString& stored, const QString& create) { return definitionText(stored) == definitionText(create); }

bool isTextOrImage(const QString& type)
{
    const QString t = type.toUpper();
    return t == QLatin1String("TEXT") || t == QLatin1String("NTEXT") || t == QLatin1String("IMAGE");
}

} // namespace

SchemaScripts schemaFor(DatabaseKind kind)
{
    initCoreResources();
    const QString folder = kind == DatabaseKind::Common ? QStringLiteral(":/schema/common/")
        : kind == DatabaseKind::Deposits                ? QStringLiteral(":/schema/deposits/")
                                                        : QStringLiteral(":/schema/accounting/");
    return {readResource(folder + QStringLiteral("tables.txt")), readResource(folder + QStringLiteral("functions.txt")),
            readResource(folder + QStringLiteral("procedures.txt")), readResource(folder + QStringLiteral("views.txt")),
            readResource(folder + QStringLiteral("fixups.txt"))};
}

QList<TableBlock> parseTableScript(const QString& script)
{
    QList<TableBlock> blocks;
    const QStringList lines = script.split(QLatin1Char('\n'));
    static const QRegularExpression header(QStringLiteral("^\\s*\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*\\((.*)$"));
    TableBlock* current = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const QString raw = lines[i];
        const QString t = raw.trimmed();
        if (t.isEmpty() || (t.startsWith(QStringLiteral("//")) && !current))
            continue;
        if (!current) {
            const QRegularExpressionMatch m = header.match(raw);
            if (!m.hasMatch())
                continue;
            blocks.append(TableBlock{});
            current = &blocks.last();
            current->name = m.captured(1);
            current->line = i + 1;
            current->drop = m.captured(2).contains(QStringLiteral("//DROP"), Qt::CaseInsensitive);
            continue;
        }
        if (t == QLatin1String(")")) {
            current->closed = true;
            current = nullptr;
            continue;
        }
        if (t.startsWith(QStringLiteral("//")))
            continue;
        current->lines.append({i + 1, raw.trimmed()});
    }
    return blocks;
}

QList<ObjectBlock> parseObjectScript(const QString& script)
{
    QList<ObjectBlock> blocks;
    const QStringList lines = script.split(QLatin1Char('\n'));
    ObjectBlock current;
    bool inBlock = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString raw = lines[i];
        const QString t = raw.trimmed();
        if (t.startsWith(QStringLiteral("///END."), Qt::CaseInsensitive))
            break;
        if (t.startsWith(QStringLiteral("///EXEC."), Qt::CaseInsensitive)) {
            if (inBlock)
                blocks << current;
            current = ObjectBlock{};
            inBlock = false;
            continue;
        }
        if (t.startsWith(QStringLiteral("//")))
            continue;
        if (!inBlock) {
            if (t.isEmpty())
                continue;
            inBlock = true;
            current.header = t;
            current.line = i + 1;
            static const QRegularExpression nameEnd(QStringLiteral("[\\s(]"));
            const int end = t.indexOf(nameEnd);
            current.name = end < 0 ? t : t.left(end);
            continue;
        }
        current.body += raw + QLatin1Char('\n');
    }
    return blocks;
}

QString UpdateReport::summary() const
{
    return QStringLiteral("%1: tables created %2, dropped %3, columns added %4, re-typed %5, cells filled %6, objects %7, fix-up rows %8, errors %9")
        .arg(database)
        .arg(tablesCreated)
        .arg(tablesDropped)
        .arg(columnsAdded)
        .arg(columnsRetyped)
        .arg(cellsFilled)
        .arg(objectsMade)
        .arg(fixupRows)
        .arg(errors.size());
}

StructureUpdate::StructureUpdate(db::Server& server, Prompt& prompt)
    : server_(server)
    , prompt_(prompt)
{
}

bool StructureUpdate::stop(UpdateReport& report)
{
    if (!report.stopped && prompt_.stopRequested())
        report.stopped = true;
    return report.stopped;
}

UpdateReport StructureUpdate::UpdateDatabase(const QString& dbName, const SchemaScripts& scripts, int parts)
{
    UpdateReport report;
    report.database = dbName;
    prompt_.progress(QStringLiteral("برقراري ارتباط با بانک اطلاعاتي") + QStringLiteral(" ::DB ") + dbName, 0, 1);
    QString why;
    QSqlDatabase db = server_.database(dbName, &why);
    if (!db.isOpen()) {
        report.connected = false;
        report.errors << QStringLiteral("%1: %2").arg(dbName, why);
        return report;
    }
    // On the embedded database the whole update is one transaction: it is on the disk
    // once instead of once per statement, and a program cut short in the middle
    // leaves the database as it was (a statement that fails undoes only itself).
    // It takes the write lock at once: a second workstation updating at the same
    // moment waits for this one and then finds the changes made. An update that finds
    // nothing to change writes nothing.
    oneTransaction_ = server_.isLocal() && db::execSql(db, QStringLiteral("BEGIN IMMEDIATE"), {}, &why);
    if (server_.isLocal() && !oneTransaction_) {
        report.errors << QStringLiteral("%1: %2").arg(dbName, why);
        return report;
    }
    if ((parts & UpdateTables) && !stop(report)) {
        prompt_.progress(QStringLiteral("بروز آوري جداول"), 0, 1);
        updateTables(db, scripts.tables, report);
    }
    if ((parts & UpdateFunctions) && !stop(report)) {
        prompt_.progress(QStringLiteral("بروز آوري UDF"), 0, 1);
        updateObjects(db, scripts.functions, QStringLiteral("FUNCTION"), report);
    }
    if ((parts & UpdateProcedures) && !stop(report)) {
        prompt_.progress(QStringLiteral("بروز آوري SP"), 0, 1);
        updateObjects(db, scripts.procedures, QStringLiteral("PROCEDURE"), report);
    }
    if ((parts & UpdateViews) && !stop(report)) {
        prompt_.progress(QStringLiteral("بروز آوري view"), 0, 1);
        updateObjects(db, scripts.views, QStringLiteral("view"), report);
    }
    if ((parts & UpdateFixups) && !stop(report)) {
        prompt_.progress(QStringLiteral("بروز آوري نهايي"), 0, 1);
        runFixups(db, scripts.fixups, report);
    }
    if (oneTransaction_) {
        oneTransaction_ = false;
        if (!db::execSql(db, QStringLiteral("COMMIT"), {}, &why)) {
            db::execSql(db, QStringLiteral("ROLLBACK"), {}, nullptr);
            report.errors << QStringLiteral("%1: %2").arg(dbName, why);
        }
    }
    prompt_.progress(QStringLiteral("بروزآوري انجام شد"), 1, 1);
    return report;
}

void StructureUpdate::updateTables(QSqlDatabase db, const QString& script, UpdateReport& report)
{
    const QList<TableBlock> blocks = parseTableScript(script);
    total_ = 0;
    for (const TableBlock& b : blocks)
        total_ += int(b.lines.size()) + 1;
    step_ = 0;
    for (const TableBlock& block : blocks) {
        if (stop(report))
            return;
        if (!block.closed) {
            report.errors << lineError(block.line, QStringLiteral(" جدول %1 با «)» بسته نشده است").arg(block.name));
            continue;
        }
        updateTable(db, block, report);
    }
}

QString StructureUpdate::createLines(const TableBlock& block) const
{
    const db::Dialect& d = server_.dialect();
    const bool hasKey = std::any_of(block.lines.begin(), block.lines.end(), [](const TableScriptLine& l) { return isKeyLine(l.text); });
    QStringList defs;
    for (const TableScriptLine& l : block.lines) {
        defs << (isKeyLine(l.text) ? db::stripTrailingComma(l.text) : d.columnLine(l.text, !hasKey));
    }
    return defs.join(QStringLiteral(",\n"));
}

void StructureUpdate::updateTable(QSqlDatabase db, const TableBlock& block, UpdateReport& report)
{
    const db::Dialect& d = server_.dialect();
    QString why;
    prompt_.progress(QStringLiteral("بروز آوري جداول ") + block.name, ++step_, total_);
    // Another workstation may run the same update at the same moment: a statement
    // that fails because the other one did the same change first is no error.
    if (block.drop && d.tableExists(db, block.name)) {
        if (db::execSql(db, QStringLiteral("DROP TABLE [%1]").arg(block.name), {}, &why))
            ++report.tablesDropped;
        else if (d.tableExists(db, block.name))
            report.errors << lineError(block.line, why);
    }
    if (!d.tableExists(db, block.name)) {
        const QString sql = QStringLiteral("CREATE TABLE   [%1] (%2)").arg(block.name, createLines(block));
        if (db::execSql(db, sql, {}, &why)) {
            ++report.tablesCreated;
            step_ += int(block.lines.size());
            return;
        }
        if (!d.tableExists(db, block.name)) {
            report.errors << lineError(block.line, why);
            step_ += int(block.lines.size());
            return;
        }
        // Made by the other workstation: checked column by column below.
    }

    QList<db::ColumnInfo> existing = d.columns(db, block.name);
    auto findColumn = [&](const QString& name) -> const db::ColumnInfo* {
        for (const db::ColumnInfo& c : existing) {
            if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                return &c;
        }
        return nullptr;
    };
    bool rebuild = false;
    QList<DefaultFill> defaults;
    for (const TableScriptLine& l : block.lines) {
        if (stop(report))
            return;
        prompt_.progress(QStringLiteral("بروز آوري جداول ") + block.name + QLatin1Char('.') + l.text.section(QLatin1Char(' '), 0, 0),
                         ++step_, total_);
        if (isKeyLine(l.text))
            continue;
        const std::optional<db::ColumnLine> c = db::parseColumnLine(l.text);
        if (!c || c->name.isEmpty()) {
            report.errors << lineError(l.line, QStringLiteral(" سطر تعريف ستون قابل خواندن نيست: %1").arg(l.text));
            continue;
        }
        const db::ColumnInfo* have = findColumn(c->name);
        // Only a column this run found missing gets its default filled: rescanning
        // every column of a large register for empty cells at each update is what
        // made an up-to-date update slow.
        const bool added = !have;
        if (added) {
            const QString sql = QStringLiteral("ALTER TABLE [%1] ADD %2").arg(block.name, d.columnLine(l.text, false));
            if (db::execSql(db, sql, {}, &why)) {
                ++report.columnsAdded;
                existing << db::ColumnInfo{c->name, c->type};
            } else {
                existing = d.columns(db, block.name);
                if (!findColumn(c->name)) {
                    report.errors << lineError(l.line, why);
                    continue;
                }
            }
        } else if (!isTextOrImage(have->type)) {
            const bool differs = !d.sameType(have->type, c->type);
            if (server_.isLocal()) {
                // The embedded database cannot alter a column: the table is rebuilt once.
                rebuild = rebuild || differs;
            } else if (differs) {
                // Only a changed type is altered: the same statement on a key column
                // fails, and would be reported at every update.
                const QString sql = QStringLiteral("ALTER TABLE [%1] ALTER COLUMN %2").arg(block.name, db::withoutDefault(l.text));
                if (db::execSql(db, sql, {}, &why)) {
                    ++report.columnsRetyped;
                } else {
                    report.errors << lineError(l.line, why);
                }
            }
        }
        if (added && c->defaultValue && !c->identity)
            defaults.append({l.line, c->name, *c->defaultValue});
    }
    fillDefaults(db, block.name, defaults, report);
    if (rebuild) {
        if (rebuildTable(db, block, &why))
            ++report.columnsRetyped;
        else
            report.errors << lineError(block.line, why);
    }
}

void StructureUpdate::fillDefaults(QSqlDatabase db, const QString& table, const QList<DefaultFill>& defaults, UpdateReport& report)
{
    if (defaults.isEmpty())
        return;
    // One look over the table first: on a large register most updates find no empty
    // cell, and each would read the whole table to learn that.
    const db::Dialect& d = server_.dialect();
    QStringList empty;
    for (const DefaultFill& f : defaults)
        empty << QStringLiteral("[%1] IS NULL").arg(f.column);
    QString why;
    const auto any = db::scalar(db, QStringLiteral("SELECT %1 1 FROM [%2] WHERE %3%4").arg(d.topClause(1), table, empty.join(QStringLiteral(" OR ")), d.limitClause(1)), {}, &why);
    if (!any && why.isEmpty())
        return;
    for (const DefaultFill& f : defaults) {
        int filled = 0;
        const QString sql = QStringLiteral("UPDATE  [%1] SET [%2] = %3 WHERE   [%2] IS NULL").arg(table, f.column, f.value);
        if (db::execSql(db, sql, {}, &why, &filled))
            report.cellsFilled += qMax(0, filled);
        else
            report.errors << lineError(f.line, why);
    }
}

bool StructureUpdate::rebuildTable(QSqlDatabase db, const TableBlock& block, QString* error)
{
    const db::Dialect& d = server_.dialect();
    const QList<db::ColumnInfo> existing = d.columns(db, block.name);
    QStringList scriptColumns;
    for (const TableScriptLine& l : block.lines) {
        if (const std::optional<db::ColumnLine> c = db::parseColumnLine(l.text); c && !isKeyLine(l.text))
            scriptColumns << c->name;
    }
    // Columns the script does not know are kept, so that no value is lost.
    QString defs = createLines(block);
    QStringList copied;
    for (const db::ColumnInfo& c : existing) {
        const bool inScript = std::any_of(scriptColumns.begin(), scriptColumns.end(),
                                          [&](const QString& n) { return n.compare(c.name, Qt::CaseInsensitive) == 0; });
        if (!inScript)
            defs += QStringLiteral(",\n[%1] %2").arg(c.name, c.type);
        copied << QStringLiteral("[%1]").arg(c.name);
    }
    const QString temp = block.name + QStringLiteral("__rebuild");
    const auto steps = [&](QString* why) {
        return db::execSql(db, QStringLiteral("DROP TABLE IF EXISTS [%1]").arg(temp), {}, why)
            && db::execSql(db, QStringLiteral("CREATE TABLE [%1] (%2)").arg(temp, defs), {}, why)
            && db::execSql(db, QStringLiteral("INSERT INTO [%1] (%2) SELECT %2 FROM [%3]").arg(temp, copied.join(QLatin1Char(',')), block.name), {}, why)
            && db::execSql(db, QStringLiteral("DROP TABLE [%1]").arg(block.name), {}, why)
            && db::execSql(db, QStringLiteral("ALTER TABLE [%1] RENAME TO [%2]").arg(temp, block.name), {}, why);
    };
    if (!oneTransaction_)
        return db::inTransaction(db, d, steps, error);
    // Inside the update's own transaction the rebuild is undone alone when it fails.
    if (!db::execSql(db, QStringLiteral("SAVEPOINT rebuild"), {}, error))
        return false;
    if (steps(error))
        return db::execSql(db, QStringLiteral("RELEASE rebuild"), {}, error);
    db::execSql(db, QStringLiteral("ROLLBACK TO rebuild"), {}, nullptr);
    db::execSql(db, QStringLiteral("RELEASE rebuild"), {}, nullptr);
    return false;
}

void StructureUpdate::updateObjects(QSqlDatabase db, const QString& script, const QString& kind, UpdateReport& report)
{
    const bool isView = kind.compare(QStringLiteral("view"), Qt::CaseInsensitive) == 0;
    // The embedded database has views but no stored functions or procedures.
    if (server_.isLocal() && !isView)
        return;
    const db::Dialect& d = server_.dialect();
    const QList<ObjectBlock> blocks = parseObjectScript(script);
    int i = 0;
    for (const ObjectBlock& b : blocks) {
        if (stop(report))
            return;
        prompt_.progress(kind + QLatin1Char(' ') + b.name, ++i, int(blocks.size()));
        QString why;
        const QString create = QStringLiteral("CREATE ") + kind + (kind == QLatin1String("FUNCTION") ? QStringLiteral("  ") : QStringLiteral(" "))
            + b.header + QLatin1Char('\n') + b.body;
        // An object whose text has not changed is left alone: dropping it would
        // change the schema (and lock it) at every update for nothing. A failed
        // read makes it anew, as before.
        if (const db::Fetched<QString> stored = d.objectDefinition(db, b.name); stored && sameDefinition(*stored, create))
            continue;
        // A second try covers the other workstation making the object between our
        // drop and our create.
        bool made = false;
        for (int attempt = 0; attempt < 2 && !made; ++attempt) {
            if (server_.isLocal())
                db::execSql(db, QStringLiteral("DROP VIEW IF EXISTS [%1]").arg(b.name), {}, nullptr);
            else
                db::execSql(db, QStringLiteral("DROP ") + kind + QLatin1Char(' ') + b.name, {}, nullptr);   // absent the first time
            made = db::execSql(db, create, {}, &why);
        }
        if (made)
            ++report.objectsMade;
        else
            report.errors << lineError(b.line, why);
    }
}

void StructureUpdate::runFixups(QSqlDatabase db, const QString& script, UpdateReport& report)
{
    // "@SQLITE " and "@MSSQL " run a line on that kind of server only, for the few
    // statements (indexes) the two write differently.
    const QString mine = server_.isLocal() ? QStringLiteral("@SQLITE ") : QStringLiteral("@MSSQL ");
    const QString theirs = server_.isLocal() ? QStringLiteral("@MSSQL ") : QStringLiteral("@SQLITE ");
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (stop(report))
            return;
        QString t = lines[i].trimmed();
        if (t.isEmpty() || t.startsWith(QStringLiteral("//")) || t.startsWith(theirs, Qt::CaseInsensitive))
            continue;
        if (t.startsWith(mine, Qt::CaseInsensitive))
            t = t.mid(mine.size()).trimmed();
        QString why;
        int rows = 0;
        if (!db::execSql(db, t, {}, &why, &rows)) {
            report.errors << lineError(i + 1, why);
            continue;
        }
        // Only statements that write rows report a count worth adding up.
        static const QRegularExpression writes(QStringLiteral("^(INSERT|UPDATE|DELETE)\\b"), QRegularExpression::CaseInsensitiveOption);
        if (writes.match(t).hasMatch())
            report.fixupRows += qMax(0, rows);
    }
}

} // namespace orvak::startup
